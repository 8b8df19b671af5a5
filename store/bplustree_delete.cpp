// TBPlusTree: deletion, underflow repair by borrowing or merging, lowering of the tree.
#include "store/bplustree.h"

#include <cassert>
#include <optional>

namespace telvara {

namespace {

// Appends the separator, over src's leftmost child, and then src's first
// `count` entries to page.
void appendAfterSeparator(TTreePage& page, std::string_view separator, const TTreePage& src,
                          int count) {
    const int u = page.keyCount();
    page.setKey(u + 1, separator);
    page.setChild(u + 1, src.child(0));
    for (int j = 1; j <= count; ++j)
        page.copyEntry(u + 1 + j, src, j);
    page.setKeyCount(u + 1 + count);
}

} // namespace

std::optional<TRelayRecord> TBPlusTree::Remove(std::string_view key) {
    TRelayRecord read;
    if (!RemoveRecord(slotKey(key), read))
        return std::nullopt;
    return read;
}

void TBPlusTree::DeleteCurrent() {
    RequireOpen();
    currentRecNo_ = kNone;
    const std::string key(slotKey(currentRecord_.key()));
    RemoveRecord(key, currentRecord_);
}

// Removes the record under `key` (as a tree page holds it); false when no
// record has that key.
bool TBPlusTree::RemoveRecord(std::string_view key, TRelayRecord& read) {
    RequireOpen();
    const bool own = !WriteUnderWay();
    if (own)
        BeginWrite();
    bool removed = false;
    try {
        // Under the write lock, before anything is written.
        RequireSound();
        EnsureRoot();
        if (header_.Height == 0) {
            // Nothing to remove, but the operation's lock still ends.
            if (own)
                CommitWrite();
            return false;
        }
        removed = DeleteBelow(1, key, read).Removed;
        TTreePage& root = levelPages_[1];
        if (root.keyCount() == 0) {
            const std::int32_t oldRoot = header_.RootPage;
            --header_.Height;
            header_.RootPage = root.child(0);
            FreePage(oldRoot);
            if (header_.Height >= 1) {
                LoadLevel(1, header_.RootPage);
            } else {
                // The last record went: the store starts again from page 1 and slot 0.
                header_ = TStoreHeader::empty();
                ForgetLevels();
            }
        }
        WriteHeader();
    } catch (...) {
        RollbackWrite();
        throw;
    }
    if (own)
        CommitWrite();
    return removed;
}

TBPlusTree::TDeleteResult TBPlusTree::DeleteBelow(int level, std::string_view key,
                                                  TRelayRecord& read) {
    TTreePage& page = levelPages_[std::size_t(level)];
    const std::int32_t pageNo = levelPageNos_[std::size_t(level)];
    const int b = keysNotGreater(page, key);

    if (level < header_.Height) {
        LoadLevel(level + 1, page.child(b));
        TDeleteResult result = DeleteBelow(level + 1, key, read);
        if (b >= 1 && result.HasReplacement && page.key(b) == key) {
            page.setKey(b, result.Replacement);
            WritePage(pageNo, page);
            result.HasReplacement = false;
            result.Replacement.clear();
        }
        if (result.Underflow)
            result.Underflow = RepairUnderflow(level, b);
        return result;
    }

    std::int32_t s = page.child(b);
    if (s != kNone) {
        TRelayRecord found;
        ReadRecord(s, found);
        read = found;
        if (slotKey(found.key()) != key)
            s = kNone;
    }
    if (s == kNone)
        return {};

    TDeleteResult result;
    result.Removed = true;
    const int count = page.keyCount();
    if (b == 0) {
        // The first key leaves the leaf; its record stays behind in Children[0]
        // and its key replaces the separator that led here.
        result.HasReplacement = true;
        result.Replacement = std::string(page.key(1));
        page.setChild(0, page.child(1));
        for (int i = 1; i < count; ++i)
            page.copyEntry(i, page, i + 1);
    } else {
        for (int i = b; i < count; ++i)
            page.copyEntry(i, page, i + 1);
    }
    page.setKeyCount(count - 1);
    page.clearAbove(count - 1);
    result.Underflow = count - 1 < kMinKeys;
    WritePage(pageNo, page);
    FreeRecord(s);
    return result;
}

// U = Children[b] of P (P at `level`, U cached at level + 1) has fallen below
// kMinKeys keys. Returns whether P now holds fewer than kMinKeys keys.
bool TBPlusTree::RepairUnderflow(int level, int b) {
    TTreePage& parent = levelPages_[std::size_t(level)];
    LoadLevel(level + 1, parent.child(b));
    TTreePage& sibling = scratch_;
    const bool hasRight = b < parent.keyCount();
    ReadTreePage(parent.child(hasRight ? b + 1 : b - 1), level + 1, sibling);
    const int n = sibling.keyCount();
    const int k = n >= kMinKeys + 1 ? (n - (kMinKeys - 1)) / 2 : 0;
    const int under = levelPages_[std::size_t(level) + 1].keyCount();
    if (k == 0 && under + 1 + n > kMaxKeys)
        Damaged(pageFile_.path(), "ページ " + std::to_string(parent.child(b)) + " と隣のページ " +
                                      "のキー数 " + std::to_string(under) + ", " +
                                      std::to_string(n) + " では修復できません");
    if (hasRight)
        return k >= 1 ? BorrowFromRight(level, b, sibling, k) : MergeWithRight(level, b, sibling);
    return k >= 1 ? BorrowFromLeft(level, b, sibling, k) : MergeIntoLeft(level, b, sibling);
}

// Write order in every repair: the page that receives keys first, then the
// parent, then the page that gives them up, so a failure part way leaves
// every record reachable.
bool TBPlusTree::BorrowFromRight(int level, int b, TTreePage& right, int k) {
    TTreePage& parent = levelPages_[std::size_t(level)];
    TTreePage& under = levelPages_[std::size_t(level) + 1];
    const std::int32_t rightNo = parent.child(b + 1);
    const int n = right.keyCount();
    // The giver keeps at least kMinKeys keys.
    assert(k >= 1 && n - k >= kMinKeys);
    appendAfterSeparator(under, parent.key(b + 1), right, k - 1);
    parent.setKey(b + 1, right.key(k));
    right.setChild(0, right.child(k));
    for (int j = k + 1; j <= n; ++j)
        right.copyEntry(j - k, right, j);
    right.setKeyCount(n - k);
    right.clearAbove(n - k);
    WritePage(levelPageNos_[std::size_t(level) + 1], under);
    WritePage(levelPageNos_[std::size_t(level)], parent);
    WritePage(rightNo, right);
    return false;
}

bool TBPlusTree::MergeWithRight(int level, int b, TTreePage& right) {
    TTreePage& parent = levelPages_[std::size_t(level)];
    TTreePage& under = levelPages_[std::size_t(level) + 1];
    const std::int32_t rightNo = parent.child(b + 1);
    // The separator and both pages fit one page.
    assert(under.keyCount() + 1 + right.keyCount() <= kMaxKeys);
    appendAfterSeparator(under, parent.key(b + 1), right, right.keyCount());
    const int count = parent.keyCount();
    for (int i = b + 1; i < count; ++i)
        parent.copyEntry(i, parent, i + 1);
    parent.setKeyCount(count - 1);
    parent.clearAbove(count - 1);
    WritePage(levelPageNos_[std::size_t(level) + 1], under);
    WritePage(levelPageNos_[std::size_t(level)], parent);
    FreePage(rightNo);
    return count - 1 < kMinKeys;
}

bool TBPlusTree::BorrowFromLeft(int level, int b, TTreePage& left, int k) {
    TTreePage& parent = levelPages_[std::size_t(level)];
    TTreePage& under = levelPages_[std::size_t(level) + 1];
    const std::int32_t leftNo = parent.child(b - 1);
    const int u = under.keyCount();
    const int n = left.keyCount();
    assert(k >= 1 && n - k >= kMinKeys);
    for (int i = u; i >= 1; --i)
        under.copyEntry(i + k, under, i);
    under.setKey(k, parent.key(b));
    under.setChild(k, under.child(0));
    const int m = n + 1 - k;
    for (int j = 1; j < k; ++j)
        under.copyEntry(j, left, m + j);
    under.setChild(0, left.child(m));
    under.setKeyCount(u + k);
    parent.setKey(b, left.key(m));
    left.setKeyCount(m - 1);
    left.clearAbove(m - 1);
    WritePage(levelPageNos_[std::size_t(level) + 1], under);
    WritePage(levelPageNos_[std::size_t(level)], parent);
    WritePage(leftNo, left);
    return false;
}

bool TBPlusTree::MergeIntoLeft(int level, int b, TTreePage& left) {
    TTreePage& parent = levelPages_[std::size_t(level)];
    TTreePage& under = levelPages_[std::size_t(level) + 1];
    const std::int32_t leftNo = parent.child(b - 1);
    const std::int32_t underNo = parent.child(b);
    assert(left.keyCount() + 1 + under.keyCount() <= kMaxKeys);
    appendAfterSeparator(left, parent.key(b), under, under.keyCount());
    const int count = parent.keyCount();
    parent.setKeyCount(count - 1);
    parent.clearAbove(count - 1);
    WritePage(leftNo, left);
    WritePage(levelPageNos_[std::size_t(level)], parent);
    FreePage(underNo);
    return count - 1 < kMinKeys;
}

} // namespace telvara
