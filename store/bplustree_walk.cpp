// TBPlusTree: an in-order walk over every record, for readers that need all
// of them (drawing every stored relay) without the listing's line limit.
#include "store/bplustree.h"

namespace telvara {

void TBPlusTree::ForEachRecord(const TRecordVisitor& visit) {
    RequireOpen();
    const TReadScope scope(*this);
    EnsureRoot();
    if (header_.Height == 0)
        return;
    // Each page is checked as it is read and entered at most once, so a page
    // file whose children point back or share subtrees costs no more than its
    // own length.
    class TRecords final : public TTreeVisitor {
    public:
        TRecords(const TBPlusTree& t, const TRecordVisitor& visit) : t_(t), visit_(visit) {}
        void revisited(std::int32_t n) override {
            t_.Damaged(t_.pageFile_.path(),
                       "ページ " + std::to_string(n) + " に木の中で二度到達します");
        }
        bool page(std::int32_t n, int level, const TTreePage& p) override {
            t_.CheckTreePage(n, level, p);
            return true;
        }
        // A leaf's first child is the record of the separator that leads into it.
        bool slot(std::int32_t, int, std::int32_t s, std::optional<std::string_view>) override {
            return s != kNone;
        }
        void record(std::int32_t s, const TRelayRecord& r) override { visit_(s, r); }

    private:
        const TBPlusTree& t_;
        const TRecordVisitor& visit_;
    } records(*this, visit);
    TOperationSource source(*this);
    // Page numbers in the tree lie below NextNewPage (each page is checked
    // before its children are entered).
    std::vector<bool> visited(std::size_t(header_.NextNewPage));
    walkTree(source, header_.RootPage, header_.Height, visited, records);
}

} // namespace telvara
