#pragma once
// The identity of the running system's boot: the same for every program
// until the system starts again, another one after.
#include <string>

namespace telvara::os {

// At most 36 characters; empty when the system does not tell.
// Linux: the kernel's boot id. Windows: the boot time, worked out from the
// time since boot to ten seconds (clock adjustments may make it look like a
// new boot, which only costs a comparison of the files with the journal).
std::string bootIdentity();

} // namespace telvara::os
