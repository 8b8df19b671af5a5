// The boot identity on Windows: the boot time in ten-second steps.
#include "base/os/boot.h"

#include <cstdint>
#include <windows.h>

namespace telvara::os {

std::string bootIdentity() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now); // 100 ns steps since 1601
    const std::uint64_t ticks = (std::uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    const std::uint64_t since = GetTickCount64() * 10000u;
    const std::uint64_t boot = (ticks - since) / 100000000u; // ten seconds
    return "windows-boot-" + std::to_string(boot);
}

} // namespace telvara::os
