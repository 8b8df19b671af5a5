#pragma once
// Values shared program-wide between the main window and the chart window.
// They live for the whole run and start at 0.
#include "base/colors.h"

#include <cstdint>

namespace telvara {

struct SharedValues {
    double TapCurrent = 0;
    double Current150 = 0;
    double Current200 = 0;
    double Current300 = 0;
    double Current400 = 0;
    double Current500 = 0;
    double Current700 = 0;
    double InstCurrent = 0;
    TColor CurveColor = 0;
    // Position of the chart's current series: number of series - 1, -1 when none.
    std::int32_t SeriesCounter = 0;
};

// The one instance of the running program.
SharedValues& shared();

} // namespace telvara
