#pragma once
// What a relay record can hold: every text fits its field whole (never cut),
// and every number is one the chart can draw. Used before anything is stored,
// by the main window, telvara-store and imports alike. Texts are UTF-8.
#include "base/record_fields.h"
#include "relay/relay.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace telvara {

// The texts of one relay in record field order (index = TRecordField value).
using RecordTexts = std::array<std::string, kRecordFieldCount>;

// One refused field and why, in words for the user.
struct FieldProblem {
    TRecordField field;
    std::string message;
    friend bool operator==(const FieldProblem&, const FieldProblem&) = default;
};

// The field as the user knows it: "会社名", "ﾃﾞﾊﾞｲｽNo.", "CT比", "150%の時間" ..
// "INSTの時間", "タップ", "INSTタップ".
std::string fieldCaption(TRecordField field);

// Whether the text can be stored at all, or empty: ill-formed UTF-8 (an
// overlong form, a surrogate, a value above U+10FFFF, a stray byte), shown as
// hexadecimal bytes, or a character Shift-JIS cannot hold.
std::string checkEncoding(TRecordField field, std::string_view utf8);

// The first problem of one field, or an empty message when it is sound:
// checkEncoding, more bytes than the field keeps, an empty name, a tab, line
// break, NUL or comma in a name, a number the chart cannot use (CT比 > 0,
// taps >= 0, times 0 or > 0, all finite).
std::string checkField(TRecordField field, std::string_view utf8);

// Every problem of the relay, one per field at most, in record field order.
std::vector<FieldProblem> checkRecord(const RecordTexts& utf8);

// A new key (name, ",", device) must fit the 41 bytes a tree page keeps, or
// two relays agreeing in those bytes would count as one. Empty when it fits.
std::string checkNewKey(std::string_view nameUtf8, std::string_view deviceUtf8);

// The first problem of a relay's numbers (CT比, taps, times) that keeps it
// from being drawn, or empty. Records written elsewhere may hold such texts:
// they are still listed and loaded, but a drawing of many relays names and
// skips them.
std::string checkDrawable(const RelaySettings& relay);
// The same as the line naming a skipped relay, "name,device: problem"; empty
// when the relay can be drawn.
std::string undrawableText(const RelaySettings& relay);

} // namespace telvara
