#include "relay/record_check.h"

#include "base/cp932.h"
#include "base/numbers.h"

#include <algorithm>
#include <cmath>

namespace telvara {

namespace {

bool isName(TRecordField f) {
    return f == TRecordField::KaisyaName || f == TRecordField::DebaisuNo;
}

// The first character of the text that Shift-JIS cannot hold, or empty.
// The text is well-formed UTF-8.
std::string firstUnrepresentable(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const std::string_view c =
            utf8.substr(i, std::max<std::size_t>(1, utf8CharLength(utf8, i)));
        if (!isCp932Representable(c))
            return std::string(c);
        i += c.size();
    }
    return {};
}

std::string quoted(std::string_view text) {
    return "「" + std::string(text) + "」";
}

// Number rules: what the chart can draw from the field.
std::string numberProblem(TRecordField f, std::string_view text) {
    double v = 0;
    const bool number = tryReadDecimal(text, v) && std::isfinite(v);
    const std::string caption = fieldCaption(f);
    if (f == TRecordField::CTPrimary) {
        if (!number || v <= 0)
            return caption + "には 0 より大きい数を入れてください：" + quoted(text);
    } else if (f == TRecordField::Tap || f == TRecordField::InstTap) {
        if (!number || v < 0)
            return caption + "には 0 以上の数を入れてください：" + quoted(text);
    } else if (!number || v < 0) {
        return caption + "には 0（点を描かない）か 0 より大きい数を入れてください：" + quoted(text);
    }
    return {};
}

std::string nameProblem(TRecordField f, std::string_view text) {
    if (text.empty())
        return f == TRecordField::KaisyaName ? "会社名の入力がありません？"
                                             : "ﾃﾞﾊﾞｲｽNo. の入力がありません？";
    if (text.find_first_of(std::string_view("\t\r\n\0", 4)) != std::string_view::npos)
        return fieldCaption(f) + "にタブ、改行、NUL 文字は使えません。";
    // The key joins the two with a comma: one inside either could not be
    // told apart from it.
    if (text.find(',') != std::string_view::npos)
        return fieldCaption(f) + "に半角のカンマ「,」は使えません。";
    return {};
}

} // namespace

std::string fieldCaption(TRecordField field) {
    static const std::array<const char*, kRecordFieldCount> captions = {
        "会社名",     "ﾃﾞﾊﾞｲｽNo.",  "CT比",       "150%の時間", "200%の時間", "300%の時間",
        "400%の時間", "500%の時間", "700%の時間", "INSTの時間", "タップ",     "INSTタップ"};
    return captions[std::size_t(field)];
}

std::string checkEncoding(TRecordField field, std::string_view utf8) {
    if (const std::size_t at = firstIllFormedUtf8(utf8); at != std::string_view::npos)
        return fieldCaption(field) + "に UTF-8 として正しくないバイト列が含まれています：" +
               illFormedBytesText(utf8, at);
    if (const std::string bad = firstUnrepresentable(utf8); !bad.empty())
        return fieldCaption(field) + "に Shift-JIS で表せない文字が含まれています：" + quoted(bad);
    return {};
}

std::string checkField(TRecordField field, std::string_view utf8) {
    if (std::string problem = checkEncoding(field, utf8); !problem.empty())
        return problem;
    std::string problem = isName(field) ? nameProblem(field, utf8) : numberProblem(field, utf8);
    if (!problem.empty())
        return problem;
    const std::size_t bytes = utf8ToCp932(utf8).size();
    const int capacity = kRecordFieldCapacity[std::size_t(field)];
    if (bytes <= std::size_t(capacity))
        return {};
    const std::string fits = std::to_string(capacity) + " バイト";
    if (isName(field))
        return fieldCaption(field) + "に入るのは " + fits + "（全角 " +
               std::to_string(capacity / 2) + " 文字）までです。入力は " + std::to_string(bytes) +
               " バイトです。";
    return fieldCaption(field) + "に入るのは " + fits + "（半角 " + std::to_string(capacity) +
           " 文字）までです：" + quoted(utf8);
}

std::vector<FieldProblem> checkRecord(const RecordTexts& utf8) {
    std::vector<FieldProblem> problems;
    for (int f = 0; f < kRecordFieldCount; ++f) {
        std::string message = checkField(TRecordField(f), utf8[std::size_t(f)]);
        if (!message.empty())
            problems.push_back({TRecordField(f), std::move(message)});
    }
    return problems;
}

std::string checkNewKey(std::string_view nameUtf8, std::string_view deviceUtf8) {
    if (!isCp932Representable(nameUtf8) || !isCp932Representable(deviceUtf8))
        return {};
    const std::size_t bytes = utf8ToCp932(nameUtf8).size() + utf8ToCp932(deviceUtf8).size();
    constexpr int room = kKeyCapacity - 1; // the comma takes one byte
    if (bytes <= std::size_t(room))
        return {};
    return "会社名とﾃﾞﾊﾞｲｽNo. は合わせて " + std::to_string(room) + " バイト（全角 " +
           std::to_string(room / 2) + " 文字）までです。入力は " + std::to_string(bytes) +
           " バイトです。";
}

std::string checkDrawable(const RelaySettings& relay) {
    std::vector<std::pair<TRecordField, const std::string*>> numbers = {
        {TRecordField::CTPrimary, &relay.ct},
        {TRecordField::Tap, &relay.tap},
        {TRecordField::InstTap, &relay.instTap}};
    for (std::size_t i = 0; i < relay.times.size(); ++i)
        numbers.emplace_back(TRecordField(int(TRecordField::Time150) + int(i)), &relay.times[i]);
    for (const auto& [field, text] : numbers)
        if (std::string problem = numberProblem(field, *text); !problem.empty())
            return problem;
    return {};
}

std::string undrawableText(const RelaySettings& relay) {
    const std::string problem = checkDrawable(relay);
    return problem.empty() ? problem : relay.company + "," + relay.device + ": " + problem;
}

} // namespace telvara
