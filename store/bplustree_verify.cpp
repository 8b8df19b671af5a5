// TBPlusTree: the whole-store check behind every first write of an open.
//
// Opening checks only what it reads anyway (the header against the file
// lengths, both free chains, the leftmost path); a full walk of a store of
// 100 000 records reads every page and every record, so it runs once per
// open, before the first write, where it keeps a damaged store from being
// made worse. A write that fails part way has it run again.
#include "store/bplustree.h"

#include "base/errors.h"

#include <filesystem>

namespace telvara {

TCheckReport TBPlusTree::Verify() {
    RequireOpen();
    const TReadScope scope(*this); // what another program may be writing waits
    // The check reads through this store's own open files: a second
    // descriptor of a file, once closed, would end the locks held on it.
    class TOwnFiles : public TStoreSource {
    public:
        TOwnFiles(TUnitFile& pages, TUnitFile& records) : pages_(pages), records_(records) {}
        std::int64_t pageFileBytes() override { return bytes(pages_, kPageSize); }
        std::int64_t recordFileBytes() override { return bytes(records_, kRecordSize); }
        void readPage(std::int32_t n, unsigned char* unit) override { pages_.read(n, unit); }
        void readRecord(std::int32_t s, unsigned char* slot) override { records_.read(s, slot); }

    private:
        // A device in place of a file has no size of its own: its whole units count.
        static std::int64_t bytes(TUnitFile& file, int unitSize) {
            std::error_code ec;
            const auto size = std::filesystem::file_size(file.path(), ec);
            return ec ? file.units() * unitSize : std::int64_t(size);
        }
        TUnitFile& pages_;
        TUnitFile& records_;
    };
    const std::int64_t countdown = faultCountdown_;
    faultCountdown_ = -1; // injected failures are meant for the operation, not its check
    const TTransferCounts before{pageFile_.reads(), 0, recordFile_.reads(), 0};
    TOwnFiles files(pageFile_, recordFile_);
    TCheckReport report = checkStore(files);
    checkReads_.PageReads += pageFile_.reads() - before.PageReads;
    checkReads_.RecordReads += recordFile_.reads() - before.RecordReads;
    faultCountdown_ = countdown;
    // What the check found holds for the writes of this open.
    if (report.sound())
        verified_ = true;
    else
        writeRefusal_ = damageMessage(report, pageFile_.path(), recordFile_.path());
    return report;
}

void TBPlusTree::RequireSound() {
    if (!verified_ && writeRefusal_.empty())
        Verify();
    if (!writeRefusal_.empty())
        throw IoError(writeRefusal_);
}

} // namespace telvara
