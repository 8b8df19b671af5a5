#pragma once
// telvara-store's add-curve: a relay whose six times come from a standard
// characteristic at a time multiplier.
#include <string>
#include <vector>

namespace telvara {

// NAME DEVICE CT CURVE MULTIPLIER TINST TAP INSTTAP (UTF-8) to the twelve
// record fields in record order, the six times written as the time fields hold
// them. Throws TelvaraError for an unknown curve, a multiplier that is not a
// number above 0, or a time that cannot be written in 5 characters.
std::vector<std::string> curveRecordFields(const std::vector<std::string>& args);

} // namespace telvara
