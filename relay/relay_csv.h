#pragma once
// Relays as CSV for spreadsheets: UTF-8 with a byte-order mark, a header row
// of the twelve fields' names, one row per relay in key order. A cell that
// begins with = + - @, a tab or a carriage return (after any apostrophes) is
// written behind one more apostrophe, so that no spreadsheet runs it as a
// formula; reading takes exactly that one away again.
// Reading accepts comma or tab separators, quoted fields, CR LF or LF, UTF-8
// with or without the mark and, when the bytes are not UTF-8, CP932
// (Shift-JIS, as Japanese spreadsheets save); blanks around a cell outside
// its quotes are trimmed. Every row is checked as Add does before anything is
// stored (see store/stored_relays.h for the import itself).
#include "base/errors.h"
#include "relay/record_check.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace telvara {

// The file's bytes: the mark, the header row, one row per record, CR LF ends.
std::string relayCsv(const std::vector<RecordTexts>& records);

struct CsvRow {
    int line; // where the row starts in the file, from 1
    RecordTexts texts;
};

// The rows of a file and every problem found in them, each naming its line
// and field. Rows are only usable when there are no problems.
struct CsvReading {
    std::vector<CsvRow> rows;
    std::vector<std::string> problems;
};

CsvReading readRelayCsv(std::string_view bytes);

// "n 行目: ", the start of a problem found on line n of a file.
std::string csvLineLabel(int line);

} // namespace telvara
