// TBPlusTree: opening and closing a store, and the plausibility checks of an existing one.
#include "store/bplustree.h"

#include "base/errors.h"
#include "base/os/files.h"
#include "base/os/paths.h"

#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

namespace telvara {
namespace {

bool pathExists(const std::string& path) {
    std::error_code ec;
    // Anything but a clear "not found" counts as present, so an unreadable
    // entry is reported as a failure to open rather than replaced.
    return fs::symlink_status(os::pathOf(path), ec).type() != fs::file_type::not_found;
}

} // namespace

void TBPlusTree::OpenStore(const std::string& folderPath, TOpenMode mode) {
    CloseStore();
    ForgetUnits();
    folder_ = storeFolder(folderPath);
    mode_ = mode;
    const bool writable = mode == TOpenMode::ReadWrite;
    const std::string pagePath = folder_ + kPageFileName;
    const std::string recordPath = folder_ + kRecordFileName;

    std::error_code ec;
    if (!fs::is_directory(os::pathOf(folder_), ec)) {
        if (ec == std::errc::permission_denied)
            throw IoError("フォルダ " + folderPath + " を開けません（アクセスが拒否されました）");
        throw IoError("フォルダ " + folderPath + " がありません");
    }

    try {
        if (!pathExists(pagePath)) {
            if (!writable)
                throw IoError("ファイル " + pagePath + " がありません");
            CreateStore(folder_);
        }
        pageFile_.openExisting(pagePath, writable);
        if (!pathExists(recordPath))
            throw IoError("ファイル " + recordPath + " がありません（ファイル " + pagePath +
                          " だけでは開けません）");
        recordFile_.openExisting(recordPath, writable);
        OpenJournal(writable);
        Lock(writable ? TLockMode::Exclusive : TLockMode::Shared);
        journalKnown_ = false;
        TJournalHeader h;
        if (journal_.isOpen() && journal_.readHeader(h) && cleanThisBoot(h)) {
            // Nothing to complete: the records need not be read.
            journalHeader_ = h;
            journalKnown_ = true;
        } else if (journal_.isOpen()) {
            // An operation a crash interrupted is completed before anything is read.
            const TJournalContents c = journal_.scan();
            if (!writable && !c.HeaderValid && c.Records == 0) {
                // A journal cut short while it was made holds nothing to complete.
                journal_.close();
            } else if (!NeedsRecovery(c) && !(writable && !c.Damage.empty())) {
                journalHeader_ = c.Header;
                journalKnown_ = true;
            } else if (writable) {
                Recover(c); // the header is read below; a damaged clean journal is emptied
            } else {
                RecoverWithWritableFiles();
            }
        }
        ReloadHeader();
        if (header_.Height >= 1) {
            LoadLevel(1, header_.RootPage);
            CheckLeftmostPath();
        }
        CheckFreeChains();
        Unlock();
    } catch (...) {
        Unlock();
        pageFile_.close();
        recordFile_.close();
        journal_.close();
        levelPages_.clear();
        levelPageNos_.clear();
        header_ = TStoreHeader::empty();
        throw;
    }
    state_ = TStoreState::Idle;
    currentRecNo_ = kNone;
}

// A new store: the record file (when there is none) and a page file holding
// the empty header, put in place whole so that no half-made page file is
// ever seen. A record file found without its page file is kept; its slots
// are handed out from 0 again and overwritten as records arrive.
void TBPlusTree::CreateStore(const std::string& folder) {
    const std::string pagePath = folder + kPageFileName;
    const std::string recordPath = folder + kRecordFileName;
    const std::string tempPath = pagePath + "." + std::to_string(os::processId()) + ".new";
    const bool createRecordFile = !pathExists(recordPath);
    std::error_code rmEc;
    try {
        // A journal left behind belongs to the page file that is gone.
        if (pathExists(folder + kJournalFileName)) {
            TStoreJournal stale;
            stale.open(folder, true, false);
            stale.file().truncateBytes(0);
            stale.file().sync();
        }
        if (createRecordFile) {
            TUnitFile records(kRecordSize);
            records.createNew(recordPath);
            records.sync();
        }
        TUnitFile page(kPageSize);
        fs::remove(os::pathOf(tempPath), rmEc);
        page.createNew(tempPath);
        page.setHook(hook_);
        unsigned char unit[kPageSize];
        TStoreHeader::empty().encode(unit);
        page.write(0, unit);
        page.sync();
        page.close();
        // Never replaces: a store another program made meanwhile is kept.
        if (!os::renameNoReplace(tempPath, pagePath) && errno != EEXIST) {
            errno = EACCES;
            throw IoError(msgCreateFailed(pagePath));
        }
        fs::remove(os::pathOf(tempPath), rmEc);
        syncFolder(folder);
    } catch (...) {
        fs::remove(os::pathOf(tempPath), rmEc);
        if (createRecordFile && !pathExists(pagePath))
            fs::remove(os::pathOf(recordPath), rmEc);
        throw;
    }
}

void TBPlusTree::CloseStore() {
    verified_ = false;
    writeRefusal_.clear();
    if (WriteUnderWay())
        RollbackWrite();
    Unlock();
    pageFile_.close();
    recordFile_.close();
    journal_.close();
    levelPages_.clear();
    levelPageNos_.clear();
    ForgetUnits();
    state_ = TStoreState::Closed;
}

void TBPlusTree::CheckHeader(std::int64_t pageUnits, std::int64_t recordSlots) {
    const TStoreHeader& h = header_;
    const std::string& path = pageFile_.path();
    if (!nextNewPageFits(h, pageUnits))
        Damaged(path, "未使用ページの番号 " + std::to_string(h.NextNewPage) + " がファイルの長さ " +
                          std::to_string(pageUnits) + " 単位と合いません");
    if (!nextNewRecordFits(h, recordSlots))
        Damaged(path, "未使用レコードの番号 " + std::to_string(h.NextNewRecord) + " がファイル " +
                          recordFile_.path() + " の長さ " + std::to_string(recordSlots) +
                          " 件と合いません");
    // A tree of Height levels holds at least Height pages.
    if (!heightPossible(h) || h.Height > h.NextNewPage - 1)
        Damaged(path, "高さ " + std::to_string(h.Height) + " はありえない値です");
    if (h.Height == 0 && h.RootPage != kNone)
        Damaged(path, "高さ 0 なのにルートページが " + std::to_string(h.RootPage) + " です");
    if (h.Height >= 1 && !pageHandedOut(h, h.RootPage))
        Damaged(path, "ルートページ " + std::to_string(h.RootPage) + " は範囲外です");
    if (h.FreePageHead != kNone && !pageHandedOut(h, h.FreePageHead))
        Damaged(path, "空きページの先頭 " + std::to_string(h.FreePageHead) + " は範囲外です");
    if (h.FreeRecordHead != kNone && !slotHandedOut(h, h.FreeRecordHead))
        Damaged(path, "空きレコードの先頭 " + std::to_string(h.FreeRecordHead) + " は範囲外です");
}

void TBPlusTree::CheckFreeChains() {
    TOperationSource source(*this);
    std::vector<bool> seen(std::size_t(header_.NextNewPage), false);
    if (header_.Height >= 1)
        seen[std::size_t(header_.RootPage)] = true;
    const TChainEnd pages = walkFreePages(source, header_.FreePageHead, seen);
    if (pages.Fault == TChainFault::OutOfRange)
        CheckPageNo(pages.At); // raises the range error
    if (pages.Fault == TChainFault::Repeated)
        Damaged(pageFile_.path(), "空きページの連鎖がページ " + std::to_string(pages.At) +
                                      " で循環しているか、使用中のページを含んでいます");
    std::vector<bool> seenSlot(std::size_t(header_.NextNewRecord), false);
    const TChainEnd records = walkFreeRecords(source, header_.FreeRecordHead, seenSlot);
    if (records.Fault == TChainFault::OutOfRange)
        CheckSlotNo(records.At); // raises the range error
    if (records.Fault == TChainFault::Repeated)
        Damaged(recordFile_.path(),
                "空きレコードの連鎖がレコード " + std::to_string(records.At) + " で循環しています");
}

void TBPlusTree::CheckLeftmostPath() {
    for (int level = 1; level < header_.Height; ++level)
        LoadLevel(level + 1, levelPages_[std::size_t(level)].child(0));
    const std::int32_t leaf = levelPageNos_[std::size_t(header_.Height)];
    if (levelPages_[std::size_t(header_.Height)].child(0) != kNone)
        Damaged(pageFile_.path(), "高さ " + std::to_string(header_.Height) +
                                      " がページと合いません（最も左の葉 " + std::to_string(leaf) +
                                      " の先頭の子が -1 ではありません）");
}

} // namespace telvara
