// The in-order record walk: every record once, in key order, with its slot;
// a damaged tree ends the walk with a clear error instead of a loop.
#include "store_test_util.h"

#include "base/errors.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace telvara::test {
namespace {

TEST(StoreWalk, VisitsEveryRecordInKeyOrderWithItsSlot) {
    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    std::vector<std::string> keys;
    // Three levels, separators whose records sit in a leaf's first child,
    // and freed slots and pages from the removals.
    for (int i = 0; i < 600; ++i) {
        const int n = (i * 37) % 600;
        insertRecord(store, exampleName(n), "51R");
    }
    for (int n = 0; n < 600; ++n)
        if (n % 7 == 0)
            deleteRecord(store, exampleName(n), "51R");
        else
            keys.push_back(recordKey(exampleName(n), "51R"));
    std::sort(keys.begin(), keys.end(),
              [](const std::string& a, const std::string& b) { return compareKeys(a, b) < 0; });
    ASSERT_EQ(3, store.Height());

    std::vector<std::string> walked;
    std::vector<std::int32_t> slots;
    store.ForEachRecord([&](std::int32_t slot, const TRelayRecord& r) {
        walked.push_back(r.key());
        slots.push_back(slot);
    });
    EXPECT_EQ(keys, walked);
    for (std::size_t i = 0; i < walked.size(); i += 50) {
        ASSERT_TRUE(store.FindKey(walked[i]));
        EXPECT_EQ(store.CurrentRecNo(), slots[i]) << walked[i];
    }
}

TEST(StoreWalk, PageReachedTwiceIsReportedAsDamage) {
    TempDir dir;
    // A root whose three children all lead to the same leaf: without a guard
    // the walk reads that leaf three times (and 23^depth times in a deep tree).
    std::vector<std::string> leafKeys;
    std::vector<std::int32_t> leafChildren = {-1};
    Bytes idx;
    for (int i = 1; i <= 11; ++i) {
        leafKeys.push_back(exampleKey(i));
        leafChildren.push_back(i - 1);
        const Bytes slot = recordImage(fieldsFor(exampleName(i), "51R"));
        idx.insert(idx.end(), slot.begin(), slot.end());
    }
    Bytes dat = headerImage(2, 11, 1, 3, 11, -1, -1, 2);
    const Bytes root = pageImage({exampleKey(20), exampleKey(21)}, {2, 2, 2});
    const Bytes leaf = pageImage(leafKeys, leafChildren);
    dat.insert(dat.end(), root.begin(), root.end());
    dat.insert(dat.end(), leaf.begin(), leaf.end());
    writeBytes(dir.dat(), dat);
    writeBytes(dir.idx(), idx);

    int visited = 0;
    std::string message;
    try {
        TBPlusTree store;
        store.OpenStore(dir.str());
        store.ForEachRecord([&](std::int32_t, const TRelayRecord&) { ++visited; });
    } catch (const IoError& e) {
        message = e.what();
    }
    EXPECT_EQ(0u, message.find("ファイル " + dir.dat() + " が壊れています（")) << message;
    EXPECT_LE(visited, 11);
}

} // namespace
} // namespace telvara::test
