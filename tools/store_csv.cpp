#include "tools/store_csv.h"

#include "base/errors.h"
#include "base/os/paths.h"
#include "base/os/save_file.h"
#include "relay/relay_csv.h"
#include "store/bplustree.h"
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

// Beside the old file first, so a failed write leaves the old one whole.
void writeFile(const std::string& file, const std::string& bytes) {
    switch (os::saveFileWhole(file, bytes)) {
    case os::SaveFailure::None:
        return;
    case os::SaveFailure::Create:
        throw IoError("ファイル " + file + " を作成できません");
    case os::SaveFailure::Write:
        throw IoError("ファイル " + file + " に書き込めません");
    }
}

} // namespace

int exportStoreCsv(const std::string& dir, const std::string& file) {
    requireStoreFiles(dir);
    TBPlusTree store;
    store.OpenStore(dir, TOpenMode::ReadOnly);
    writeFile(file, relayCsv(storedRecords(store)));
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
