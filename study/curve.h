#pragma once
// The arithmetic the kinds' curves share: the time a line gives at a current,
// the fault of a value that cannot be drawn, currents scaled.
#include "study/device_kind.h"

#include <optional>
#include <string>
#include <vector>

namespace telvara {

// The time a protective line gives at current i, by the relays' rule:
// straight log-log lines between points, the lower time at a vertical line
// from its current on, nothing below the first point's current, the last
// point's time beyond the last point.
std::optional<double> operatingTimeAt(const std::vector<CurvePoint>& points, double i);

// The time a damage line gives at current i: as drawn, and nothing outside
// the currents it is drawn over.
std::optional<double> damageTimeAt(const std::vector<CurvePoint>& points, double i);

// A value that cannot be drawn: the file's key of the field and the fault in words.
struct FieldFault {
    std::string key;
    std::string message;
    friend bool operator==(const FieldFault&, const FieldFault&) = default;
};

// A polyline with its currents multiplied by `factor`.
std::vector<CurvePoint> scaledCurrents(std::vector<CurvePoint> points, double factor);

} // namespace telvara
