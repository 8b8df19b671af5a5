#pragma once
// A transformer's through-fault damage curve (IEEE C57.109 as commonly
// drawn), its inrush point, and the same curve at 58 % of its current: a
// secondary line-to-ground fault as the delta side of a delta-wye unit sees it.
#include "study/curve.h"

#include <optional>
#include <string>
#include <vector>

namespace telvara {

enum class TransformerCategory { Auto, I, II, III, IV };
enum class FaultFrequency { Frequent, Infrequent };
enum class TransformerSide { Primary, Secondary };

struct TransformerData {
    double kva = 0;
    double kvPrimary = 0;
    double kvSecondary = 0;
    double zPercent = 0;
    int phases = 3;
    TransformerCategory category = TransformerCategory::Auto;
    FaultFrequency faults = FaultFrequency::Frequent;
    // The system's impedance on the transformer's base; counts for III and IV.
    double zsPercent = 0;
    // The side drawn; the device's bus is on it.
    TransformerSide side = TransformerSide::Primary;
    double inrushMultiple = 12;
    double inrushS = 0.1;
    bool shift58 = false;
    friend bool operator==(const TransformerData&, const TransformerData&) = default;
};

inline constexpr double kShift58 = 0.58;
inline constexpr char kShift58Caption[] = "58%";
inline constexpr char kInrushCaption[] = "励磁突入";

// The category the curve is drawn for: the one set, else from kVA and phases.
TransformerCategory transformerCategory(const TransformerData& t);

// The rated current of the drawn side in A: kVA / (√3 kV), single-phase kVA / kV.
double transformerRatedCurrent(const TransformerData& t);

// The largest through-fault current in multiples of the rated current:
// 100 / Z for categories I and II, 100 / (Z + Zs) for III and IV.
double transformerMaxFaultMultiple(const TransformerData& t);

// The damage curve in multiples of the rated current, from 2 up to the
// largest through-fault current (empty when that is not above 2).
std::vector<CurvePoint> transformerDamageMultiples(const TransformerData& t);

// The first fault of the data; none when it can be drawn.
std::optional<FieldFault> transformerFault(const TransformerData& t);

// The lines drawn, in A at the drawn side: the damage curve, the inrush
// marker (caption "励磁突入"), and the damage curve at 58 % (caption "58%")
// when asked for.
std::vector<DeviceCurve> transformerCurves(const TransformerData& t);

} // namespace telvara
