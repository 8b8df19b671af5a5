// Axis space reservation and drawing.
#include "chart/axis.h"

#include "chart/axis_panel.h"

namespace telvara {

void TCustomChartAxis::ReserveAxisSpace(TRect&) {}
void TCustomChartAxis::DrawAxis() {}
void TCustomChartAxis::DrawLabelText(int, int, const std::string&, int) {}
void TCustomChartAxis::DrawValueLabel(int, const std::string&) {}

} // namespace telvara
