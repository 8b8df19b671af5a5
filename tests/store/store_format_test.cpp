// The bytes of both store files for a new store, the first record and the record fields.
#include "store_test_util.h"

#include <gtest/gtest.h>

namespace telvara::test {
namespace {

TEST(StoreFormat, NewStoreIsOneHeaderUnitAndAnEmptyRecordFile) {
    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    const Bytes dat = readBytes(dir.dat());
    ASSERT_EQ(dat.size(), 1024u);
    const Bytes first36 = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                           0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                           0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(Bytes(dat.begin(), dat.begin() + 36), first36);
    EXPECT_EQ(Bytes(dat.begin() + 36, dat.end()), Bytes(988, 0));
    EXPECT_EQ(readBytes(dir.idx()).size(), 0u);
    EXPECT_EQ(store.Height(), 0);
    EXPECT_EQ(store.CurrentRecNo(), -1);

    // Lookups and deletions on an empty store find nothing and write nothing.
    const auto before = store.transfers();
    EXPECT_FALSE(store.FindKey("A,51R"));
    EXPECT_EQ(store.CurrentRecNo(), -1);
    deleteRecord(store, "A", "51R");
    EXPECT_EQ(store.transfers().total(), before.total());
    EXPECT_EQ(readBytes(dir.dat()), dat);
}

TEST(StoreFormat, FirstRecordWritesOneLeafAndOneSlot) {
    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str() + "/");
    const Fields fields = {"A\x93\x64\x97\xcd",
                           "51R",
                           "100",
                           "1.0",
                           "0.8",
                           "0.6",
                           "0.5",
                           "0.45",
                           "0.4",
                           "0.05",
                           "4",
                           "20"};
    setFields(store.CurrentRecord(), fields);
    store.InsertCurrent();
    EXPECT_EQ(store.CurrentRecNo(), 0);
    EXPECT_EQ(store.Height(), 1);

    const Bytes dat = readBytes(dir.dat());
    ASSERT_EQ(dat.size(), 2048u);
    EXPECT_EQ(unitOf(dat, 0), headerImage(1, 1, 1, 2, 1, -1, -1, 1));
    EXPECT_EQ(unitOf(dat, 1), pageImage({"A\x93\x64\x97\xcd,51R"}, {-1, 0}));
    EXPECT_EQ(readBytes(dir.idx()), recordImage(fields));

    // Reopened (folder given without the trailing '/'), the record is found again.
    TBPlusTree again;
    again.OpenStore(dir.str());
    ASSERT_TRUE(again.FindKey("A\x93\x64\x97\xcd,51R"));
    EXPECT_EQ(again.CurrentRecNo(), 0);
    EXPECT_EQ(fieldsOf(again.CurrentRecord()), fields);
}

TEST(StoreFormat, RecordFieldsAreCutToTheirCapacitiesByBytes) {
    TRelayRecord r;
    const std::string name40 = "0123456789012345678901234567890123456789";
    setFields(r, {name40, "51R", "10000", "1.25", "0.8", "0.6", "0.5", "0.45", "0.4", "0.05", "2.5",
                  "20"});
    EXPECT_EQ(r.kaisyaName(), name40.substr(0, 36));
    EXPECT_EQ(r.field(TRecordField::CTPrimary), "1000");
    EXPECT_EQ(r.field(TRecordField::Tap), "2.");
    EXPECT_EQ(Bytes(r.Bytes.begin(), r.Bytes.end()),
              recordImage({name40, "51R", "10000", "1.25", "0.8", "0.6", "0.5", "0.45", "0.4",
                           "0.05", "2.5", "20"}));

    // The cut can fall inside a double-byte character: 35 bytes + 2-byte character.
    const std::string sjis = std::string(35, 'x') + "\x93\x64";
    r.setField(TRecordField::KaisyaName, sjis);
    EXPECT_EQ(r.kaisyaName(), std::string(35, 'x') + "\x93");
    EXPECT_EQ(r.Bytes[1], 36);

    // A shorter text clears what a longer one left behind in the field.
    r.setField(TRecordField::KaisyaName, "AB");
    EXPECT_EQ(r.Bytes[1], 2);
    EXPECT_EQ(r.Bytes[4], 0);
    EXPECT_EQ(r.key(), "AB,51R");
}

TEST(StoreFormat, KeysSortByUnsignedBytesWithPrefixFirst) {
    EXPECT_LT(compareKeys("ABC,51", "ABC,51R"), 0);
    EXPECT_LT(compareKeys("AB,9", "ABC,1"), 0);
    EXPECT_LT(compareKeys("Z", "\x93\x64"), 0); // a lead byte sorts above ASCII
    EXPECT_EQ(compareKeys("A,1", "A,1"), 0);

    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    insertRecord(store, "ABC", "51R");
    insertRecord(store, "B\x93\x64\x97\xcd", "51R");
    insertRecord(store, "ABC", "51");
    insertRecord(store, "AB", "9");
    insertRecord(store, "A\x93\x64\x97\xcd", "67");
    insertRecord(store, "A\x93\x64\x97\xcd", "51R");
    // A lead byte (0x93) sorts above every ASCII letter.
    EXPECT_EQ(store.ListKeys(), "AB,9\r\n"
                                "ABC,51\r\n"
                                "ABC,51R\r\n"
                                "A\x93\x64\x97\xcd,51R\r\n"
                                "A\x93\x64\x97\xcd,67\r\n"
                                "B\x93\x64\x97\xcd,51R\r\n");
}

TEST(StoreFormat, LongKeyIsHeldAsItsFirst41Bytes) {
    const std::string name36(36, 'N');
    const std::string device30(30, 'D');
    EXPECT_EQ(recordKey(name36 + "extra", device30 + "more"), name36 + "," + device30);

    TempDir dir;
    TBPlusTree store;
    store.OpenStore(dir.str());
    insertRecord(store, name36, device30);
    const Bytes dat = readBytes(dir.dat());
    const DecodedPage leaf = decodePage(dat, 1);
    ASSERT_EQ(leaf.KeyCount, 1);
    EXPECT_EQ(leaf.Keys[0], name36 + ",DDDD");
    EXPECT_EQ(dat[1024 + 8], 41);
    const Bytes idx = readBytes(dir.idx());
    EXPECT_EQ(idx[1], 36);
    EXPECT_EQ(idx[38], 30);
    EXPECT_EQ(std::string(idx.begin() + 39, idx.begin() + 69), device30);
}

} // namespace
} // namespace telvara::test
