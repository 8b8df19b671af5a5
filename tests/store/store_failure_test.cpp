// Bad folders, damaged files and failed transfers: a clear error naming the
// file, files left as they were, and a store that stays usable.
#include "store_test_util.h"

#include "base/errors.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace fs = std::filesystem;

namespace telvara::test {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void copyStore(const TempDir& from, const TempDir& to) {
    fs::copy_file(from.dat(), to.dat(), fs::copy_options::overwrite_existing);
    fs::copy_file(from.idx(), to.idx(), fs::copy_options::overwrite_existing);
}

// 23 records in ascending order: root page 3 (key 12), leaves 1 and 2.
void buildExample(const TempDir& dir, int count = 23) {
    TBPlusTree store;
    store.OpenStore(dir.str());
    for (int i = 1; i <= count; ++i)
        insertRecord(store, exampleName(i), "51R", i);
}

TEST(StoreFailure, MissingOrUnwritableFolderIsRefused) {
    TempDir dir;
    TBPlusTree store;
    const std::string missing = dir.file("missing");
    EXPECT_EQ(ioErrorOf([&] { store.OpenStore(missing); }),
              "フォルダ " + missing + " がありません");
    EXPECT_FALSE(fs::exists(missing));

    writeBytes(dir.file("plain"), {1, 2, 3});
    EXPECT_EQ(ioErrorOf([&] { store.OpenStore(dir.file("plain")); }),
              "フォルダ " + dir.file("plain") + " がありません");
    EXPECT_EQ(readBytes(dir.file("plain")), (Bytes{1, 2, 3}));

    // Nobody, not even the superuser, can create files in /proc.
    const std::string msg = ioErrorOf([&] { store.OpenStore("/proc"); });
    EXPECT_TRUE(contains(msg, "ファイル /proc/ZuboK.")) << msg;
    EXPECT_TRUE(contains(msg, "を作成できません")) << msg;
    EXPECT_FALSE(fs::exists("/proc/ZuboK.dat"));
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(ioErrorOf([&] { store.FindKey("A,1"); }), "ファイル ZuboK.dat は開かれていません");
}

TEST(StoreFailure, UnopenableOrMissingFileIsReportedAndNothingIsChanged) {
    TempDir dir;
    buildExample(dir, 3);
    const Bytes dat = readBytes(dir.dat()), idx = readBytes(dir.idx());
    TBPlusTree store;

    // A page file found without its record file.
    fs::rename(dir.idx(), dir.file("saved.idx"));
    EXPECT_EQ(ioErrorOf([&] { store.OpenStore(dir.str()); }),
              "ファイル " + dir.idx() + " がありません（ファイル " + dir.dat() +
                  " だけでは開けません）");
    EXPECT_FALSE(fs::exists(dir.idx()));
    EXPECT_EQ(readBytes(dir.dat()), dat);

    // A record file that cannot be opened.
    fs::create_directory(dir.idx());
    EXPECT_EQ(ioErrorOf([&] { store.OpenStore(dir.str()); }),
              "ファイル " + dir.idx() + " を開けません（フォルダです）");
    EXPECT_EQ(readBytes(dir.dat()), dat);
    fs::remove(dir.idx());
    fs::rename(dir.file("saved.idx"), dir.idx());

    // A page file that cannot be opened.
    fs::rename(dir.dat(), dir.file("saved.dat"));
    fs::create_directory(dir.dat());
    EXPECT_EQ(ioErrorOf([&] { store.OpenStore(dir.str()); }),
              "ファイル " + dir.dat() + " を開けません（フォルダです）");
    EXPECT_EQ(readBytes(dir.idx()), idx);
    EXPECT_FALSE(store.isOpen());
}

TEST(StoreFailure, RecordFileFoundWithoutPageFileIsKeptAndReused) {
    TempDir dir;
    buildExample(dir, 3);
    const Bytes idx = readBytes(dir.idx());
    fs::remove(dir.dat());
    TBPlusTree store;
    store.OpenStore(dir.str());
    EXPECT_EQ(store.Height(), 0);
    EXPECT_EQ(readBytes(dir.idx()), idx);
    insertRecord(store, "New", "1");
    EXPECT_EQ(store.CurrentRecNo(), 0);
    const Bytes after = readBytes(dir.idx());
    EXPECT_EQ(slotOf(after, 0), recordImage(fieldsFor("New", "1")));
    EXPECT_EQ(slotOf(after, 1), slotOf(idx, 1));
    EXPECT_EQ(slotOf(after, 2), slotOf(idx, 2));
}

struct Damage {
    const char* what;
    std::function<void(const TempDir&)> apply;
    std::function<void(TBPlusTree&)> use; // run after a successful open
    const char* detail;                   // part of the message
};

void setPageInt(const TempDir& dir, int page, int offset, std::int32_t v) {
    Bytes dat = readBytes(dir.dat());
    putLe32(dat, std::size_t(page) * 1024 + std::size_t(offset), v);
    writeBytes(dir.dat(), dat);
}

TEST(StoreFailure, DamagedPageFileGivesAClearErrorAndIsNotWritten) {
    const auto find20 = [](TBPlusTree& s) { s.FindKey(exampleKey(20)); };
    const auto insert20 = [](TBPlusTree& s) { insertRecord(s, exampleName(20), "51S"); };
    const auto delete12 = [](TBPlusTree& s) { deleteRecord(s, exampleName(12), "51R"); };
    const std::vector<Damage> cases = {
        {"truncated", [](const TempDir& d) { fs::resize_file(d.dat(), 2 * 1024 + 500); }, nullptr,
         "がファイルの長さ 2 単位と合いません"},
        {"empty page file", [](const TempDir& d) { fs::resize_file(d.dat(), 0); }, nullptr,
         "ヘッダーが 1024 バイトに足りません"},
        {"root key count 23", [](const TempDir& d) { setPageInt(d, 3, 4, 23); }, nullptr,
         "ページ 3 のキー数 23"},
        {"leaf key count 30 met by a lookup", [](const TempDir& d) { setPageInt(d, 2, 4, 30); },
         find20, "ページ 2 のキー数 30"},
        {"leaf key count 30 met by an insertion", [](const TempDir& d) { setPageInt(d, 2, 4, 30); },
         insert20, "ページ 2 のキー数 30"},
        {"record slot beyond the end", [](const TempDir& d) { setPageInt(d, 2, 932 + 12, 5000); },
         find20, "レコード番号 5000"},
        {"child page beyond the end", [](const TempDir& d) { setPageInt(d, 3, 932 + 4, 9); },
         nullptr, "子ページ 9"},
        {"key length 60",
         [](const TempDir& d) {
             Bytes dat = readBytes(d.dat());
             dat[2 * 1024 + 8 + 42 * 3] = 60;
             writeBytes(d.dat(), dat);
         },
         find20, "の長さ 60"},
        {"height too large", [](const TempDir& d) { setPageInt(d, 0, 32, 3); }, nullptr,
         "は葉ですが階層 2 にあります"},
        {"height too small", [](const TempDir& d) { setPageInt(d, 0, 32, 1); }, nullptr,
         "高さ 1 がページと合いません"},
        {"height zero with a root", [](const TempDir& d) { setPageInt(d, 0, 32, 0); }, nullptr,
         "高さ 0 なのにルートページが 3 です"},
        {"next new page beyond the end", [](const TempDir& d) { setPageInt(d, 0, 16, 100); },
         nullptr, "未使用ページの番号 100"},
        {"free page chain loop",
         [](const TempDir& d) {
             TBPlusTree s;
             s.OpenStore(d.str());
             deleteRecord(s, exampleName(12), "51R"); // free chain 3, 2
             s.CloseStore();
             setPageInt(d, 2, 932, 3);
         },
         nullptr, "空きページの連鎖がページ 3 で循環"},
        {"free record chain loop",
         [](const TempDir& d) {
             TBPlusTree s;
             s.OpenStore(d.str());
             deleteRecord(s, exampleName(3), "51R");
             deleteRecord(s, exampleName(4), "51R"); // chain 3, 2
             s.CloseStore();
             Bytes idx = readBytes(d.idx());
             putLe32(idx, 2 * 124 + 4, 3);
             writeBytes(d.idx(), idx);
         },
         nullptr, "空きレコードの連鎖がレコード 3 で循環"},
        {"deletion meets a damaged leaf", [](const TempDir& d) { setPageInt(d, 2, 4, 0); },
         delete12, "ページ 2 のキー数 0"},
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        buildExample(dir);
        c.apply(dir);
        const Bytes dat = readBytes(dir.dat()), idx = readBytes(dir.idx());
        TBPlusTree store;
        std::string msg = ioErrorOf([&] { store.OpenStore(dir.str()); });
        if (c.use) {
            ASSERT_EQ(msg, "");
            msg = ioErrorOf([&] { c.use(store); });
        }
        EXPECT_TRUE(contains(msg, "ファイル " + dir.dat() + " が壊れています（") ||
                    contains(msg, "ファイル " + dir.idx() + " が壊れています（"))
            << msg;
        EXPECT_TRUE(contains(msg, c.detail)) << msg;
        EXPECT_EQ(readBytes(dir.dat()), dat);
        EXPECT_EQ(readBytes(dir.idx()), idx);
        EXPECT_NE(problems(dir.str()), "");
    }
}

TEST(StoreFailure, FailedWriteNamesTheFileAndLeavesThePageFileAsItWas) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    TempDir dir;
    { TBPlusTree().OpenStore(dir.str()); }
    const Bytes dat = readBytes(dir.dat());
    fs::remove(dir.idx());
    fs::create_symlink("/dev/full", dir.idx());
    TBPlusTree store;
    store.OpenStore(dir.str());
    EXPECT_EQ(ioErrorOf([&] { insertRecord(store, "A", "1"); }),
              "ファイル " + dir.idx() + " の書き込みに失敗しました（ディスクの空きがありません）");
    EXPECT_EQ(readBytes(dir.dat()), dat);
    EXPECT_FALSE(store.FindKey("A,1"));
}

