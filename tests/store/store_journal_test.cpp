// The journal under power loss inside a checkpoint, damage to its bytes, and
// failures whose own repair fails: nothing stored is lost, a damaged journal
// is never applied in part, and the store files are left as they are.
#include "store_test_util.h"

#include "base/errors.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace telvara::test {
namespace {

constexpr std::size_t kHeader = 128;

std::string jnl(const TempDir& d) {
    return d.file("ZuboK.jnl");
}

void copyAll(const TempDir& from, const TempDir& to) {
    for (const char* name : {"ZuboK.dat", "ZuboK.idx", "ZuboK.jnl"})
        fs::copy_file(from.file(name), to.file(name), fs::copy_options::overwrite_existing);
}

std::string key(int i) {
    return "K" + std::to_string(100 + i);
}

// Offsets of the records: each is "TJR1", Seq, unit count, two lengths, then
// per unit its file byte, unit number and bytes, and an 8-byte checksum.
std::vector<std::size_t> recordStarts(const Bytes& j) {
    std::vector<std::size_t> at;
    std::size_t p = kHeader;
    while (p + 32 <= j.size() && std::equal(j.begin() + long(p), j.begin() + long(p) + 4, "TJR1")) {
        at.push_back(p);
        const std::uint32_t count = std::uint32_t(le32(j, p + 12));
        std::size_t len = 32;
        for (std::uint32_t i = 0; i < count; ++i)
            len += 9 + (j[p + len] == 0 ? 1024 : 124);
        p += len + 8;
    }
    return at;
}

// FNV-1a over the first 92 header bytes, stored after them.
void resealHeader(Bytes& j) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::size_t i = 0; i < 92; ++i)
        h = (h ^ j[i]) * 1099511628211ull;
    for (int i = 0; i < 8; ++i)
        j[92 + std::size_t(i)] = static_cast<unsigned char>(h >> (8 * i));
}

void runChild(const std::function<void()>& body) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        try {
            body();
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
}

// A power loss inside the checkpoint: once the store files were synced for
// it, the process ends at the journal's sync number `atSync`, and of the
// journal's writes and cuts since its last sync only those in `keep` (a bit
// each, oldest first) reach the disk, in any combination.
class CheckpointCrash : public TIoHook {
public:
    CheckpointCrash(int atSync, unsigned keep) : atSync_(atSync), keep_(keep) {}
    bool before(TIoStep step, int fd, const std::string& path, std::int64_t offset,
                const void* data, std::size_t size) override {
        if (!path.ends_with(".jnl")) {
            checkpoint_ = checkpoint_ || step == TIoStep::Sync;
            return false;
        }
        if (step == TIoStep::Sync) {
            if (checkpoint_ && ++syncs_ == atSync_)
                powerLoss(fd);
            synced_.resize(std::size_t(std::max<off_t>(::lseek(fd, 0, SEEK_END), 0)));
            (void)!::pread(fd, synced_.data(), synced_.size(), 0);
            ops_.clear();
            return false;
        }
        ops_.push_back({step, offset,
                        Bytes(static_cast<const unsigned char*>(data),
                              static_cast<const unsigned char*>(data) + size)});
        return false;
    }
    int journalOps() const { return int(ops_.size()); }

private:
    struct Op {
        TIoStep step;
        std::int64_t offset;
        Bytes bytes;
    };
    [[noreturn]] void powerLoss(int fd) {
        Bytes j = synced_;
        for (std::size_t i = 0; i < ops_.size(); ++i) {
            if (!(keep_ & (1u << i)))
                continue;
            const Op& op = ops_[i];
            if (op.step == TIoStep::Truncate) {
                j.resize(std::size_t(op.offset));
            } else {
                j.resize(std::max(j.size(), std::size_t(op.offset) + op.bytes.size()));
                std::copy(op.bytes.begin(), op.bytes.end(), j.begin() + long(op.offset));
            }
        }
        (void)!::ftruncate(fd, 0);
        (void)!::pwrite(fd, j.data(), j.size(), 0);
        ::_exit(0);
    }

