#include "store/store_format.h"

#include <algorithm>
#include <cstring>

namespace telvara {

std::int32_t getInt32(const unsigned char* p) {
    std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                      std::uint32_t(p[3]) << 24;
    return static_cast<std::int32_t>(v);
}

void putInt32(unsigned char* p, std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    p[0] = u & 0xFF;
    p[1] = (u >> 8) & 0xFF;
    p[2] = (u >> 16) & 0xFF;
    p[3] = (u >> 24) & 0xFF;
}

void TStoreHeader::encode(unsigned char* unit) const {
    std::memset(unit, 0, kPageSize);
    unit[0] = Marker;
    putInt32(unit + 4, PagesInUse);
    putInt32(unit + 8, RecordsInUse);
    putInt32(unit + 12, RootPage);
    putInt32(unit + 16, NextNewPage);
    putInt32(unit + 20, NextNewRecord);
    putInt32(unit + 24, FreePageHead);
    putInt32(unit + 28, FreeRecordHead);
    putInt32(unit + 32, Height);
}

TStoreHeader TStoreHeader::decode(const unsigned char* unit) {
    TStoreHeader h;
    h.Marker = unit[0];
    h.PagesInUse = getInt32(unit + 4);
    h.RecordsInUse = getInt32(unit + 8);
    h.RootPage = getInt32(unit + 12);
    h.NextNewPage = getInt32(unit + 16);
    h.NextNewRecord = getInt32(unit + 20);
    h.FreePageHead = getInt32(unit + 24);
    h.FreeRecordHead = getInt32(unit + 28);
    h.Height = getInt32(unit + 32);
    return h;
}

std::string_view TTreePage::key(int i) const {
    const int off = keyOffset(i);
    const int len = std::min<int>(Bytes[off], kKeySlotCapacity);
    return {reinterpret_cast<const char*>(&Bytes[off + 1]), std::size_t(len)};
}

void TTreePage::setKey(int i, std::string_view key) {
    const int off = keyOffset(i);
    key = slotKey(key);
    std::memset(&Bytes[off], 0, kKeySlotSize);
    Bytes[off] = static_cast<unsigned char>(key.size());
    std::memcpy(&Bytes[off + 1], key.data(), key.size());
}

void TTreePage::copyEntry(int i, const TTreePage& from, int j) {
    std::memmove(&Bytes[keyOffset(i)], &from.Bytes[keyOffset(j)], kKeySlotSize);
    setChild(i, from.child(j));
}

void TTreePage::clearAbove(int count) {
    for (int i = std::max(count + 1, 1); i <= kMaxKeys; ++i) {
        std::memset(&Bytes[keyOffset(i)], 0, kKeySlotSize);
        setChild(i, 0);
    }
}

const std::array<TFieldLayout, kRecordFieldCount> kRecordFields = {{
    {1, kRecordFieldCapacity[0]},    // KaisyaName
    {38, kRecordFieldCapacity[1]},   // DebaisuNo
    {69, kRecordFieldCapacity[2]},   // CTPrimary
    {74, kRecordFieldCapacity[3]},   // Time150
    {80, kRecordFieldCapacity[4]},   // Time200
    {86, kRecordFieldCapacity[5]},   // Time300
    {92, kRecordFieldCapacity[6]},   // Time400
    {98, kRecordFieldCapacity[7]},   // Time500
    {104, kRecordFieldCapacity[8]},  // Time700
    {110, kRecordFieldCapacity[9]},  // TimeInst
    {116, kRecordFieldCapacity[10]}, // Tap
    {119, kRecordFieldCapacity[11]}, // InstTap
}};

std::string_view TRelayRecord::field(TRecordField f) const {
    const TFieldLayout& l = layout(f);
    const int len = std::min<int>(Bytes[l.Offset], l.Capacity);
    return {reinterpret_cast<const char*>(&Bytes[l.Offset + 1]), std::size_t(len)};
}

void TRelayRecord::setField(TRecordField f, std::string_view text) {
    const TFieldLayout& l = layout(f);
    text = text.substr(0, l.Capacity);
    std::memset(&Bytes[l.Offset], 0, l.Capacity + 1);
    Bytes[l.Offset] = static_cast<unsigned char>(text.size());
    std::memcpy(&Bytes[l.Offset + 1], text.data(), text.size());
}

std::string TRelayRecord::key() const {
    std::string k(kaisyaName());
    k += ',';
    k += debaisuNo();
    return k;
}

std::string recordKey(std::string_view kaisyaName, std::string_view debaisuNo) {
    std::string k(kaisyaName.substr(0, kKaisyaNameCapacity));
    k += ',';
    k += debaisuNo.substr(0, kDebaisuNoCapacity);
    return k;
}

} // namespace telvara
