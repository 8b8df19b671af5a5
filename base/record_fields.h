#pragma once
// The twelve fields of a relay setting as a record keeps them, and the bytes
// (CP932) each field holds. The store lays its records out from these; the
// field checks measure texts against them before anything is stored.
#include <array>

namespace telvara {

enum class TRecordField {
    KaisyaName,
    DebaisuNo,
    CTPrimary,
    Time150,
    Time200,
    Time300,
    Time400,
    Time500,
    Time700,
    TimeInst,
    Tap,
    InstTap,
};
constexpr int kRecordFieldCount = 12;

// Bytes each field keeps, in record order (index = TRecordField value).
constexpr std::array<int, kRecordFieldCount> kRecordFieldCapacity = {36, 30, 4, 5, 5, 5,
                                                                     5,  5,  5, 5, 2, 3};

// Relays are told apart by the first 41 bytes of their key (name, ",",
// device): what a tree page keeps of it.
constexpr int kKeyCapacity = 41;

} // namespace telvara
