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
// stored; an import is one store operation, all or nothing.
#include "base/errors.h"
#include "relay/record_check.h"
#include "store/bplustree.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace telvara {

// Every record of the open store in key order (UTF-8 texts).
std::vector<RecordTexts> storedRecords(TBPlusTree& store);

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

struct ImportSummary {
    int added = 0;
    int replaced = 0;
    int skipped = 0; // already stored, kept as they were
};

// A file, or a row against the store, refused: nothing was stored.
struct TImportRefused : TelvaraError {
    TImportRefused(std::vector<std::string> why);
    std::vector<std::string> problems;
};

// Called after each row with the rows done and the total; false stops the
// import, which then stores nothing.
using ImportProgress = std::function<bool(int done, int total)>;

// Stores the rows in one transaction: a relay already stored is replaced
// when replace is set and skipped otherwise. Raises TImportRefused (a new key
// meeting another relay's cut key, or stopped by progress) or the store's
// failure, and the store is then as it was.
ImportSummary importRelays(TBPlusTree& store, const std::vector<CsvRow>& rows, bool replace,
                           const ImportProgress& progress = {});

// The summary in words: "追加 3 件、置換 0 件、スキップ 1 件".
std::string importSummaryText(const ImportSummary& s);

} // namespace telvara
