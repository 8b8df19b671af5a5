#include "study/motor_curve.h"

#include <cmath>

namespace telvara {

namespace {

bool positive(const std::optional<double>& v) {
    return v && *v > 0 && std::isfinite(*v);
}

} // namespace

double motorFullLoadCurrent(const MotorData& m) {
    if (m.flaA)
        return *m.flaA;
    if (!m.kw || !m.kv || !m.pf || !m.efficiency)
        return 0;
    return *m.kw / (std::sqrt(3.0) * *m.kv * *m.pf * *m.efficiency);
}

double motorLockedRotorCurrent(const MotorData& m) {
    return m.lrMultiple * motorFullLoadCurrent(m);
}

std::optional<FieldFault> motorFault(const MotorData& m) {
    if (m.flaA) {
        if (!positive(m.flaA))
            return FieldFault{"fla_a", "全負荷電流 (A) は 0 より大きい数値にしてください"};
    } else {
        if (!positive(m.kw))
            return FieldFault{"kw", "全負荷電流 (A) か出力 (kW) を入力してください"};
        if (!positive(m.kv))
            return FieldFault{"kv", "電圧 (kV) は 0 より大きい数値にしてください"};
        if (!positive(m.pf) || *m.pf > 1)
            return FieldFault{"pf", "力率は 0 より大きく 1 以下の数値にしてください"};
        if (!positive(m.efficiency) || *m.efficiency > 1)
            return FieldFault{"efficiency", "効率は 0 より大きく 1 以下の数値にしてください"};
    }
    if (!(m.lrMultiple >= 1) || !std::isfinite(m.lrMultiple))
        return FieldFault{"lr_multiple", "始動電流 (倍) は 1 以上の数値にしてください"};
    if (!(m.accelS > kMotorProfileFoot) || !std::isfinite(m.accelS))
        return FieldFault{"accel_s", "始動時間 (s) は 0.01 より大きい数値にしてください"};
    return std::nullopt;
}

// In rising current, as the chart orders a line's points.
std::vector<DeviceCurve> motorCurves(const MotorData& m, double topTime) {
    const double fl = motorFullLoadCurrent(m);
    const double lr = motorLockedRotorCurrent(m);
    return {{CurveRole::Marker,
             {{fl, topTime}, {fl, m.accelS}, {lr, m.accelS}, {lr, kMotorProfileFoot}}}};
}

} // namespace telvara
