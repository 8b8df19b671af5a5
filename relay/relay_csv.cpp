#include "relay/relay_csv.h"

#include "base/cp932.h"

#include <algorithm>
#include <map>

namespace telvara {

namespace {

const std::string kMark = "\xEF\xBB\xBF";

// Characters a spreadsheet takes as the start of a formula.
bool formulaStart(char c) {
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

bool blank(char c) {
    return c == ' ' || c == '\t';
}

// A cell that a spreadsheet would run is written behind an apostrophe. So is
// one already beginning with apostrophes before such a character: reading
// takes exactly one apostrophe away, and every text comes back as it was.
std::string guarded(const std::string& text) {
    const std::size_t i = text.find_first_not_of('\'');
    return i != std::string::npos && formulaStart(text[i]) ? "'" + text : text;
}

std::string unguarded(std::string text) {
    const std::size_t i = text.find_first_not_of('\'');
    if (i != 0 && i != std::string::npos && formulaStart(text[i]))
        text.erase(0, 1);
    return text;
}

// Quoted only when it must be, so that plain rows read as plain text; blanks
// at either end are kept by the quotes, since reading trims unquoted ones.
std::string csvField(const std::string& plain) {
    const std::string text = guarded(plain);
    const bool edgeBlank = !text.empty() && (blank(text.front()) || blank(text.back()));
    if (!edgeBlank && text.find_first_of(",\"\r\n\t") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string csvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i)
        line += (i ? "," : "") + csvField(fields[i]);
    return line + "\r\n";
}

std::vector<std::string> headerFields() {
    std::vector<std::string> h;
    for (int f = 0; f < kRecordFieldCount; ++f)
        h.push_back(fieldCaption(TRecordField(f)));
    return h;
}

struct RawRow {
    int line;
    std::vector<std::string> fields;
};

// Splits the text into rows of fields. A quoted field may hold separators,
// quotes doubled and line breaks; blanks around a field outside its quotes
// are left out; a row without any text is left out. Works on bytes: the
// bytes it looks for never occur inside a UTF-8 or CP932 character.
std::vector<RawRow> splitRows(std::string_view text, char separator,
                              std::vector<std::string>& problems) {
    std::vector<RawRow> rows;
    RawRow row{1, {}};
    std::string field;
    int line = 1;
    bool quoted = false, wasQuoted = false, any = false;
    std::size_t quotedEnd = 0; // the field's length at its closing quote
    auto endField = [&] {
        const std::size_t keep = wasQuoted ? quotedEnd : 0;
        while (field.size() > keep && blank(field.back()))
            field.pop_back();
        if (!wasQuoted)
            field.erase(0, field.find_first_not_of(" \t"));
        row.fields.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
    };
    auto endRow = [&] {
        endField();
        if (any)
            rows.push_back(std::move(row));
        row = RawRow{line, {}};
        any = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
                quotedEnd = field.size();
            } else {
                line += c == '\n';
                field += c;
            }
        } else if (c == '"' && !wasQuoted && field.find_first_not_of(" \t") == std::string::npos) {
            field.clear(); // the blanks before the opening quote
            quoted = wasQuoted = any = true;
        } else if (c == separator) {
            endField();
            any = true;
        } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            i += c == '\r';
            ++line;
            endRow();
        } else {
            field += c;
            any = any || !blank(c);
        }
    }
    if (quoted)
        problems.push_back(csvLineLabel(row.line) + "引用符 \" が閉じていません");
    endRow();
    return rows;
}

// True when the text is mostly UTF-8 with a few bad bytes (a damaged UTF-8
// file), which read as CP932 would give garbled names without complaint.
// In CP932 Japanese most characters begin with a byte UTF-8 never begins
// with, so there the bad positions are many.
bool damagedUtf8(std::string_view text) {
    std::size_t wellFormed = 0, bad = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8CharLength(text, i);
        bad += n == 0;
        wellFormed += n > 1;
        i += std::max<std::size_t>(n, 1);
    }
    return wellFormed >= 4 * bad;
}

