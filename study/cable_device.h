#pragma once
// The kind "cable": equipment drawn as its adiabatic damage line, checked
// against the device protecting it.
#include "study/cable_curve.h"
#include "study/device_kind.h"

namespace telvara {

class TCableDevice : public TDeviceKind {
public:
    static constexpr char kName[] = "cable";

    CableData data;

    std::string Name() const override { return kName; }
    bool Protective() const override { return false; }
    std::vector<DeviceCurve> Curves() const override;
    std::optional<double> TimeAt(CurveRole role, double current) const override;
    std::vector<TProtectionDemand> Demands() const override;
    void Read(TJsonObject& device) override;
    void Write(ordered_json& device) const override;
    std::unique_ptr<TDeviceKind> Clone() const override;
    bool Equals(const TDeviceKind& other) const override;
};

} // namespace telvara
