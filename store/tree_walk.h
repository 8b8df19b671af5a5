#pragma once
// The store's one read path over a whole tree and its free chains: a walk
// that reads unit by unit through a TStoreSource and tells a visitor what it
// meets. The record walk and the store check are both built on it; the
// visitor decides what a fault is (a thrown error, a problem in a list).
//
// Memory follows the tree's height and one bit per unit of the page file
// (the visited marks), never the length of the files.
#include "store/store_format.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace telvara {

// Where a walk reads the two files from. Reads raise IoError on failure.
class TStoreSource {
public:
    virtual ~TStoreSource() = default;
    virtual std::int64_t pageFileBytes() = 0;
    virtual std::int64_t recordFileBytes() = 0;
    virtual void readPage(std::int32_t n, TTreePage& page) = 0;
    virtual void readRecord(std::int32_t s, TRelayRecord& record) = 0;
};

class TTreeVisitor {
public:
    virtual ~TTreeVisitor() = default;
    // Page n was reached a second time (a loop, or subtrees shared); it is not entered again.
    virtual void revisited(std::int32_t n) = 0;
    // Page n at `level` (the root at 1) was read; false skips its keys and children.
    virtual bool page(std::int32_t n, int level, const TTreePage& page) = 0;
    // Key i of page n, in the order of the tree (on an internal page before child i's subtree).
    virtual void key(std::int32_t, int, std::string_view) {}
    // Child i of internal page n; false leaves that subtree out.
    virtual bool child(std::int32_t, int, int, std::int32_t) { return true; }
    // Child i of leaf n, the slot s of the record filed under `key`: key i,
    // or for i == 0 the separator leading into the leaf (none for the
    // leftmost leaf). True reads the record and passes it to record().
    virtual bool slot(std::int32_t n, int i, std::int32_t s,
                      std::optional<std::string_view> key) = 0;
    virtual void record(std::int32_t s, const TRelayRecord& record) = 0;
};

// Walks the subtree of `root` (a page number the caller has found in range)
// in key order down to `height` levels. visited[n] marks the pages entered;
// it holds a bit for every page number the visitor lets the walk reach.
void walkTree(TStoreSource& source, std::int32_t root, int height, std::vector<bool>& visited,
              TTreeVisitor& visitor);

// How a free chain ended: at -1 (None), at a number outside the units that
// may be looked at (OutOfRange), or at a unit already marked (Repeated: a
// loop, or a unit that is also in use).
enum class TChainFault { None, OutOfRange, Repeated };
struct TChainEnd {
    TChainFault Fault = TChainFault::None;
    std::int32_t At = kNone; // the number the chain ended at
    std::int64_t Length = 0; // units of the chain marked before it ended
};

// Follows a free chain from `head`, marking each unit in `marked` (its size
// is the number of units; pages start at 1, records at 0).
TChainEnd walkFreePages(TStoreSource& source, std::int32_t head, std::vector<bool>& marked);
TChainEnd walkFreeRecords(TStoreSource& source, std::int32_t head, std::vector<bool>& marked);

} // namespace telvara
