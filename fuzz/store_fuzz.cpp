// libFuzzer target over the store files: the input is cut into a page file,
// a record file and a journal, and the reading and writing paths run on them.
// Every failure must be the store's IoError; a crash, a sanitizer report, a
// hang or runaway memory is a fault.
//
// The first four bytes give the lengths of the page file and of the record
// file (two little-endian 16-bit numbers, modulo what is left); the rest is
// the journal, left out when empty. Files go to $TMPDIR or /dev/shm, since
// every write is synced.
#include "base/errors.h"
#include "store/bplustree.h"
#include "store/store_check.h"
#include "store/store_journal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace telvara;

std::string workFolder() {
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp ? tmp : "/dev/shm") + "/telvara-store-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern.data());
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
    if (size < 4)
        return 0;
    std::size_t rest = size - 4;
    const std::size_t pageBytes = (std::size_t(data[0]) | std::size_t(data[1]) << 8) % (rest + 1);
    rest -= pageBytes;
    const std::size_t recordBytes = (std::size_t(data[2]) | std::size_t(data[3]) << 8) % (rest + 1);
    rest -= recordBytes;
    const std::string folder = workFolder();
    data += 4;
    writeFile(folder + kPageFileName, data, pageBytes);
    writeFile(folder + kRecordFileName, data + pageBytes, recordBytes);
    const std::string journal = folder + kJournalFileName;
    if (rest > 0)
        writeFile(journal, data + pageBytes + recordBytes, rest);
    else
        std::remove(journal.c_str());

    (void)checkStore(folder);
    try {
        TBPlusTree reader;
        reader.OpenStore(folder, TOpenMode::ReadOnly);
        readAll(reader);
    } catch (const IoError&) {
    }
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
