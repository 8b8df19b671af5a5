// libFuzzer target over the two store files: the input is cut into a page
// file and a record file, and the reading and writing paths run on them.
// Every failure must be the store's IoError; a crash, a sanitizer report, a
// hang or runaway memory is a fault.
//
// The first two bytes of the input give the length of the page file (modulo
// what is left); the rest is the record file.
#include "base/errors.h"
#include "store/bplustree.h"
#include "store/store_check.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace telvara;

std::string workFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/telvara-store-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made)
            std::abort();
        return std::string(made) + "/";
    }();
    return folder;
}

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    if (!out)
        std::abort();
}

// Reads what the commands list, find and telvara-render read.
void readAll(TBPlusTree& store) {
    const std::string listing = store.ListKeys();
    std::size_t start = 0;
    for (int lines = 0; lines < 4 && start < listing.size(); ++lines) {
        const std::size_t end = listing.find("\r\n", start);
        std::string key = listing.substr(start, end - start);
        key.erase(0, key.find_first_not_of(' '));
        store.FindKey(key);
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    store.ForEachRecord([](std::int32_t, const TRelayRecord& r) { (void)r.key(); });
}

// One addition and one removal, as the window's Add and Remove do.
void writeSome(TBPlusTree& store) {
    TRelayRecord& r = store.CurrentRecord();
    r.setField(TRecordField::KaisyaName, "FUZZ");
    r.setField(TRecordField::DebaisuNo, "51R");
    store.InsertCurrent();
    store.DeleteCurrent();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t rest = size - 2;
    const std::size_t pageBytes = (std::size_t(data[0]) | std::size_t(data[1]) << 8) % (rest + 1);
    const std::string folder = workFolder();
    writeFile(folder + kPageFileName, data + 2, pageBytes);
    writeFile(folder + kRecordFileName, data + 2 + pageBytes, rest - pageBytes);

    (void)checkStore(folder);
    TBPlusTree store;
    try {
        store.OpenStore(folder);
        readAll(store);
        writeSome(store);
        readAll(store);
    } catch (const IoError&) {
    }
    return 0;
}
