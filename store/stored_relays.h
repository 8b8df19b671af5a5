#pragma once
// Relays in a store: stored records as the windows and tools use them, and
// rows read from a CSV file stored in one transaction. Joins the store to the
// relay checks, so that neither needs the other.
#include "base/errors.h"
#include "relay/relay_csv.h"
#include "store/bplustree.h"

#include <functional>
#include <string>
#include <vector>

namespace telvara {

// A stored record's texts as the windows and tools use them (UTF-8).
RelaySettings storedRelay(const TRelayRecord& record);

// Every record of the open store in key order (UTF-8 texts).
std::vector<RecordTexts> storedRecords(TBPlusTree& store);

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
