#pragma once
// Standard inverse-time characteristics: the six operating times at 150 .. 700 %
// of the tap current from a characteristic and its time multiplier, written as
// the 5-character texts the time fields hold.
#include "relay/relay.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace telvara {

enum class Characteristic { IecSI, IecVI, IecEI, IecLTI, IeeeMI, IeeeVI, IeeeEI };

struct CharacteristicInfo {
    Characteristic id;
    const char* name;   // the name scripts use, e.g. "IEC-SI"
    const char* title;  // the name the dialog shows (UTF-8)
    const char* source; // the standard the formula comes from
};

// Every characteristic, in the order the dialog lists them.
std::span<const CharacteristicInfo> characteristics();
std::optional<Characteristic> characteristicByName(std::string_view name);

// The captions of the tap multiples (kTapMultiples), as the time fields are labelled.
inline constexpr std::array<const char*, 6> kTapMultipleCaptions{"150%", "200%", "300%",
                                                                 "400%", "500%", "700%"};

// Operating time in seconds at multiple m of the tap current:
// IEC t = TMS k / (m^a - 1), IEEE t = TD (A / (m^p - 1) + B).
double operatingTime(Characteristic c, double multiplier, double m);

// The text of at most 5 characters carrying the most significant digits of a
// time in seconds, rounded half away from zero (the half judged on the time's
// 15-digit decimal form), trailing zeros of a fraction dropped.
// Throws TelvaraError naming `caption` when the time is negative, 100000 s or
// more, or would be written as 0 (0 means "no point").
std::string timeFieldText(double seconds, std::string_view caption);

// The six time texts of a characteristic. Throws TelvaraError when the
// multiplier is not above 0 or a time cannot be written.
std::array<std::string, 6> characteristicTimeTexts(Characteristic c, double multiplier);

// The six typed times scaled by a ratio (a time lever changed from L1 to L2:
// ratio L2 / L1); a time of 0 stays "0". Throws ConvertError for a typed time
// that is not a number, TelvaraError as above.
std::array<std::string, 6> scaledTimeTexts(const std::array<std::string, 6>& typed, double ratio);

} // namespace telvara
