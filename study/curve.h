#pragma once
// The arithmetic the kinds' curves share: the time a line gives at a current,
// the fault of a value that cannot be drawn, currents scaled.
#include "study/device_kind.h"

#include <optional>
#include <string>
#include <vector>

namespace telvara {

// A value that cannot be drawn: the file's key of the field and the fault in words.
struct FieldFault {
    std::string key;
    std::string message;
    friend bool operator==(const FieldFault&, const FieldFault&) = default;
};

// A polyline with its currents multiplied by `factor`.
std::vector<CurvePoint> scaledCurrents(std::vector<CurvePoint> points, double factor);

} // namespace telvara
