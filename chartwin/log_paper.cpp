#include "chartwin/log_paper.h"

#include "base/numbers.h"
#include "chart/axis_panel.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace telvara {

namespace {

// Read from the decimal text, so each entry is the double nearest its value
// (repeated multiplication would drift by an ulp here and there).
double decimalValue(int digit, int exponent) {
    const std::string text = std::to_string(digit) + "e" + std::to_string(exponent);
    return std::strtod(text.c_str(), nullptr);
}

std::array<double, 65> makeLabelValues() {
    std::array<double, 65> values{};
    for (int i = 0; i < 64; ++i)
        values[std::size_t(i)] = decimalValue(i % 9 + 1, i / 9 - 2);
    values[64] = 1000000;
    return values;
}

bool isLogPaperAxis(TCustomAxisPanel& chart, const TChartAxis& axis) {
    return &axis == &chart.BottomAxis() || &axis == &chart.LeftAxis();
}

// The text the engine gives a value label of this axis, before the handler.
std::string engineLabelText(const TChartAxis& axis, double v) {
    return axis.IsDateTime ? formatGeneral(v) : formatFloatPattern(v, axis.AxisValuesFormat());
}

} // namespace

const std::array<double, 65>& axisLabelValues() {
    static const std::array<double, 65> values = makeLabelValues();
    return values;
}

const std::array<double, 12>& decadeLabelValues() {
    static const std::array<double, 12> values = {0.01, 0.05, 0.1,  0.5,   1,      5,
                                                  10,   100,  1000, 10000, 100000, 1000000};
    return values;
}

void nextLogPaperLabel(TCustomAxisPanel& chart, TChartAxis& sender, int labelIndex,
                       double& labelValue, bool& stop) {
    if (!isLogPaperAxis(chart, sender))
        return;
    const double t = labelIndex >= 0 && labelIndex <= 64
                         ? axisLabelValues()[std::size_t(labelIndex)]
                         : labelValue;
    // The engine starts at the axis minimum, so labels below it repeat the minimum.
    labelValue = std::max(labelValue, t);
    stop = false;
}

void logPaperLabelText(TCustomAxisPanel& chart, TChartAxis& sender, std::string& labelText) {
    if (!isLogPaperAxis(chart, sender))
        return;
    // Compared as texts: a value that shows as "0.05" keeps its number too.
    for (double k : decadeLabelValues())
        if (labelText == engineLabelText(sender, k))
            return;
    labelText.clear();
}

} // namespace telvara
