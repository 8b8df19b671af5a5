#pragma once
// Integer arithmetic of the engine: rounding and scaled products.
#include <cfenv>
#include <cmath>
#include <cstdint>

namespace telvara {

// Nearest integer, halves to even.
inline long long RoundEven(double v) {
    const int old = std::fegetround();
    if (old != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    if (old != FE_TONEAREST)
        std::fesetround(old);
    return static_cast<long long>(r);
}

inline int RoundEvenInt(double v) {
    return static_cast<int>(RoundEven(v));
}

// a * b / c with a 64-bit intermediate, nearest integer, halves away from zero.
// A zero divisor gives -1, as the platform's MulDiv does.
inline int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const bool neg = (p < 0) != (c < 0);
    const std::int64_t ap = p < 0 ? -p : p;
    const std::int64_t ac = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::int64_t q = (ap + ac / 2) / ac;
    return static_cast<int>(neg ? -q : q);
}

// base^k for a whole base and a whole k, as the decades of a log axis need:
// exact products, one rounding at most for a negative k, so that every
// system's maths library gives the same doubles (MinGW's pow(10, -10) is a
// few units off). Anything else goes to std::pow.
inline double IntegerPower(double base, double k) {
    if (base < 2 || base != std::floor(base) || k != std::floor(k) || std::fabs(k) > 64)
        return std::pow(base, k);
    double p = 1;
    for (int i = 0; i < static_cast<int>(std::fabs(k)); ++i) {
        p *= base;
        if (p > 9007199254740992.0) // 2^53: beyond it products need not be exact
            return std::pow(base, k);
    }
    return k >= 0 ? p : 1 / p;
}

} // namespace telvara
