// The table of device kinds, and what every kind shares.
#include "relay/margins.h"
#include "study/device_kind.h"
#include "study/relay_device.h"

#include <functional>
#include <utility>

namespace telvara {

namespace {

using KindMaker = std::function<std::unique_ptr<TDeviceKind>()>;

// Every kind this version reads and writes, in the order a panel offers them.
const std::vector<std::pair<std::string, KindMaker>>& kinds() {
    static const std::vector<std::pair<std::string, KindMaker>> table{
        {TRelayDevice::kName, [] { return std::make_unique<TRelayDevice>(); }},
    };
    return table;
}

} // namespace

std::optional<double> TDeviceKind::TimeAt(CurveRole role, double current) const {
    for (const DeviceCurve& c : Curves())
        if (c.role == role)
            return TOperatingCurve(c.points).TimeAt(current);
    return std::nullopt;
}

CurveRole TDeviceKind::GradingRole(bool) const {
    return CurveRole::Operating;
}

std::unique_ptr<TDeviceKind> makeDeviceKind(std::string_view name) {
    for (const auto& [kindName, make] : kinds())
        if (kindName == name)
            return make();
    return nullptr;
}

std::vector<std::string> deviceKindNames() {
    std::vector<std::string> names;
    for (const auto& entry : kinds())
        names.push_back(entry.first);
    return names;
}

std::string gradingKey(const TDeviceKind& a, const TDeviceKind& b) {
    std::string x = a.GradingClass();
    std::string y = b.GradingClass();
    if (x < y)
        std::swap(x, y);
    return x + "_" + y;
}

} // namespace telvara