    int atSync_;
    unsigned keep_;
    bool checkpoint_ = false;
    int syncs_ = 0;
    Bytes synced_;
    std::vector<Op> ops_;
};

TEST(StoreJournal, PowerLossInsideACheckpointLosesNoRecord) {
    const std::string boot = currentBoot();
    // Single adds until the journal is emptied: the last add reported done
    // before its checkpoint began.
    TempDir grown, base; // base: the store just before that add
    int added = 0;
    {
        TBPlusTree s;
        s.OpenStore(grown.str());
        for (std::uintmax_t before = 0;; ++added) {
            copyAll(grown, base);
            insertRecord(s, key(added), "51R");
            if (fs::file_size(jnl(grown)) < before)
                break;
            before = fs::file_size(jnl(grown));
        }
    }
    for (int atSync = 1; atSync <= 2; ++atSync) {
        for (unsigned keep = 0; keep < 8; ++keep) {
            SCOPED_TRACE("sync " + std::to_string(atSync) + ", kept " + std::to_string(keep));
            TempDir dir;
            copyAll(base, dir);
            runChild([&] {
                TBPlusTree s;
                s.OpenStore(dir.str());
                CheckpointCrash crash(atSync, keep);
                s.setIoHook(&crash);
                insertRecord(s, key(added), "51R");
            });
            setCurrentBootForTests("a later boot");
            {
                TBPlusTree s;
                EXPECT_EQ(ioErrorOf([&] { s.OpenStore(dir.str()); }), "");
                for (int i = 0; i <= added && s.isOpen(); ++i)
                    EXPECT_TRUE(s.FindKey(key(i) + ",51R")) << i;
            }
            setCurrentBootForTests(boot);
            EXPECT_EQ(problems(dir.str()), "");
        }
    }
}

// Three adds, the third ended after its record was synced: the journal's
// header is dirty and says three records.
void dirtyJournalOfThree(const TempDir& dir) {
    {
        TBPlusTree s;
        s.OpenStore(dir.str());
        insertRecord(s, key(1), "51R");
        insertRecord(s, key(2), "51R");
    }
    runChild([&] {
        TBPlusTree s;
        s.OpenStore(dir.str());
        EndAfterJournalSync hook;
        s.setIoHook(&hook);
        insertRecord(s, key(3), "51R");
    });
}

TEST(StoreJournal, DamagedDirtyJournalIsRefusedByNameAndNeverApplied) {
    TempDir base;
    dirtyJournalOfThree(base);
    const Bytes j = readBytes(jnl(base));
    const std::vector<std::size_t> at = recordStarts(j);
    ASSERT_EQ(at.size(), 3u);
    ASSERT_EQ(j[12], 1); // dirty

    Bytes withoutSecond(j.begin(), j.begin() + long(at[1]));
    withoutSecond.insert(withoutSecond.end(), j.begin() + long(at[2]), j.end());
    putLe32(withoutSecond, 32, std::int32_t(withoutSecond.size())); // End: records N and N+2
    resealHeader(withoutSecond);
    struct Damage {
        const char* what;
        Bytes bytes;
    };
    std::vector<Damage> damages = {
        {"records cut off, header kept", Bytes(j.begin(), j.begin() + kHeader)},
        {"cut inside the second record", Bytes(j.begin(), j.begin() + long(at[1] + 100))},
        {"records N and N+2", withoutSecond},
        {"a flipped byte in the first record", j},
        {"a zeroed block over the start of the second record", j},
    };
    damages[3].bytes[at[0] + 300] ^= 0x40;
    std::fill_n(damages[4].bytes.begin() + long(at[1] / 512 * 512), 512, 0);
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        TempDir dir;
        copyAll(base, dir);
        writeBytes(jnl(dir), d.bytes);
        const Bytes dat = readBytes(dir.dat()), idx = readBytes(dir.idx());
        for (TOpenMode mode : {TOpenMode::ReadOnly, TOpenMode::ReadWrite}) {
            TBPlusTree s;
            const std::string msg = ioErrorOf([&] { s.OpenStore(dir.str(), mode); });
            EXPECT_EQ(msg.rfind("ファイル " + jnl(dir) + " が壊れています（ヘッダーには変更 ", 0),
                      0u)
                << msg;
            EXPECT_FALSE(s.isOpen());
        }
        EXPECT_EQ(readBytes(dir.dat()), dat);
        EXPECT_EQ(readBytes(dir.idx()), idx);
        EXPECT_EQ(readBytes(jnl(dir)), d.bytes);
    }
    // Undamaged, the same journal completes the third add.
    TBPlusTree s;
    s.OpenStore(base.str());
    EXPECT_TRUE(s.FindKey(key(3) + ",51R"));
}

