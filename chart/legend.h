#pragma once
// What the legend lists: one item per series or per point of the only series.
#include "chart/furniture.h"

#include <optional>
#include <string>
#include <vector>

namespace telvara {

class TCustomChart;
class TChartSeries;

struct TLegendItem {
    TChartSeries* Series = nullptr;
    int ValueIndex = -1; // -1 for the series itself
    std::string Text;
};

// lsAuto resolved by the number of active series.
TLegendStyle ResolvedLegendStyle(TCustomChart& chart);
// All items in list order, before FirstValue and Inverted are applied.
std::vector<TLegendItem> LegendItems(TCustomChart& chart);
// Draws a left or right legend; the plot rectangle left beside it when the
// legend takes its room from the plot.
std::optional<TRect> DrawChartLegend(TCustomChart& chart);

} // namespace telvara
