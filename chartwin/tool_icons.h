#pragma once
// Pictures of the chart window's two image buttons, each with its own
// disabled look.
#include <QIcon>

namespace telvara {

// A waste bin: clears the points of the current curve.
QIcon wasteBinIcon();
// A small line chart: adds the typed point to the current curve.
QIcon lineChartIcon();

} // namespace telvara
