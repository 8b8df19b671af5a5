#include "study/cable_curve.h"

#include <cmath>

namespace telvara {

double cableInitialTemperature(const CableData& c) {
    return c.thetaI.value_or(c.insulation == Insulation::Pvc ? 70 : 90);
}

double cableFinalTemperature(const CableData& c) {
    return c.thetaF.value_or(c.insulation == Insulation::Pvc ? 160 : 250);
}

double cableK(const CableData& c) {
    const bool copper = c.conductor == Conductor::Copper;
    const double bigK = copper ? 226 : 148;
    const double beta = copper ? 234.5 : 228;
    return bigK * std::sqrt(std::log((cableFinalTemperature(c) + beta) /
                                     (cableInitialTemperature(c) + beta)));
}

std::optional<FieldFault> cableFault(const CableData& c) {
    if (!(c.mm2 > 0) || !std::isfinite(c.mm2))
        return FieldFault{"mm2", "断面積 (mm²) は 0 より大きい数値にしてください"};
    if (c.parallel < 1)
        return FieldFault{"parallel", "並列条数は 1 以上の整数にしてください"};
    const double ti = cableInitialTemperature(c);
    const double tf = cableFinalTemperature(c);
    if (!std::isfinite(ti) || ti <= -200)
        return FieldFault{"theta_i", "初期温度 (°C) は -200 より大きい数値にしてください"};
    if (!std::isfinite(tf) || !(tf > ti))
        return FieldFault{"theta_f", "最終温度 (°C) は初期温度より高くしてください"};
    return std::nullopt;
}

std::vector<DeviceCurve> cableCurves(const CableData& c) {
    // I = k n S / √t at the line's two ends.
    const double kns = cableK(c) * c.parallel * c.mm2;
    return {{CurveRole::Damage,
             {{kns / std::sqrt(kCableDamageLongest), kCableDamageLongest},
              {kns / std::sqrt(kCableDamageShortest), kCableDamageShortest}}}};
}

} // namespace telvara
