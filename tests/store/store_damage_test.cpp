// Damaged stores: no command crashes, hangs or writes into a store the check
// calls unsound, and no read passes off another record as the one asked for.
// TELVARA_DAMAGE_RUNS sets how many damaged stores the mutation test tries
// (default 800, of which every sixteenth also goes through telvara-store).
#include "store_test_util.h"

#include "base/errors.h"
#include "store/store_check.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <tuple>

namespace telvara::test {
namespace {

struct Shape {
    const char* what;
    Bytes dat, idx;
    std::vector<std::string> names; // device "51R"; the removed ones included
};

// `count` records in a scattered order, every `removeEvery`-th removed again
// so that both free chains hold units.
Shape build(const char* what, int count, int removeEvery) {
    TempDir dir;
    Shape shape{what, {}, {}, {}};
    {
        TBPlusTree store;
        store.OpenStore(dir.str());
        for (int i = 0; i < count; ++i) {
            shape.names.push_back("D" + std::to_string(10000 + (i * 7919) % count));
            insertRecord(store, shape.names.back(), "51R", i);
        }
        for (int i = 0; removeEvery > 0 && i < count; i += removeEvery)
            deleteRecord(store, shape.names[std::size_t(i)], "51R");
    }
    shape.dat = readBytes(dir.dat());
    shape.idx = readBytes(dir.idx());
    return shape;
}

const std::vector<Shape>& shapes() {
    static const std::vector<Shape> all = {
        build("one leaf", 5, 0),
        build("two levels with free slots and pages", 80, 3),
        build("three levels with free slots and pages", 400, 4),
    };
    return all;
}

// Applies one damage of a kind the store meets in practice; returns its description.
std::string damage(std::mt19937& rng, Bytes& dat, Bytes& idx) {
    auto pick = [&](std::size_t n) { return n == 0 ? 0 : std::size_t(rng() % n); };
    const auto units = std::int32_t(dat.size() / 1024);
    auto odd = [&]() -> std::int32_t {
        const std::int32_t values[] = {-1, 0, 1, 2, INT_MAX, INT_MIN, units - 1, units, units + 1};
        return rng() % 4 == 0 ? std::int32_t(pick(std::size_t(units) + 2))
                              : values[pick(std::size(values))];
    };
    const std::int32_t freePage = le32(dat, 24), freeSlot = le32(dat, 28);
    switch (rng() % 7) {
    case 0:
    case 1: {
        Bytes& file = rng() % 2 ? dat : idx;
        const int flips = 1 + int(rng() % 3);
        for (int i = 0; i < flips && !file.empty(); ++i)
            file[pick(file.size())] ^= std::uint8_t(1u << (rng() % 8));
        return "bit flips in " + std::string(&file == &dat ? "dat" : "idx");
    }
    case 2: {
        Bytes& file = rng() % 2 ? dat : idx;
        file.resize(pick(file.size()));
        return "truncated to " + std::to_string(file.size());
    }
    case 3: {
        const std::size_t at = 4 * (1 + pick(8));
        putLe32(dat, at, odd());
        return "header field at " + std::to_string(at);
    }
    case 4:
        if (freePage != -1 && freePage > 0 && freePage < units) {
            putLe32(dat, std::size_t(freePage) * 1024 + 932, odd());
            return "free page chain";
        }
        if (freeSlot >= 0 && std::size_t(freeSlot + 1) * 124 <= idx.size()) {
            putLe32(idx, std::size_t(freeSlot) * 124 + 4, odd());
            return "free slot chain";
        }
        [[fallthrough]];
    case 5: {
        const std::size_t page = 1 + pick(std::size_t(units - 1));
        putLe32(dat, page * 1024 + 932 + 4 * pick(23), odd());
        return "child of page " + std::to_string(page);
    }
    default: {
        const std::size_t page = 1 + pick(std::size_t(units - 1));
        const std::size_t a = page * 1024 + 8 + 42 * pick(22), b = page * 1024 + 8 + 42 * pick(22);
        for (int i = 0; i < 42; ++i)
            std::swap(dat[a + std::size_t(i)], dat[b + std::size_t(i)]);
        dat[a + 1 + pick(8)] ^= rng() % 2 ? 0 : 0x20;
        return "keys of page " + std::to_string(page);
    }
    }
}

template <class F> bool ioFails(F f) {
    try {
        f();
        return false;
    } catch (const IoError&) {
        return true;
    }
}

void exercise(const Shape& shape, const TempDir& dir) {
    const bool sound = checkStore(dir.str()).sound();
    const Bytes dat = readBytes(dir.dat()), idx = readBytes(dir.idx());
    TBPlusTree store;
    if (ioFails([&] { store.OpenStore(dir.str()); })) {
        EXPECT_EQ(readBytes(dir.dat()), dat);
        EXPECT_EQ(readBytes(dir.idx()), idx);
        return;
    }
    for (std::size_t i = 0; i < shape.names.size(); i += 7) {
        const std::string key = recordKey(shape.names[i], "51R");
        bool found = false;
        ioFails([&] { found = store.FindKey(key); });
        if (found) {
            EXPECT_EQ(store.CurrentRecord().key(), key);
        }
    }
    ioFails([&] { store.ListKeys(); });
    const bool added = !ioFails([&] { insertRecord(store, "Dnew", "1"); });
    const bool removed = !ioFails([&] { deleteRecord(store, shape.names.back(), "51R"); });
    if (!sound) {
        EXPECT_FALSE(added || removed);
        EXPECT_EQ(readBytes(dir.dat()), dat);
        EXPECT_EQ(readBytes(dir.idx()), idx);
    } else {
        EXPECT_TRUE(added && removed);
        EXPECT_EQ(problems(dir.str()), "");
    }
}

// The same through telvara-store, which also must say when a read met damage.
void exerciseTool(const Shape& shape, const TempDir& dir, const TempDir& io) {
    const bool sound = checkStore(dir.str()).sound();
    const Bytes dat = readBytes(dir.dat()), idx = readBytes(dir.idx());
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), dir.str());
        const ToolResult r = runTool(args, "", io);
        EXPECT_TRUE(r.status >= 0 && r.status <= 2) << r.status << " " << r.err;
        return r;
    };
    EXPECT_EQ(run({"check"}).status, sound ? 0 : 1);
    EXPECT_TRUE(sound || run({"list"}).status != 0);
    const std::string& name = shape.names[shape.names.size() / 2];
    const ToolResult found = run({"find", name, "51R"});
    if (found.status == 0) {
        EXPECT_EQ(found.out.substr(0, name.size() + 5), name + "\t51R\t");
    }
    EXPECT_TRUE(sound || found.status != 0);
    const std::vector<std::string> add = {"add", "Dnew", "1", "1", "1", "1", "1",
                                          "1",   "1",    "1", "1", "1", "1"};
    if (!sound) {
        EXPECT_EQ(run(add).status, 2);
        EXPECT_EQ(run({"remove", name, "51R"}).status == 0, false);
        EXPECT_EQ(readBytes(dir.dat()), dat);
        EXPECT_EQ(readBytes(dir.idx()), idx);
    }
}

