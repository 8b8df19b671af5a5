#pragma once
// The relays telvara-render draws and telvara-check checks, read from a
// store folder without changing it.
#include "base/errors.h"
#include "relay/relay.h"

#include <string>
#include <utility>
#include <vector>

namespace telvara {

// A named record is not in the store.
struct TRecordNotFound : TelvaraError {
    using TelvaraError::TelvaraError;
};

// Every record of the store in DIR in key order, or only the named ones
// (company name, device number; UTF-8) in the given order. Raises IoError
// when the folder holds no store (nothing is created) or cannot be read,
// TRecordNotFound for a named record that is not there.
std::vector<RelaySettings>
storedRelays(const std::string& dir,
             const std::vector<std::pair<std::string, std::string>>& named = {});

} // namespace telvara
