// telvara-store, run as a separate program on a store folder.
#include "store_test_util.h"

#include "base/cp932.h"
#include "store/find_relay.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace telvara::test {
namespace {

class ToolTest : public ::testing::Test {
protected:
    ToolResult tool(const std::vector<std::string>& args, const std::string& input = "") {
        return runTool(args, input, io_, as_);
    }
    std::vector<std::string> addArgs(const std::string& name, const std::string& device,
                                     const std::string& ct = "100", const std::string& tap = "4") {
        return {dir_.str(), "add", name,   device, ct,     "1.0", "0.8",
                "0.6",      "0.5", "0.45", "0.4",  "0.05", tap,   "20"};
    }

    // A record as a store written elsewhere holds it: texts cut to their fields.
    void storeCut(const std::string& name, const std::string& device) {
        TBPlusTree store;
        store.OpenStore(dir_.str());
        store.CurrentRecord() = TRelayRecord{};
        store.CurrentRecord().setField(TRecordField::KaisyaName, utf8ToCp932(name));
        store.CurrentRecord().setField(TRecordField::DebaisuNo, utf8ToCp932(device));
        store.CurrentRecord().setField(TRecordField::CTPrimary, "100");
        store.InsertCurrent();
    }

    // Permissions bind root only through another user; false when that cannot be done.
    bool asAnotherUser() {
        if (::geteuid() != 0)
            return true;
        if (std::system("command -v setpriv >/dev/null") != 0)
            return false;
        as_ = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        return true;
    }

