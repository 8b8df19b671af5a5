#include "tools/store_csv.h"

#include "base/errors.h"
#include "base/file_write.h"
#include "base/os/paths.h"
#include "relay/relay_csv.h"
#include "store/bplustree.h"
#include "store/store_files.h"
#include "store/stored_relays.h"
#include "tools/store_folder.h"

#include <fstream>
#include <iostream>
#include <iterator>

namespace telvara {

namespace {

constexpr int kRefused = 2;

std::string readFile(const std::string& file) {
    std::ifstream in(os::pathOf(file), std::ios::binary);
    if (!in)
        throw IoError("ファイル " + file + " を開けません");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw IoError("ファイル " + file + " を読めません");
    return bytes;
}

} // namespace

int exportStoreCsv(const std::string& dir, const std::string& file) {
    requireStoreFiles(dir);
    refuseStoreFile(dir, file);
    TBPlusTree store;
    store.OpenStore(dir, TOpenMode::ReadOnly);
    writeFileWhole(file, relayCsv(storedRecords(store)));
    return 0;
}

int importStoreCsv(const std::string& dir, const std::string& file, bool replace) {
    const CsvReading reading = readRelayCsv(readFile(file));
    std::vector<std::string> problems = reading.problems;
    if (problems.empty()) {
        try {
            TBPlusTree store;
            store.OpenStore(dir);
            const ImportSummary s = importRelays(store, reading.rows, replace);
            std::cout << importSummaryText(s) << "\n";
            return 0;
        } catch (const TImportRefused& e) {
            problems = e.problems;
        }
    }
    for (const std::string& p : problems)
        std::cerr << p << "\n";
    std::cerr << "取り込みませんでした（問題 " << problems.size() << " 件）\n";
    return kRefused;
}

} // namespace telvara
