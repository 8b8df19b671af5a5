// Label increment, label pass and label texts.
#include "chart/axis.h"

#include "chart/axis_panel.h"

namespace telvara {

std::string TCustomChartAxis::FormatAxisLabel(double) {
    return {};
}
double TCustomChartAxis::CalcLabelIncrement() {
    return 1;
}
TAxisLabelStyle TCustomChartAxis::CalcLabelStyle() const {
    return talNone;
}
void TCustomChartAxis::RunLabelPass() {}

} // namespace telvara
