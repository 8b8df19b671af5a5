#pragma once
// The kind "transformer": equipment drawn as its through-fault damage curve
// and inrush point, checked against the device protecting it.
#include "study/device_kind.h"
#include "study/transformer_curve.h"

namespace telvara {

class TTransformerDevice : public TDeviceKind {
public:
    static constexpr char kName[] = "transformer";

    TransformerData data;

    std::string Name() const override { return kName; }
    bool Protective() const override { return false; }
    std::vector<DeviceCurve> Curves() const override;
    std::optional<double> TimeAt(CurveRole role, double current) const override;
    std::vector<TProtectionDemand> Demands() const override;
    std::optional<double> RatedKv() const override {
        return data.side == TransformerSide::Primary ? data.kvPrimary : data.kvSecondary;
    }
    void Read(TJsonObject& device) override;
    void Write(ordered_json& device) const override;
    std::unique_ptr<TDeviceKind> Clone() const override;
    bool Equals(const TDeviceKind& other) const override;
};

} // namespace telvara
