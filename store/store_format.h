#pragma once
// Byte layouts of the two store files: "ZuboK.dat" (header + B+ tree pages,
// 1024-byte units) and "ZuboK.idx" (relay setting records, 124-byte slots).
// Every unit is kept as its raw bytes; the accessors read and write the
// little-endian integers and length-prefixed CP932 text fields in place, so a
// unit read from disk is written back byte for byte.
//
// The format, all integers 32-bit signed little-endian, -1 for "none":
//   ZuboK.dat unit 0, the header: byte 0 Marker (1), then at 4 PagesInUse,
//     8 RecordsInUse, 12 RootPage, 16 NextNewPage, 20 NextNewRecord,
//     24 FreePageHead, 28 FreeRecordHead, 32 Height (0 when empty).
//   ZuboK.dat unit n >= 1, a tree page: bytes 4-7 the key count (0 to
//     kMaxKeys), kMaxKeys key slots of kKeySlotSize bytes from byte 8 (a
//     length byte and the key's first kKeySlotCapacity bytes), kMaxKeys + 1
//     children from byte 932. Internal page: child i leads to the keys
//     between key i and key i + 1. Leaf: child i (i >= 1) is key i's record
//     slot, child 0 the slot of the separator key leading into the leaf.
//     A freed page keeps the next freed page in child 0.
//   ZuboK.idx slot s at byte s * kRecordSize: the twelve text fields (see
//     TRecordField); a freed slot keeps the next freed slot at bytes 4-7.
// Invariants: keys in order within a page and across the tree; every page
// but the root holds kMinKeys to kMaxKeys keys; all leaves on one level;
// both free chains end at -1 and visit each unit once.
#include "base/os/files.h"
#include "base/record_fields.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace telvara {

constexpr int kPageSize = 1024;
constexpr int kRecordSize = 124;
constexpr int kKeySlotCapacity = kKeyCapacity;
constexpr int kKeySlotSize = kKeySlotCapacity + 1;
constexpr int kMaxKeys = 22;
constexpr int kMinKeys = 11;
constexpr int kListIndent = 4;
constexpr int kListLineLimit = 500;
constexpr std::int32_t kNone = -1;

inline constexpr const char kPageFileName[] = "ZuboK.dat";
inline constexpr const char kRecordFileName[] = "ZuboK.idx";

// A store folder as the prefix of its two files: "./" for an empty folder,
// else the folder with a trailing separator.
inline std::string storeFolder(const std::string& folder) {
    if (folder.empty())
        return "./";
    return os::endsInSeparator(folder) ? folder : folder + '/';
}

std::int32_t getInt32(const unsigned char* p);
void putInt32(unsigned char* p, std::int32_t v);

// Key order: unsigned bytes over the common length, a prefix sorts first.
inline int compareKeys(std::string_view a, std::string_view b) {
    return a.compare(b);
}

// The key as a tree page holds it: its first kKeySlotCapacity bytes. Lookups and deletion
// compare keys in this form, so a key longer than a key slot still finds its
// own record again.
inline std::string_view slotKey(std::string_view key) {
    return key.substr(0, kKeySlotCapacity);
}

// Unit 0 of the page file.
struct TStoreHeader {
    std::uint8_t Marker = 1;
    std::int32_t PagesInUse = 0;
    std::int32_t RecordsInUse = 0;
    std::int32_t RootPage = kNone;
    std::int32_t NextNewPage = 1;
    std::int32_t NextNewRecord = 0;
    std::int32_t FreePageHead = kNone;
    std::int32_t FreeRecordHead = kNone;
    std::int32_t Height = 0;

    static TStoreHeader empty() { return {}; }
    // Fills all 1024 bytes; the reserved ones are zero.
    void encode(unsigned char* unit) const;
    static TStoreHeader decode(const unsigned char* unit);
    bool operator==(const TStoreHeader&) const = default;
};

