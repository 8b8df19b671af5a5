#include "chart/scale_map.h"

#include "chart/math_util.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace telvara {

namespace {
// base + r, kept inside the integer range.
int offsetPixel(int base, long long r) {
    const long long p = base + r;
    return static_cast<int>(std::clamp<long long>(p, INT_MIN, INT_MAX));
}
} // namespace

int TScaleMap::ValueToPixel(double v) const {
    if (!logarithmic_) {
        if (range_ == 0)
            return centerPixel_;
        const double t = (v - minimum_) * axisLength_ / range_;
        if (!(std::fabs(t) < 2147483647.0))
            return centerPixel_;
        const long long r = RoundEven(t);
        if (horizontal_)
            return inverted_ ? offsetPixel(endPixel_, -r) : offsetPixel(startPixel_, r);
        return inverted_ ? offsetPixel(startPixel_, r) : offsetPixel(endPixel_, -r);
    }
    if (logRange_ == 0)
        return centerPixel_;
    if (v <= 0) {
        if (horizontal_)
            return inverted_ ? endPixel_ : startPixel_;
        return inverted_ ? startPixel_ : endPixel_;
    }
    const double d = inverted_ ? logMax_ - std::log(v) : std::log(v) - logMin_;
    const double t = axisLength_ * d / logRange_;
    // Far outside any screen (a value near 0 or huge): keep the arithmetic defined.
    const long long r =
        std::fabs(t) < 2147483647.0 ? RoundEven(t) : (t < 0 ? -2147483647 : 2147483647);
    return horizontal_ ? offsetPixel(startPixel_, r) : offsetPixel(endPixel_, -r);
}

double TScaleMap::PixelToValue(int p) const {
    if (!logarithmic_) {
        if (axisLength_ < 1)
            return 0;
        const double d = inverted_ ? endPixel_ - p : p - startPixel_;
        const double t = d * range_ / axisLength_;
        return horizontal_ ? minimum_ + t : maximum_ - t;
    }
    const bool lowAtStart = horizontal_ != inverted_;
    if (p == startPixel_)
        return lowAtStart ? minimum_ : maximum_;
    if (p == endPixel_)
        return lowAtStart ? maximum_ : minimum_;
    if (logRange_ == 0 || axisLength_ == 0)
        return minimum_;
    const double d = inverted_ ? logRange_ * (endPixel_ - p) / axisLength_
                               : logRange_ * (p - startPixel_) / axisLength_;
    return horizontal_ ? std::exp(logMin_ + d) : std::exp(logMax_ - d);
}

} // namespace telvara
