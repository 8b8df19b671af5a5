// TBPlusTree: an in-order walk over every record, for readers that need all
// of them (drawing every stored relay) without the listing's line limit.
#include "store/bplustree.h"

#include <unordered_set>

namespace telvara {

void TBPlusTree::ForEachRecord(const TRecordVisitor& visit) {
    RequireOpen();
    const TReadScope scope(*this);
    EnsureRoot();
    if (header_.Height == 0)
        return;
    // Each page is read at most once, so a page file whose children point
    // back or share subtrees costs no more than its own length.
    std::unordered_set<std::int32_t> seen;
    WalkRecords(header_.RootPage, 1, seen, visit);
}

void TBPlusTree::WalkRecords(std::int32_t n, int level, std::unordered_set<std::int32_t>& seen,
                             const TRecordVisitor& visit) {
    if (!seen.insert(n).second)
        Damaged(pageFile_.path(), "ページ " + std::to_string(n) + " に木の中で二度到達します");
    TTreePage page;
    ReadTreePage(n, level, page);
    const int count = page.keyCount();
    if (level < header_.Height) {
        for (int i = 0; i <= count; ++i)
            WalkRecords(page.child(i), level + 1, seen, visit);
        return;
    }
    // A leaf's first child is the record of the separator that leads into it.
    TRelayRecord record;
    for (int i = page.child(0) == kNone ? 1 : 0; i <= count; ++i) {
        ReadRecord(page.child(i), record);
        visit(page.child(i), record);
    }
}

} // namespace telvara
