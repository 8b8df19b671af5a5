#pragma once
// Counts the fsync and fdatasync calls of the whole process (the store's and
// SQLite's alike): the benchmark defines both functions, so every caller in
// the process reaches these counting wrappers before the C library.
#include <cstdint>

namespace bench {
std::uint64_t syncCalls();
} // namespace bench
