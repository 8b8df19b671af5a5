#include "chartwin/study_chart.h"

#include "base/numbers.h"
#include "chart/line_series.h"
#include "chartwin/coordination_chart.h"
#include "chartwin/coordination_check.h"
#include "study/equipment_check.h"
#include "study/point_device.h"

#include <algorithm>
#include <memory>

namespace telvara {

namespace {

// The log paper an activation sets, wide enough for the curves.
void setStudyAxes(TChart& chart, double lowestCurrent, double highestTime) {
    for (TChartAxis* axis : {&chart.BottomAxis(), &chart.LeftAxis()}) {
        axis->SetLogarithmic(true);
        axis->SetTickOnLabelsOnly(true);
    }
    chart.BottomAxis().SetMinMaxRange(lowestCurrent < 10 ? 1 : 10, 100000);
    chart.LeftAxis().SetMinMaxRange(0.01, highestTime > 10 ? 1000 : 10);
}

} // namespace

TColor studyColour(const std::string& hex) {
    const unsigned long v = std::stoul(hex.substr(1), nullptr, 16);
    return rgb(std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v));
}

namespace {

void styleByRole(TLineSeries& s, const DeviceCurve& c) {
    if (c.role == CurveRole::Damage)
        s.LinePen().SetStyle(psDash);
    if (c.role == CurveRole::Marker && c.points.size() > 1)
        s.LinePen().SetStyle(psDashDot);
    if (c.role == CurveRole::Marker && c.points.size() == 1) {
        s.Pointer().SetVisible(true);
        s.Pointer().SetStyle(psDiamond);
        s.Marks().SetVisible(true);
        s.Marks().SetTransparent(true);
        s.Marks().SetStyle(smsLabel);
    }
}

} // namespace

void drawDeviceLines(const TDevice& d, const std::vector<DeviceCurve>& curves,
                     const std::function<TChartSeries&(const std::string& title)>& start) {
    std::optional<TColor> colour;
    if (d.color)
        colour = studyColour(*d.color);
    for (std::size_t k = 0; k < curves.size(); ++k) {
        const DeviceCurve& c = curves[k];
        TChartSeries& s = start(k == 0 || c.caption.empty() ? d.label : d.label + " " + c.caption);
        if (colour)
            s.SetSeriesColor(*colour);
        colour = s.SeriesColor();
        if (auto* line = dynamic_cast<TLineSeries*>(&s))
            styleByRole(*line, c);
        for (const CurvePoint& p : c.points)
            s.AddPoint(p.current, p.time, c.role == CurveRole::Marker ? c.caption : "");
    }
}

namespace {

// A band's shade: three quarters of the way to white.
TColor lighter(TColor c) {
    const auto mix = [](unsigned v) { return std::uint8_t(v + (255 - v) * 3 / 4); };
    return rgb(mix(c & 0xFF), mix((c >> 8) & 0xFF), mix((c >> 16) & 0xFF));
}

const TChartSeries* seriesTitled(const TChart& chart, const std::string& title) {
    for (int k = 0; k < chart.NumSeries(); ++k)
        if (chart.SeriesAt(k)->Title() == title)
            return chart.SeriesAt(k);
    return nullptr;
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
        std::size_t k = 0;
        drawDeviceLines(d, curves, [&](const std::string& title) -> TChartSeries& {
            auto s = std::make_unique<TLineSeries>();
            s->SetTitle(title);
            s->Marks().SetVisible(false);
            TChartSeries& added = chart.AddSeries(std::move(s));
            if (drawn)
                drawn->push_back({d.id, curves[k++].role, &added});
            return added;
        });
        for (const DeviceCurve& c : curves)
            for (const CurvePoint& p : c.points) {
                if (p.current > 0)
                    lowestCurrent = std::min(lowestCurrent, p.current);
                // A starting profile runs up to the top of whatever axis is
                // shown; it never asks for the longer one.
                if (c.role != CurveRole::Marker)
                    highestTime = std::max(highestTime, p.time);
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
    // A check run again at a paint must not ask for another paint.
    auto same = [](const TStudyCheckLine& a, const TStudyCheckLine& b) {
        return a.path == b.path && a.kind == b.kind && a.firstId == b.firstId &&
               a.secondId == b.secondId && a.margin == b.margin && a.current == b.current &&
               a.pass == b.pass && a.detail.downstreamTime == b.detail.downstreamTime &&
               a.detail.upstreamTime == b.detail.upstreamTime;
    };
    if (std::equal(lines.begin(), lines.end(), check_.begin(), check_.end(), same))
        return;
    check_ = std::move(lines);
    chart_.RequestRepaint();
}

void TStudyOverlay::drawBands() {
    TCanvas3D& c = *chart_.Canvas();
    for (const TDevice& d : study_->devices) {
        const auto* p = dynamic_cast<const TPointDevice*>(d.kind.get());
        if (!d.visible || !p || !p->data.band || p->data.minCurve.empty() ||
            p->data.totalCurve.empty())
            continue;
        TColor colour = clSilver;
        if (d.color)
            colour = studyColour(*d.color);
        else if (const TChartSeries* s = seriesTitled(chart_, d.label))
            colour = s->SeriesColor();
        const double f = referralFactor(*study_, d);
        std::vector<TPoint> outline;
        const auto add = [&](const CurvePoint& q) {
            outline.push_back({chart_.BottomAxis().ValueToPixel(q.current * f),
                               chart_.LeftAxis().ValueToPixel(q.time)});
        };
        std::for_each(p->data.minCurve.begin(), p->data.minCurve.end(), add);
        std::for_each(p->data.totalCurve.rbegin(), p->data.totalCurve.rend(), add);
        c.AssignPen({colour, 1, psClear});
        c.SetBrushStyle(bsSolid);
        c.SetBrushColor(lighter(colour));
        c.Polygon(outline);
    }
    c.SetBrushStyle(bsClear);
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
    drawBands();
    chart_.SelectCanvasFont(chart_.Legend().Font());
    int labelY = plot.top + 2;
    for (const TBus& bus : study_->buses) {
        const double factor = referralFactor(*study_, &bus);
        for (const auto& [own, word] :
             {std::pair{bus.faultMaxA, " 最大 "}, std::pair{bus.faultMinA, " 最小 "}}) {
            if (!own)
                continue;
            const std::string label = bus.name + word + formatFloatPattern(*own, "#,##0.###") + "A";
            drawFaultCurrentLine(c, plot, currents.ValueToPixel(*own * factor), label, labelY,
                                 true);
            // Lines close together keep their labels apart.
            labelY += c.TextHeight(label) + 1;
        }
    }
    std::vector<PairMargin> failing;
    for (const TStudyCheckLine& line : check_) {
        const PairMargin& m = line.detail;
        if ((line.kind == kCheckCoord || line.kind == kCheckDamage) && m.commonRange && !m.pass)
            failing.push_back(m);
    }
    drawMarginMarks(c, currents, times, failing);
    c.UnClipRectangle();
    c.ResetState();
}

} // namespace telvara