// The first field of a damaged UTF-8 file that holds bad bytes, named.
void reportDamagedUtf8(const std::vector<RawRow>& rows, std::vector<std::string>& problems) {
    for (const RawRow& row : rows)
        for (const std::string& field : row.fields)
            if (const std::size_t at = firstIllFormedUtf8(field); at != std::string::npos) {
                problems.push_back(csvLineLabel(row.line) + "UTF-8 として正しくないバイト列 " +
                                   illFormedBytesText(field, at) + " があります");
                return;
            }
}

// A file that is not UTF-8 is read as CP932, as Japanese spreadsheets save
// it; false (with the problem) when a field is not that either.
bool decodeCp932(std::vector<RawRow>& rows, std::vector<std::string>& problems) {
    std::string utf8;
    for (RawRow& row : rows)
        for (std::string& field : row.fields) {
            if (const std::size_t at = strictCp932ToUtf8(field, utf8); at != std::string::npos) {
                problems.push_back(csvLineLabel(row.line) +
                                   "ファイルは UTF-8 でも Shift-JIS (CP932) でもありません"
                                   "（読めないバイト " +
                                   hexBytes(field.substr(at, cp932CharLength(field, at))) + "）");
                return false;
            }
            field = utf8;
        }
    return true;
}

} // namespace

std::string csvLineLabel(int line) {
    return std::to_string(line) + " 行目: ";
}

std::string relayCsv(const std::vector<RecordTexts>& records) {
    std::string out = kMark + csvLine(headerFields());
    for (const RecordTexts& r : records)
        out += csvLine({r.begin(), r.end()});
    return out;
}

CsvReading readRelayCsv(std::string_view bytes) {
    CsvReading result;
    if (bytes.starts_with(kMark))
        bytes.remove_prefix(kMark.size());
    // The separator of the first line: a tab there makes a tab-separated file.
    const std::string_view first = bytes.substr(0, bytes.find('\n'));
    const char separator = first.find('\t') != std::string_view::npos ? '\t' : ',';
    std::vector<RawRow> rows = splitRows(bytes, separator, result.problems);
    if (firstIllFormedUtf8(bytes) != std::string_view::npos) {
        if (damagedUtf8(bytes)) {
            reportDamagedUtf8(rows, result.problems);
            return result;
        }
        if (!decodeCp932(rows, result.problems))
            return result;
    }
    for (RawRow& raw : rows)
        for (std::string& field : raw.fields)
            field = unguarded(std::move(field));
    if (!rows.empty() && rows.front().fields == headerFields())
        rows.erase(rows.begin());
    std::map<std::string, int> keys;
    for (RawRow& raw : rows) {
        const std::string at = csvLineLabel(raw.line);
        if (raw.fields.size() != std::size_t(kRecordFieldCount)) {
            result.problems.push_back(at + "項目が " + std::to_string(raw.fields.size()) +
                                      " 個あります（" + std::to_string(kRecordFieldCount) +
                                      " 個必要です）");
            continue;
        }
        CsvRow row{raw.line, {}};
        std::move(raw.fields.begin(), raw.fields.end(), row.texts.begin());
        const std::vector<FieldProblem> problems = checkRecord(row.texts);
        for (const FieldProblem& p : problems)
            result.problems.push_back(at + p.message);
        if (!problems.empty())
            continue;
        if (const std::string p = checkNewKey(row.texts[0], row.texts[1]); !p.empty()) {
            result.problems.push_back(at + p);
            continue;
        }
        const auto [it, added] = keys.emplace(row.texts[0] + "," + row.texts[1], raw.line);
        if (!added) {
            result.problems.push_back(at + "会社名とﾃﾞﾊﾞｲｽNo. が " + std::to_string(it->second) +
                                      " 行目と同じです");
            continue;
        }
        result.rows.push_back(std::move(row));
    }
    if (!result.problems.empty())
        result.rows.clear();
    return result;
}

} // namespace telvara
