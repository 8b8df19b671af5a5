#pragma once
// The coordination chart "Chart1" of the chart window without the window:
// its design state, its curves and what an activation draws. The window and
// telvara-render both draw through this class, so they draw alike.
#include "chart/chart.h"
#include "chart/chart_renderer.h"
#include "chart/line_series.h"
#include "relay/relay.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace telvara {

// What an activation reads from the main window besides the derived currents.
struct CurveEntries {
    // Edit2 .. Edit8: times at 150, 200, 300, 400, 500, 700 % and at INST, UTF-8.
    TimeTexts times{"0", "0", "0", "0", "0", "0", "0"};
    // Debaisu: the curve's title.
    std::string device;
    // TimeCheck "時間10or1000".
    bool timeCheck = false;
    // kaisya: the company name, for the coordination check and the legend option.
    std::string company{};
};

// What a curve was drawn from: a relay's names, points typed in the window,
// or a study device that is no relay (device holds its id).
struct CurveOrigin {
    std::string company;
    std::string device;
    bool manual = false;
    bool equipment = false;
};

// A curve of typed points, kept while the study's curves are drawn anew.
struct TypedCurve {
    std::string title;
    TColor colour = clBlack;
    std::vector<CurvePoint> points;
    // The curve the next typed point goes into.
    bool building = false;
};

// "会社名 デバイスNo.", or the device number alone when there is no company.
std::string originName(const CurveOrigin& origin);

class TCoordinationChart;

// Runs after a relay's curve is drawn, before the next curve is started.
using RelayDrawn = std::function<void(const RelaySettings& relay, TChartSeries& curve)>;

// The list window's "全データ表示", as telvara-render draws a store too: each
// relay in turn gets its currents derived into `currents` (an INST tap of 0
// keeps the INST current the relays before it left), is drawn as an
// activation draws the main window's entries (into its own curve when it has
// one, the empty current curve then going) and is closed into a new curve;
// the empty curve left after the last one is removed. Showing the window then
// draws the last relay once more into its own curve, which changes nothing.
// No relays: the chart stays as it is. A relay whose numbers cannot be drawn
// is skipped; the result names each skipped relay and why ("name,device:
// problem").
std::vector<std::string> drawAllRelays(TCoordinationChart& chart,
                                       const std::vector<RelaySettings>& relays, bool timeCheck,
                                       RelayCurrents& currents, const RelayDrawn& drawn = {});

class TCoordinationChart {
public:
    // Gives chart the window's design state and Series1, the current series.
    // The chart owns its series and must outlive this object.
    explicit TCoordinationChart(TChart& chart);
    TCoordinationChart(const TCoordinationChart&) = delete;
    TCoordinationChart& operator=(const TCoordinationChart&) = delete;

    TChart& Chart() { return chart_; }
    // Position of the current series: number of series - 1, -1 when none.
    std::int32_t SeriesCounter() const { return counter_; }

    // The series at SeriesCounter, or nullptr when none is left.
    TChartSeries* CurrentSeries() const;

    // A new empty current series with the next free palette colour.
    void StartNewCurve();
    // Destroys the current series; nothing when none is left.
    void RemoveCurrentCurve();

    // 1000 or 10, set by every activation.
    double TimeAxisMaximum() const { return timeAxisMaximum_; }

    // The series a relay is drawn into, one curve per relay: the relay's own
    // curve when it has one (same company and device number, with points),
    // else the current series; a new curve is started first when none is
    // left or the current one holds another relay's or typed points.
    int CurveFor(const std::string& company, const std::string& device);
    // The position of the relay's own curve (with points), or -1.
    int RelayCurve(const std::string& company, const std::string& device) const;
    // The activation's drawing into CurveFor's series, which it replaces (never
    // extends), steps TimeAxisMaximum to points: a time that is not a number
    // raises before a curve changes. The series drawn is returned.
    TChartSeries& DrawEntries(const CurveEntries& entries, const RelayCurrents& currents);
    // A relay's curve from points worked out elsewhere (a study's, referred),
    // into CurveFor's series, which it replaces; the series is returned.
    TChartSeries& DrawCurve(const CurveOrigin& origin, const std::string& title,
                            const std::vector<CurvePoint>& points);
    // The logarithmic axes every activation sets: 10 to 100000 A, 0.01 s to
    // 1000 s (timeCheck) or 10 s.
    void SetActivationAxes(bool timeCheck);

    // A study device's line that is no relay's curve: never paired by the
    // chart's check and never drawn into by a relay; a new empty curve.
    TChartSeries& AddEquipmentCurve(const std::string& deviceId, const std::string& title);
    // Removes every curve; the typed ones with points are returned in order.
    std::vector<TypedCurve> RemoveAllCurves();
    // The typed curves again, after the others; the one being built takes
    // the next typed points.
    void RestoreTypedCurves(const std::vector<TypedCurve>& curves);

    // "入力" checked: a new empty current series for typed points.
    void StartManualCurve();
    // Manual input: the title, then the point read from the two texts. The
    // point goes into the curve manual input started while it is current and
    // no relay was drawn into it; else into a new one, never into a relay's.
    void AddManualPoint(const std::string& device, const std::string& currentText,
                        const std::string& timeText);
    void ClearCurrentPoints();
    // "電流軸最小値": the current axis from 1 A (true) or 10 A (false) to 100000 A.
    void SetCurrentAxisFromOne(bool fromOne);
    // "値表示": the marks of every series present and of every new one.
    void SetMarksVisible(bool visible);

    // The origin of the curve at a position (an empty one when nothing was drawn there).
    CurveOrigin Origin(int index) const;
    // Legend text of relay curves: "会社名 デバイスNo." (true) or the device number.
    void SetLegendWithCompany(bool on);
    bool LegendWithCompany() const { return legendWithCompany_; }

private:
    void setOrigin(const CurveOrigin& origin);
    void setOriginAt(int index, const CurveOrigin& origin);
    // Forgets the origins of counter_ and the positions after it.
    void trimOrigins();
    std::string curveTitle(const CurveOrigin& origin) const;

    // By series position: curves are removed from the end only.
    std::vector<CurveOrigin> origins_;
    bool legendWithCompany_ = false;
    TChart& chart_;
    std::int32_t counter_ = 0;
    double timeAxisMaximum_ = 10;
    // The curve of typed points, while it holds no relay; it is forgotten
    // before it is destroyed.
    TChartSeries* manualSeries_ = nullptr;
    bool marksVisible_ = false;
};

// Applies the chart window's design state to a chart without series.
void applyChartDesign(TChart& chart);
// The chart window's print settings: the margins asked for, not widened to
// the screen's aspect.
TChartPrintOptions chartPrintOptions();

// Series1 as designed: red, titled "51", hidden value marks and pointer, an
// average function without data source. Attached to the chart, which owns it.
TLineSeries* createSeries1(TChart& chart);

} // namespace telvara
