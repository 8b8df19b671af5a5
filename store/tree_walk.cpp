#include "store/tree_walk.h"

#include <cassert>

namespace telvara {
namespace {

class TWalk {
public:
    TWalk(TStoreSource& source, int height, std::vector<bool>& visited, TTreeVisitor& visitor)
        : source_(source), height_(height), visited_(visited), visitor_(visitor) {}

    // `separator`: the key of the deepest page above at which the path went
    // right of a key (it views a page of a frame further up).
    void enter(std::int32_t n, int level, std::optional<std::string_view> separator) {
        assert(n >= 0 && std::size_t(n) < visited_.size());
        if (visited_[std::size_t(n)]) {
            visitor_.revisited(n);
            return;
        }
        visited_[std::size_t(n)] = true;
        TTreePage page;
        source_.readPage(n, page);
        if (!visitor_.page(n, level, page))
            return;
        const int count = page.keyCount();
        assert(count >= 0 && count <= kMaxKeys); // page() lets no other count through
        if (level == height_) {
            leafSlot(n, 0, page.child(0), separator);
            for (int i = 1; i <= count; ++i) {
                visitor_.key(n, i, page.key(i));
                leafSlot(n, i, page.child(i), page.key(i));
            }
            return;
        }
        for (int i = 0; i <= count; ++i) {
            if (i >= 1)
                visitor_.key(n, i, page.key(i));
            const std::int32_t c = page.child(i);
            if (visitor_.child(n, level, i, c))
                enter(c, level + 1, i >= 1 ? std::optional(page.key(i)) : separator);
        }
    }

private:
    void leafSlot(std::int32_t n, int i, std::int32_t s, std::optional<std::string_view> key) {
        if (!visitor_.slot(n, i, s, key))
            return;
        source_.readRecord(s, record_);
        visitor_.record(s, record_);
    }

    TStoreSource& source_;
    int height_;
    std::vector<bool>& visited_;
    TTreeVisitor& visitor_;
    TRelayRecord record_; // reused for every record
};

// Follows a chain of `first`-based unit numbers; `next` reads the unit's link.
template <class Next>
TChainEnd walkChain(std::int32_t head, std::int32_t first, std::vector<bool>& marked, Next next) {
    TChainEnd end;
    for (std::int32_t u = head; u != kNone; u = next(u)) {
        if (u < first || std::size_t(u) >= marked.size())
            return {TChainFault::OutOfRange, u, end.Length};
        if (marked[std::size_t(u)])
            return {TChainFault::Repeated, u, end.Length};
        marked[std::size_t(u)] = true;
        ++end.Length;
    }
    return end;
}

} // namespace

void walkTree(TStoreSource& source, std::int32_t root, int height, std::vector<bool>& visited,
              TTreeVisitor& visitor) {
    TWalk(source, height, visited, visitor).enter(root, 1, std::nullopt);
}

TChainEnd walkFreePages(TStoreSource& source, std::int32_t head, std::vector<bool>& marked) {
    TTreePage page;
    // A freed page keeps the next one in child 0.
    return walkChain(head, 1, marked, [&](std::int32_t n) {
        source.readPage(n, page);
        return page.child(0);
    });
}

TChainEnd walkFreeRecords(TStoreSource& source, std::int32_t head, std::vector<bool>& marked) {
    TRelayRecord record;
    return walkChain(head, 0, marked, [&](std::int32_t s) {
        source.readRecord(s, record);
        return record.nextFree();
    });
}

} // namespace telvara