    TempDir dir_;
    TempDir io_;
    std::string as_; // runs the tool as another user when set
};

TEST_F(ToolTest, AFolderWithoutAccessIsReportedAsDeniedNotMissing) {
    ASSERT_EQ(tool(addArgs("A", "51R")).status, 0);
    fs::create_directory(dir_.path() / "inner");
    fs::permissions(dir_.path(), fs::perms::owner_all);
    if (!asAnotherUser())
        GTEST_SKIP() << "running as root without setpriv";
    const std::string denied =
        "ファイル " + dir_.dat() + " を開けません（アクセスが拒否されました）";
    ToolResult r = tool({dir_.str(), "list"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, denied + "\n");
    r = tool({dir_.str(), "find", "A", "51R"});
    EXPECT_EQ(r.err, denied + "\n");
    r = tool({dir_.str(), "check"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              denied + "\nファイル " + dir_.idx() + " を開けません（アクセスが拒否されました）\n");
    const std::string inner = (dir_.path() / "inner").string();
    std::vector<std::string> add = addArgs("B", "1");
    add[0] = inner;
    r = tool(add);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "フォルダ " + inner + " を開けません（アクセスが拒否されました）\n");
    as_.clear();
}

TEST_F(ToolTest, CheckOnAReadOnlyStoreNamesTheChangeStillToBeCompleted) {
    ASSERT_EQ(tool(addArgs("A", "51R")).status, 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        TBPlusTree s;
        s.OpenStore(dir_.str());
        EndAfterJournalSync hook;
        s.setIoHook(&hook);
        insertRecord(s, "B", "51R");
        ::_exit(3);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    if (!asAnotherUser())
        GTEST_SKIP() << "running as root without setpriv";
    for (const char* name : {"ZuboK.dat", "ZuboK.idx", "ZuboK.jnl"})
        fs::permissions(dir_.file(name), fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(dir_.path(),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    const Bytes dat = readBytes(dir_.dat()), idx = readBytes(dir_.idx());
    const ToolResult r = tool({dir_.str(), "check"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("問題ありません（高さ 1、レコード 2 件、ページ 1 個）\nストア " +
                              dir_.str() + "/ の前回の操作が途中で終わっています。",
                          0),
              0u)
        << r.out;
    EXPECT_TRUE(r.out.ends_with("。上の結果は、その変更を書き込んだ後のストアのものです\n"))
        << r.out;
    EXPECT_EQ(readBytes(dir_.dat()), dat);
    EXPECT_EQ(readBytes(dir_.idx()), idx);
    as_.clear();
    // With write access the change is completed.
    for (const char* name : {"ZuboK.dat", "ZuboK.idx", "ZuboK.jnl"})
        fs::permissions(dir_.file(name), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(tool({dir_.str(), "check"}).out,
              "問題ありません（高さ 1、レコード 2 件、ページ 1 個）\n");
}

TEST_F(ToolTest, AddFindListAndRemove) {
    ToolResult r = tool(addArgs("A電力", "51R"));
    ASSERT_EQ(r.status, 0) << r.err;
    // CP932 bytes in the store: 電 = 93 64, 力 = 97 CD.
    const Bytes idx = readBytes(dir_.idx());
    EXPECT_EQ(Bytes(idx.begin() + 1, idx.begin() + 7), (Bytes{5, 'A', 0x93, 0x64, 0x97, 0xCD}));

    r = tool({dir_.str(), "list"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "A電力,51R\r\n");
    r = tool({dir_.str(), "find", "A電力", "51R"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "A電力\t51R\t100\t1.0\t0.8\t0.6\t0.5\t0.45\t0.4\t0.05\t4\t20\n");

    r = tool({dir_.str(), "find", "A電力", "67"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "見つかりません: A電力,67\n");

    // Adding the same key again replaces the record; a text that does not fit
    // its field is refused whole and changes nothing.
    const Bytes before = readBytes(dir_.idx());
    r = tool(addArgs("A電力", "51R", "10000", "3"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "CT比に入るのは 4 バイト（半角 4 文字）までです：「10000」\n");
    r = tool({dir_.str(), "batch"}, "add\tB\t1\t600\t1\t1\t1\t1\t1\t1\t-0.03\t3\t20\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "1 行目: INSTの時間には 0（点を描かない）か 0 より大きい数を入れてください："
                     "「-0.03」\n");
    EXPECT_EQ(readBytes(dir_.idx()), before);
    ASSERT_EQ(tool(addArgs("A電力", "51R", "600", "3")).status, 0);
    r = tool({dir_.str(), "list"});
    EXPECT_EQ(r.out, "A電力,51R\r\n");
    r = tool({dir_.str(), "find", "A電力", "51R"});
    EXPECT_EQ(r.out, "A電力\t51R\t600\t1.0\t0.8\t0.6\t0.5\t0.45\t0.4\t0.05\t3\t20\n");

    EXPECT_EQ(tool({dir_.str(), "remove", "A電力", "51R"}).status, 0);
    r = tool({dir_.str(), "remove", "A電力", "51R"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "見つかりません: A電力,51R\n");
    EXPECT_EQ(tool({dir_.str(), "list"}).out, "< Empty >\r\n");
    EXPECT_EQ(tool({dir_.str(), "check"}).status, 0);
}

TEST_F(ToolTest, NameCutInsideACharacterComesBackFromTheListing) {
    // 35 ASCII bytes and 電 (93 64) do not fit the 36-byte name field.
    const std::string name = std::string(35, 'x') + "電";
    ToolResult r = tool(addArgs(name, "51R"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "会社名に入るのは 36 バイト（全角 18 文字）までです。入力は 37 バイトです。\n");
    EXPECT_FALSE(fs::exists(dir_.dat()));
    // A store written elsewhere keeps 35 bytes and the lead byte.
    storeCut(name, "51R");
    const ToolResult list = tool({dir_.str(), "list"});
    ASSERT_EQ(list.status, 0);
    ASSERT_GE(list.out.size(), 2u);
    const std::string line = list.out.substr(0, list.out.size() - 2);
    const std::size_t comma = line.rfind(',');
    ASSERT_NE(comma, std::string::npos);
    // The lone byte is shown as its stand-in character and taken back as that byte.
    EXPECT_EQ(line.substr(0, comma), std::string(35, 'x') + "\uF793");
    const ToolResult found = tool({dir_.str(), "find", line.substr(0, comma), "51R"});
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out.substr(0, comma + 1), line.substr(0, comma) + "\t");
    // The record holds another name than the one typed.
    EXPECT_EQ(tool({dir_.str(), "find", name, "51R"}).status, 1);
}

TEST_F(ToolTest, RelaysAgreeingInTheirFirst41KeyBytesAreNeverTakenForEachOther) {
    const std::string name = "関西電力株式会社南大阪変電所"; // 28 bytes
    storeCut(name, "51R-FEEDER-01-BACKUP");                  // as an older program left it
    TBPlusTree store;
    store.OpenStore(dir_.str());
    const std::string sjis = utf8ToCp932(name);
    EXPECT_FALSE(findRelay(store, sjis, "51R-FEEDER-01-MAIN"));
    EXPECT_NE(store.CurrentRecNo(), kNone); // met BACKUP under the same cut key
    EXPECT_TRUE(findRelay(store, sjis, "51R-FEEDER-01-BACKUP"));
    store.CloseStore();

    const Bytes dat = readBytes(dir_.dat()), idx = readBytes(dir_.idx());
    ToolResult r = tool({dir_.str(), "find", name, "51R-FEEDER-01-MAIN"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(tool({dir_.str(), "remove", name, "51R-FEEDER-01-MAIN"}).status, 1);
    r = tool({dir_.str(), "batch"}, "delete\t" + name + "\t51R-FEEDER-0\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "1 行目: 別のレコード " + name + ",51R-FEEDER-01-BACKUP は削除しません\n");
    r = tool(addArgs(name, "51R-FEEDER-01-SPARE"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "会社名とﾃﾞﾊﾞｲｽNo. は合わせて 40 バイト（全角 20 文字）までです。入力は 47 "
                     "バイトです。\n");
    r = tool(addArgs(name, "51R-FEEDER-0"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "別のレコード " + name + ",51R-FEEDER-01-BACKUP とキーの先頭 41 バイトが同じです\n");
    EXPECT_EQ(readBytes(dir_.dat()), dat);
    EXPECT_EQ(readBytes(dir_.idx()), idx);
    // The stored relay itself is still found, replaced and removed by its own name.
    EXPECT_EQ(tool(addArgs(name, "51R-FEEDER-01-BACKUP", "600")).status, 0);
    r = tool({dir_.str(), "find", name, "51R-FEEDER-01-BACKUP"});
    EXPECT_EQ(r.out.substr(0, r.out.find("\t1.0")), name + "\t51R-FEEDER-01-BACKUP\t600");
    EXPECT_EQ(tool({dir_.str(), "remove", name, "51R-FEEDER-01-BACKUP"}).status, 0);
    EXPECT_EQ(tool({dir_.str(), "list"}).out, "< Empty >\r\n");
}

TEST_F(ToolTest, TextThatCp932CannotHoldIsRefusedAndNothingIsStored) {
    ToolResult r = tool(addArgs("A😀", "51R"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "会社名に Shift-JIS で表せない文字が含まれています：「😀」\n");
    EXPECT_FALSE(fs::exists(dir_.dat()));
    EXPECT_FALSE(fs::exists(dir_.idx()));

    ASSERT_EQ(tool(addArgs("B", "1")).status, 0);
    const Bytes dat = readBytes(dir_.dat()), idx = readBytes(dir_.idx());
    EXPECT_EQ(tool(addArgs("B", "1😀")).status, 2);
    EXPECT_EQ(tool({dir_.str(), "find", "B", "😀"}).status, 2);
    EXPECT_EQ(readBytes(dir_.dat()), dat);
    EXPECT_EQ(readBytes(dir_.idx()), idx);

    // In a batch the first refused line stops the run; the lines before it are done.
    r = tool({dir_.str(), "batch"}, "remove\tB\t1\nadd\tC😀\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\n"
                                    "remove\tB\t1\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "removed\n");
    EXPECT_EQ(r.err.rfind("2 行目: ", 0), 0u) << r.err;
    EXPECT_EQ(tool({dir_.str(), "list"}).out, "< Empty >\r\n");
}

TEST_F(ToolTest, BatchRunsEveryOperationWithOneResultEach) {
    const std::string tail = "\t1.0\t0.8\t0.6\t0.5\t0.45\t0.4\t0.05\t4\t20";
    const std::string input = "insert\tA\t51R\t100" + tail + "\n" + "insert\tA\t51R\t200" + tail +
                              "\r\n" + // CR LF input is fine
                              "add\tB\t67\t300" + tail + "\n" +
                              "\n"
                              "find\tA\t51R\n"
                              "delete\tA\t51R\n"
                              "find\tA\t51R\n"
                              "delete\tZ\t1\n"
                              "remove\tB\t67\n"
                              "remove\tB\t67\n"
                              "list\n";
    const ToolResult r = tool({dir_.str(), "batch"}, input);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0\n1\n2\n"
                     "found\tA\t51R\t200" +
                         tail + "\n" +
                         "-1\tA,51R\n"
                         "found\tA\t51R\t100" +
                         tail + "\n" +
                         "-1\tB,67\n" // the record the deletion read for the key Z,1
                         "removed\n"
                         "not found\n"
                         "A,51R\r\n");
    EXPECT_EQ(r.err, "");

    const ToolResult bad = tool({dir_.str(), "batch"}, "find\tA\t51R\nfind\tA\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out.substr(0, 6), "found\t");
    EXPECT_EQ(bad.err, "2 行目: find には 2 個の項目が要りますが、1 個あります\n");
    const ToolResult unknown = tool({dir_.str(), "batch"}, "frobnicate\n");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "1 行目: 不明な操作 frobnicate\n");
}

TEST_F(ToolTest, BatchRefusesARunawayLineBeforeTakingItWhole) {
    const std::string tail = "\t1.0\t0.8\t0.6\t0.5\t0.45\t0.4\t0.05\t4\t20";
    const std::string input = "insert\tA\t51R\t100" + tail + "\n" + std::string(10 << 20, '\t') +
                              "\ninsert\tB\t51R\t100" + tail + "\n";
    const ToolResult r = tool({dir_.str(), "batch"}, input);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "0\n");
    EXPECT_EQ(r.err, "2 行目: 行が長すぎます（65536 バイトまで）\n");
    EXPECT_EQ(tool({dir_.str(), "list"}).out, "A,51R\r\n");
}

TEST_F(ToolTest, ReadingCommandsWorkOnAReadOnlyStore) {
    ASSERT_EQ(tool(addArgs("A", "51R")).status, 0);
    const Bytes dat = readBytes(dir_.dat()), idx = readBytes(dir_.idx());
    // Permissions bind root only through another user.
    if (::geteuid() == 0) {
        if (std::system("command -v setpriv >/dev/null") != 0)
            GTEST_SKIP() << "running as root without setpriv";
        as_ = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    }
    for (const fs::path& p :
         {fs::path(dir_.dat()), fs::path(dir_.idx()), dir_.path() / "ZuboK.jnl"})
        if (fs::exists(p))
            fs::permissions(p,
                            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir_.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                     fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);

    ToolResult r = tool({dir_.str(), "list"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "A,51R\r\n");
    r = tool({dir_.str(), "find", "A", "51R"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 10), "A\t51R\t100\t");
    r = tool({dir_.str(), "remove", "A", "51R"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("を開けません"), std::string::npos) << r.err;
    as_.clear();
    fs::permissions(dir_.path(), fs::perms::owner_all);
    EXPECT_EQ(readBytes(dir_.dat()), dat);
    EXPECT_EQ(readBytes(dir_.idx()), idx);
}

TEST_F(ToolTest, CheckPassesASoundStoreAndFailsADamagedOneWithoutWriting) {
    for (int i = 0; i < 30; ++i)
        ASSERT_EQ(tool(addArgs("C" + std::to_string(10 + i), "51")).status, 0);
    ToolResult r = tool({dir_.str(), "check"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "問題ありません（高さ 2、レコード 30 件、ページ 3 個）\n");

    Bytes dat = readBytes(dir_.dat());
    putLe32(dat, 2 * 1024 + 4, 30); // page 2: key count 30
    writeBytes(dir_.dat(), dat);
    const Bytes idx = readBytes(dir_.idx());
    r = tool({dir_.str(), "check"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("ページ 2 のキー数 30 は 11 から 22 の範囲外です\n"), std::string::npos)
        << r.out;
    EXPECT_EQ(readBytes(dir_.dat()), dat);
    EXPECT_EQ(readBytes(dir_.idx()), idx);

    // The store refuses to work on it either.
    r = tool({dir_.str(), "find", "C35", "51"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("が壊れています（ページ 2 のキー数 30"), std::string::npos) << r.err;
}

TEST_F(ToolTest, MissingStoreAndBadUsageAreRefused) {
    ToolResult r = tool({dir_.str(), "list"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ファイル " + dir_.dat() + " がありません\n");
    EXPECT_FALSE(fs::exists(dir_.dat()));
    r = tool({dir_.str(), "check"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(dir_.dat()));
    r = tool({dir_.str(), "frobnicate"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("使い方: telvara-store DIR list", 0), 0u);
    EXPECT_EQ(tool({dir_.str(), "find", "A"}).status, 2);
    r = tool(
        {dir_.file("nowhere"), "add", "A", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "フォルダ " + dir_.file("nowhere") + " がありません\n");
}

TEST_F(ToolTest, AStoreAnotherProgramWritesIsRefusedAfterTheWait) {
    ASSERT_EQ(tool(addArgs("A", "1")).status, 0);
    TBPlusTree holder;
    holder.OpenStore(dir_.str());
    holder.BeginTransaction();
    ::setenv("TELVARA_LOCK_WAIT_MS", "100", 1);
    const std::string busy =
        "ほかのプログラムがストア " + dir_.str() +
        "/ を使っています（1 秒待ちました）。しばらくしてからやり直してください\n";
    for (const auto& args :
         {addArgs("B", "1"), std::vector<std::string>{dir_.str(), "find", "A", "1"},
          std::vector<std::string>{dir_.str(), "check"}}) {
        const ToolResult r = tool(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, busy);
    }
    ::unsetenv("TELVARA_LOCK_WAIT_MS");
    holder.Rollback();
    EXPECT_EQ(tool({dir_.str(), "find", "A", "1"}).status, 0);
    EXPECT_EQ(tool({dir_.str(), "find", "B", "1"}).status, 1);
}

// Export writes the exact bytes a spreadsheet opens; import into an empty
// folder gives back a store that lists and finds the same, the longest
// names and half-width katakana included.
TEST_F(ToolTest, CsvExportAndImportRoundTrip) {
    const std::vector<std::vector<std::string>> relays = {
        {"A\"1\"B", "51R"},
        {"ｶﾀｶﾅﾃﾞﾝｷ", "51G"},
        {"東京電力東京電力東京電力東京電力東京", "ｱ51"}, // 36 bytes: the whole name field
        {"ｱ", "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ"},         // 30 bytes: the whole device field
    };
    for (const auto& r : relays)
        ASSERT_EQ(tool(addArgs(r[0], r[1])).status, 0) << r[0];
    const std::string csv = io_.file("relays.csv");
    ToolResult r = tool({dir_.str(), "export", csv});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string rest = ",100,1.0,0.8,0.6,0.5,0.45,0.4,0.05,4,20\r\n";
    EXPECT_EQ(readText(csv), "\xEF\xBB\xBF会社名,ﾃﾞﾊﾞｲｽNo.,CT比,150%の時間,200%の時間,300%の時間,"
                             "400%の時間,500%の時間,700%の時間,INSTの時間,タップ,INSTタップ\r\n"
                             "\"A\"\"1\"\"B\",51R" +
                                 rest + "東京電力東京電力東京電力東京電力東京,ｱ51" + rest +
                                 "ｱ,ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ" + rest + "ｶﾀｶﾅﾃﾞﾝｷ,51G" + rest);

    TempDir copy;
    r = tool({copy.str(), "import", csv});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "追加 4 件、置換 0 件、スキップ 0 件\n");
    EXPECT_EQ(tool({copy.str(), "list"}).out, tool({dir_.str(), "list"}).out);
    for (const auto& relay : relays) {
        const ToolResult a = tool({dir_.str(), "find", relay[0], relay[1]});
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(tool({copy.str(), "find", relay[0], relay[1]}).out, a.out);
    }
    EXPECT_EQ(tool({copy.str(), "check"}).status, 0);
}

// Tab-separated, quoted, LF, no mark: read alike. Stored relays are skipped
// and counted, or replaced with --replace.
TEST_F(ToolTest, CsvImportSkipsOrReplacesStoredRelays) {
    ASSERT_EQ(tool(addArgs("A電力", "51R", "50")).status, 0);
    const std::string tsv = io_.file("in.tsv");
    std::ofstream(tsv, std::ios::binary) << "\"A電力\"\t51R\t100\t1\t1\t1\t1\t1\t1\t1\t4\t20\n"
                                            "\"B\tC\"\t\"5\n1\"\t100\t1\t1\t1\t1\t1\t1\t1\t4\t20\n"
                                            "B電力\t67\t200\t1\t1\t1\t1\t1\t1\t1\t4\t20\n";
    ToolResult r = tool({dir_.str(), "import", tsv});
    // A tab and a line break inside quotes are read, then refused as a name.
    ASSERT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "2 行目: 会社名にタブ、改行、NUL 文字は使えません。\n"
                     "2 行目: ﾃﾞﾊﾞｲｽNo.にタブ、改行、NUL 文字は使えません。\n"
                     "取り込みませんでした（問題 2 件）\n");
    std::ofstream(tsv, std::ios::binary) << "\"A電力\"\t51R\t100\t1\t1\t1\t1\t1\t1\t1\t4\t20\n\n"
                                            "B電力\t67\t200\t1\t1\t1\t1\t1\t1\t1\t4\t20\n";
    r = tool({dir_.str(), "import", tsv});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "追加 1 件、置換 0 件、スキップ 1 件\n");
    EXPECT_TRUE(tool({dir_.str(), "find", "A電力", "51R"}).out.starts_with("A電力\t51R\t50\t"));
    r = tool({dir_.str(), "import", tsv, "--replace"});
    EXPECT_EQ(r.out, "追加 0 件、置換 2 件、スキップ 0 件\n");
    EXPECT_TRUE(tool({dir_.str(), "find", "A電力", "51R"}).out.starts_with("A電力\t51R\t100\t"));
    EXPECT_EQ(tool({dir_.str(), "list"}).out, "A電力,51R\r\nB電力,67\r\n");
}

// A file with any bad row names every bad row and field and stores nothing:
// the store's files keep every byte, an empty folder gets no store.
TEST_F(ToolTest, CsvImportWithBadRowsChangesNothing) {
    ASSERT_EQ(tool(addArgs("A電力", "51R")).status, 0);
    const Bytes dat = readBytes(dir_.dat()), idx = readBytes(dir_.idx());
    const std::string csv = io_.file("bad.csv");
    std::ofstream(csv, std::ios::binary)
        << "\xEF\xBB\xBF"
           "会社名,ﾃﾞﾊﾞｲｽNo.,CT比,150%の時間,200%の時間,300%の時間,"
           "400%の時間,500%の時間,700%の時間,INSTの時間,タップ,INSTタップ\r\n"
           "C電力,51,100,1,1,1,1,1,1,1,4,20\r\n"
           "C電力,51,100,1,1,1,1,1,1,1,4,20\r\n"
           "D電力😀,51,abc,1,1,1,1,1,1,1,4,20\r\n"
           "E電力,51,100,1,1,1,1,1,1,1,4\r\n"
           "東京電力東京電力東京電力東京電力東京電,51,100,1,1,1,1,1,1,1,4,20\r\n";
    const ToolResult r = tool({dir_.str(), "import", csv});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "3 行目: 会社名とﾃﾞﾊﾞｲｽNo. が 2 行目と同じです\n"
                     "4 行目: 会社名に Shift-JIS で表せない文字が含まれています：「😀」\n"
                     "4 行目: CT比には 0 より大きい数を入れてください：「abc」\n"
                     "5 行目: 項目が 11 個あります（12 個必要です）\n"
                     "6 行目: 会社名に入るのは 36 バイト（全角 18 文字）までです。入力は 38 "
                     "バイトです。\n取り込みませんでした（問題 5 件）\n");
    EXPECT_EQ(readBytes(dir_.dat()), dat);
    EXPECT_EQ(readBytes(dir_.idx()), idx);
    TempDir empty;
    EXPECT_EQ(tool({empty.str(), "import", csv}).status, 2);
    EXPECT_TRUE(fs::is_empty(empty.path()));
}

TEST_F(ToolTest, AddCurveStoresTheCharacteristicTimes) {
    // IEC SI at TMS 0.1: 0.14 x 0.1 / (M^0.02 - 1) at M 1.5 .. 7.
    const std::string stored =
        "B変電所\t51\t200\t1.719\t1.003\t0.63\t0.498\t0.428\t0.353\t0.05\t4\t20\n";
    ToolResult r =
        tool({dir_.str(), "add-curve", "B変電所", "51", "200", "IEC-SI", "0.1", "0.05", "4", "20"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, stored);
    EXPECT_EQ(tool({dir_.str(), "find", "B変電所", "51"}).out, stored);

    // Refusals store nothing.
    r = tool({dir_.str(), "add-curve", "C", "51", "200", "IEC-XI", "0.1", "0", "4", "20"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "不明な特性 IEC-XI（IEC-SI, IEC-VI, IEC-EI, IEC-LTI, IEEE-MI, IEEE-VI, "
                     "IEEE-EI のどれか）\n");
    r = tool({dir_.str(), "add-curve", "C", "51", "200", "IEEE-VI", "0", "0", "4", "20"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "倍率は 0 より大きい数にしてください。\n");
    r = tool({dir_.str(), "add-curve", "C", "51", "200", "IEEE-VI", "1,5", "0", "4", "20"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "'1,5' は浮動小数点数ではありません\n");
    EXPECT_EQ(tool({dir_.str(), "list"}).out, "B変電所,51\r\n");
}

// Ill-formed UTF-8 and commas are refused at every command that stores a
// relay, naming the field; nothing is stored. A comma stored elsewhere stays
// readable.
TEST_F(ToolTest, IllFormedUtf8AndCommasInNamesAreRefusedEverywhere) {
    const std::string tail = "\t100\t1\t1\t1\t1\t1\t1\t0.05\t4\t20\n";
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {addArgs("A\xC0\x80", "51"),
         "会社名に UTF-8 として正しくないバイト列が含まれています：C0 80"},
        {addArgs("A", "5\xED\xA0\x80"),
         "ﾃﾞﾊﾞｲｽNo.に UTF-8 として正しくないバイト列が含まれています：ED A0 80"},
        {addArgs("East,West", "51"), "会社名に半角のカンマ「,」は使えません。"},
        {{dir_.str(), "add-curve", "A", "5,1", "200", "IEC-SI", "0.1", "0.05", "4", "20"},
         "ﾃﾞﾊﾞｲｽNo.に半角のカンマ「,」は使えません。"},
        {{dir_.str(), "add-curve", "\xF4\x90\x80\x80", "51", "200", "IEC-SI", "0.1", "0.05", "4",
          "20"},
         "会社名に UTF-8 として正しくないバイト列が含まれています：F4 90 80 80"},
        {{dir_.str(), "batch"},
         "1 行目: 会社名に UTF-8 として正しくないバイト列が含まれています：C0 89"},
        {{dir_.str(), "batch"},
         "1 行目: ﾃﾞﾊﾞｲｽNo.に UTF-8 として正しくないバイト列が含まれています：C0 8A"},
        {{dir_.str(), "batch"}, "1 行目: 会社名に半角のカンマ「,」は使えません。"},
    };
    const std::string batches[] = {"add\tA\xC0\x89\t51" + tail, "insert\tA\t\xC0\x8A" + tail,
                                   "insert\tEast,West\t51" + tail};
    int batch = 0;
    for (const auto& [args, message] : refused) {
        const ToolResult r = tool(args, args[1] == "batch" ? batches[batch++] : "");
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_EQ(r.err, message + "\n");
        // A batch opens (and so makes) the store before its first line.
        EXPECT_EQ(tool({dir_.str(), "list"}).out, args[1] == "batch" ? "< Empty >\r\n" : "");
    }
    ToolResult r = tool({dir_.str(), "find", "\xC0\x80", "51"});
    EXPECT_EQ(r.err, "会社名に UTF-8 として正しくないバイト列が含まれています：C0 80\n");

    storeCut("East,West", "51");
    EXPECT_EQ(tool({dir_.str(), "list"}).out, "East,West,51\r\n");
    r = tool({dir_.str(), "find", "East,West", "51"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("East,West\t51\t100\t")) << r.out;
    EXPECT_EQ(tool({dir_.str(), "remove", "East,West", "51"}).status, 0);
}

// An export never lands on the store's own files, by any spelling or link;
// a link where the file goes is replaced, not written through.
TEST_F(ToolTest, CsvExportRefusesTheStoreFilesAndNeverWritesThroughALink) {
    ASSERT_EQ(tool(addArgs("A", "51")).status, 0);
    ASSERT_EQ(
        tool({dir_.str(), "batch"}, "remove\tA\t51\nadd\tA\t51\t100\t1\t1\t1\t1\t1\t1\t1\t4\t20\n")
            .status,
        0);
    const Bytes dat = readBytes(dir_.dat()), idx = readBytes(dir_.idx());
    const std::string jnl = dir_.str() + "/ZuboK.jnl";
    fs::create_symlink(dir_.dat(), io_.file("link.csv"));
    const std::string dotted = dir_.str() + "/./ZuboK.idx";
    for (const std::string& target : {dir_.dat(), dotted, jnl, io_.file("link.csv")}) {
        const ToolResult r = tool({dir_.str(), "export", target});
        EXPECT_EQ(r.status, 2) << target;
        EXPECT_EQ(r.err, "ファイル " + target +
                             " はデーターの保存ファイルです。別のファイル名を指定してください\n");
    }
    EXPECT_EQ(readBytes(dir_.dat()), dat);
    EXPECT_EQ(readBytes(dir_.idx()), idx);
    EXPECT_EQ(tool({dir_.str(), "check"}).status, 0);

    // The old fixed temporary name and the file's own name as links to a
    // file elsewhere: that file keeps its bytes.
    const std::string victim = io_.file("victim");
    std::ofstream(victim) << "keep";
    const std::string out = io_.file("out.csv");
    fs::create_symlink(victim, out + ".tmp");
    fs::create_symlink(victim, out);
    ToolResult r = tool({dir_.str(), "export", out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readText(victim), "keep");
    EXPECT_FALSE(fs::is_symlink(out));
    EXPECT_TRUE(readText(out).ends_with("\r\nA,51,100,1,1,1,1,1,1,1,4,20\r\n"));
    std::size_t left = 0;
    for (const auto& e : fs::directory_iterator(io_.path()))
        left += e.path().filename().string().starts_with("out.csv.tmp-");
    EXPECT_EQ(left, 0u);
}

// A file saved by a Japanese spreadsheet (Shift-JIS, blanks around cells)
// imports.
TEST_F(ToolTest, CsvImportReadsShiftJis) {
    const std::string csv = io_.file("sjis.csv");
    // As a spreadsheet saves what export wrote: the header row in Shift-JIS too.
    std::ofstream(csv, std::ios::binary)
        << utf8ToCp932("会社名,ﾃﾞﾊﾞｲｽNo.,CT比,150%の時間,200%の時間,300%の時間,400%の時間,"
                       "500%の時間,700%の時間,INSTの時間,タップ,INSTタップ\r\n"
                       " A電力 , 51R ,  100 ,1,1,1,1,1,1,1,4,20\r\n");
    ToolResult r = tool({dir_.str(), "import", csv});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "追加 1 件、置換 0 件、スキップ 0 件\n");
    EXPECT_EQ(tool({dir_.str(), "find", "A電力", "51R"}).out,
              "A電力\t51R\t100\t1\t1\t1\t1\t1\t1\t1\t4\t20\n");
}

} // namespace
} // namespace telvara::test
