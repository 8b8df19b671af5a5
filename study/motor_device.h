#pragma once
// The kind "motor": equipment drawn as its starting profile, checked against
// the device protecting it (which must ride through the start).
#include "study/device_kind.h"
#include "study/motor_curve.h"

namespace telvara {

class TMotorDevice : public TDeviceKind {
public:
    static constexpr char kName[] = "motor";
    // The profile's vertical at the full-load current runs up to here: the
    // top of the chart's longer time axis.
    static constexpr double kProfileTop = 1000;

    MotorData data;

    std::string Name() const override { return kName; }
    bool Protective() const override { return false; }
    std::vector<DeviceCurve> Curves() const override;
    std::optional<double> TimeAt(CurveRole, double) const override { return std::nullopt; }
    std::vector<TProtectionDemand> Demands() const override;
    std::optional<double> RatedKv() const override { return data.flaA ? std::nullopt : data.kv; }
    void Read(TJsonObject& device) override;
    void Write(ordered_json& device) const override;
    std::unique_ptr<TDeviceKind> Clone() const override;
    bool Equals(const TDeviceKind& other) const override;
};

} // namespace telvara
