#pragma once
// Devices by points (fuses, breakers, anything with a published curve): a
// rating and a minimum-melting and a total-clearing curve typed as points.
// Both are drawn; either may be missing, not both.
#include "base/numbers.h"
#include "study/curve.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvara {

enum class PointKind { Fuse, Breaker, Device };

struct PointDeviceData {
    std::string rating;
    std::vector<CurvePoint> minCurve;   // minimum melting (minimum)
    std::vector<CurvePoint> totalCurve; // total clearing (maximum)
    // The band between the two curves filled in a light shade of the colour.
    bool band = false;
    friend bool operator==(const PointDeviceData&, const PointDeviceData&) = default;
};

// The curves' captions for the kind: 最小溶断特性 / 全遮断特性 for a fuse,
// 最小特性 / 最大特性 otherwise.
std::string minCurveCaption(PointKind kind);
std::string totalCurveCaption(PointKind kind);

// The first fault of one curve's points, named after `caption`, or "" when
// sound: at least two points, each current and time above 0, currents rising,
// times not rising.
std::string pointCurveFault(const std::vector<CurvePoint>& points, const std::string& caption);
// The first fault of the device: either curve's, or neither curve given.
std::optional<FieldFault> pointDeviceFault(const PointDeviceData& device, PointKind kind);

// The lines drawn: minimum melting, then total clearing, those given.
std::vector<DeviceCurve> pointDeviceCurves(const PointDeviceData& device);

// The line a pair takes: the total-clearing curve as the downstream device
// (and against equipment), the minimum-melting one as the upstream device
// (and against inrush and starting); the one curve a device has when it has one.
const std::vector<CurvePoint>& downstreamLine(const PointDeviceData& device);
const std::vector<CurvePoint>& upstreamLine(const PointDeviceData& device);

// Points typed as text: one point a line, current and time, and an optional
// third column `min` or `total` (a line without it goes to the curve given as
// `untagged`). Columns are split at tabs when a line has one (a spreadsheet's
// copy), else at commas. Blank lines are skipped; a first line without a
// number in its first column is a heading. Throws TelvaraError naming the line.
struct PointTable {
    std::vector<CurvePoint> minCurve;
    std::vector<CurvePoint> totalCurve;
};
PointTable readPointTable(std::string_view text, CurveRole untagged,
                          const NumberLocale& loc = NumberLocale{});

// The device as a library file: "current,time,min|total" lines, shortest
// decimal texts with ".".
std::string writePointTable(const PointDeviceData& device);

} // namespace telvara
