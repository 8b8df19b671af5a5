#pragma once
// The program's pseudo-random generator, seeded from the clock once per run.
#include "platform/services.h"

#include <random>

namespace telvara {

class ClockRandomSource : public RandomSource {
public:
    void seedFromClock() override;
    std::uint32_t next(std::uint32_t range) override;

private:
    std::mt19937 engine_;
};

} // namespace telvara