TEST(StoreFailure, FailedSplitDoesNotLeaveAStaleCachedPage) {
    TempDir dir;
    buildExample(dir, 22);
    TBPlusTree store;
    store.OpenStore(dir.str());
    // Transfers of the 23rd insertion: the new leaf, the new root (fails), ...
    store.injectFaultAfter(1);
    EXPECT_EQ(ioErrorOf([&] { insertRecord(store, exampleName(23), "51R"); }),
              "ファイル " + dir.dat() + " の書き込みに失敗しました（ディスクの空きがありません）");
    // The root in memory had lost keys 12..22 before the write failed; the
    // store reads it again rather than trusting that copy.
    for (int i = 1; i <= 22; ++i)
        EXPECT_TRUE(store.FindKey(exampleKey(i))) << i;
    insertRecord(store, exampleName(23), "51R");
    for (int i = 1; i <= 23; ++i)
        EXPECT_TRUE(store.FindKey(exampleKey(i))) << i;
    store.CloseStore();
    TBPlusTree again;
    again.OpenStore(dir.str());
    for (int i = 1; i <= 23; ++i)
        EXPECT_TRUE(again.FindKey(exampleKey(i))) << i;
}

struct Repair {
    const char* what;
    int records; // ascending example keys
    std::vector<std::pair<std::string, std::string>> extra;
    int victim;
};

