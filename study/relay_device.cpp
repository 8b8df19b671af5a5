#include "study/relay_device.h"

#include "relay/margins.h"

namespace telvara {

namespace {

constexpr const char* kFieldKeys[kRecordFieldCount] = {"name", "device", "ct",   "t150",
                                                       "t200", "t300",   "t400", "t500",
                                                       "t700", "tinst",  "tap",  "inst_tap"};

constexpr char kRelayObject[] = "relay";
constexpr char kStoreKey[] = "store_key";

std::size_t at(TRecordField f) {
    return std::size_t(f);
}

} // namespace

const char* relayFieldKey(TRecordField field) {
    return kFieldKeys[at(field)];
}

std::vector<DeviceCurve> TRelayDevice::Curves() const {
    return {{CurveRole::Operating, relayCurve(Settings())}};
}

RelaySettings TRelayDevice::Settings() const {
    RelaySettings r;
    r.company = fields[at(TRecordField::KaisyaName)];
    r.device = fields[at(TRecordField::DebaisuNo)];
    r.ct = fields[at(TRecordField::CTPrimary)];
    r.tap = fields[at(TRecordField::Tap)];
    r.instTap = fields[at(TRecordField::InstTap)];
    for (std::size_t k = 0; k < kTimeFieldCount; ++k)
        r.times[k] = fields[at(TRecordField::Time150) + k];
    return r;
}

TRelayDevice TRelayDevice::FromStored(const RelaySettings& relay) {
    TRelayDevice d;
    d.fields[at(TRecordField::KaisyaName)] = relay.company;
    d.fields[at(TRecordField::DebaisuNo)] = relay.device;
    d.fields[at(TRecordField::CTPrimary)] = relay.ct;
    d.fields[at(TRecordField::Tap)] = relay.tap;
    d.fields[at(TRecordField::InstTap)] = relay.instTap;
    for (std::size_t k = 0; k < kTimeFieldCount; ++k)
        d.fields[at(TRecordField::Time150) + k] = relay.times[k];
    d.storeKey = relay.company + "," + relay.device;
    return d;
}

bool TRelayDevice::SameRelay(const RelaySettings& relay) const {
    return fields[at(TRecordField::KaisyaName)] == relay.company &&
           fields[at(TRecordField::DebaisuNo)] == relay.device;
}

bool TRelayDevice::SameValues(const RelaySettings& relay) const {
    return FromStored(relay).fields == fields;
}

void TRelayDevice::Read(TJsonObject& device) {
    TJsonObject relay = device.Object(kRelayObject);
    RecordTexts texts;
    for (std::size_t k = 0; k < kRecordFieldCount; ++k)
        texts[k] = relay.Text(kFieldKeys[k]);
    // The same checks as a relay typed or added to a store.
    for (const FieldProblem& p : checkRecord(texts))
        relay.Fail(kFieldKeys[at(p.field)], p.message);
    if (const std::string problem = checkNewKey(texts[0], texts[1]); !problem.empty())
        relay.Fail(kFieldKeys[1], problem);
    fields = texts;
    storeKey = relay.OptionalText(kStoreKey).value_or("");
    rest = relay.Rest();
}

void TRelayDevice::Write(ordered_json& device) const {
    ordered_json relay = ordered_json::object();
    for (std::size_t k = 0; k < kRecordFieldCount; ++k)
        relay[kFieldKeys[k]] = fields[k];
    if (!storeKey.empty())
        relay[kStoreKey] = storeKey;
    appendRest(relay, rest);
    device[kRelayObject] = std::move(relay);
}

std::unique_ptr<TDeviceKind> TRelayDevice::Clone() const {
    return std::make_unique<TRelayDevice>(*this);
}

bool TRelayDevice::Equals(const TDeviceKind& other) const {
    const auto* o = dynamic_cast<const TRelayDevice*>(&other);
    return o && o->fields == fields && o->storeKey == storeKey && o->rest == rest;
}

} // namespace telvara
