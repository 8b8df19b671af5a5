#pragma once
// Finding a relay by its name and device number. A tree page keeps only the
// first kKeySlotCapacity bytes of a key, so relays agreeing in those bytes meet at one key
// (stores written elsewhere may hold such keys); the record keeps its name and
// device whole, and they decide which relay it is.
#include "store/bplustree.h"

#include <optional>
#include <string_view>

namespace telvara {

// True when the record holds exactly this name and device (CP932 bytes).
inline bool isRecordOf(const TRelayRecord& record, std::string_view name, std::string_view device) {
    return record.kaisyaName() == name && record.debaisuNo() == device;
}

// FindKey for the relay of this name and device. A record found under the
// same cut key that holds another name or device is not it: the result is
// false, and CurrentRecNo() is not -1 exactly in that case.
inline bool findRelay(TBPlusTree& store, std::string_view name, std::string_view device) {
    return store.FindKey(recordKey(name, device)) &&
           isRecordOf(store.CurrentRecord(), name, device);
}

// The relay of this name and device (CP932 bytes), looked up without moving
// the store's current record; none when the store holds no such relay.
inline std::optional<TRelayRecord> lookUpRelay(TBPlusTree& store, std::string_view name,
                                               std::string_view device) {
    std::optional<TRelayRecord> r = store.LookUp(recordKey(name, device));
    if (r && !isRecordOf(*r, name, device))
        r.reset();
    return r;
}

// The relay a key listing shows as "name,device": its own name and device, or
// a longer key that a tree page keeps as exactly this line.
inline bool findListedRelay(TBPlusTree& store, std::string_view name, std::string_view device) {
    if (!store.FindKey(recordKey(name, device)))
        return false;
    const TRelayRecord& r = store.CurrentRecord();
    return isRecordOf(r, name, device) ||
           slotKey(r.key()) == std::string(name) + "," + std::string(device);
}

} // namespace telvara