TEST(StoreJournal, DamagedCleanJournalAfterARebootChangesNoStoreFile) {
    const std::string boot = currentBoot();
    TempDir base;
    {
        TBPlusTree s;
        s.OpenStore(base.str());
        for (int i = 1; i <= 20; ++i)
            insertRecord(s, key(i), "51R");
    }
    const Bytes j = readBytes(jnl(base));
    const std::vector<std::size_t> at = recordStarts(j);
    ASSERT_EQ(at.size(), 20u);
    ASSERT_EQ(j[12], 0); // clean
    std::vector<Bytes> damages = {Bytes(j.begin(), j.begin() + long(at[10] + 50)), j, j};
    damages[1][at[5] + 40] ^= 1;
    std::fill_n(damages[2].begin() + long(at[3] / 512 * 512), 512, 0);
    for (std::size_t d = 0; d < damages.size(); ++d) {
        SCOPED_TRACE(d);
        TempDir dir;
        copyAll(base, dir);
        writeBytes(jnl(dir), damages[d]);
        const Bytes dat = readBytes(dir.dat()), idx = readBytes(dir.idx());
        setCurrentBootForTests("a later boot");
        for (TOpenMode mode : {TOpenMode::ReadOnly, TOpenMode::ReadWrite}) {
            TBPlusTree s;
            EXPECT_EQ(ioErrorOf([&] { s.OpenStore(dir.str(), mode); }), "");
            EXPECT_TRUE(s.FindKey(key(20) + ",51R"));
        }
        setCurrentBootForTests(boot);
        EXPECT_EQ(readBytes(dir.dat()), dat);
        EXPECT_EQ(readBytes(dir.idx()), idx);
        // The writing open emptied it: later commits follow a sound header.
        EXPECT_EQ(fs::file_size(jnl(dir)), kHeader);
        EXPECT_EQ(problems(dir.str()), "");
    }
}

// Fails the steps `fails` picks.
class FailSteps : public TIoHook {
public:
    using Pick = std::function<bool(TIoStep, bool journal, std::int64_t offset)>;
    explicit FailSteps(Pick fails) : fails_(std::move(fails)) {}
    bool before(TIoStep step, int, const std::string& path, std::int64_t offset, const void*,
                std::size_t) override {
        return armed && fails_(step, path.ends_with(".jnl"), offset);
    }
    bool armed = true;

private:
    Pick fails_;
};

TEST(StoreJournal, ARecordPastTheHeadersEndIsNeverReplayed) {
    const std::string boot = currentBoot();
    TempDir dir;
    TBPlusTree s;
    s.OpenStore(dir.str());
    insertRecord(s, key(1), "51R");
    const Bytes dat = readBytes(dir.dat()), idx = readBytes(dir.idx());
    const std::uintmax_t journalBefore = fs::file_size(jnl(dir));
    // The journal's sync fails, and so does cutting its record off again.
    FailSteps fail(
        [](TIoStep step, bool journal, std::int64_t) { return journal && step != TIoStep::Write; });
    s.setIoHook(&fail);
    const std::string msg = ioErrorOf([&] { insertRecord(s, key(2), "51R"); });
    EXPECT_NE(msg.find("ことがあります"), std::string::npos) << msg;
    s.CloseStore();
    ASSERT_GT(fs::file_size(jnl(dir)), journalBefore); // the record lies past the end mark
    setCurrentBootForTests("a later boot");
    s.OpenStore(dir.str());
    setCurrentBootForTests(boot);
    EXPECT_FALSE(s.FindKey(key(2) + ",51R"));
    EXPECT_EQ(readBytes(dir.dat()), dat);
    EXPECT_EQ(readBytes(dir.idx()), idx);
}

