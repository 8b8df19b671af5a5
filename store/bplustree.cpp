// TBPlusTree: unit access, the level cache, allocation, lookup and listing.
#include "store/bplustree.h"

#include "base/errors.h"

#include <cassert>
#include <limits>

namespace telvara {

int keysNotGreater(const TTreePage& page, std::string_view key) {
    const int count = page.keyCount();
    int b = 0;
    while (b < count && compareKeys(page.key(b + 1), key) <= 0)
        ++b;
    return b;
}

namespace {

// At most this many units are kept (32 MiB of pages, about 20 MiB of records);
// past that the store starts keeping afresh.
constexpr std::size_t kKeptPages = 32768;
constexpr std::size_t kKeptRecords = 131072;

// The in-use counters are read by nobody but the check, which refuses a write
// into a store whose counters disagree with its tree; the wrap at the integer
// limits only keeps the arithmetic defined.
void bump(std::int32_t& counter, int by) {
    counter = std::int32_t(std::uint32_t(counter) + std::uint32_t(by));
}

} // namespace

TBPlusTree::TBPlusTree() {
    pageFile_.setFaultCountdown(&faultCountdown_);
    recordFile_.setFaultCountdown(&faultCountdown_);
}

TBPlusTree::~TBPlusTree() {
    CloseStore();
}

TTransferCounts TBPlusTree::transfers() const {
    return {pageFile_.reads(), pageFile_.writes(), recordFile_.reads(), recordFile_.writes(),
            pageFile_.syncs() + recordFile_.syncs() + journal_.syncs()};
}

void TBPlusTree::RequireOpen() const {
    if (state_ == TStoreState::Closed)
        throw IoError(
            msgNotOpen(pageFile_.path().empty() ? std::string(kPageFileName) : pageFile_.path()));
}

void TBPlusTree::Damaged(const std::string& path, const std::string& detail) const {
    throw IoError(msgDamaged(path, detail));
}

void TBPlusTree::CheckPageNo(std::int32_t n) const {
    if (!pageHandedOut(header_, n))
        Damaged(pageFile_.path(), "ページ番号 " + std::to_string(n) + " は範囲外です");
}

void TBPlusTree::CheckSlotNo(std::int32_t s) const {
    if (!slotHandedOut(header_, s))
        Damaged(recordFile_.path(), "レコード番号 " + std::to_string(s) + " は範囲外です");
}

void TBPlusTree::ReadPage(std::int32_t n, TTreePage& page) {
    // An operation under way reads its own changes first.
    if (auto it = write_.Pages.find(n); it != write_.Pages.end()) {
        page = it->second;
        return;
    }
    if (auto it = keptPages_.find(n); it != keptPages_.end()) {
        page = it->second;
        return;
    }
    pageFile_.read(n, page.Bytes.data());
    if (keptPages_.size() >= kKeptPages)
        keptPages_.clear();
    keptPages_.emplace(n, page);
}

void TBPlusTree::ReadTreePage(std::int32_t n, int level, TTreePage& page) {
    CheckPageNo(n);
    ReadPage(n, page);
    CheckTreePage(n, level, page);
}

void TBPlusTree::CheckTreePage(std::int32_t n, int level, const TTreePage& page) const {
    const std::string& path = pageFile_.path();
    auto at = [n] { return "ページ " + std::to_string(n); };
    const int count = page.keyCount();
    if (count < 1 || count > kMaxKeys)
        Damaged(path, at() + " のキー数 " + std::to_string(count) + " はありえない値です");
    for (int i = 1; i <= count; ++i) {
        if (page.keyLength(i) > kKeySlotCapacity)
            Damaged(path, at() + " のキー " + std::to_string(i) + " の長さ " +
                              std::to_string(page.keyLength(i)) + " はありえない値です");
        if (i > 1 && compareKeys(page.key(i - 1), page.key(i)) > 0)
            Damaged(path,
                    at() + " のキー " + std::to_string(i) + " がページ内で昇順になっていません");
    }
    if (level < header_.Height) {
        for (int i = 0; i <= count; ++i) {
            const std::int32_t c = page.child(i);
            if (c == kNone)
                Damaged(path, at() + " は葉ですが階層 " + std::to_string(level) +
                                  " にあります（高さ " + std::to_string(header_.Height) +
                                  " と合いません）");
            if (!pageHandedOut(header_, c))
                Damaged(path, at() + " の子ページ " + std::to_string(c) + " は範囲外です");
        }
    } else {
        for (int i = 0; i <= count; ++i) {
            const std::int32_t s = page.child(i);
            if ((i > 0 || s != kNone) && !slotHandedOut(header_, s))
                Damaged(path, at() + " のレコード番号 " + std::to_string(s) + " は範囲外です");
        }
    }
}

namespace {
// What every tree page the store writes holds: at most kMaxKeys keys, in key
// order (equal slot keys allowed: two long keys may share their first kKeySlotCapacity bytes).
[[maybe_unused]] bool pageIsWhole(const TTreePage& page) {
    const int n = page.keyCount();
    if (n < 0 || n > kMaxKeys)
        return false;
    for (int i = 2; i <= n; ++i)
        if (compareKeys(page.key(i - 1), page.key(i)) > 0)
            return false;
    return true;
}
} // namespace

void TBPlusTree::WritePage(std::int32_t n, const TTreePage& page) {
    CheckPageNo(n);
    assert(pageIsWhole(page));
    write_.Pages[n] = page;
    // Every cached copy of the page stays equal to the unit on disk.
    for (std::size_t l = 1; l < levelPageNos_.size(); ++l)
        if (levelPageNos_[l] == n && &levelPages_[l] != &page)
            levelPages_[l] = page;
}

void TBPlusTree::ReadRecord(std::int32_t s, TRelayRecord& record) {
    CheckSlotNo(s);
    if (auto it = write_.Records.find(s); it != write_.Records.end()) {
        record = it->second;
        return;
    }
    if (auto it = keptRecords_.find(s); it != keptRecords_.end()) {
        record = it->second;
        return;
    }
    recordFile_.read(s, record.Bytes.data());
    if (keptRecords_.size() >= kKeptRecords)
        keptRecords_.clear();
    keptRecords_.emplace(s, record);
}

void TBPlusTree::ForgetUnits() {
    keptPages_.clear();
    keptRecords_.clear();
}

void TBPlusTree::KeepCommittedUnits() {
    if (keptPages_.size() + write_.Pages.size() > kKeptPages)
        keptPages_.clear();
    if (keptRecords_.size() + write_.Records.size() > kKeptRecords)
        keptRecords_.clear();
    for (const auto& [n, page] : write_.Pages)
        keptPages_[n] = page;
    for (const auto& [s, record] : write_.Records)
        keptRecords_[s] = record;
}

void TBPlusTree::WriteRecord(std::int32_t s, const TRelayRecord& record) {
    CheckSlotNo(s);
    write_.Records[s] = record;
}

void TBPlusTree::WriteHeader() {
    // The image reaches unit 0 when the operation commits.
    write_.HeaderWritten = true;
}

void TBPlusTree::LoadLevel(int level, std::int32_t n) {
    if (levelPageNos_[std::size_t(level)] == n)
        return;
    ReadLevel(level, n);
}

void TBPlusTree::ReadLevel(int level, std::int32_t n) {
    auto& no = levelPageNos_[std::size_t(level)];
    no = kNone;
    // The levels above hold the path from the root; meeting one of them again is a loop.
    for (int l = 1; l < level; ++l)
        if (levelPageNos_[std::size_t(l)] == n)
            Damaged(pageFile_.path(),
                    "ページ " + std::to_string(n) + " が木の中で自分の上にも現れます");
    ReadTreePage(n, level, levelPages_[std::size_t(level)]);
    no = n;
}

void TBPlusTree::ForgetPage(std::int32_t n) {
    for (auto& no : levelPageNos_)
        if (no == n)
            no = kNone;
}

void TBPlusTree::ForgetLevels() {
    for (auto& no : levelPageNos_)
        no = kNone;
}

void TBPlusTree::EnsureRoot() {
    if (header_.Height == 0)
        return;
    if (levelPages_.size() < std::size_t(header_.Height) + 1) {
        levelPages_.resize(std::size_t(header_.Height) + 1);
        levelPageNos_.resize(std::size_t(header_.Height) + 1, kNone);
    }
    LoadLevel(1, header_.RootPage);
}

std::int32_t TBPlusTree::AllocPage(TTreePage& page) {
    std::int32_t n;
    if (header_.FreePageHead == kNone) {
        if (header_.NextNewPage == std::numeric_limits<std::int32_t>::max())
            Damaged(pageFile_.path(), "ページ番号を使い切りました");
        n = header_.NextNewPage++;
    } else {
        n = header_.FreePageHead;
        CheckPageNo(n);
        ReadPage(n, page);
        const std::int32_t next = page.child(0);
        if (next != kNone)
            CheckPageNo(next);
        header_.FreePageHead = next;
    }
    bump(header_.PagesInUse, 1);
    page.clear();
    return n;
}

void TBPlusTree::FreePage(std::int32_t n) {
    // A page leaves the tree before it is freed, and is freed once.
    assert(n != header_.RootPage && n != header_.FreePageHead);
    ForgetPage(n);
    TTreePage freed;
    freed.setChild(0, header_.FreePageHead);
    WritePage(n, freed);
    header_.FreePageHead = n;
    bump(header_.PagesInUse, -1);
}

std::int32_t TBPlusTree::AllocRecord(const TRelayRecord& record) {
    TRelayRecord copy = record;
    // The reserved bytes are zero in every record written.
    copy.Bytes[0] = 0;
    copy.Bytes[kRecordSize - 1] = 0;
    std::int32_t s;
    if (header_.FreeRecordHead == kNone) {
        if (header_.NextNewRecord == std::numeric_limits<std::int32_t>::max())
            Damaged(recordFile_.path(), "レコード番号を使い切りました");
        s = header_.NextNewRecord++;
    } else {
        s = header_.FreeRecordHead;
        TRelayRecord freed;
        ReadRecord(s, freed);
        const std::int32_t next = freed.nextFree();
        if (next != kNone)
            CheckSlotNo(next);
        header_.FreeRecordHead = next;
    }
    bump(header_.RecordsInUse, 1);
    WriteRecord(s, copy);
    return s;
}

void TBPlusTree::FreeRecord(std::int32_t s) {
    assert(s != header_.FreeRecordHead); // freed once
    TRelayRecord freed;
    freed.setNextFree(header_.FreeRecordHead);
    WriteRecord(s, freed);
    header_.FreeRecordHead = s;
    bump(header_.RecordsInUse, -1);
}

std::optional<TBPlusTree::TFound> TBPlusTree::Lookup(std::string_view fullKey) {
    const std::string_view key = slotKey(fullKey);
    EnsureRoot();
    const int height = header_.Height;
    if (height == 0)
        return std::nullopt;
    std::string_view separator;
    bool haveSeparator = false;
    for (int level = 1; level < height; ++level) {
        const TTreePage& page = levelPages_[std::size_t(level)];
        const int b = keysNotGreater(page, key);
        if (b >= 1) {
            separator = page.key(b);
            haveSeparator = true;
        }
        ReadLevel(level + 1, page.child(b));
    }
    const TTreePage& leaf = levelPages_[std::size_t(height)];
    const int b = keysNotGreater(leaf, key);
    const std::int32_t s = leaf.child(b);
    const bool stored = b >= 1 || haveSeparator;
    const std::string_view storedKey = b >= 1 ? leaf.key(b) : separator;
    if (s == kNone || !stored || storedKey != key)
        return std::nullopt;
    TFound found{s, {}};
    ReadRecord(s, found.Record);
    if (slotKey(found.Record.key()) != key)
        Damaged(recordFile_.path(),
                "レコード " + std::to_string(s) + " のキーが木の中のキーと違います");
    return found;
}

std::optional<TRelayRecord> TBPlusTree::Find(std::string_view key) {
    RequireOpen();
    const TReadScope scope(*this);
    std::optional<TFound> found = Lookup(key);
    if (!found)
        return std::nullopt;
    return std::move(found->Record);
}

bool TBPlusTree::FindKey(std::string_view key) {
    RequireOpen();
    const TReadScope scope(*this);
    currentRecNo_ = kNone; // also when the lookup fails
    const std::optional<TFound> found = Lookup(key);
    if (!found)
        return false;
    currentRecord_ = found->Record;
    currentRecNo_ = found->Slot;
    return true;
}

std::string TBPlusTree::ListKeys() {
    return ListWithLimit(kListLineLimit);
}

std::string TBPlusTree::ListAllKeys() {
    return ListWithLimit(std::numeric_limits<int>::max());
}

std::string TBPlusTree::ListWithLimit(int limit) {
    RequireOpen();
    const TReadScope scope(*this);
    EnsureRoot();
    std::string out;
    if (header_.Height == 0)
        return out;
    int lines = 0;
    ListLevel(1, std::string(), out, lines, limit);
    return out;
}

// Appends the keys of the page at `level` and of its subtrees; `lines` passes
// the limit once the walk has to end.
void TBPlusTree::ListLevel(int level, const std::string& prefix, std::string& out, int& lines,
                           int limit) {
    const TTreePage& page = levelPages_[std::size_t(level)];
    const bool leaf = level >= header_.Height;
    const std::string deeper = prefix + std::string(kListIndent, ' ');
    auto visit = [&](int i) {
        ReadLevel(level + 1, page.child(i));
        ListLevel(level + 1, deeper, out, lines, limit);
    };
    if (!leaf) {
        visit(0);
        if (lines > limit)
            return;
    }
    for (int i = 1; i <= page.keyCount(); ++i) {
        out += prefix;
        out += page.key(i);
        out += "\r\n";
        if (++lines > limit) {
            out += "\r\n[etc.]";
            return;
        }
        if (!leaf) {
            visit(i);
            if (lines > limit)
                return;
        }
    }
}

} // namespace telvara
