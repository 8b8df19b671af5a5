#include "chart/chart.h"

namespace telvara {

void TCustomChart::DrawChartWalls() {}

} // namespace telvara
