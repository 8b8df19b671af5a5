#pragma once
// Where one paint put the chart's parts: the panel and plot rectangles, each
// axis' range and pixels along the plot, the legend. The chart keeps the
// screen's layout between paints (clicks, zoom and pan read it); a renderer
// lays a page out in a layout of its own and leaves the screen's as it was.
#include "chart/canvas3d.h"

#include <array>
#include <vector>

namespace telvara {

struct TAxisLayout {
    // The range after the series' margins, and the pixels it spans.
    double minimum = 0, maximum = 0, range = 0;
    int startPixel = 0, endPixel = 0, axisLength = 0, centerPixel = 0;
    // Across the plot: the axis line, the labels and the title.
    int axisLinePos = 0, labelsPos = 0, titlePos = 0;
    // Tick positions collected by the label pass.
    std::vector<int> ticks;
};

// Bottom, top, left, right, depth.
constexpr int kChartAxisCount = 5;

struct TChartLayout {
    TRect chartRect;
    TRect chartBounds;
    std::array<TAxisLayout, kChartAxisCount> axes;
    TRect legendRect;
    // Laid out for paper: no panel background or frame, printing pens.
    bool printing = false;
};

} // namespace telvara
