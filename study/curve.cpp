#include "study/curve.h"

#include "relay/margins.h"

namespace telvara {

std::optional<double> operatingTimeAt(const std::vector<CurvePoint>& points, double i) {
    return TOperatingCurve(points).TimeAt(i);
}

std::optional<double> damageTimeAt(const std::vector<CurvePoint>& points, double i) {
    const TOperatingCurve curve(points);
    if (!curve.Checkable() || i > curve.LastCurrent())
        return std::nullopt;
    return curve.TimeAt(i);
}

std::vector<CurvePoint> scaledCurrents(std::vector<CurvePoint> points, double factor) {
    for (CurvePoint& p : points)
        p.current *= factor;
    return points;
}

} // namespace telvara
