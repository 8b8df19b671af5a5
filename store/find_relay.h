#pragma once
// Finding a relay by its name and device number. A tree page keeps only the
// first kKeySlotCapacity bytes of a key, so relays agreeing in those bytes meet at one key
// (stores written elsewhere may hold such keys); the record keeps its name and
// device whole, and they decide which relay it is.
#include "store/bplustree.h"

#include <optional>
#include <string>
#include <string_view>

namespace telvara {

// True when the record holds exactly this name and device (CP932 bytes).
inline bool isRecordOf(const TRelayRecord& record, std::string_view name, std::string_view device) {
    return record.kaisyaName() == name && record.debaisuNo() == device;
}

// True when a key listing shows the record as "name,device": it is that
// relay, or its longer key is kept by a tree page as exactly this line.
inline bool isListedAs(const TRelayRecord& record, std::string_view name, std::string_view device) {
    return isRecordOf(record, name, device) ||
           slotKey(record.key()) == std::string(name) + "," + std::string(device);
}

// The record of the relay of this name and device, by value: nothing when
// the key holds no record or another relay's.
inline std::optional<TRelayRecord> relayRecord(TBPlusTree& store, std::string_view name,
                                               std::string_view device) {
    std::optional<TRelayRecord> met = store.Find(recordKey(name, device));
    if (met && !isRecordOf(*met, name, device))
        return std::nullopt;
    return met;
}

// The record of the relay a key listing shows as "name,device", by value.
inline std::optional<TRelayRecord> listedRelayRecord(TBPlusTree& store, std::string_view name,
                                                     std::string_view device) {
    std::optional<TRelayRecord> met = store.Find(recordKey(name, device));
    if (met && !isListedAs(*met, name, device))
        return std::nullopt;
    return met;
}

// The main window's lookups, through the store's current record.
// FindKey for the relay of this name and device. A record found under the
// same cut key that holds another name or device is not it: the result is
// false, and CurrentRecNo() is not -1 exactly in that case.
inline bool findRelay(TBPlusTree& store, std::string_view name, std::string_view device) {
    return store.FindKey(recordKey(name, device)) &&
           isRecordOf(store.CurrentRecord(), name, device);
}

// The relay a key listing shows as "name,device" (isListedAs).
inline bool findListedRelay(TBPlusTree& store, std::string_view name, std::string_view device) {
    return store.FindKey(recordKey(name, device)) &&
           isListedAs(store.CurrentRecord(), name, device);
}

} // namespace telvara
