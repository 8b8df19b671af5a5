// Lookup, insertion with page splits, the key listing and the level cache.
#include "store_test_util.h"

#include "store/find_relay.h"

#include <gtest/gtest.h>

namespace telvara::test {
namespace {

// 23 records inserted in ascending key order: key i in slot i - 1.
void fillAscending(TBPlusTree& store, int count) {
    for (int i = 1; i <= count; ++i)
        insertRecord(store, exampleName(i), "51R", i);
}

std::vector<std::string> keys(int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i)
        out.push_back(exampleKey(i));
    return out;
}

TEST(StoreTree, TwentyThirdAscendingInsertionSplitsTheLeaf) {
    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    fillAscending(store, 22);
    EXPECT_EQ(store.Height(), 1);
    insertRecord(store, exampleName(23), "51R", 23);
    EXPECT_EQ(store.CurrentRecNo(), 22);
    EXPECT_EQ(store.Height(), 2);

    const Bytes dat = readBytes(dir.dat());
    ASSERT_EQ(dat.size(), 4u * 1024);
    EXPECT_EQ(unitOf(dat, 0), headerImage(3, 23, 3, 4, 23, -1, -1, 2));
    EXPECT_EQ(unitOf(dat, 1), pageImage(keys(1, 11), {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(unitOf(dat, 2),
              pageImage(keys(13, 23), {11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));
    EXPECT_EQ(unitOf(dat, 3), pageImage({exampleKey(12)}, {1, 2}));
    const Bytes idx = readBytes(dir.idx());
    ASSERT_EQ(idx.size(), 23u * 124);
    for (int i = 1; i <= 23; ++i)
        EXPECT_EQ(slotOf(idx, i - 1), recordImage(fieldsFor(exampleName(i), "51R", i))) << i;

    // Key 12 is found through Children[0] of page 2; a key between 12 and 13 is not.
    ASSERT_TRUE(store.FindKey(exampleKey(12)));
    EXPECT_EQ(store.CurrentRecNo(), 11);
    EXPECT_EQ(fieldsOf(store.CurrentRecord()), fieldsFor(exampleName(12), "51R", 12));
    EXPECT_FALSE(store.FindKey("K12,51RX"));
    EXPECT_EQ(store.CurrentRecNo(), -1);
    EXPECT_EQ(fieldsOf(store.CurrentRecord()), fieldsFor(exampleName(12), "51R", 12));
    for (int i = 1; i <= 23; ++i) {
        ASSERT_TRUE(store.FindKey(exampleKey(i))) << i;
        EXPECT_EQ(store.CurrentRecNo(), i - 1);
    }
    EXPECT_EQ(problems(dir.str()), "");
}

TEST(StoreTree, SplitPlacesTheNewKeyOnEitherSideOfTheMedian) {
    // New key at p < 12, p = 12 and p > 12 of a full leaf.
    for (int newKey : {3, 12, 20}) {
        TempDir dir;
        TBPlusTree store;
        store.OpenStore(dir.str());
        for (int i = 1; i <= 23; ++i)
            if (i != newKey)
                insertRecord(store, exampleName(i), "51R", i);
        ASSERT_EQ(store.Height(), 1);
        insertRecord(store, exampleName(newKey), "51R", newKey);
        const Bytes dat = readBytes(dir.dat());
        const DecodedPage left = decodePage(dat, 1), right = decodePage(dat, 2),
                          root = decodePage(dat, 3);
        EXPECT_EQ(left.Keys, keys(1, 11)) << newKey;
        EXPECT_EQ(right.Keys, keys(13, 23)) << newKey;
        EXPECT_EQ(root.Keys, std::vector<std::string>{exampleKey(12)}) << newKey;
        EXPECT_EQ(root.Children, (std::vector<std::int32_t>{1, 2}));
        // The median's slot moved into Children[0] of the right leaf.
        const int medianSlot = newKey == 12 ? 22 : newKey < 12 ? 10 : 11;
        EXPECT_EQ(right.Children[0], medianSlot) << newKey;
        EXPECT_EQ(problems(dir.str()), "") << newKey;
        for (int i = 1; i <= 23; ++i)
            EXPECT_TRUE(store.FindKey(exampleKey(i))) << newKey << " " << i;
    }
}

TEST(StoreTree, EqualKeysAreStoredSideBySideAndTheNewestIsFound) {
    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    insertRecord(store, "A", "51R", 1);
    insertRecord(store, "B", "51R", 1);
    insertRecord(store, "A", "51R", 2);
    EXPECT_EQ(store.ListKeys(), "A,51R\r\nA,51R\r\nB,51R\r\n");
    ASSERT_TRUE(store.FindKey("A,51R"));
    EXPECT_EQ(store.CurrentRecNo(), 2);
    // Deleting removes the one a lookup finds; the older one is then found.
    deleteRecord(store, "A", "51R");
    ASSERT_TRUE(store.FindKey("A,51R"));
    EXPECT_EQ(store.CurrentRecNo(), 0);
    EXPECT_EQ(problems(dir.str()), "");
}

TEST(StoreTree, ListingIndentsByLevelAndStopsAfter500Lines) {
    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    fillAscending(store, 23);
    std::string expected;
    for (int i = 1; i <= 23; ++i)
        expected += (i == 12 ? "" : "    ") + exampleKey(i) + "\r\n";
    EXPECT_EQ(store.ListKeys(), expected);
    const Bytes dat = readBytes(dir.dat());
    auto before = store.transfers();
    store.ListKeys();
    EXPECT_EQ(store.transfers().PageWrites, before.PageWrites);
    EXPECT_EQ(store.transfers().PageReads, before.PageReads); // kept since they were read
    EXPECT_EQ(readBytes(dir.dat()), dat);
    {
        TBPlusTree other; // another program's change
        other.OpenStore(dir.str());
        insertRecord(other, exampleName(24), "51R");
    }
    before = store.transfers();
    expected += "    " + exampleKey(24) + "\r\n";
    EXPECT_EQ(store.ListKeys(), expected);
    // Afresh: the header, the root and both leaves.
    EXPECT_EQ(store.transfers().PageReads - before.PageReads, 4u);

    for (int i = 0; i < 600; ++i)
        insertRecord(store, "L" + std::to_string(1000 + i), "1");
    const std::string list = store.ListKeys();
    ASSERT_GE(list.size(), 8u);
    EXPECT_EQ(list.substr(list.size() - 8), "\r\n[etc.]");
    std::size_t lines = 0;
    for (std::size_t p = 0; (p = list.find("\r\n", p)) != std::string::npos; p += 2)
        ++lines;
    EXPECT_EQ(lines, 502u); // 501 key lines, then the empty line before "[etc.]"
    EXPECT_EQ(list.find("[etc.]"), list.size() - 6);
}

TEST(StoreTree, LookupReadsOnePageBelowTheRootPerLevelAndOneRecord) {
    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    for (int i = 0; i < 400; ++i)
        insertRecord(store, "N" + std::to_string(10000 + (i * 7919) % 400), "51");
    ASSERT_EQ(store.Height(), 3);
    // A new opening has read the root and the leftmost path; the last key lies off it.
    TBPlusTree reader;
    reader.OpenStore(dir.str());
    auto before = reader.transfers();
    ASSERT_TRUE(reader.FindKey("N10399,51"));
    auto after = reader.transfers();
    EXPECT_EQ(after.PageReads - before.PageReads, 2u);
    EXPECT_EQ(after.RecordReads - before.RecordReads, 1u);
    EXPECT_EQ(after.PageWrites + after.RecordWrites, before.PageWrites + before.RecordWrites);
    // Read again while nobody changed the store: nothing is read but the journal's header.
    before = reader.transfers();
    ASSERT_TRUE(reader.FindKey("N10399,51"));
    EXPECT_EQ(reader.transfers().total(), before.total());
    // Another program's change: read afresh, the header and the root first.
    insertRecord(store, "N10001", "51A");
    before = reader.transfers();
    ASSERT_TRUE(reader.FindKey("N10399,51"));
    after = reader.transfers();
    EXPECT_EQ(after.PageReads - before.PageReads, 4u);
    EXPECT_EQ(after.RecordReads - before.RecordReads, 1u);

    // An insertion along the path just walked reads no page again: it writes
    // the leaf, the record and the header.
    before = store.transfers();
    ASSERT_TRUE(store.FindKey("N10123,51"));
    before = store.transfers();
    insertRecord(store, "N10123", "51A");
    after = store.transfers();
    EXPECT_EQ(after.PageReads - before.PageReads, 0u);
    EXPECT_EQ(after.RecordWrites - before.RecordWrites, 1u);
    EXPECT_EQ(after.PageWrites - before.PageWrites, 2u);
    EXPECT_EQ(problems(dir.str()), "");
}

TEST(StoreTree, FreedSlotsAndPagesAreReusedLastFreedFirst) {
    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    for (int i = 1; i <= 5; ++i)
        insertRecord(store, exampleName(i), "51R");
    deleteRecord(store, exampleName(2), "51R");
    deleteRecord(store, exampleName(4), "51R");
    EXPECT_EQ(store.header().FreeRecordHead, 3);
    EXPECT_EQ(slotOf(readBytes(dir.idx()), 3), freedSlotImage(1));
    EXPECT_EQ(slotOf(readBytes(dir.idx()), 1), freedSlotImage(-1));
    insertRecord(store, "X", "1");
    EXPECT_EQ(store.CurrentRecNo(), 3);
    insertRecord(store, "Y", "1");
    EXPECT_EQ(store.CurrentRecNo(), 1);
    insertRecord(store, "Z", "1");
    EXPECT_EQ(store.CurrentRecNo(), 5);
    EXPECT_EQ(problems(dir.str()), "");
}

TEST(StoreTree, KeyLongerThanASlotIsFoundByItsFullKeyAndReplaced) {
    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    const std::string name(38, 'N'); // stored as 36 bytes
    const std::string device = "51R-LONG-DEVICE";
    for (int i = 0; i < 30; ++i)
        insertRecord(store, "P" + std::to_string(10 + i), "1");
    insertRecord(store, name, device, 1);

    // Found again by the key formed the way the record holds it, and by that
    // key cut to the slot capacity (as a listing line gives it back).
    const std::string key = recordKey(name, device);
    EXPECT_EQ(key.size(), 36u + 1 + 15);
    ASSERT_TRUE(store.FindKey(key));
    EXPECT_EQ(std::string(store.CurrentRecord().debaisuNo()), device);
    ASSERT_TRUE(store.FindKey(key.substr(0, 41)));

    // Replacing it (find, delete, insert) leaves one record, not two.
    ASSERT_TRUE(store.FindKey(key));
    store.DeleteCurrent();
    EXPECT_FALSE(store.FindKey(key));
    insertRecord(store, name, device, 2);
    ASSERT_TRUE(store.FindKey(key));
    EXPECT_EQ(fieldsOf(store.CurrentRecord())[3], "1.2");
    EXPECT_EQ(store.header().RecordsInUse, 31);
    EXPECT_EQ(problems(dir.str()), "");
}

// Another window looking a relay up leaves the record the user loaded (which
// "ﾚｺｰﾄﾞ削除" would remove) current.
TEST(StoreTree, RelayRecordLeavesTheCurrentRecordAsItWas) {
    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    fillAscending(store, 30);
    ASSERT_TRUE(store.FindKey(exampleKey(3)));
    const std::int32_t recNo = store.CurrentRecNo();
    const std::optional<TRelayRecord> other = relayRecord(store, exampleName(20), "51R");
    ASSERT_TRUE(other);
    EXPECT_EQ(exampleName(20), other->kaisyaName());
    EXPECT_FALSE(relayRecord(store, exampleName(20), "51G"));
    EXPECT_EQ(recNo, store.CurrentRecNo());
    EXPECT_EQ(exampleName(3), store.CurrentRecord().kaisyaName());
}

} // namespace
} // namespace telvara::test
