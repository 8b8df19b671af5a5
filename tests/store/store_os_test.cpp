// The store over the OS layer, alike on POSIX and Windows: a lock held by
// another opening is waited for, and a store in a Japanese folder works.
#include "store_test_util.h"

#include "base/errors.h"
#include "base/os/paths.h"
#include "store/store_lock.h"
#include "store/unit_file.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace fs = std::filesystem;

namespace telvara::test {
namespace {

TEST(StoreOs, ALockHeldElsewhereIsWaitedFor) {
    TempDir dir;
    { TBPlusTree().OpenStore(dir.str()); }
    TUnitFile a(kPageSize), b(kPageSize);
    a.openExisting(dir.dat());
    b.openExisting(dir.dat());
    TStoreLock held, waiting;
    held.acquire(a.fd(), TLockMode::Exclusive, 0, dir.str());
    EXPECT_EQ(ioErrorOf([&] { waiting.acquire(b.fd(), TLockMode::Shared, 300, "D"); }),
              "ほかのプログラムがストア D を使っています（1 秒待ちました）。"
              "しばらくしてからやり直してください");
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        held.release(a.fd());
    });
    waiting.acquire(b.fd(), TLockMode::Exclusive, 20000, dir.str());
    const auto waited = clock::now() - start;
    releaser.join();
    EXPECT_EQ(waiting.mode(), TLockMode::Exclusive);
    EXPECT_GE(waited, std::chrono::milliseconds(350));
    EXPECT_LT(waited, std::chrono::milliseconds(15000));
    waiting.release(b.fd());
}

TEST(StoreOs, AStoreInAJapaneseFolderKeepsItsBytes) {
    TempDir base;
    const std::string folder = os::utf8Of(base.path()) + "/保護協調 データ";
    fs::create_directory(os::pathOf(folder));
    {
        TBPlusTree store;
        store.OpenStore(folder);
        insertRecord(store, "A", "1");
        EXPECT_TRUE(store.FindKey("A,1"));
    }
    TBPlusTree store;
    store.OpenStore(folder, TOpenMode::ReadOnly);
    EXPECT_TRUE(store.FindKey("A,1"));
    EXPECT_EQ(store.header().RecordsInUse, 1);
    EXPECT_TRUE(fs::is_regular_file(os::pathOf(folder + "/ZuboK.jnl")));
}

} // namespace
} // namespace telvara::test
