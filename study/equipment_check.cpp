#include "study/equipment_check.h"

#include <algorithm>

namespace telvara {

std::string checkKindCaption(std::string_view kind) {
    if (kind == kCheckDamage)
        return "損傷";
    if (kind == kCheckInrush)
        return "励磁突入";
    if (kind == kCheckStart)
        return "始動";
    if (kind == "coord")
        return "協調";
    return std::string(kind);
}

TProtectionDemand referredDemand(TProtectionDemand demand, double factor) {
    for (CurvePoint& p : demand.line)
        p.current *= factor;
    demand.current *= factor;
    if (demand.neverAt)
        *demand.neverAt *= factor;
    return demand;
}

namespace {

TEquipmentMargin damageMargin(const TProtectionDemand& demand, const TOperatingCurve& device,
                              std::optional<double> maxFault) {
    TEquipmentMargin r;
    const TOperatingCurve damage(demand.line);
    if (!damage.Checkable())
        return r;
    // No fault reaches the currents the damage line is drawn at: nothing to
    // protect against, as a pair without a common range.
    const double top = std::min(damage.LastCurrent(), maxFault.value_or(damage.LastCurrent()));
    if (top < damage.FirstCurrent())
        return r;
    r.pass = false;
    if (!device.Checkable())
        return r;
    // Damage first as the "upstream" line: its time less the device's.
    MarginOptions options;
    options.cti = 0;
    options.maxFaultCurrent = top;
    const PairMargin m = pairMargin(device, damage, options);
    if (!m.commonRange)
        return r;
    r.margin = m.margin;
    r.current = m.current;
    r.pass = m.pass;
    r.detail = m;
    return r;
}

TEquipmentMargin rideThroughMargin(const TProtectionDemand& demand, const TOperatingCurve& device) {
    TEquipmentMargin r;
    if (demand.neverAt && device.TimeAt(*demand.neverAt)) {
        r.current = demand.neverAt;
        r.pass = false;
        return r;
    }
    r.current = demand.current;
    if (const std::optional<double> t = device.TimeAt(demand.current)) {
        r.margin = *t - demand.time;
        r.pass = *r.margin > 0;
    }
    return r;
}

} // namespace

TEquipmentMargin equipmentMargin(const TProtectionDemand& demand, const TOperatingCurve& downstream,
                                 const TOperatingCurve& upstream, std::optional<double> maxFault) {
    if (demand.kind == kCheckDamage)
        return damageMargin(demand, downstream, maxFault);
    return rideThroughMargin(demand, upstream);
}

} // namespace telvara
