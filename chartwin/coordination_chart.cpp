#include "chartwin/coordination_chart.h"

#include "base/numbers.h"
#include "chartwin/log_paper.h"
#include "relay/record_check.h"

#include <memory>

namespace telvara {

namespace {

const char kFontName[] = "ＭＳ Ｐ明朝";
constexpr int kFontHeight = 12;
constexpr TColor kGradientEnd = 8454016; // light green 0x80FF80

void setFont(TChartFont& font) {
    font.SetName(kFontName);
    font.SetHeight(kFontHeight);
    font.SetColor(clBlack);
}

void designAxis(TChartAxis& axis, const std::string& title) {
    axis.Title().SetCaption(title);
    setFont(axis.Title().Font());
    setFont(axis.LabelsFont());
}

// The chart's log paper: currents from 10 A (1 A on request) to 100 kA,
// times from 10 ms up to 10 s or 1000 s.
constexpr double kCurrentAxisMin = 10;
constexpr double kCurrentAxisMinFromOne = 1;
constexpr double kCurrentAxisMax = 100000;
constexpr double kTimeAxisMin = 0.01;
constexpr double kTimeAxisShortMax = 10;
constexpr double kTimeAxisLongMax = 1000;

double timeAxisMaximum(bool timeCheck) {
    return timeCheck ? kTimeAxisLongMax : kTimeAxisShortMax;
}

void setLogRange(TChartAxis& axis, double lo, double hi) {
    axis.SetLogarithmic(true);
    axis.SetTickOnLabelsOnly(true);
    axis.SetMinMaxRange(lo, hi);
}

} // namespace

TChartPrintOptions chartPrintOptions() {
    TChartPrintOptions options;
    options.proportional = false;
    return options;
}

void applyChartDesign(TChart& chart) {
    chart.SetName("Chart1");
    chart.SetView3D(false);
    chart.Gradient().SetStartColor(clWhite);
    chart.Gradient().SetEndColor(kGradientEnd);
    chart.Gradient().SetVisible(true);
    chart.Title().SetText({"保護協調曲線"});
    chart.SetColor(clWhite);
    chart.SetBevelInner(bvLowered);
    chart.BackWall().Brush().SetColor(clWhite);
    chart.BackWall().Brush().SetStyle(bsClear);
    chart.Zoomer().SetAnimatedZoom(true);
    setFont(chart.Legend().Font());

    // As the stored form reads them: the left axis keeps a manual range.
    TChartAxis& bottom = chart.BottomAxis();
    TChartAxis& left = chart.LeftAxis();
    bottom.Loading = left.Loading = true;
    designAxis(bottom, "過電流値（Ａ）");
    bottom.SetLogarithmic(true);
    designAxis(left, "時間（秒）");
    left.SetAutomatic(false);
    left.SetAutomaticMaximum(false);
    left.SetAutomaticMinimum(false);
    left.SetExactDateTime(false);
    left.SetMaximum(kTimeAxisLongMax);
    left.SetLogarithmic(true);
    bottom.Loading = left.Loading = false;
    // Numbers always: a caption a point carries (a transformer's inrush) is
    // the point's mark, never the axis's labels.
    bottom.SetLabelStyle(talValue);
    left.SetLabelStyle(talValue);
    // A zoom between two printed numbers still shows numbers to read.
    bottom.SetMinorLabelsWhenSparse(true);
    left.SetMinorLabelsWhenSparse(true);

    chart.OnGetNextAxisLabel = [&chart](TChartAxis& sender, int index, double& value, bool& stop) {
        nextLogPaperLabel(chart, sender, index, value, stop);
    };
    chart.OnGetAxisLabel = [&chart](TChartAxis& sender, TChartSeries*, int, std::string& text) {
        logPaperLabelText(chart, sender, text);
    };
}

TLineSeries* createSeries1(TChart& chart) {
    auto s = std::make_unique<TLineSeries>();
    s->SetName("Series1");
    s->SetSeriesColor(clRed);
    s->SetTitle("51");
    s->Marks().SetStyle(smsValue);
    s->Marks().SetVisible(false);
    s->Marks().SetArrowLength(8);
    setFont(s->Marks().Font());
    s->Pointer().SetVisible(false);
    s->SetFunction(std::make_unique<TAverageFunction>());
    return &chart.AddSeries(std::move(s));
}

TCoordinationChart::TCoordinationChart(TChart& chart) : chart_(chart) {
    applyChartDesign(chart_);
    createSeries1(chart_);
}

TChartSeries* TCoordinationChart::CurrentSeries() const {
    if (counter_ < 0 || counter_ >= chart_.NumSeries())
        return nullptr;
    return chart_.SeriesAt(counter_);
}

void TCoordinationChart::StartNewCurve() {
    auto s = std::make_unique<TLineSeries>();
    s->Marks().SetVisible(marksVisible_);
    chart_.AddSeries(std::move(s));
    ++counter_;
    trimOrigins();
}

void TCoordinationChart::StartManualCurve() {
    StartNewCurve();
    manualSeries_ = CurrentSeries();
}

void TCoordinationChart::RemoveCurrentCurve() {
    if (TChartSeries* s = CurrentSeries()) {
        if (s == manualSeries_)
            manualSeries_ = nullptr;
        chart_.RemoveSeries(s); // destroyed here; the chart repaints
        trimOrigins();
        --counter_;
    }
}

int TCoordinationChart::RelayCurve(const std::string& company, const std::string& device) const {
    for (int i = 0; i < chart_.NumSeries(); ++i) {
        const CurveOrigin o = Origin(i);
        if (!o.manual && !o.equipment && o.company == company && o.device == device &&
            chart_.SeriesAt(i)->Count())
            return i;
    }
    return -1;
}

int TCoordinationChart::CurveFor(const std::string& company, const std::string& device) {
    if (const int own = RelayCurve(company, device); own >= 0)
        return own;
    TChartSeries* current = CurrentSeries();
    if (!current || current->Count() > 0)
        StartNewCurve();
    return counter_;
}

TChartSeries& TCoordinationChart::DrawEntries(const CurveEntries& entries,
                                              const RelayCurrents& currents) {
    timeAxisMaximum_ = timeAxisMaximum(entries.timeCheck);
    const std::vector<CurvePoint> points = curvePoints(entries.times, currents);
    const int at = CurveFor(entries.company, entries.device);
    SetActivationAxes(entries.timeCheck);
    TChartSeries& s = *chart_.SeriesAt(at);
    if (&s == manualSeries_)
        manualSeries_ = nullptr; // a relay's curve from now on
    setOriginAt(at, {entries.company, entries.device, false});
    s.SetTitle(curveTitle(origins_[std::size_t(at)]));
    s.ClearPoints();
    for (const CurvePoint& p : points)
        s.AddPoint(p.current, p.time);
    return s;
}

TChartSeries& TCoordinationChart::DrawCurve(const CurveOrigin& origin, const std::string& title,
                                            const std::vector<CurvePoint>& points) {
    const int at = CurveFor(origin.company, origin.device);
    TChartSeries& s = *chart_.SeriesAt(at);
    if (&s == manualSeries_)
        manualSeries_ = nullptr;
    setOriginAt(at, origin);
    s.SetTitle(title);
    s.ClearPoints();
    for (const CurvePoint& p : points)
        s.AddPoint(p.current, p.time);
    return s;
}

TChartSeries& TCoordinationChart::AddEquipmentCurve(const std::string& deviceId,
                                                    const std::string& title) {
    StartNewCurve();
    TChartSeries& s = *CurrentSeries();
    setOrigin({{}, deviceId, false, true});
    s.SetTitle(title);
    return s;
}

std::vector<TypedCurve> TCoordinationChart::RemoveAllCurves() {
    std::vector<TypedCurve> typed;
    for (int i = 0; i < chart_.NumSeries(); ++i) {
        const TChartSeries& s = *chart_.SeriesAt(i);
        if (!Origin(i).manual || s.Count() == 0)
            continue;
        TypedCurve c{s.Title(), s.SeriesColor(), {}, &s == manualSeries_};
        for (int k = 0; k < s.Count(); ++k)
            c.points.push_back({s.XValues().Value(k), s.YValues().Value(k)});
        typed.push_back(std::move(c));
    }
    while (CurrentSeries())
        RemoveCurrentCurve();
    return typed;
}

void TCoordinationChart::RestoreTypedCurves(const std::vector<TypedCurve>& curves) {
    for (const TypedCurve& c : curves) {
        StartNewCurve();
        TChartSeries& s = *CurrentSeries();
        setOrigin({{}, c.title, true});
        s.SetTitle(c.title);
        s.SetSeriesColor(c.colour);
        for (const CurvePoint& p : c.points)
            s.AddPoint(p.current, p.time);
        if (c.building)
            manualSeries_ = &s;
    }
}

void TCoordinationChart::SetActivationAxes(bool timeCheck) {
    timeAxisMaximum_ = timeAxisMaximum(timeCheck);
    setLogRange(chart_.BottomAxis(), kCurrentAxisMin, kCurrentAxisMax);
    setLogRange(chart_.LeftAxis(), kTimeAxisMin, timeAxisMaximum_);
}

void TCoordinationChart::AddManualPoint(const std::string& device, const std::string& currentText,
                                        const std::string& timeText) {
    if (!CurrentSeries() || CurrentSeries() != manualSeries_)
        StartManualCurve();
    TChartSeries& s = *CurrentSeries();
    s.SetTitle(device);
    setOrigin({{}, device, true});
    const double current = readDecimal(currentText);
    const double time = readDecimal(timeText);
    s.AddPoint(current, time);
}

void TCoordinationChart::ClearCurrentPoints() {
    if (TChartSeries* s = CurrentSeries())
        s->ClearPoints();
}

void TCoordinationChart::SetCurrentAxisFromOne(bool fromOne) {
    chart_.BottomAxis().SetMinMaxRange(fromOne ? kCurrentAxisMinFromOne : kCurrentAxisMin,
                                       kCurrentAxisMax);
}

void TCoordinationChart::SetMarksVisible(bool visible) {
    marksVisible_ = visible;
    for (int i = 0; i < chart_.NumSeries(); ++i)
        chart_.SeriesAt(i)->Marks().SetVisible(visible);
}

std::vector<std::string> drawAllRelays(TCoordinationChart& chart,
                                       const std::vector<RelaySettings>& relays, bool timeCheck,
                                       RelayCurrents& currents, const RelayDrawn& drawn) {
    CurveEntries entries;
    entries.timeCheck = timeCheck;
    std::vector<std::string> skipped;
    for (const RelaySettings& relay : relays) {
        // One unusable record must not keep every other curve off the chart.
        if (std::string problem = undrawableText(relay); !problem.empty()) {
            skipped.push_back(std::move(problem));
            continue;
        }
        // A relay already drawn goes into its own curve: the empty one started
        // for it would be left behind.
        const TChartSeries* current = chart.CurrentSeries();
        if (current && current->Count() == 0 && chart.RelayCurve(relay.company, relay.device) >= 0)
            chart.RemoveCurrentCurve();
        deriveRecordCurrents(relay.ct, relay.tap, relay.instTap, currents);
        entries.times = relay.times;
        entries.device = relay.device;
        entries.company = relay.company;
        TChartSeries& curve = chart.DrawEntries(entries, currents);
        if (drawn)
            drawn(relay, curve);
        chart.StartNewCurve();
    }
    if (skipped.size() != relays.size())
        chart.RemoveCurrentCurve();
    return skipped;
}

} // namespace telvara
