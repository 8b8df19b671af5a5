#include "chart/chart.h"

namespace telvara {

void TCustomChart::DrawTitleFootLegend() {}

} // namespace telvara
