// TBPlusTree: insertion and the split of a full page.
#include "store/bplustree.h"

#include <array>
#include <cstring>

namespace telvara {

std::int32_t TBPlusTree::Insert(const TRelayRecord& record) {
    std::int32_t slot = kNone;
    InsertRecord(record, slot);
    return slot;
}

void TBPlusTree::InsertCurrent() {
    InsertRecord(currentRecord_, currentRecNo_);
}

void TBPlusTree::InsertRecord(const TRelayRecord& record, std::int32_t& slot) {
    RequireOpen();
    const bool own = !WriteUnderWay();
    if (own)
        BeginWrite();
    try {
        // Under the write lock, before anything is written.
        RequireSound();
        EnsureRoot();
        TInsertion insertion{record, std::string(slotKey(record.key())), slot};
        TRise rise = InsertBelow(1, header_.RootPage, insertion);
        if (rise.Rose) {
            // The root split, or the store was empty: a new root one level up.
            const int height = header_.Height + 1;
            levelPages_.assign(std::size_t(height) + 1, TTreePage{});
            levelPageNos_.assign(std::size_t(height) + 1, kNone);
            TTreePage& root = levelPages_[1];
            const std::int32_t n = AllocPage(root);
            root.setKeyCount(1);
            root.setKey(1, rise.Key);
            root.setChild(0, header_.RootPage);
            root.setChild(1, rise.Right);
            WritePage(n, root);
            levelPageNos_[1] = n;
            header_.RootPage = n;
            header_.Height = height;
        }
        WriteHeader();
    } catch (...) {
        // Nothing of the operation (or of its transaction) reaches the disk.
        RollbackWrite();
        throw;
    }
    if (own)
        CommitWrite();
}

TBPlusTree::TRise TBPlusTree::InsertBelow(int level, std::int32_t n, TInsertion& insertion) {
    if (level > header_.Height) {
        const std::int32_t s = AllocRecord(insertion.Record);
        insertion.Slot = s;
        return {true, insertion.Key, s};
    }
    LoadLevel(level, n);
    const int b = keysNotGreater(levelPages_[std::size_t(level)], insertion.Key);
    TRise rise = InsertBelow(level + 1, levelPages_[std::size_t(level)].child(b), insertion);
    if (!rise.Rose)
        return {};
    if (levelPages_[std::size_t(level)].keyCount() < kMaxKeys) {
        InsertInPage(level, b + 1, rise.Key, rise.Right);
        return {};
    }
    return SplitPage(level, b + 1, rise.Key, rise.Right);
}

void TBPlusTree::InsertInPage(int level, int p, std::string_view key, std::int32_t right) {
    TTreePage& page = levelPages_[std::size_t(level)];
    const int count = page.keyCount();
    for (int i = count; i >= p; --i)
        page.copyEntry(i + 1, page, i);
    page.setKey(p, key);
    page.setChild(p, right);
    page.setKeyCount(count + 1);
    WritePage(levelPageNos_[std::size_t(level)], page);
}

TBPlusTree::TRise TBPlusTree::SplitPage(int level, int p, std::string_view key,
                                        std::int32_t right) {
    TTreePage& page = levelPages_[std::size_t(level)];
    const std::int32_t pageNo = levelPageNos_[std::size_t(level)];
    TTreePage& fresh = scratch_;
    const std::int32_t freshNo = AllocPage(fresh);

    // The kMaxKeys + 1 keys in order with the new one at p, and the
    // kMaxKeys + 2 children with `right` just after position p - 1.
    TTreePage incoming;
    incoming.setKey(1, key);
    incoming.setChild(1, right);
    std::array<std::array<unsigned char, kKeySlotSize>, kMaxKeys + 2> keys{};
    std::array<std::int32_t, kMaxKeys + 2> children{};
    for (int i = 1; i <= kMaxKeys + 1; ++i) {
        const TTreePage& from = i == p ? incoming : page;
        const int j = i == p ? 1 : i < p ? i : i - 1;
        std::memcpy(keys[i].data(), &from.Bytes[TTreePage::keyOffset(j)], kKeySlotSize);
    }
    for (int i = 0; i <= kMaxKeys + 1; ++i)
        children[i] = i == p ? right : i < p ? page.child(i) : page.child(i - 1);

    auto putSlot = [](TTreePage& to, int i, const std::array<unsigned char, kKeySlotSize>& slot) {
        std::memcpy(&to.Bytes[TTreePage::keyOffset(i)], slot.data(), kKeySlotSize);
    };
    for (int i = 1; i <= kMinKeys; ++i)
        putSlot(page, i, keys[i]);
    for (int i = 0; i <= kMinKeys; ++i)
        page.setChild(i, children[i]);
    page.setKeyCount(kMinKeys);
    page.clearAbove(kMinKeys);

    const int median = kMinKeys + 1;
    TRise rise{true,
               std::string(reinterpret_cast<const char*>(keys[median].data() + 1),
                           std::min<int>(keys[median][0], kKeySlotCapacity)),
               freshNo};
    fresh.setChild(0, children[median]);
    for (int i = 1; i <= kMinKeys; ++i) {
        putSlot(fresh, i, keys[median + i]);
        fresh.setChild(i, children[median + i]);
    }
    fresh.setKeyCount(kMinKeys);
    WritePage(freshNo, fresh);
    WritePage(pageNo, page);
    return rise;
}

} // namespace telvara
