#include "chartwin/study_chart.h"

#include "base/numbers.h"
#include "chart/line_series.h"
#include "chartwin/coordination_chart.h"

#include <memory>

namespace telvara {

namespace {

constexpr TColor kFaultLineColor = clBlue;
constexpr TColor kMarkColor = clRed;
constexpr int kMarkHalf = 3;

// The log paper an activation sets, wide enough for the curves.
void setStudyAxes(TChart& chart, double lowestCurrent, double highestTime) {
    for (TChartAxis* axis : {&chart.BottomAxis(), &chart.LeftAxis()}) {
        axis->SetLogarithmic(true);
        axis->SetTickOnLabelsOnly(true);
    }
    chart.BottomAxis().SetMinMaxRange(lowestCurrent < 10 ? 1 : 10, 100000);
    chart.LeftAxis().SetMinMaxRange(0.01, highestTime > 10 ? 1000 : 10);
}

TColor colourOf(const std::string& hex) {
    const unsigned long v = std::stoul(hex.substr(1), nullptr, 16);
    return rgb(std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v));
}

} // namespace

std::string currentAxisCaption(const TStudy& study) {
    std::string caption = "過電流値（Ａ）";
    if (study.referenceKv)
        caption += " " + formatFloatPattern(*study.referenceKv, "#,##0.###") + "kV換算";
    return caption;
}

std::vector<std::string> drawStudy(TChart& chart, const TStudy& study,
                                   std::vector<TStudySeries>* drawn) {
    while (chart.NumSeries() > 0)
        chart.RemoveSeries(chart.SeriesAt(chart.NumSeries() - 1));
    if (drawn)
        drawn->clear();
    std::vector<std::string> skipped;
    double lowestCurrent = 10;
    double highestTime = 0;
    for (const TDevice& d : study.devices) {
        if (!d.visible)
            continue;
        std::vector<DeviceCurve> curves;
        try {
            curves = referredCurves(study, d);
        } catch (const TelvaraError& e) {
            skipped.push_back(d.id + ": " + e.what());
            continue;
        }
        for (std::size_t k = 0; k < curves.size(); ++k) {
            const DeviceCurve& c = curves[k];
            auto s = std::make_unique<TLineSeries>();
            s->SetTitle(k == 0 || c.caption.empty() ? d.label : d.label + " " + c.caption);
            if (d.color)
                s->SetSeriesColor(colourOf(*d.color));
            s->Marks().SetVisible(false);
            for (const CurvePoint& p : c.points) {
                s->AddPoint(p.current, p.time);
                if (p.current > 0)
                    lowestCurrent = std::min(lowestCurrent, p.current);
                highestTime = std::max(highestTime, p.time);
            }
            TChartSeries& added = chart.AddSeries(std::move(s));
            if (drawn)
                drawn->push_back({d.id, c.role, &added});
        }
    }
    chart.BottomAxis().Title().SetCaption(currentAxisCaption(study));
    chart.Title().SetText({study.title.empty() ? "保護協調曲線" : study.title});
    setStudyAxes(chart, lowestCurrent, highestTime);
    return skipped;
}

TStudyOverlay::TStudyOverlay(TChart& chart) : chart_(chart), previous_(chart.OnBeforeDrawSeries) {
    chart_.OnBeforeDrawSeries = [this](TCustomChartPanel& sender) {
        if (previous_)
            previous_(sender);
        draw();
    };
}

TStudyOverlay::~TStudyOverlay() {
    chart_.OnBeforeDrawSeries = previous_;
}

void TStudyOverlay::SetStudy(const TStudy* study) {
    study_ = study;
    chart_.RequestRepaint();
}

void TStudyOverlay::SetCheck(std::vector<TStudyCheckLine> lines) {
    check_ = std::move(lines);
    chart_.RequestRepaint();
}

void TStudyOverlay::draw() {
    if (!study_)
        return;
    TCanvas3D& c = *chart_.Canvas();
    const TRect plot = chart_.ChartRect();
    TChartAxis& currents = chart_.BottomAxis();
    TChartAxis& times = chart_.LeftAxis();
    c.ClipRectangle(plot);
    c.SetBackMode(cbmTransparent);
    c.SetBrushStyle(bsClear);
    chart_.SelectCanvasFont(chart_.Legend().Font());
    int labelY = plot.top + 2;
    for (const TBus& bus : study_->buses) {
        const double factor = referralFactor(*study_, &bus);
        for (const auto& [own, word] :
             {std::pair{bus.faultMaxA, " 最大 "}, std::pair{bus.faultMinA, " 最小 "}}) {
            if (!own)
                continue;
            const int x = currents.ValueToPixel(*own * factor);
            const std::string label = bus.name + word + formatFloatPattern(*own, "#,##0.###") + "A";
            c.AssignPen({kFaultLineColor, 1, psDash});
            c.MoveTo(x, plot.top);
            c.LineTo(x, plot.bottom);
            c.SetFontColor(kFaultLineColor);
            // Right of the line, or left of it where the plot ends.
            const bool left = x + 2 + c.TextWidth(label) > plot.right;
            c.SetTextAlign(left ? htaRight : htaLeft, vtaTop);
            c.TextOut(left ? x - 2 : x + 2, labelY, label);
            // Lines close together keep their labels apart.
            labelY += c.TextHeight(label) + 1;
        }
    }
    c.AssignPen({kMarkColor, 2, psSolid});
    for (const TStudyCheckLine& line : check_) {
        const PairMargin& m = line.detail;
        if (line.kind != kCheckCoord || !m.commonRange || m.pass)
            continue;
        const int x = currents.ValueToPixel(m.current);
        const int down = times.ValueToPixel(m.downstreamTime);
        const int up = times.ValueToPixel(m.upstreamTime);
        c.MoveTo(x, down);
        c.LineTo(x, up);
        for (int y : {down, up})
            c.Rectangle(x - kMarkHalf, y - kMarkHalf, x + kMarkHalf + 1, y + kMarkHalf + 1);
    }
    c.UnClipRectangle();
    c.ResetState();
}

} // namespace telvara
