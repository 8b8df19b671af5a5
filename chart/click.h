#pragma once
// What lies under the mouse on a chart, and the click events raised for it.
#include "chart/panel.h"

#include <functional>

namespace telvara {

class TCustomChart;
class TChartAxis;
class TChartSeries;

enum TChartClickedPartStyle { cpNone, cpSeries, cpAxis, cpTitle, cpFoot, cpChartRect, cpLegend };

struct TChartClickedPart {
    TChartClickedPartStyle Part = cpNone;
    TChartSeries* Series = nullptr;
    int PointIndex = -1; // the point of a series hit, -1 for a segment
    TChartAxis* Axis = nullptr;
};

using TChartClickEvent =
    std::function<void(TCustomChart& sender, TMouseButton button, int shift, int x, int y)>;
using TChartClickAxisEvent = std::function<void(TCustomChart& sender, TChartAxis& axis,
                                                TMouseButton button, int shift, int x, int y)>;
using TChartClickSeriesEvent =
    std::function<void(TCustomChart& sender, TChartSeries& series, int valueIndex,
                       TMouseButton button, int shift, int x, int y)>;

// A press this close to a drawn axis line or a series line hits it.
constexpr int kClickTolerance = 3;

// Whether (x, y) lies on the line of a series drawn in 2D: on a point
// (pointIndex := its index) or between two consecutive points (pointIndex := -1).
bool SeriesHitTest(const TChartSeries& s, int x, int y, int& pointIndex);

} // namespace telvara
