#pragma once
// Relay arithmetic: what a relay's settings give as numbers. The main window,
// the chart window and every tool compute through these functions only.
#include "base/shared_values.h"

#include <array>
#include <string>
#include <vector>

namespace telvara {

// The curve's points, read from the entries: the time-current points in order,
// then the corner and the foot of the instantaneous step.
struct CurvePoint {
    double current;
    double time;
    friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

// Reads the seven times (throws ConvertError "'%s' は浮動小数点数ではありません"
// on the first that is not a number) and gives the points to add, in order.
std::vector<CurvePoint> curvePoints(const std::array<std::string, 7>& times,
                                    const SharedValues& currents);

// TapCurrent's six multiples: Current150 .. Current700.
void setTapMultiples(SharedValues& values);

// TapCurrent = CT / 5 x tap and its multiples. Throws ConvertError for a bad
// number before anything changes.
void deriveTapCurrents(const std::string& ct, const std::string& tap, SharedValues& values);

// InstCurrent = CT x INST tap when the INST tap is above 0 (true); else
// InstCurrent keeps its value (false). The INST tap is read first; the CT only
// when it is used. Throws ConvertError for a bad number.
bool deriveInstCurrent(const std::string& ct, const std::string& instTap, SharedValues& values);

// The derived currents of a loaded record: TapCurrent = CT / 5 x tap, the six
// multiples, and InstCurrent = CT x INST tap when the INST tap is above 0
// (else InstCurrent keeps its value). Throws ConvertError for a bad number.
void deriveRecordCurrents(const std::string& ct, const std::string& tap, const std::string& instTap,
                          SharedValues& values);

// One stored relay as the main window loads it (texts in UTF-8).
struct RelaySettings {
    std::string device;
    std::string ct;
    std::string tap;
    std::string instTap;
    std::array<std::string, 7> times{"0", "0", "0", "0", "0", "0", "0"};
    // The company name, as the store keys the record with the device number.
    std::string company{};
};

} // namespace telvara