TEST(StoreDamage, NoCommandCrashesHangsOrWritesIntoADamagedStore) {
    const char* env = std::getenv("TELVARA_DAMAGE_RUNS");
    const long runs = env ? std::atol(env) : 800;
    std::mt19937 rng(20261208);
    int unsound = 0;
    for (long run = 0; run < runs; ++run) {
        const Shape& shape = shapes()[std::size_t(run) % shapes().size()];
        Bytes dat = shape.dat, idx = shape.idx;
        const std::string what = damage(rng, dat, idx);
        SCOPED_TRACE(std::string(shape.what) + ", run " + std::to_string(run) + ": " + what);
        TempDir dir;
        writeBytes(dir.dat(), dat);
        writeBytes(dir.idx(), idx);
        unsound += !checkStore(dir.str()).sound();
        if (run % 16 == 0) {
            TempDir io;
            exerciseTool(shape, dir, io);
        }
        exercise(shape, dir);
        if (HasFailure())
            break;
    }
    // Most damage must be found; a few flips land in bytes that carry no meaning.
    EXPECT_GT(unsound, runs / 2);
}

} // namespace
} // namespace telvara::test

namespace telvara::test {
namespace {

// 23 records K01..K23: root page 3 (K12), leaves 1 (K01..K11) and 2; slot i-1 holds Ki.
TempDir& example(TempDir& dir) {
    TBPlusTree store;
    store.OpenStore(dir.str());
    for (int i = 1; i <= 23; ++i)
        insertRecord(store, exampleName(i), "51R", i);
    return dir;
}

TEST(StoreDamage, CountersAtTheIntegerLimitsRefuseEveryWriteAndStillRead) {
    for (const auto& [offset, value, text] : {std::tuple{8, INT_MAX, "RecordsInUse 2147483647"},
                                              {4, INT_MIN, "PagesInUse -2147483648"},
                                              {8, INT_MIN, "RecordsInUse -2147483648"}}) {
        TempDir dir;
        example(dir);
        Bytes dat = readBytes(dir.dat());
        putLe32(dat, std::size_t(offset), value);
        writeBytes(dir.dat(), dat);
        const Bytes idx = readBytes(dir.idx());
        TBPlusTree store;
        store.OpenStore(dir.str());
        EXPECT_TRUE(store.FindKey(exampleKey(7)));
        const std::string refusal =
            "ファイル " + dir.dat() + " が壊れています（" + text + " はありえない値です）";
        EXPECT_EQ(ioErrorOf([&] { insertRecord(store, "A", "1"); }), refusal);
        EXPECT_EQ(ioErrorOf([&] { deleteRecord(store, exampleName(7), "51R"); }), refusal);
        EXPECT_EQ(store.WriteRefusal(), refusal);
        EXPECT_EQ(readBytes(dir.dat()), dat);
        EXPECT_EQ(readBytes(dir.idx()), idx);
    }
}

TEST(StoreDamage, ToolReadsWhatItCanButSaysTheStoreIsDamaged) {
    TempDir dir, io;
    example(dir);
    // K11 renamed K99 in its leaf and its record: the leaf keeps its order,
    // the listing does not.
    Bytes dat = readBytes(dir.dat()), idx = readBytes(dir.idx());
    dat[1024 + 8 + 10 * 42 + 2] = '9';
    dat[1024 + 8 + 10 * 42 + 3] = '9';
    idx[10 * 124 + 3] = '9';
    idx[10 * 124 + 4] = '9';
    idx[4 * 124 + 3] = '5'; // record K05 now says K55
    writeBytes(dir.dat(), dat);
    writeBytes(dir.idx(), idx);

    // The first problem a walk in key order meets.
    const std::string damage = "ファイル " + dir.idx() +
                               " が壊れています（ページ 1 のレコード番号 4 のレコードのキー"
                               "「K55,51R」がキー「K05,51R」と違います）\n";
    ToolResult r = runTool({dir.str(), "list"}, "", io);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("    K10,51R\r\n    K99,51R\r\nK12,51R\r\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, damage);
    r = runTool({dir.str(), "find", exampleName(20), "51R"}, "", io);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.substr(0, 8), "K20\t51R\t");
    EXPECT_EQ(r.err, damage);
    r = runTool({dir.str(), "find", exampleName(5), "51R"}, "", io);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "ファイル " + dir.idx() +
                         " が壊れています（レコード 4 のキーが木の中のキーと違います）\n");
    r = runTool({dir.str(), "batch"}, "find\tK20\t51R\n", io);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, damage);
    for (const std::string& op : {std::string("add\tK30\t51R\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\n"),
                                  std::string("remove\tK20\t51R\n")}) {
        r = runTool({dir.str(), "batch"}, op, io);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "1 行目: " + damage);
    }
    EXPECT_EQ(readBytes(dir.dat()), dat);
    EXPECT_EQ(readBytes(dir.idx()), idx);
}

} // namespace
} // namespace telvara::test

