#pragma once
// A cable's short-circuit withstand, adiabatic (IEC 60949): t = (k n S / I)²,
// drawn from 0.01 s to 5 s.
#include "study/curve.h"

#include <optional>
#include <string>
#include <vector>

namespace telvara {

enum class Conductor { Copper, Aluminium };
enum class Insulation { Pvc, Xlpe, Epr };

struct CableData {
    Conductor conductor = Conductor::Copper;
    Insulation insulation = Insulation::Xlpe;
    // Typed temperatures in °C, each overriding the insulation's.
    std::optional<double> thetaI;
    std::optional<double> thetaF;
    double mm2 = 0;
    int parallel = 1;
    friend bool operator==(const CableData&, const CableData&) = default;
};

inline constexpr double kCableDamageShortest = 0.01;
inline constexpr double kCableDamageLongest = 5;

// The initial and final temperatures the line is drawn for: PVC 70 → 160 °C,
// XLPE and EPR 90 → 250 °C, unless typed.
double cableInitialTemperature(const CableData& c);
double cableFinalTemperature(const CableData& c);

// k = K √ln((θf + β) / (θi + β)); copper K = 226, β = 234.5; aluminium
// K = 148, β = 228.
double cableK(const CableData& c);

// The first fault of the data; none when it can be drawn.
std::optional<FieldFault> cableFault(const CableData& c);

// The damage line in A at the cable's voltage.
std::vector<DeviceCurve> cableCurves(const CableData& c);

} // namespace telvara
