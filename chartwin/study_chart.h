#pragma once
// A study drawn on the coordination chart: one series per curve of each
// shown device, and each bus's fault currents as lines labelled with the
// bus's name. The chart window and telvara-render draw a study through these
// alone, so they draw alike.
#include "chart/chart.h"
#include "chart/line_series.h"
#include "study/study.h"
#include "study/study_check.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace telvara {

// What a series of the chart was drawn from.
struct TStudySeries {
    std::string deviceId;
    CurveRole role = CurveRole::Operating;
    TChartSeries* series = nullptr;
};

// "過電流値（Ａ）", and the voltage the currents are referred to when the
// study sets one: "過電流値（Ａ） 6.6kV換算".
std::string currentAxisCaption(const TStudy& study);

// A device's lines, each into the empty series `start` gives for its title
// (the device's label; a second line adds its caption): in one colour, the
// device's own or the one its first line took; damage dashed, a starting
// profile dash-dotted, a single marker (inrush) a labelled point.
void drawDeviceLines(const TDevice& device, const std::vector<DeviceCurve>& curves,
                     const std::function<TChartSeries&(const std::string& title)>& start);
// "#rrggbb" as a colour.
TColor studyColour(const std::string& hex);

// Replaces the chart's series by the study's, in device order: each curve of
// a shown device a line series titled with the device's label (a second
// curve of a device adds its caption), in the device's colour or else the
// next free palette colour. The axes become an activation's log paper: the
// time axis reaches 1000 s when a curve rises above 10 s (else 10 s), the
// current axis starts at 1 A when a curve starts below 10 A (else 10 A).
// The chart's title is the study's ("保護協調曲線" when it has none).
// A device whose values cannot be drawn is left out and named in the result
// ("id: problem").
std::vector<std::string> drawStudy(TChart& chart, const TStudy& study,
                                   std::vector<TStudySeries>* drawn = nullptr);

// Draws the buses' fault-current lines (dashed, blue, labelled "母線名 最大
// 12,500A" with the current at the bus's own voltage) with every paint,
// print and export, below the curves; and, once a check is shown, a mark at
// each failing pair's smallest margin.
class TStudyOverlay {
public:
    explicit TStudyOverlay(TChart& chart);
    ~TStudyOverlay();
    TStudyOverlay(const TStudyOverlay&) = delete;
    TStudyOverlay& operator=(const TStudyOverlay&) = delete;

    // The study whose buses are drawn; it must outlive the overlay or be
    // replaced first.
    void SetStudy(const TStudy* study);
    // The check's lines whose failing coord pairs are marked; empty: none.
    void SetCheck(std::vector<TStudyCheckLine> lines);

private:
    void draw();
    // The light fill between a point device's two curves, where it asks for one.
    void drawBands();

    TChart& chart_;
    TNotifyEvent previous_;
    const TStudy* study_ = nullptr;
    std::vector<TStudyCheckLine> check_;
};

} // namespace telvara