TEST(StoreFailure, FailureDuringARepairLeavesTheStoreBeforeOrAfterIt) {
    // 35 ascending keys: root [12, 24], leaves 1..11, 13..23, 25..35.
    const std::vector<Repair> repairs = {
        {"borrow from the right", 23, {{exampleName(24), "51R"}}, 5},
        {"merge with the right", 35, {}, 5},
        {"borrow from the left", 23, {{"K11a", "1"}}, 20},
        {"merge into the left", 35, {}, 30},
    };
    for (const Repair& r : repairs) {
        SCOPED_TRACE(r.what);
        TempDir base;
        buildExample(base, r.records);
        {
            TBPlusTree s;
            s.OpenStore(base.str());
            for (const auto& [name, device] : r.extra)
                insertRecord(s, name, device);
        }
        const Bytes datBefore = readBytes(base.dat()), idxBefore = readBytes(base.idx());
        std::uint64_t total = 0;
        Bytes datAfter, idxAfter;
        {
            TempDir dry;
            copyStore(base, dry);
            TBPlusTree s;
            s.OpenStore(dry.str());
            const auto before = s.transfers().total();
            deleteRecord(s, exampleName(r.victim), "51R");
            total = s.transfers().total() - before;
            ASSERT_EQ(s.Height(), 2);
            datAfter = readBytes(dry.dat());
            idxAfter = readBytes(dry.idx());
        }
        // A failure before the journal holds the deletion undoes it; one after
        // it is completed from the journal.
        for (std::uint64_t failing = 0; failing < total; ++failing) {
            SCOPED_TRACE(failing);
            TempDir dir;
            copyStore(base, dir);
            std::string msg;
            {
                TBPlusTree s;
                s.OpenStore(dir.str());
                s.injectFaultAfter(std::int64_t(failing));
                msg = ioErrorOf([&] { deleteRecord(s, exampleName(r.victim), "51R"); });
            }
            TBPlusTree s;
            s.OpenStore(dir.str());
            const bool gone = !s.FindKey(exampleKey(r.victim));
            EXPECT_EQ(gone, msg.empty() || contains(msg, "ジャーナル")) << msg;
            EXPECT_EQ(readBytes(dir.dat()), gone ? datAfter : datBefore);
            EXPECT_EQ(readBytes(dir.idx()), gone ? idxAfter : idxBefore);
            for (int i = 1; i <= r.records; ++i) {
                if (i == r.victim)
                    continue;
                EXPECT_TRUE(s.FindKey(exampleKey(i))) << i;
            }
            for (const auto& [name, device] : r.extra)
                EXPECT_TRUE(s.FindKey(recordKey(name, device)));
        }
    }
}

} // namespace
} // namespace telvara::test
