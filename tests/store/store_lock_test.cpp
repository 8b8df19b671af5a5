// Two users of one store folder: each sees the other's records, a writer
// waits for the other and then gives up with a clear message, and two
// processes writing at once keep every record both reported done.
#include "store_test_util.h"

#include "base/errors.h"

#include <gtest/gtest.h>
#include <set>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace telvara::test {
namespace {

TEST(StoreLock, TwoStoresOnOneFolderSeeAndKeepEachOthersRecords) {
    TempDir dir;
    TBPlusTree a, b;
    a.OpenStore(dir.str());
    b.OpenStore(dir.str());
    insertRecord(a, "A", "1");
    EXPECT_TRUE(b.FindKey("A,1"));
    insertRecord(b, "B", "1"); // once wrote B's stale empty header over A's record
    for (int i = 0; i < 30; ++i)
        insertRecord(i % 2 ? a : b, "C" + std::to_string(10 + i), "1");
    b.Refresh();
    EXPECT_EQ(b.Height(), 2);
    const std::string list = a.ListKeys();
    for (const char* k : {"A,1", "B,1", "C10,1", "C39,1"})
        EXPECT_NE(list.find(k), std::string::npos) << k;
    deleteRecord(a, "B", "1");
    EXPECT_FALSE(b.FindKey("B,1"));
    EXPECT_EQ(problems(dir.str()), "");
}

TEST(StoreLock, AWriterAloneMakesOthersWaitThenGiveUpWithAMessage) {
    TempDir dir;
    TBPlusTree writer, other;
    writer.OpenStore(dir.str());
    insertRecord(writer, "A", "1");
    other.OpenStore(dir.str());
    other.setLockWaitMs(60);
    const Bytes dat = readBytes(dir.dat()), idx = readBytes(dir.idx());

    writer.BeginTransaction();
    insertRecord(writer, "B", "1");
    const std::string busy =
        "ほかのプログラムがストア " + dir.str() +
        "/ を使っています（1 秒待ちました）。しばらくしてからやり直してください";
    EXPECT_EQ(ioErrorOf([&] { other.FindKey("A,1"); }), busy);
    EXPECT_EQ(ioErrorOf([&] { insertRecord(other, "C", "1"); }), busy);
    EXPECT_EQ(
        ioErrorOf([&] { TBPlusTree().OpenStore(dir.str(), TOpenMode::ReadOnly); }).substr(0, 10),
        busy.substr(0, 10));
    writer.Rollback();
    EXPECT_EQ(readBytes(dir.dat()), dat);
    EXPECT_EQ(readBytes(dir.idx()), idx);

    // Readers share: a read-only store and a lookup go on side by side.
    TBPlusTree reader;
    reader.OpenStore(dir.str(), TOpenMode::ReadOnly);
    EXPECT_TRUE(reader.FindKey("A,1"));
    EXPECT_FALSE(other.FindKey("B,1"));
    EXPECT_EQ(ioErrorOf([&] { insertRecord(reader, "C", "1"); }),
              "ストア " + dir.str() + "/ は読み取り専用で開かれているので変更できません");
    insertRecord(other, "C", "1");
    EXPECT_TRUE(reader.FindKey("C,1"));

    // Without a journal (a copy of the two files) a reader writes nothing at all.
    // (Every store is closed first: Windows keeps a removed file's name
    // while a program still has it open.)
    writer.CloseStore();
    other.CloseStore();
    reader.CloseStore();
    std::filesystem::remove(dir.file("ZuboK.jnl"));
    const Bytes datNow = readBytes(dir.dat());
    reader.OpenStore(dir.str(), TOpenMode::ReadOnly);
    EXPECT_TRUE(reader.FindKey("C,1"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("ZuboK.jnl")));
    EXPECT_EQ(readBytes(dir.dat()), datNow);
    // Nor with a journal cut short while it was made.
    reader.CloseStore();
    writeBytes(dir.file("ZuboK.jnl"), {});
    reader.OpenStore(dir.str(), TOpenMode::ReadOnly);
    EXPECT_TRUE(reader.FindKey("C,1"));
    EXPECT_EQ(readBytes(dir.file("ZuboK.jnl")), Bytes{});
}

#ifndef _WIN32
// (On Windows scripts/test-windows.sh makes two processes wait for each other.)
TEST(StoreLock, TwoProcessesWritingAtOnceKeepEveryRecordTheyReported) {
    TempDir dir;
    {
        TBPlusTree s;
        s.OpenStore(dir.str());
        TStoreTransaction t(s);
        for (int i = 0; i < 150; ++i)
            insertRecord(s, "P" + std::to_string(1000 + i), "1");
        t.commit();
    }
    // One process removes the even ones, the other adds its own, both at once.
    auto run = [&](bool remover) {
        const pid_t pid = ::fork();
        if (pid != 0)
            return pid;
        int failures = 0;
        TBPlusTree s;
        s.setLockWaitMs(60000);
        try {
            s.OpenStore(dir.str());
            for (int i = 0; i < 150; ++i) {
                if (remover && i % 2 == 0)
                    deleteRecord(s, "P" + std::to_string(1000 + i), "1");
                else if (!remover)
                    insertRecord(s, "Q" + std::to_string(1000 + i), "1");
            }
        } catch (...) {
            ++failures;
        }
        ::_exit(failures);
    };
    const pid_t p1 = run(true), p2 = run(false);
    for (pid_t p : {p1, p2}) {
        int status = 0;
        ::waitpid(p, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(problems(dir.str()), "");
    TBPlusTree s;
    s.OpenStore(dir.str());
    for (int i = 0; i < 150; ++i) {
        EXPECT_EQ(s.FindKey("P" + std::to_string(1000 + i) + ",1"), i % 2 == 1) << i;
        EXPECT_TRUE(s.FindKey("Q" + std::to_string(1000 + i) + ",1")) << i;
    }
    EXPECT_EQ(s.header().RecordsInUse, 75 + 150);
}
#endif

} // namespace
} // namespace telvara::test
