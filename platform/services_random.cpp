#include "platform/services_random.h"

#include <chrono>

namespace telvara {

void ClockRandomSource::seedFromClock() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    engine_.seed(static_cast<std::mt19937::result_type>(ticks ^ (ticks >> 32)));
}

std::uint32_t ClockRandomSource::next(std::uint32_t range) {
    if (range == 0)
        return 0;
    return std::uniform_int_distribution<std::uint32_t>(0, range - 1)(engine_);
}

} // namespace telvara
