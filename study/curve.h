#pragma once
// What every kind of study device gives: the lines it draws, each with its
// role, in amperes and seconds at the device's own voltage (the study refers
// them to the reference voltage), and the time a line gives at a current.
#include "relay/relay.h"

#include <optional>
#include <string>
#include <vector>

namespace telvara {

enum class CurveRole {
    Operating,      // a relay's time-current curve
    MinimumMelting, // a fuse's melting curve, the lower edge of a band
    TotalClearing,  // a fuse's clearing curve, the upper edge of a band
    Damage,         // what equipment withstands
    Marker,         // a point or short line that marks a value (inrush, start)
};

// One polyline of a device, straight between points in log-log.
struct DeviceCurve {
    CurveRole role = CurveRole::Operating;
    std::vector<CurvePoint> points;
    // Drawn beside a marker; empty for the device's label alone.
    std::string caption{};
};

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
