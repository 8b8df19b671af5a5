#pragma once
// The lines that check a piece of equipment against the protective device
// after it towards the source: the device operates before the equipment is
// damaged ("damage"), and rides through a transformer's inrush ("inrush")
// and a motor's start ("start").
#include "relay/margins.h"
#include "study/device_kind.h"

#include <optional>
#include <string>
#include <string_view>

namespace telvara {

inline constexpr char kCheckDamage[] = "damage";
inline constexpr char kCheckInrush[] = "inrush";
inline constexpr char kCheckStart[] = "start";

// The window's word for a check line's kind: 損傷, 励磁突入, 始動 (協調 for
// two protective devices); the kind itself for one this version does not know.
std::string checkKindCaption(std::string_view kind);

struct TEquipmentMargin {
    std::optional<double> margin;
    std::optional<double> current;
    bool pass = true;
    // Damage: where the smallest margin lies, the device's time as the
    // downstream one and the damage time as the upstream one.
    PairMargin detail{};
};

// The demand's currents times `factor` (referral to the reference voltage).
TProtectionDemand referredDemand(TProtectionDemand demand, double factor);

// One demand, referred, against the device's curves, referred: `downstream`
// (a point device's total clearing) for damage, `upstream` (its minimum
// melting) for inrush and start. Damage is checked up to `maxFault` when one
// is given: the smallest damage time less device time passes at 0 or above;
// a device operating nowhere there fails without a margin; when no fault
// reaches the damage line at all, the line passes without a margin. Inrush and start
// pass above 0, and without a margin where the device does not operate; a
// device operating at a motor's full-load current fails without a margin.
TEquipmentMargin equipmentMargin(const TProtectionDemand& demand, const TOperatingCurve& downstream,
                                 const TOperatingCurve& upstream, std::optional<double> maxFault);

} // namespace telvara
