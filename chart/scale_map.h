#pragma once
// Value <-> pixel mapping of one axis, as laid out by the last paint. The axis
// hands out a copy; series, zoom and marks read it without touching the axis.
#include <cmath>

namespace telvara {

class TScaleMap {
public:
    TScaleMap() = default;
    TScaleMap(bool horizontal, bool inverted, bool logarithmic, int startPixel, int endPixel,
              double minimum, double maximum, double range)
        : horizontal_(horizontal), inverted_(inverted), logarithmic_(logarithmic),
          startPixel_(startPixel), endPixel_(endPixel), axisLength_(endPixel - startPixel),
          centerPixel_((startPixel + endPixel) / 2), minimum_(minimum), maximum_(maximum),
          range_(range), logMin_(logarithmic && minimum > 0 ? std::log(minimum) : 0),
          logMax_(logarithmic && maximum > 0 ? std::log(maximum) : 0),
          logRange_(logMax_ - logMin_) {}

    int ValueToPixel(double v) const;
    double PixelToValue(int p) const;

    bool Horizontal() const { return horizontal_; }
    bool Inverted() const { return inverted_; }
    bool Logarithmic() const { return logarithmic_; }
    int StartPixel() const { return startPixel_; }
    int EndPixel() const { return endPixel_; }
    int AxisLength() const { return axisLength_; }
    int CenterPixel() const { return centerPixel_; }
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    double Range() const { return range_; }

private:
    bool horizontal_ = false;
    bool inverted_ = false;
    bool logarithmic_ = false;
    int startPixel_ = 0;
    int endPixel_ = 0;
    int axisLength_ = 0;
    int centerPixel_ = 0;
    double minimum_ = 0;
    double maximum_ = 0;
    double range_ = 0;
    // Natural logarithms of the ends (0 for an end at or below 0), taken once.
    double logMin_ = 0;
    double logMax_ = 0;
    double logRange_ = 0;
};

} // namespace telvara
