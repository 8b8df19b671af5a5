// Deletion: the leaf step, borrowing and merging, lowering the tree, the empty store.
#include "store_test_util.h"

#include <gtest/gtest.h>

namespace telvara::test {
namespace {

std::vector<std::string> keys(int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i)
        out.push_back(exampleKey(i));
    return out;
}

// Root page 3 with key 12; page 1 keys 1..11; page 2 keys 13..23.
void buildSplitExample(TBPlusTree& store, const TempDir& dir) {
    store.OpenStore(dir.str());
    for (int i = 1; i <= 23; ++i)
        insertRecord(store, exampleName(i), "51R", i);
    ASSERT_EQ(store.Height(), 2);
}

TEST(StoreDelete, DeletingTheSeparatorMergesLeavesAndLowersTheTree) {
    TempDir dir;
    TBPlusTree store;
    buildSplitExample(store, dir);
    deleteRecord(store, exampleName(12), "51R");
    EXPECT_EQ(store.CurrentRecNo(), -1);
    EXPECT_EQ(fieldsOf(store.CurrentRecord()), fieldsFor(exampleName(12), "51R", 12));
    EXPECT_EQ(store.Height(), 1);

    const Bytes dat = readBytes(dir.dat());
    ASSERT_EQ(dat.size(), 4u * 1024);
    EXPECT_EQ(unitOf(dat, 0), headerImage(1, 22, 1, 4, 23, 3, 11, 1));
    std::vector<std::string> merged = keys(1, 11);
    for (int i = 13; i <= 23; ++i)
        merged.push_back(exampleKey(i));
    EXPECT_EQ(unitOf(dat, 1), pageImage(merged, {-1, 0,  1,  2,  3,  4,  5,  6,  7,  8,  9, 10,
                                                 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));
    // The free page chain is 3, 2; the freed slot is key 12's.
    EXPECT_EQ(unitOf(dat, 3), freedPageImage(2));
    EXPECT_EQ(unitOf(dat, 2), freedPageImage(-1));
    const Bytes idx = readBytes(dir.idx());
    ASSERT_EQ(idx.size(), 23u * 124);
    EXPECT_EQ(slotOf(idx, 11), freedSlotImage(-1));
    EXPECT_EQ(slotOf(idx, 12), recordImage(fieldsFor(exampleName(13), "51R", 13)));

    EXPECT_FALSE(store.FindKey(exampleKey(12)));
    for (int i = 1; i <= 23; ++i) {
        if (i == 12)
            continue;
        EXPECT_TRUE(store.FindKey(exampleKey(i))) << i;
    }
    EXPECT_EQ(problems(dir.str()), "");

    // Freed units come back last freed first: slot 11, then page 3 for the
    // split's new leaf and page 2 for the new root.
    insertRecord(store, "K12", "51R", 5);
    EXPECT_EQ(store.CurrentRecNo(), 11);
    EXPECT_EQ(store.header().FreePageHead, -1);
    EXPECT_EQ(store.header().RootPage, 2);
    EXPECT_EQ(decodePage(readBytes(dir.dat()), 3).Keys, keys(13, 23));
    EXPECT_EQ(decodePage(readBytes(dir.dat()), 2).Keys, std::vector<std::string>{exampleKey(12)});
    EXPECT_EQ(problems(dir.str()), "");
}

TEST(StoreDelete, EmptiedStoreStartsAgainFromPageOneAndSlotZero) {
    {
        TempDir dir;
        TBPlusTree store;
        store.OpenStore(dir.str());
        insertRecord(store, "A", "51R");
        deleteRecord(store, "A", "51R");
        EXPECT_EQ(store.Height(), 0);
        const Bytes dat = readBytes(dir.dat());
        ASSERT_EQ(dat.size(), 2048u);
        EXPECT_EQ(unitOf(dat, 0), headerImage(0, 0, -1, 1, 0, -1, -1, 0));
        EXPECT_EQ(readBytes(dir.idx()).size(), 124u);
        insertRecord(store, "B", "1");
        EXPECT_EQ(store.CurrentRecNo(), 0);
        EXPECT_EQ(unitOf(readBytes(dir.dat()), 0), headerImage(1, 1, 1, 2, 1, -1, -1, 1));
        EXPECT_EQ(unitOf(readBytes(dir.dat()), 1), pageImage({"B,1"}, {-1, 0}));
    }
    TempDir dir;
    TBPlusTree store;
    buildSplitExample(store, dir);
    for (int i = 23; i >= 1; --i)
        deleteRecord(store, exampleName(i), "51R");
    EXPECT_EQ(store.Height(), 0);
    Bytes dat = readBytes(dir.dat());
    EXPECT_EQ(dat.size(), 4u * 1024);
    EXPECT_EQ(unitOf(dat, 0), headerImage(0, 0, -1, 1, 0, -1, -1, 0));
    EXPECT_EQ(readBytes(dir.idx()).size(), 23u * 124);
    EXPECT_EQ(problems(dir.str()), "");

    for (int i = 1; i <= 23; ++i)
        insertRecord(store, exampleName(i), "51R", i);
    dat = readBytes(dir.dat());
    EXPECT_EQ(dat.size(), 4u * 1024);
    EXPECT_EQ(unitOf(dat, 0), headerImage(3, 23, 3, 4, 23, -1, -1, 2));
    EXPECT_EQ(unitOf(dat, 3), pageImage({exampleKey(12)}, {1, 2}));
    EXPECT_EQ(problems(dir.str()), "");
}

TEST(StoreDelete, RightSiblingWithTwelveKeysLendsExactlyOne) {
    TempDir dir;
    TBPlusTree store;
    buildSplitExample(store, dir);
    insertRecord(store, exampleName(24), "51R", 24); // page 2: keys 13..24, slot 23
    deleteRecord(store, exampleName(5), "51R");

    const Bytes dat = readBytes(dir.dat());
    EXPECT_EQ(unitOf(dat, 0), headerImage(3, 23, 3, 4, 24, -1, 4, 2));
    EXPECT_EQ(unitOf(dat, 3), pageImage({exampleKey(13)}, {1, 2}));
    std::vector<std::string> left = keys(1, 4);
    for (int i = 6; i <= 12; ++i)
        left.push_back(exampleKey(i));
    EXPECT_EQ(unitOf(dat, 1), pageImage(left, {-1, 0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(unitOf(dat, 2),
              pageImage(keys(14, 24), {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}));
    EXPECT_EQ(problems(dir.str()), "");
}

TEST(StoreDelete, LastChildBorrowsFromItsLeftSibling) {
    TempDir dir;
    TBPlusTree store;
    buildSplitExample(store, dir);
    insertRecord(store, "K11a", "1", 0); // page 1: 12 keys, slot 23
    deleteRecord(store, exampleName(20), "51R");

    const Bytes dat = readBytes(dir.dat());
    EXPECT_EQ(decodePage(dat, 3).Keys, std::vector<std::string>{"K11a,1"});
    EXPECT_EQ(decodePage(dat, 1).Keys, keys(1, 11));
    const DecodedPage right = decodePage(dat, 2);
    std::vector<std::string> expected = keys(12, 19);
    for (int i = 21; i <= 23; ++i)
        expected.push_back(exampleKey(i));
    EXPECT_EQ(right.Keys, expected);
    // The new separator's slot sits in Children[0]; key 12 keeps its own.
    EXPECT_EQ(right.Children,
              (std::vector<std::int32_t>{23, 11, 12, 13, 14, 15, 16, 17, 18, 20, 21, 22}));
    EXPECT_EQ(problems(dir.str()), "");
    EXPECT_TRUE(store.FindKey("K11a,1"));
    EXPECT_TRUE(store.FindKey(exampleKey(12)));
}

TEST(StoreDelete, DeletionFromAFullEnoughLeafChangesOnlyThatLeaf) {
    TempDir dir;
    TBPlusTree store;
    buildSplitExample(store, dir);
    insertRecord(store, exampleName(24), "51R", 24);
    const Bytes before = readBytes(dir.dat());
    deleteRecord(store, exampleName(20), "51R");
    const Bytes after = readBytes(dir.dat());
    EXPECT_EQ(unitOf(after, 1), unitOf(before, 1));
    EXPECT_EQ(unitOf(after, 3), unitOf(before, 3));
    EXPECT_EQ(decodePage(after, 2).KeyCount, 11);
    EXPECT_EQ(le32(unitOf(after, 0), 28), 19); // FreeRecordHead: key 20's slot
    EXPECT_EQ(problems(dir.str()), "");
}

TEST(StoreDelete, KeyThatNoRecordHasChangesNothingButTheHeaderWrite) {
    TempDir dir;
    TBPlusTree store;
    buildSplitExample(store, dir);
    const Bytes dat = readBytes(dir.dat()), idx = readBytes(dir.idx());
    const auto before = store.transfers();
    deleteRecord(store, "K12", "51"); // between K11 and K12,51R
    EXPECT_EQ(store.CurrentRecNo(), -1);
    EXPECT_EQ(store.transfers().PageWrites - before.PageWrites, 1u);
    EXPECT_EQ(store.transfers().RecordWrites, before.RecordWrites);
    EXPECT_EQ(readBytes(dir.dat()), dat);
    EXPECT_EQ(readBytes(dir.idx()), idx);

    // A slot whose record has another key: CurrentRecord is that record, nothing goes.
    deleteRecord(store, "K12", "51RX"); // reaches Children[0] of page 2 (key 12's slot)
    EXPECT_EQ(std::string(store.CurrentRecord().kaisyaName()), "K12");
    EXPECT_EQ(std::string(store.CurrentRecord().debaisuNo()), "51R");
    EXPECT_EQ(readBytes(dir.dat()), dat);
    EXPECT_EQ(readBytes(dir.idx()), idx);
}

TEST(StoreDelete, SeparatorLongerThanASlotIsReplacedOnDeletion) {
    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    auto name = [](int i) { return exampleName(i) + std::string(33, 'x'); };
    const std::string device = "51R-LONG";
    for (int i = 1; i <= 23; ++i)
        insertRecord(store, name(i), device, i);
    ASSERT_EQ(store.Height(), 2);
    deleteRecord(store, name(12), device);
    EXPECT_FALSE(store.FindKey(recordKey(name(12), device)));
    for (int i = 1; i <= 23; ++i) {
        if (i == 12)
            continue;
        EXPECT_TRUE(store.FindKey(recordKey(name(i), device))) << i;
    }
    EXPECT_EQ(store.Height(), 1);
    EXPECT_EQ(problems(dir.str()), "");
}

} // namespace
} // namespace telvara::test

namespace telvara::test {
namespace {

TEST(StoreDelete, RemovalFromAnEmptyStoreEndsItsOperation) {
    TempDir dir;
    {
        TBPlusTree store;
        store.OpenStore(dir.str());
        deleteRecord(store, "A", "1");
        insertRecord(store, "B", "1"); // its own operation, committed at once
    }
    TBPlusTree again;
    again.OpenStore(dir.str());
    EXPECT_TRUE(again.FindKey("B,1"));
}

} // namespace
} // namespace telvara::test
