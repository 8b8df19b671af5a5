#pragma once
// Relay arithmetic: what a relay's settings give as numbers. The main window,
// the chart window and every tool compute through these functions only.
#include <array>
#include <string>
#include <vector>

namespace telvara {

// The operating times a relay keeps: at 150, 200, 300, 400, 500, 700 % of the
// tap current and at the INST current (Edit2 .. Edit8), as typed.
inline constexpr std::size_t kTimeFieldCount = 7;
using TimeTexts = std::array<std::string, kTimeFieldCount>;

// Multiples of the tap current of the six inverse-time fields (150 .. 700 %).
inline constexpr std::array<double, kTimeFieldCount - 1> kTapMultiples{1.5, 2, 3, 4, 5, 7};

// A relay's derived currents: the tap current, its six multiples and the
// INST current. The main window keeps them for the relay it shows and hands
// them to the chart window; they start at 0.
struct RelayCurrents {
    double TapCurrent = 0;
    double Current150 = 0;
    double Current200 = 0;
    double Current300 = 0;
    double Current400 = 0;
    double Current500 = 0;
    double Current700 = 0;
    double InstCurrent = 0;
};

// The curve's points, read from the entries: the time-current points in order,
// then the corner and the foot of the instantaneous step.
struct CurvePoint {
    double current;
    double time;
    friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

// Reads the seven times (throws ConvertError "'%s' は浮動小数点数ではありません"
// on the first that is not a number) and gives the points to add, in order.
std::vector<CurvePoint> curvePoints(const TimeTexts& times, const RelayCurrents& currents);

// TapCurrent = CT / 5 x tap and its multiples. Throws ConvertError for a bad
// number before anything changes.
void deriveTapCurrents(const std::string& ct, const std::string& tap, RelayCurrents& values);

// The tap as the main window takes it when its field is left: a tap above 0
// gives TapCurrent = CT / 5 x tap (true); any other is kept as TapCurrent
// itself (false: the relay has no tap current to draw). The multiples follow
// either way. The tap is read first (ConvertError before anything changes);
// the CT only for a tap above 0, after TapCurrent took the tap.
bool deriveEnteredTapCurrents(const std::string& ct, const std::string& tap, RelayCurrents& values);

// InstCurrent = CT x INST tap when the INST tap is above 0 (true); else
// InstCurrent keeps its value (false). The INST tap is read first; the CT only
// when it is used. Throws ConvertError for a bad number.
bool deriveInstCurrent(const std::string& ct, const std::string& instTap, RelayCurrents& values);

// The derived currents of a loaded record: TapCurrent = CT / 5 x tap, the six
// multiples, and InstCurrent = CT x INST tap when the INST tap is above 0
// (else InstCurrent keeps its value). Throws ConvertError for a bad number.
void deriveRecordCurrents(const std::string& ct, const std::string& tap, const std::string& instTap,
                          RelayCurrents& values);

// One stored relay as the main window loads it (texts in UTF-8).
struct RelaySettings {
    std::string device;
    std::string ct;
    std::string tap;
    std::string instTap;
    TimeTexts times{"0", "0", "0", "0", "0", "0", "0"};
    // The company name, as the store keys the record with the device number.
    std::string company{};
};

} // namespace telvara
