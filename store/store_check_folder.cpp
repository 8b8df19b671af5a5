// The check of a whole store folder as the "check" command runs it: what a
// crash interrupted is completed first, then both files are read under the
// shared lock, so a writer's half-done operation is never taken for damage.
#include "base/errors.h"
#include "base/os/paths.h"
#include "store/bplustree.h"
#include "store/store_check.h"
#include "store/store_journal.h"
#include "store/store_lock.h"

#include <cstring>
#include <filesystem>
#include <optional>

namespace telvara {
namespace {

// The two files read through their own read-only descriptors; with a journal
// whose change cannot be completed here, as that change will leave them.
class TFolderSource final : public TStoreSource {
public:
    std::int64_t pageFileBytes() override {
        return Journal && Journal->PageBytes >= 0 ? Journal->PageBytes : Pages.sizeBytes();
    }
    std::int64_t recordFileBytes() override {
        return Journal && Journal->RecordBytes >= 0 ? Journal->RecordBytes : Records.sizeBytes();
    }
    void readPage(std::int32_t n, TTreePage& page) override {
        if (!fromJournal(TUnitKind::Page, n, page.Bytes.data()))
            Pages.readUncounted(n, page.Bytes.data());
    }
    void readRecord(std::int32_t s, TRelayRecord& record) override {
        if (!fromJournal(TUnitKind::Record, s, record.Bytes.data()))
            Records.readUncounted(s, record.Bytes.data());
    }

    TUnitFile Pages{kPageSize};
    TUnitFile Records{kRecordSize};
    std::optional<TJournalContents> Journal;

private:
    bool fromJournal(TUnitKind kind, std::int64_t n, unsigned char* out) const {
        if (!Journal)
            return false;
        const auto it = Journal->Units.find({kind, n});
        if (it == Journal->Units.end())
            return false;
        std::memcpy(out, it->second.data(), it->second.size());
        return true;
    }
};

// Opens `path` for reading; else the reason, naming the file.
std::string openForReading(TUnitFile& file, const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(os::pathOf(path), ec);
    errno = 0;
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return "ファイル " + path + " を読めません（通常のファイルではありません）";
    try {
        file.openExisting(path, false);
    } catch (const IoError& e) {
        return e.what();
    }
    return {};
}

} // namespace

TCheckReport checkStoreFolder(const std::string& folderPath) {
    TCheckReport report;
    std::string journalProblem;
    {
        // What opening finds wrong beyond the journal is for the check to report.
        TBPlusTree store;
        try {
            store.OpenStore(folderPath, TOpenMode::ReadOnly);
        } catch (const TStoreBusy&) {
            throw;
        } catch (const TJournalDamaged& e) {
            journalProblem = e.what();
        } catch (const TRecoveryPending& e) {
            report.Pending = e.what();
        } catch (const IoError&) {
        }
    }
    const std::string folder = storeFolder(folderPath);
    TFolderSource source;
    for (const auto& [file, path] : {std::pair{&source.Pages, folder + kPageFileName},
                                     std::pair{&source.Records, folder + kRecordFileName}}) {
        const std::string failed = openForReading(*file, path);
        if (failed.empty())
            continue;
        if (report.Problems.empty())
            report.FirstInRecordFile = file == &source.Records;
        report.Problems.push_back(failed);
    }
    if (!report.Problems.empty())
        return report;
    TStoreLock lock;
    lock.acquire(source.Pages.fd(), TLockMode::Shared, defaultLockWaitMs(), folder);
    try {
        if (!report.Pending.empty()) {
            TStoreJournal journal;
            if (journal.open(folder, false, false)) {
                TJournalContents c = journal.scan();
                if (c.Damage.empty())
                    source.Journal = std::move(c);
            }
        }
        report = [&] {
            TCheckReport r = checkStore(source);
            r.Pending = report.Pending;
            return r;
        }();
    } catch (...) {
        lock.release(source.Pages.fd());
        throw;
    }
    lock.release(source.Pages.fd());
    if (!journalProblem.empty()) {
        report.Problems.insert(report.Problems.begin(), journalProblem);
        report.FirstInRecordFile = false;
    }
    return report;
}

} // namespace telvara
