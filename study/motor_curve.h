#pragma once
// A motor's starting profile: the locked-rotor current up to the
// acceleration time, then the full-load current.
#include "study/curve.h"

#include <optional>
#include <string>
#include <vector>

namespace telvara {

struct MotorData {
    // The full-load current in A, typed; or computed from the rating below.
    std::optional<double> flaA;
    std::optional<double> kw;
    std::optional<double> kv;
    std::optional<double> pf;
    std::optional<double> efficiency; // per unit (0.93), not %
    double lrMultiple = 6;
    double accelS = 0;
    friend bool operator==(const MotorData&, const MotorData&) = default;
};

inline constexpr double kMotorProfileFoot = 0.01;

// I_fl as typed, else kW / (√3 kV pf efficiency); 0 when neither is given.
double motorFullLoadCurrent(const MotorData& m);
// I_lr = multiple × I_fl.
double motorLockedRotorCurrent(const MotorData& m);

// The first fault of the data; none when it can be drawn.
std::optional<FieldFault> motorFault(const MotorData& m);

// The profile in A at the motor's voltage: up the locked-rotor current from
// 0.01 s to t_a, across to the full-load current, up it to `topTime` (the top
// of the time axis); its points in rising current, from the top down.
std::vector<DeviceCurve> motorCurves(const MotorData& m, double topTime);

} // namespace telvara
