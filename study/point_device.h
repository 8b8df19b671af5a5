#pragma once
// The kinds "fuse", "breaker" and "device": a protective device known by
// the points of its published curves.
#include "study/device_kind.h"
#include "study/point_curve.h"

namespace telvara {

class TPointDevice : public TDeviceKind {
public:
    static constexpr char kFuse[] = "fuse";
    static constexpr char kBreaker[] = "breaker";
    static constexpr char kDevice[] = "device";
    // Pairs with a point device take the "point" margins.
    static constexpr char kGradingClass[] = "point";

    explicit TPointDevice(PointKind kind) : kind(kind) {}

    PointKind kind;
    PointDeviceData data;

    std::string Name() const override;
    bool Protective() const override { return true; }
    std::string GradingClass() const override { return kGradingClass; }
    std::vector<DeviceCurve> Curves() const override;
    CurveRole GradingRole(bool downstream) const override;
    void Read(TJsonObject& device) override;
    void Write(ordered_json& device) const override;
    std::unique_ptr<TDeviceKind> Clone() const override;
    bool Equals(const TDeviceKind& other) const override;
};

} // namespace telvara
