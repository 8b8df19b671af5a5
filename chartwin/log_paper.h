#pragma once
// Log-paper labels of the coordination chart: a tick and a grid line at every
// 1..9 times a power of ten, a number only at a few round values.
#include "chart/axis.h"

#include <array>
#include <string>

namespace telvara {

class TCustomAxisPanel;

// Label values by label index 0..64: 0.01, 0.02, ..., 0.09, 0.1, ..., 100000,
// then 1000000. Each is the double nearest its decimal value.
const std::array<double, 65>& axisLabelValues();

// Values whose labels keep their text, in the order they are tried.
const std::array<double, 12>& decadeLabelValues();

// OnGetNextAxisLabel of the chart: the next label value of the bottom or
// left axis; other axes keep the engine's own labels.
void nextLogPaperLabel(TCustomAxisPanel& chart, TChartAxis& sender, int labelIndex,
                       double& labelValue, bool& stop);

// OnGetAxisLabel of the chart: empties every bottom or left axis label whose
// text is not the text of one of the decade values.
void logPaperLabelText(TCustomAxisPanel& chart, TChartAxis& sender, std::string& labelText);

} // namespace telvara
