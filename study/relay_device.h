#pragma once
// The kind "relay": the twelve fields of a stored relay record as texts,
// exactly as stored, and the store key it came from, so that a study opens
// on a machine without the store.
#include "relay/record_check.h"
#include "study/device_kind.h"

#include <string>

namespace telvara {

class TRelayDevice : public TDeviceKind {
public:
    static constexpr char kName[] = "relay";

    // The record's texts (UTF-8) in record field order.
    RecordTexts fields{"", "", "", "0", "0", "0", "0", "0", "0", "0", "0", "0"};
    // "name,device" of the record it was taken from; empty when typed.
    std::string storeKey;
    ordered_json rest = ordered_json::object();

    std::string Name() const override { return kName; }
    bool Protective() const override { return true; }
    std::vector<DeviceCurve> Curves() const override;
    void Read(TJsonObject& device) override;
    void Write(ordered_json& device) const override;
    std::unique_ptr<TDeviceKind> Clone() const override;
    bool Equals(const TDeviceKind& other) const override;

    // The texts as the relay arithmetic takes them.
    RelaySettings Settings() const;
    // A stored relay's texts (the store key follows from name and device).
    static TRelayDevice FromStored(const RelaySettings& relay);
    // Same name and device number: the same relay.
    bool SameRelay(const RelaySettings& relay) const;
    // Same twelve texts as the stored relay.
    bool SameValues(const RelaySettings& relay) const;
};

// The file's key of each record field: "name", "device", "ct", "t150", …
const char* relayFieldKey(TRecordField field);

} // namespace telvara
