#pragma once
// Helpers for the store tests: temporary folders, file bytes, and unit images
// built from the byte offsets of the file layout (independent of the store's
// own accessors, so the tests pin the format rather than repeat the code).
#include "store/bplustree.h"

#include <cstdlib>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace telvara::test {

using Bytes = std::vector<unsigned char>;

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // As the store names its files: the folder, "/", the name.
    std::string file(const std::string& name) const { return str() + "/" + name; }
    std::string dat() const { return file("ZuboK.dat"); }
    std::string idx() const { return file("ZuboK.idx"); }

private:
    std::filesystem::path path_;
};

Bytes readBytes(const std::string& path);
std::string readText(const std::string& path);
void writeBytes(const std::string& path, const Bytes& bytes);

std::int32_t le32(const Bytes& b, std::size_t offset);
void putLe32(Bytes& b, std::size_t offset, std::int32_t v);

// One 1024-byte unit of the page file.
Bytes unitOf(const Bytes& file, int n);
// The header unit: the nine counters at offsets 0..35, the rest zero.
Bytes headerImage(std::int32_t pagesInUse, std::int32_t recordsInUse, std::int32_t rootPage,
                  std::int32_t nextNewPage, std::int32_t nextNewRecord, std::int32_t freePageHead,
                  std::int32_t freeRecordHead, std::int32_t height);
// A tree page: KeyCount at 4, key slots of 42 bytes from 8, children from 932.
Bytes pageImage(const std::vector<std::string>& keys, const std::vector<std::int32_t>& children);
// A freed page: only Children[0] set.
Bytes freedPageImage(std::int32_t next);

struct DecodedPage {
    std::int32_t KeyCount = 0;
    std::vector<std::string> Keys;      // Keys[0] = key 1
    std::vector<std::int32_t> Children; // Children[0..KeyCount]
};
DecodedPage decodePage(const Bytes& file, int n);

// Twelve field texts in record order.
using Fields = std::vector<std::string>;
Fields fieldsFor(const std::string& name, const std::string& device, int variant = 0);
// A record slot image built from the field offsets of the record layout.
Bytes recordImage(const Fields& fields);
Bytes slotOf(const Bytes& file, int s);
Bytes freedSlotImage(std::int32_t next);

void setFields(TRelayRecord& r, const Fields& fields);
Fields fieldsOf(const TRelayRecord& r);

// Key "K01,51R" style names used by the worked examples: name K + two digits.
std::string exampleName(int i);
std::string exampleKey(int i);

// Inserts one record under name/device (bare InsertCurrent).
void insertRecord(TBPlusTree& store, const std::string& name, const std::string& device,
                  int variant = 0);
// Removes the record with this name and device (DeleteCurrent).
void deleteRecord(TBPlusTree& store, const std::string& name, const std::string& device);

// telvara-store run as its own process; `io` holds its standard streams.
struct ToolResult {
    int status = -1; // -1: ended by a signal
    std::string out;
    std::string err;
};
// `prefix` goes before the command, e.g. to run it as another user.
ToolResult runTool(const std::vector<std::string>& args, const std::string& input,
                   const TempDir& io, const std::string& prefix = "");

// All problems of checkStore joined by new lines (empty for a sound store).
std::string problems(const std::string& folder);

// The IoError text of `action`, or "" when it raised none.
std::string ioErrorOf(const std::function<void()>& action);

// Ends the process at the first write into a store file after the journal
// was synced: the change is durable, its units not yet all in place.
class EndAfterJournalSync : public TIoHook {
public:
    bool before(TIoStep step, os::FileHandle, const std::string& path, std::int64_t, const void*,
                std::size_t) override {
        if (step == TIoStep::Sync && path.ends_with(".jnl"))
            synced_ = true;
        else if (synced_ && step == TIoStep::Write && !path.ends_with(".jnl"))
            std::_Exit(0);
        return false;
    }

private:
    bool synced_ = false;
};

} // namespace telvara::test
