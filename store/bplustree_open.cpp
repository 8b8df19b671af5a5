// TBPlusTree: opening and closing a store, and the plausibility checks of an existing one.
#include "store/bplustree.h"

#include "base/errors.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace telvara {
namespace {

// Far above any height a file of 2^31 pages can reach.
constexpr int kMaxHeight = 32;

bool pathExists(const std::string& path) {
    std::error_code ec;
    // Anything but a clear "not found" counts as present, so an unreadable
    // entry is reported as a failure to open rather than replaced.
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

} // namespace

void TBPlusTree::OpenStore(const std::string& folderPath) {
    CloseStore();
    const std::string folder = storeFolder(folderPath);
    const std::string pagePath = folder + kPageFileName;
    const std::string recordPath = folder + kRecordFileName;

    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw IoError("フォルダ " + folderPath + " がありません");

    try {
        if (pathExists(pagePath)) {
            pageFile_.openExisting(pagePath);
            if (!pathExists(recordPath))
                throw IoError("ファイル " + recordPath + " がありません（ファイル " + pagePath +
                              " だけでは開けません）");
            recordFile_.openExisting(recordPath);
            const std::int64_t pageUnits = pageFile_.units();
            if (pageUnits < 1)
                Damaged(pagePath, "ヘッダーが 1024 バイトに足りません");
            unsigned char unit[kPageSize];
            pageFile_.read(0, unit);
            header_ = TStoreHeader::decode(unit);
            CheckHeader(pageUnits, recordFile_.units());
            levelPages_.assign(std::size_t(header_.Height) + 1, TTreePage{});
            levelPageNos_.assign(std::size_t(header_.Height) + 1, kNone);
            if (header_.Height >= 1) {
                LoadLevel(1, header_.RootPage);
                CheckLeftmostPath();
            }
            CheckFreeChains();
        } else {
            // A record file found without its page file is kept; its slots
            // are handed out from 0 again and overwritten as records arrive.
            const bool createRecordFile = !pathExists(recordPath);
            if (createRecordFile)
                recordFile_.createNew(recordPath);
            else
                recordFile_.openExisting(recordPath);
            try {
                pageFile_.createNew(pagePath);
                header_ = TStoreHeader::empty();
                WriteHeader();
            } catch (...) {
                const bool createdPageFile = pageFile_.isOpen();
                pageFile_.close();
                recordFile_.close();
                std::error_code rmEc;
                if (createdPageFile)
                    fs::remove(pagePath, rmEc);
                if (createRecordFile)
                    fs::remove(recordPath, rmEc);
                throw;
            }
            levelPages_.assign(1, TTreePage{});
            levelPageNos_.assign(1, kNone);
        }
    } catch (...) {
        pageFile_.close();
        recordFile_.close();
        levelPages_.clear();
        levelPageNos_.clear();
        header_ = TStoreHeader::empty();
        throw;
    }
    closed_ = false;
    currentRecNo_ = kNone;
}

void TBPlusTree::CloseStore() {
    verified_ = false;
    writeRefusal_.clear();
    pageFile_.close();
    recordFile_.close();
    levelPages_.clear();
    levelPageNos_.clear();
    closed_ = true;
}

void TBPlusTree::CheckHeader(std::int64_t pageUnits, std::int64_t recordSlots) {
    const TStoreHeader& h = header_;
    const std::string& path = pageFile_.path();
    if (h.NextNewPage < 1 || h.NextNewPage > pageUnits)
        Damaged(path, "未使用ページの番号 " + std::to_string(h.NextNewPage) + " がファイルの長さ " +
                          std::to_string(pageUnits) + " 単位と合いません");
    if (h.NextNewRecord < 0 || h.NextNewRecord > recordSlots)
        Damaged(path, "未使用レコードの番号 " + std::to_string(h.NextNewRecord) + " がファイル " +
                          recordFile_.path() + " の長さ " + std::to_string(recordSlots) +
                          " 件と合いません");
    if (h.Height < 0 || h.Height > kMaxHeight || h.Height > h.NextNewPage - 1)
        Damaged(path, "高さ " + std::to_string(h.Height) + " はありえない値です");
    if (h.Height == 0 && h.RootPage != kNone)
        Damaged(path, "高さ 0 なのにルートページが " + std::to_string(h.RootPage) + " です");
    if (h.Height >= 1 && (h.RootPage < 1 || h.RootPage >= h.NextNewPage))
        Damaged(path, "ルートページ " + std::to_string(h.RootPage) + " は範囲外です");
    if (h.FreePageHead != kNone && (h.FreePageHead < 1 || h.FreePageHead >= h.NextNewPage))
        Damaged(path, "空きページの先頭 " + std::to_string(h.FreePageHead) + " は範囲外です");
    if (h.FreeRecordHead != kNone && (h.FreeRecordHead < 0 || h.FreeRecordHead >= h.NextNewRecord))
        Damaged(path, "空きレコードの先頭 " + std::to_string(h.FreeRecordHead) + " は範囲外です");
}

void TBPlusTree::CheckFreeChains() {
    std::vector<bool> seen(std::size_t(header_.NextNewPage), false);
    if (header_.Height >= 1)
        seen[std::size_t(header_.RootPage)] = true;
    TTreePage page;
    for (std::int32_t n = header_.FreePageHead; n != kNone; n = page.child(0)) {
        CheckPageNo(n);
        if (seen[std::size_t(n)])
            Damaged(pageFile_.path(), "空きページの連鎖がページ " + std::to_string(n) +
                                          " で循環しているか、使用中のページを含んでいます");
        seen[std::size_t(n)] = true;
        ReadPage(n, page);
    }
    std::vector<bool> seenSlot(std::size_t(header_.NextNewRecord), false);
    TRelayRecord record;
    for (std::int32_t s = header_.FreeRecordHead; s != kNone; s = record.nextFree()) {
        CheckSlotNo(s);
        if (seenSlot[std::size_t(s)])
            Damaged(recordFile_.path(),
                    "空きレコードの連鎖がレコード " + std::to_string(s) + " で循環しています");
        seenSlot[std::size_t(s)] = true;
        ReadRecord(s, record);
    }
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
