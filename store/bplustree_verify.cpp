// TBPlusTree: the whole-store check behind every first write of an open.
//
// Opening checks only what it reads anyway (the header against the file
// lengths, both free chains, the leftmost path); a full walk of a store of
// 100 000 records reads every page and every record, so it runs once per
// open, before the first write, where it keeps a damaged store from being
// made worse. A write that fails part way has it run again.
#include "store/bplustree.h"

#include "base/errors.h"

namespace telvara {

TCheckReport TBPlusTree::Verify() {
    RequireOpen();
    const TReadScope scope(*this); // what another program may be writing waits
    // The check reads through this store's own open files: a second
    // descriptor of a file, once closed, would end the locks held on it.
    // Its reads are not transfers of an operation, and injected failures
    // are meant for the operation, so it reads the bytes directly.
    class TOwnFiles : public TStoreSource {
    public:
        TOwnFiles(TUnitFile& pages, TUnitFile& records) : pages_(pages), records_(records) {}
        std::int64_t pageFileBytes() override { return pages_.sizeBytes(); }
        std::int64_t recordFileBytes() override { return records_.sizeBytes(); }
        void readPage(std::int32_t n, TTreePage& page) override {
            read(pages_, n, page.Bytes.data(), kPageSize);
        }
        void readRecord(std::int32_t s, TRelayRecord& record) override {
            read(records_, s, record.Bytes.data(), kRecordSize);
        }

    private:
        static void read(TUnitFile& file, std::int32_t n, unsigned char* to, int size) {
            if (file.readAt(std::int64_t(n) * size, to, std::size_t(size)) != std::size_t(size))
                throw IoError(msgReadFailed(file.path()));
        }
        TUnitFile& pages_;
        TUnitFile& records_;
    };
    TOwnFiles files(pageFile_, recordFile_);
    const TCheckReport report = checkStore(files);
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
