#pragma once
// What every kind of study device gives: the curves it draws, each with its
// role, and its time at a current for a role. Currents and times are at the
// device's own voltage; the study refers them to the reference voltage.
//
// A new kind is one class deriving from TDeviceKind plus one line in the
// table of kinds (device_kinds.cpp): the file, the check, the chart and the
// tools reach it only through this interface.
#include "relay/relay.h"
#include "study/json_fields.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

class TDeviceKind {
public:
    virtual ~TDeviceKind() = default;

    // The kind's name in the file: "relay", …
    virtual std::string Name() const = 0;
    // Protective devices form the pairs of a path; equipment is protected.
    virtual bool Protective() const = 0;
    // For protective devices, the class whose pairs share a grading margin:
    // "relay", "point". The margin key is both classes joined by "_", the
    // larger name first ("relay_relay", "relay_point", "point_point").
    virtual std::string GradingClass() const { return Name(); }

    // Its curves at its own voltage. Throws ConvertError (or TelvaraError)
    // when its values cannot be drawn.
    virtual std::vector<DeviceCurve> Curves() const = 0;
    // The time at a current (own voltage) on the curve of the role; none when
    // the device does not operate there or has no such curve. Straight log-log
    // between points, the lower time at a vertical step, nothing below the
    // first point's current, the last point's time beyond it.
    virtual std::optional<double> TimeAt(CurveRole role, double current) const;
    // The curve of the role checked in a pair: as the downstream device (true)
    // or as the upstream one.
    virtual CurveRole GradingRole(bool downstream) const;

    // Reads the kind's fields from a device object (taking them out of it, so
    // that what is left is kept as unknown fields), and writes them back into
    // a device object in the file's fixed order.
    virtual void Read(TJsonObject& device) = 0;
    virtual void Write(ordered_json& device) const = 0;

    virtual std::unique_ptr<TDeviceKind> Clone() const = 0;
    // Same values (what decides whether a study changed).
    virtual bool Equals(const TDeviceKind& other) const = 0;
};

// A new device of the named kind with its defaults; nullptr for a name this
// version does not know.
std::unique_ptr<TDeviceKind> makeDeviceKind(std::string_view name);
// Every kind's name, in the order a panel offers them.
std::vector<std::string> deviceKindNames();

// The pair's grading margin key: "relay_relay", "relay_point", …
std::string gradingKey(const TDeviceKind& a, const TDeviceKind& b);

} // namespace telvara
