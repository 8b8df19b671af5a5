#include "study/transformer_device.h"

#include "study/equipment_fields.h"

namespace telvara {

namespace {

using Category = TransformerCategory;
const std::initializer_list<std::pair<const char*, Category>> kCategories{{"auto", Category::Auto},
                                                                          {"I", Category::I},
                                                                          {"II", Category::II},
                                                                          {"III", Category::III},
                                                                          {"IV", Category::IV}};
const std::initializer_list<std::pair<const char*, FaultFrequency>> kFaults{
    {"frequent", FaultFrequency::Frequent}, {"infrequent", FaultFrequency::Infrequent}};
const std::initializer_list<std::pair<const char*, TransformerSide>> kSides{
    {"primary", TransformerSide::Primary}, {"secondary", TransformerSide::Secondary}};

} // namespace

std::vector<DeviceCurve> TTransformerDevice::Curves() const {
    if (const auto fault = transformerFault(data))
        throw TelvaraError(fault->message);
    return transformerCurves(data);
}

std::optional<double> TTransformerDevice::TimeAt(CurveRole role, double current) const {
    if (role != CurveRole::Damage)
        return TDeviceKind::TimeAt(role, current);
    return damageTimeAt(Curves().front().points, current);
}

std::vector<TProtectionDemand> TTransformerDevice::Demands() const {
    std::vector<TProtectionDemand> out;
    for (DeviceCurve& c : Curves()) {
        if (c.role == CurveRole::Damage)
            out.push_back({"damage", std::move(c.points), 0, 0, {}, c.caption});
        else if (!c.points.empty())
            out.push_back({"inrush", {}, c.points.front().current, c.points.front().time});
    }
    return out;
}

void TTransformerDevice::Read(TJsonObject& device) {
    TransformerData t;
    t.kva = device.Number("kva");
    t.kvPrimary = device.Number("kv_primary");
    t.kvSecondary = device.Number("kv_secondary");
    t.zPercent = device.Number("z_percent");
    t.phases = readWhole(device, "phases", t.phases);
    t.category = readWord(device, "category", kCategories, t.category);
    t.faults = readWord(device, "faults", kFaults, t.faults);
    t.zsPercent = device.OptionalNumber("zs_percent").value_or(t.zsPercent);
    t.side = readWord(device, "side", kSides, t.side);
    t.inrushMultiple = device.OptionalNumber("inrush_multiple").value_or(t.inrushMultiple);
    t.inrushS = device.OptionalNumber("inrush_s").value_or(t.inrushS);
    t.shift58 = device.Flag("shift58", t.shift58);
    failAt(device, transformerFault(t));
    data = t;
}

void TTransformerDevice::Write(ordered_json& device) const {
    device["kva"] = jsonNumber(data.kva);
    device["kv_primary"] = jsonNumber(data.kvPrimary);
    device["kv_secondary"] = jsonNumber(data.kvSecondary);
    device["z_percent"] = jsonNumber(data.zPercent);
    device["phases"] = data.phases;
    device["category"] = wordOf(kCategories, data.category);
    device["faults"] = wordOf(kFaults, data.faults);
    device["zs_percent"] = jsonNumber(data.zsPercent);
    device["side"] = wordOf(kSides, data.side);
    device["inrush_multiple"] = jsonNumber(data.inrushMultiple);
    device["inrush_s"] = jsonNumber(data.inrushS);
    device["shift58"] = data.shift58;
}

std::unique_ptr<TDeviceKind> TTransformerDevice::Clone() const {
    return std::make_unique<TTransformerDevice>(*this);
}

bool TTransformerDevice::Equals(const TDeviceKind& other) const {
    const auto* o = dynamic_cast<const TTransformerDevice*>(&other);
    return o && o->data == data;
}

} // namespace telvara
