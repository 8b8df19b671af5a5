#include "study/cable_device.h"

#include "study/equipment_fields.h"

namespace telvara {

namespace {

const std::initializer_list<std::pair<const char*, Conductor>> kConductors{
    {"cu", Conductor::Copper}, {"al", Conductor::Aluminium}};
const std::initializer_list<std::pair<const char*, Insulation>> kInsulations{
    {"pvc", Insulation::Pvc}, {"xlpe", Insulation::Xlpe}, {"epr", Insulation::Epr}};

} // namespace

std::vector<DeviceCurve> TCableDevice::Curves() const {
    if (const auto fault = cableFault(data))
        throw TelvaraError(fault->message);
    return cableCurves(data);
}

std::optional<double> TCableDevice::TimeAt(CurveRole role, double current) const {
    if (role != CurveRole::Damage)
        return std::nullopt;
    return damageTimeAt(Curves().front().points, current);
}

std::vector<TProtectionDemand> TCableDevice::Demands() const {
    return {{"damage", Curves().front().points}};
}

void TCableDevice::Read(TJsonObject& device) {
    CableData c;
    c.conductor = readWord(device, "conductor", kConductors, c.conductor);
    c.insulation = readWord(device, "insulation", kInsulations, c.insulation);
    c.thetaI = device.OptionalNumber("theta_i");
    c.thetaF = device.OptionalNumber("theta_f");
    c.mm2 = device.Number("mm2");
    c.parallel = readWhole(device, "parallel", c.parallel);
    failAt(device, cableFault(c));
    data = c;
}

void TCableDevice::Write(ordered_json& device) const {
    device["conductor"] = wordOf(kConductors, data.conductor);
    device["insulation"] = wordOf(kInsulations, data.insulation);
    if (data.thetaI)
        device["theta_i"] = jsonNumber(*data.thetaI);
    if (data.thetaF)
        device["theta_f"] = jsonNumber(*data.thetaF);
    device["mm2"] = jsonNumber(data.mm2);
    device["parallel"] = data.parallel;
}

std::unique_ptr<TDeviceKind> TCableDevice::Clone() const {
    return std::make_unique<TCableDevice>(*this);
}

bool TCableDevice::Equals(const TDeviceKind& other) const {
    const auto* o = dynamic_cast<const TCableDevice*>(&other);
    return o && o->data == data;
}

} // namespace telvara
