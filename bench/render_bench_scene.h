#pragma once
// The scenes of render_bench: relays made from a fixed seed, drawn by the
// coordination chart, and the same chart described for matplotlib.
#include "chartwin/coordination_chart.h"

#include <cstdint>
#include <string>
#include <vector>

namespace telvara {

// count relays with plausible settings (CT, tap, INST tap, very-inverse
// times), the same for the same seed on every machine.
std::vector<RelaySettings> benchRelays(int count, std::uint64_t seed);

// The bottom and left axis ranges of one animation frame.
struct AxisFrame {
    double xMin, xMax, yMin, yMax;
};

// The chart as drawn last (its plot rectangle, axis ranges, texts, curves)
// plus the zoom frames, as JSON for the matplotlib side.
std::string sceneJson(TChart& chart, int width, int height, const std::vector<AxisFrame>& frames);

// The label values of the log-paper axes and the ones whose text is shown,
// with that text ("#,##0.###").
std::string tickJson();

} // namespace telvara