// The ranges a header's numbers keep, stated once: opening refuses a store
// whose header breaks one, the check reports each one broken, and the tree
// holds every page and slot number it meets to them.
// Far above any height a page file of 2^31 pages can reach.
constexpr int kMaxHeight = 32;
// NextNewPage lies within the page file (of `pageUnits` units, the header
// included), NextNewRecord within the record file (of `recordSlots` slots).
inline bool nextNewPageFits(const TStoreHeader& h, std::int64_t pageUnits) {
    return h.NextNewPage >= 1 && h.NextNewPage <= pageUnits;
}
inline bool nextNewRecordFits(const TStoreHeader& h, std::int64_t recordSlots) {
    return h.NextNewRecord >= 0 && h.NextNewRecord <= recordSlots;
}
inline bool heightPossible(const TStoreHeader& h) {
    return h.Height >= 0 && h.Height <= kMaxHeight;
}
// Pages 1 to NextNewPage - 1 and slots 0 to NextNewRecord - 1 have been
// handed out; the root, the heads of the free chains and every child lie there.
inline bool pageHandedOut(const TStoreHeader& h, std::int32_t n) {
    return n >= 1 && n < h.NextNewPage;
}
inline bool slotHandedOut(const TStoreHeader& h, std::int32_t s) {
    return s >= 0 && s < h.NextNewRecord;
}

// A tree page (units 1 and up): KeyCount, Keys[1..kMaxKeys], Children[0..kMaxKeys].
class TTreePage {
public:
    std::array<unsigned char, kPageSize> Bytes{};

    std::int32_t keyCount() const { return getInt32(&Bytes[4]); }
    void setKeyCount(std::int32_t n) { putInt32(&Bytes[4], n); }

    // The stored length byte of key slot i, unchecked (may exceed kKeySlotCapacity in a damaged
    // page).
    int keyLength(int i) const { return Bytes[keyOffset(i)]; }
    // Key slot i (1..kMaxKeys); the length is limited to the slot capacity.
    std::string_view key(int i) const;
    // Puts the key cut to kKeySlotCapacity bytes; the rest of the slot is zeroed.
    void setKey(int i, std::string_view key);

    std::int32_t child(int i) const { return getInt32(&Bytes[childOffset(i)]); }
    void setChild(int i, std::int32_t v) { putInt32(&Bytes[childOffset(i)], v); }

    // Copies key slot j and Children[j] of `from` into place i of this page.
    void copyEntry(int i, const TTreePage& from, int j);
    // Zeroes key slots and child slots above `count`, so unused slots carry no stale data.
    void clearAbove(int count);
    void clear() { Bytes.fill(0); }

    static constexpr int keyOffset(int i) { return 8 + (i - 1) * kKeySlotSize; }
    static constexpr int childOffset(int i) { return 932 + 4 * i; }
};

struct TFieldLayout {
    int Offset; // of the length byte
    int Capacity;
};
// Layouts in record order (index = TRecordField value).
extern const std::array<TFieldLayout, kRecordFieldCount> kRecordFields;

constexpr int kKaisyaNameCapacity = kRecordFieldCapacity[int(TRecordField::KaisyaName)];
constexpr int kDebaisuNoCapacity = kRecordFieldCapacity[int(TRecordField::DebaisuNo)];

// A relay setting record slot of "ZuboK.idx".
class TRelayRecord {
public:
    std::array<unsigned char, kRecordSize> Bytes{};

    // The field's text; the length is limited to the field's capacity.
    std::string_view field(TRecordField f) const;
    // Stores the text cut to the field's capacity (by bytes); the rest of the field is zeroed.
    void setField(TRecordField f, std::string_view text);
    // The stored length byte, unchecked.
    int fieldLength(TRecordField f) const { return Bytes[layout(f).Offset]; }

    std::string_view kaisyaName() const { return field(TRecordField::KaisyaName); }
    std::string_view debaisuNo() const { return field(TRecordField::DebaisuNo); }
    // KaisyaName, ",", DebaisuNo.
    std::string key() const;

    // A freed slot keeps the next freed slot at offsets 4 to 7.
    std::int32_t nextFree() const { return getInt32(&Bytes[4]); }
    void setNextFree(std::int32_t s) { putInt32(&Bytes[4], s); }

    bool operator==(const TRelayRecord&) const = default;

    static const TFieldLayout& layout(TRecordField f) { return kRecordFields[int(f)]; }
};

// The key a record gets for this name and device number: the name cut to
// kKaisyaNameCapacity bytes, ",", the device number cut to kDebaisuNoCapacity bytes. Callers form
// lookup keys with it so that a lookup matches what the record holds.
std::string recordKey(std::string_view kaisyaName, std::string_view debaisuNo);

} // namespace telvara