namespace telvara::test {
namespace {

TEST(StoreDamage, CheckOfAThreeGigabyteSparseRecordFileNeedsLittleMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
#else
    TempDir dir, io;
    {
        TBPlusTree store;
        store.OpenStore(dir.str());
        insertRecord(store, "A", "1");
    }
    const std::int64_t slots = 26'000'000; // 3.2 GB of slots
    std::filesystem::resize_file(dir.idx(), std::uintmax_t(slots) * 124);
    Bytes dat = readBytes(dir.dat());
    putLe32(dat, 20, std::int32_t(slots)); // NextNewRecord: every slot is claimed
    writeBytes(dir.dat(), dat);
    // 200 MB of address space for the whole tool.
    const std::string cmd = "ulimit -v 200000; " + std::string(TELVARA_STORE_TOOL) + " '" +
                            dir.str() + "' check >'" + io.file("out") + "'";
    const int raw = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    const Bytes out = readBytes(io.file("out"));
    EXPECT_NE(std::string(out.begin(), out.end())
                  .find("レコード 1 は木にも空きレコードの連鎖にもありません\n"),
              std::string::npos);
#endif
}

// Keys in damage messages read as the listing shows them: CP932 decoded, a
// byte that is no whole character as its stand-in (U+F793 for 93).
TEST(StoreDamage, KeysInTheDamageMessageAreDecodedFromCp932) {
    TempDir dir, io;
    {
        TBPlusTree store;
        store.OpenStore(dir.str());
        store.CurrentRecord().setField(TRecordField::KaisyaName,
                                       "\x91\xE6\x88\xEA\x95\xCF\x93\x64\x8F\x8A"); // 第一変電所
        store.CurrentRecord().setField(TRecordField::DebaisuNo, "51M");
        store.InsertCurrent();
    }
    Bytes idx = readBytes(dir.idx());
    const Bytes device = {3, '5', '1', 'M'};
    const auto at = std::search(idx.begin(), idx.end(), device.begin(), device.end());
    ASSERT_NE(at, idx.end());
    at[3] = 0x93; // the record's device now ends in a lone lead byte
    writeBytes(dir.idx(), idx);
    const std::string problem =
        "ページ 1 のレコード番号 0 のレコードのキー「第一変電所,51\uF793」が"
        "キー「第一変電所,51M」と違います";
    ToolResult r = runTool({dir.str(), "check"}, "", io);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, problem + "\n");
    r = runTool({dir.str(), "list"}, "", io);
    EXPECT_EQ(r.err, "ファイル " + dir.idx() + " が壊れています（" + problem + "）\n");
}

} // namespace
} // namespace telvara::test
