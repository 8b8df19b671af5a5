#pragma once
// What the command-line tools share: their exit statuses, the error for a
// command given wrongly, and how a failure reaches standard error.
#include "base/errors.h"

#include <exception>
#include <iostream>
#include <string>

namespace telvara {

// The named record is not there (telvara-check: a pair fails its margin).
constexpr int kExitNotFound = 1;
// The command could not be carried out.
constexpr int kExitFailed = 2;

// A line or command that cannot be carried out as given.
struct TUsageError : TelvaraError {
    using TelvaraError::TelvaraError;
};

// The failure's text on standard error, ending in one line end.
inline int reportFailure(const std::exception& e) {
    std::cerr << e.what() << (std::string(e.what()).ends_with("\n") ? "" : "\n");
    return kExitFailed;
}

} // namespace telvara
