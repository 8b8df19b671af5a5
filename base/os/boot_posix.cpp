// The boot identity on Linux (empty where /proc has none).
#include "base/os/boot.h"

#include <cstdio>

namespace telvara::os {

std::string bootIdentity() {
    std::string id;
    if (std::FILE* f = std::fopen("/proc/sys/kernel/random/boot_id", "r")) {
        char line[64] = {};
        if (std::fgets(line, sizeof line, f))
            id = line;
        std::fclose(f);
    }
    while (!id.empty() && (id.back() == '\n' || id.back() == '\r'))
        id.pop_back();
    return id.substr(0, 36);
}

} // namespace telvara::os
