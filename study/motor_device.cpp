#include "study/motor_device.h"

#include "study/equipment_fields.h"

namespace telvara {

namespace {

void putOptional(ordered_json& device, const char* key, const std::optional<double>& v) {
    if (v)
        device[key] = jsonNumber(*v);
}

} // namespace

std::vector<DeviceCurve> TMotorDevice::Curves() const {
    if (const auto fault = motorFault(data))
        throw TelvaraError(fault->message);
    return motorCurves(data, kProfileTop);
}

std::vector<TProtectionDemand> TMotorDevice::Demands() const {
    if (const auto fault = motorFault(data))
        throw TelvaraError(fault->message);
    return {{"start", {}, motorLockedRotorCurrent(data), data.accelS, motorFullLoadCurrent(data)}};
}

void TMotorDevice::Read(TJsonObject& device) {
    MotorData m;
    m.flaA = device.OptionalNumber("fla_a");
    m.kw = device.OptionalNumber("kw");
    m.kv = device.OptionalNumber("kv");
    m.pf = device.OptionalNumber("pf");
    m.efficiency = device.OptionalNumber("efficiency");
    m.lrMultiple = device.OptionalNumber("lr_multiple").value_or(m.lrMultiple);
    m.accelS = device.Number("accel_s");
    failAt(device, motorFault(m));
    data = m;
}

void TMotorDevice::Write(ordered_json& device) const {
    putOptional(device, "fla_a", data.flaA);
    putOptional(device, "kw", data.kw);
    putOptional(device, "kv", data.kv);
    putOptional(device, "pf", data.pf);
    putOptional(device, "efficiency", data.efficiency);
    device["lr_multiple"] = jsonNumber(data.lrMultiple);
    device["accel_s"] = jsonNumber(data.accelS);
}

std::unique_ptr<TDeviceKind> TMotorDevice::Clone() const {
    return std::make_unique<TMotorDevice>(*this);
}

bool TMotorDevice::Equals(const TDeviceKind& other) const {
    const auto* o = dynamic_cast<const TMotorDevice*>(&other);
    return o && o->data == data;
}

} // namespace telvara