TEST(StoreJournal, AGrowingWriteAndItsCutBackFailingLeaveNothingForTheNextOperation) {
    // The split leaf and the new root go past the end of the page file; then
    // the growing write of the record file (or the journal's record) fails,
    // and so does cutting the files back.
    const std::vector<std::pair<const char*, FailSteps::Pick>> failures = {
        {"growing write",
         [](TIoStep step, bool journal, std::int64_t offset) {
             return !journal &&
                    (step == TIoStep::Truncate || (step == TIoStep::Write && offset == 20 * 124));
         }},
        {"journal record",
         [](TIoStep step, bool journal, std::int64_t offset) {
             return (!journal && step == TIoStep::Truncate) ||
                    (journal && step == TIoStep::Write && offset >= 128);
         }},
    };
    for (const auto& [what, pick] : failures) {
        SCOPED_TRACE(what);
        TempDir dir;
        TBPlusTree s;
        s.OpenStore(dir.str());
        for (int i = 1; i <= 20; ++i)
            insertRecord(s, key(10 + i), "51R");
        FailSteps fail(pick);
        s.setIoHook(&fail);
        EXPECT_NE(ioErrorOf([&] {
                      TStoreTransaction t(s);
                      for (int i = 1; i <= 3; ++i) // the leaf splits: pages 2 and 3
                          insertRecord(s, key(i), "51R");
                      t.commit();
                  }),
                  "");
        ASSERT_EQ(fs::file_size(dir.dat()), 4u * 1024);
        fail.armed = false;
        insertRecord(s, key(5), "51R");
        EXPECT_FALSE(s.FindKey(key(1) + ",51R"));
        EXPECT_TRUE(s.FindKey(key(5) + ",51R"));
        s.CloseStore();
        // One leaf behind the header; 21 slots.
        EXPECT_EQ(fs::file_size(dir.dat()), 2u * 1024);
        EXPECT_EQ(fs::file_size(dir.idx()), 21u * 124);
        EXPECT_EQ(problems(dir.str()), "");
    }
}

} // namespace
} // namespace telvara::test

namespace telvara::test {
namespace {

TEST(StoreJournal, ALinkInTheJournalsPlaceIsRefusedAndItsTargetKept) {
    TempDir dir, outside;
    const Bytes target = {'k', 'e', 'e', 'p'};
    writeBytes(outside.file("target"), target);
    const std::string refusal =
        "ファイル " + jnl(dir) +
        " を開けません（シンボリックリンクです。リンクを通しては開きません）";
    // Before the store exists, and beside an existing one; a dangling link too.
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(fs::exists(dir.dat()), round > 1);
        if (round == 1) {
            fs::remove(jnl(dir));
            TBPlusTree s;
            s.OpenStore(dir.str());
            insertRecord(s, "A", "1");
        }
        fs::remove(jnl(dir));
        fs::create_symlink(outside.file(round == 2 ? "nowhere" : "target"), jnl(dir));
        for (TOpenMode mode : {TOpenMode::ReadWrite, TOpenMode::ReadOnly}) {
            TBPlusTree s;
            if (round == 0 && mode == TOpenMode::ReadOnly)
                continue; // no store to read
            EXPECT_EQ(ioErrorOf([&] { s.OpenStore(dir.str(), mode); }), refusal);
        }
        EXPECT_EQ(readBytes(outside.file("target")), target);
        EXPECT_FALSE(fs::exists(outside.file("nowhere")));
    }
}

} // namespace
} // namespace telvara::test
