#include "study/transformer_curve.h"

#include <array>
#include <cmath>

namespace telvara {

namespace {

// The thermal part's corners in multiples of the rated current and seconds;
// above the last, t = 1250 / I².
constexpr std::array<CurvePoint, 6> kThermal{
    {{2, 1800}, {3, 300}, {4.75, 60}, {6.7, 30}, {11.3, 10}, {25, 2}}};
constexpr double kThermalI2t = 1250;

double logLine(const CurvePoint& a, const CurvePoint& b, double i) {
    const double p = std::log(b.time / a.time) / std::log(b.current / a.current);
    return a.time * std::pow(i / a.current, p);
}

double thermalTime(double m) {
    if (m >= kThermal.back().current)
        return kThermalI2t / (m * m);
    std::size_t k = 1;
    while (kThermal[k].current < m)
        ++k;
    return logLine(kThermal[k - 1], kThermal[k], m);
}

bool hasMechanicalPart(TransformerCategory c, FaultFrequency f) {
    if (c == TransformerCategory::IV)
        return true;
    return f == FaultFrequency::Frequent &&
           (c == TransformerCategory::II || c == TransformerCategory::III);
}

bool withSystemImpedance(TransformerCategory c) {
    return c == TransformerCategory::III || c == TransformerCategory::IV;
}

double drawnKv(const TransformerData& t) {
    return t.side == TransformerSide::Primary ? t.kvPrimary : t.kvSecondary;
}

FieldFault aboveZero(const char* key, const std::string& field) {
    return {key, field + "は 0 より大きい数値にしてください"};
}

} // namespace

TransformerCategory transformerCategory(const TransformerData& t) {
    if (t.category != TransformerCategory::Auto)
        return t.category;
    const bool three = t.phases != 1;
    if (t.kva <= 500)
        return TransformerCategory::I;
    if (t.kva <= (three ? 5000 : 1667))
        return TransformerCategory::II;
    if (t.kva <= (three ? 30000 : 10000))
        return TransformerCategory::III;
    return TransformerCategory::IV;
}

double transformerRatedCurrent(const TransformerData& t) {
    const double kv = drawnKv(t);
    return t.phases == 1 ? t.kva / kv : t.kva / (std::sqrt(3.0) * kv);
}

double transformerMaxFaultMultiple(const TransformerData& t) {
    const bool zs = withSystemImpedance(transformerCategory(t));
    return 100 / (t.zPercent + (zs ? t.zsPercent : 0));
}

std::vector<CurvePoint> transformerDamageMultiples(const TransformerData& t) {
    const double top = transformerMaxFaultMultiple(t);
    if (!(top > kThermal.front().current) || !std::isfinite(top))
        return {};
    const TransformerCategory category = transformerCategory(t);
    // Where the thermal part alone is followed: up to k · I_max with a
    // mechanical part, else to the end.
    double thermalEnd = top;
    if (hasMechanicalPart(category, t.faults))
        thermalEnd = std::max(kThermal.front().current,
                              (category == TransformerCategory::II ? 0.7 : 0.5) * top);
    std::vector<CurvePoint> out;
    for (const CurvePoint& p : kThermal)
        if (p.current < thermalEnd)
            out.push_back(p);
    out.push_back({thermalEnd, thermalTime(thermalEnd)});
    if (thermalEnd == top)
        return out;

    // From k · I_max on: the lower of t_m = 2 (I_max / I)² and the thermal
    // part. Both are straight between the thermal corners, so the lower one
    // bends only there and where they cross.
    const auto mechanical = [top](double m) { return 2 * (top / m) * (top / m); };
    std::vector<double> corners{thermalEnd};
    for (const CurvePoint& p : kThermal)
        if (p.current > thermalEnd && p.current < top)
            corners.push_back(p.current);
    corners.push_back(top);
    const auto lower = [&](double m) { return std::min(mechanical(m), thermalTime(m)); };
    if (lower(thermalEnd) < out.back().time)
        out.push_back({thermalEnd, lower(thermalEnd)});
    for (std::size_t k = 1; k < corners.size(); ++k) {
        const double a = corners[k - 1], b = corners[k];
        const double da = std::log(thermalTime(a) / mechanical(a));
        const double db = std::log(thermalTime(b) / mechanical(b));
        if ((da < 0 && db > 0) || (da > 0 && db < 0)) {
            const double m = std::exp(std::log(a) + (std::log(b) - std::log(a)) * da / (da - db));
            out.push_back({m, mechanical(m)});
        }
        out.push_back({b, lower(b)});
    }
    return out;
}

std::optional<FieldFault> transformerFault(const TransformerData& t) {
    if (!(t.kva > 0))
        return aboveZero("kva", "定格容量 (kVA)");
    if (!(t.kvPrimary > 0))
        return aboveZero("kv_primary", "一次電圧 (kV)");
    if (!(t.kvSecondary > 0))
        return aboveZero("kv_secondary", "二次電圧 (kV)");
    if (!(t.zPercent > 0))
        return aboveZero("z_percent", "インピーダンス (%)");
    if (!(t.zsPercent >= 0))
        return FieldFault{"zs_percent", "系統インピーダンス (%) は 0 以上の数値にしてください"};
    if (t.phases != 1 && t.phases != 3)
        return FieldFault{"phases", "相数は 3 か 1 にしてください"};
    if (!(transformerMaxFaultMultiple(t) > 2))
        return FieldFault{
            "z_percent",
            "インピーダンス (%) が大きすぎます: 最大通過故障電流が定格電流の 2 倍以下です"};
    if (!(t.inrushMultiple > 0))
        return aboveZero("inrush_multiple", "励磁突入電流 (倍)");
    if (!(t.inrushS > 0))
        return aboveZero("inrush_s", "励磁突入時間 (s)");
    return std::nullopt;
}

std::vector<DeviceCurve> transformerCurves(const TransformerData& t) {
    const double rated = transformerRatedCurrent(t);
    std::vector<CurvePoint> damage = scaledCurrents(transformerDamageMultiples(t), rated);
    std::vector<DeviceCurve> out;
    out.push_back({CurveRole::Damage, damage});
    out.push_back({CurveRole::Marker, {{t.inrushMultiple * rated, t.inrushS}}, kInrushCaption});
    if (t.shift58)
        out.push_back({CurveRole::Damage, scaledCurrents(damage, kShift58), kShift58Caption});
    return out;
}

} // namespace telvara
