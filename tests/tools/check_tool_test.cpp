// telvara-check on a store made by telvara-store: the lines it prints and its
// exit status.
#include "store/bplustree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status;
    std::string out, err;
};

std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class CheckToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir =
            fs::temp_directory_path() /
            ("telvara-check-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "store");
        // Flat curves: 0.5 s from 150 A, 0.9 s from 300 A, 1.1 s from 600 A.
        add({"C電力", "51T", "400", "1.1", "0", "0", "0", "0", "1.1", "0", "5", "0"});
        add({"A電力", "51R", "100", "0.5", "0", "0", "0", "0", "0.5", "0", "5", "0"});
        add({"B電力", "51S", "200", "0.9", "0", "0", "0", "0", "0.9", "0", "5", "0"});
    }
    void TearDown() override { fs::remove_all(dir); }

    ToolRun run(const std::string& tool, const std::vector<std::string>& args) {
        std::string cmd = quoted(tool);
        for (const std::string& a : args)
            cmd += " " + quoted(a);
        cmd += " >" + quoted(dir / "out") + " 2>" + quoted(dir / "err");
        const int status = std::system(cmd.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(dir / "out"),
                slurp(dir / "err")};
    }

    void add(std::vector<std::string> fields) {
        fields.insert(fields.begin(), {(dir / "store").string(), "add"});
        const ToolRun r = run(TELVARA_STORE_TOOL, fields);
        ASSERT_EQ(0, r.status) << r.err;
    }

    ToolRun check(std::vector<std::string> args) {
        args.insert(args.begin(), (dir / "store").string());
        return run(TELVARA_CHECK_TOOL, args);
    }

    fs::path dir;
};

TEST_F(CheckToolTest, PrintsEveryPairAndFailsOnAShortMargin) {
    const std::string pages = slurp(dir / "store" / "ZuboK.dat");
    const std::string records = slurp(dir / "store" / "ZuboK.idx");
    ToolRun r = check({});
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ("A電力\t51R\tB電力\t51S\t0.400\t300.0\tOK\n"
              "B電力\t51S\tC電力\t51T\t0.200\t600.0\tNG\n",
              r.out);
    EXPECT_EQ("", r.err);

    // Faults up to 500 A never reach the 600 A relay.
    r = check({"--fault-current", "500"});
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("A電力\t51R\tB電力\t51S\t0.400\t300.0\tOK\n"
              "B電力\t51S\tC電力\t51T\t-\t-\t-\n",
              r.out);

    r = check({"--cti", "0.2", "--record", "C電力", "51T", "--record", "B電力", "51S"});
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("B電力\t51S\tC電力\t51T\t0.200\t600.0\tOK\n", r.out);
    // Checking leaves the store as it was.
    EXPECT_EQ(pages, slurp(dir / "store" / "ZuboK.dat"));
    EXPECT_EQ(records, slurp(dir / "store" / "ZuboK.idx"));
}

TEST_F(CheckToolTest, ErrorsExitWithTwoAndNameTheCause) {
    // telvara-store refuses such a record; a store written elsewhere may hold one.
    {
        telvara::TBPlusTree store;
        store.OpenStore((dir / "store").string());
        const std::vector<std::string> fields = {
            "D\x93\x64\x97\xCD", "50", "x", "1", "0", "0", "0", "0", "1", "0", "5", "0"};
        store.CurrentRecord() = telvara::TRelayRecord{};
        for (int f = 0; f < telvara::kRecordFieldCount; ++f)
            store.CurrentRecord().setField(telvara::TRecordField(f), fields[std::size_t(f)]);
        store.InsertCurrent();
    }
    ToolRun r = check({});
    EXPECT_EQ(2, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_EQ("D電力,50: 'x' は浮動小数点数ではありません\n", r.err);

    r = check({"--record", "Z電力", "1"});
    EXPECT_EQ(2, r.status);
    EXPECT_EQ("見つかりません: Z電力,1\n", r.err);

    r = check({"--cti", "0"});
    EXPECT_EQ(2, r.status);
    EXPECT_EQ("正の数ではありません: 0\n", r.err);

    r = run(TELVARA_CHECK_TOOL, {(dir / "none").string()});
    EXPECT_EQ(2, r.status);
    EXPECT_FALSE(fs::exists(dir / "none"));
}

TEST_F(CheckToolTest, AStudyIsCheckedAlongItsPathsReferredAndLeftAsItWas) {
    const std::string example = std::string(TELVARA_EXAMPLES) + "/substation.tvstudy";
    const std::string bytes = slurp(example);
    // 51F1 ends in 0.05 s from 3600 A; 51R gives 1.06 s beyond 8400 A: 1.01 s.
    // 51R against 51T (66 kV, 1.41 s beyond 1050 A, 10500 A at 6.6 kV): 0.35 s.
    ToolRun r = run(TELVARA_CHECK_TOOL, {example});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("配電線1\tcoord\tF1\tR1\t1.010\t8400.0\tOK\n"
              "配電線1\tcoord\tR1\tT1\t0.350\t10500.0\tOK\n"
              "配電線2\tcoord\tF2\tR1\t1.010\t8400.0\tOK\n"
              "配電線2\tcoord\tR1\tT1\t0.350\t10500.0\tOK\n",
              r.out);
    r = run(TELVARA_CHECK_TOOL, {example, "--cti", "0.4"});
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.out.find("配電線1\tcoord\tR1\tT1\t0.350\t10500.0\tNG\n"));
    EXPECT_EQ(bytes, slurp(example));

    r = run(TELVARA_CHECK_TOOL, {example, "--fault-current", "100"});
    EXPECT_EQ(2, r.status);

    const fs::path broken = dir / "broken.tvstudy";
    std::ofstream(broken) << "{\n  \"format\": \"telvara-study\",\n  \"version\": 1,\n"
                             "  \"paths\": [{\"name\": \"p\", \"devices\": [\"X\"]}]\n}\n";
    r = run(TELVARA_CHECK_TOOL, {broken.string()});
    EXPECT_EQ(2, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_EQ(broken.string() + ": 4 行目: 経路「p」の装置「X」がありません\n", r.err);
}

} // namespace
