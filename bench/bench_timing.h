#pragma once
// The best of several timed runs, in milliseconds: the least disturbed one
// on a machine that is doing other work.
#include <algorithm>
#include <chrono>

template <class F> double bestMs(int runs, F f) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const std::chrono::duration<double, std::milli> d = std::chrono::steady_clock::now() - t0;
        best = std::min(best, d.count());
    }
    return best;
}
