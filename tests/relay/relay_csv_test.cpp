// Importing rows into a store: one operation, so a failing disk or a stop
// half-way leaves every byte of the store as it was.
#include "relay/relay_csv.h"
#include "store/stored_relays.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace telvara {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(RelayCsvImport, FailureOrStopHalfWayStoresNothing) {
    const fs::path dir = fs::temp_directory_path() / ("relay_csv_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string csv;
    for (int i = 0; i < 60; ++i)
        csv += "R" + std::to_string(100 + i) + ",51,100,1,1,1,1,1,1,1,4,20\n";
    const CsvReading reading = readRelayCsv(csv);
    ASSERT_TRUE(reading.problems.empty());
    ASSERT_EQ(60u, reading.rows.size());
    EXPECT_EQ(60, reading.rows.back().line);

    TBPlusTree store;
    store.OpenStore(dir.string());
    const std::vector<CsvRow> first(reading.rows.begin(), reading.rows.begin() + 30);
    EXPECT_EQ(30, importRelays(store, first, false).added);
    const std::string dat = bytesOf(store.pageFilePath()), idx = bytesOf(store.recordFilePath());

    int calls = 0;
    EXPECT_THROW(importRelays(store, reading.rows, true,
                              [&](int done, int total) {
                                  EXPECT_EQ(60, total);
                                  return ++calls == done && done < 45;
                              }),
                 TImportRefused);
    EXPECT_EQ(45, calls);
    store.injectFaultAfter(2); // pages already read are kept: the commit's writes fail
    EXPECT_THROW(importRelays(store, reading.rows, true), IoError);
    store.injectFaultAfter(-1);
    EXPECT_EQ(dat, bytesOf(store.pageFilePath()));
    EXPECT_EQ(idx, bytesOf(store.recordFilePath()));
    const ImportSummary all = importRelays(store, reading.rows, false);
    EXPECT_EQ((std::array{30, 0, 30}), (std::array{all.added, all.replaced, all.skipped}));
    store.CloseStore();
    fs::remove_all(dir);
}

RecordTexts relayTexts(const std::string& name, const std::string& device,
                       const std::string& ct = "100", const std::string& t150 = "1") {
    return {name, device, ct, t150, "1", "1", "1", "1", "1", "0.05", "4", "20"};
}

const std::string kRest = ",1,1,1,1,1,0.05,4,20\r\n";

// No cell starts a spreadsheet formula, and reading gives back every text
// exactly: apostrophes a text begins with are its own unless one was added.
TEST(RelayCsv, FormulaCellsAreWrittenBehindAnApostropheAndReadBackExactly) {
    const std::vector<RecordTexts> records = {
        relayTexts("=1+2", "@cmd"),  relayTexts("'=x", "''-y"), relayTexts("'abc", "+A"),
        relayTexts(" A電力 ", "-B"), relayTexts("'", "x'="),
    };
    const std::string csv = relayCsv(records);
    const std::string rows = csv.substr(csv.find("\r\n") + 2);
    EXPECT_EQ(rows, "'=1+2,'@cmd,100,1" + kRest + "''=x,'''-y,100,1" + kRest + "'abc,'+A,100,1" +
                        kRest + "\" A電力 \",'-B,100,1" + kRest + "',x'=,100,1" + kRest);
    const CsvReading reading = readRelayCsv(csv);
    ASSERT_EQ(reading.problems, std::vector<std::string>{});
    ASSERT_EQ(reading.rows.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(reading.rows[i].texts, records[i]) << i;

    // A tab or carriage return at the start is guarded and quoted; the
    // number check then quotes the text as read back.
    const std::string odd = relayCsv({relayTexts("A", "1", "\t5", "\r1")});
    EXPECT_TRUE(odd.ends_with("\r\nA,1,\"'\t5\",\"'\r1\"" + kRest)) << odd;
    EXPECT_EQ(
        readRelayCsv(odd).problems,
        (std::vector<std::string>{
            "2 行目: CT比には 0 より大きい数を入れてください：「\t5」",
            "2 行目: 150%の時間には 0（点を描かない）か 0 より大きい数を入れてください：「\r1」"}));
}

// Blanks around a cell are the spreadsheet's, not the relay's; inside
// quotes they are kept.
TEST(RelayCsv, BlanksAroundCellsAreTrimmed) {
    const CsvReading reading = readRelayCsv("  A電力 , 51R ,  100 ,1,1,1,1,1,1,1,4,20\n"
                                            "  \" B \"  ,\"51\"\t,100,1,1,1,1,1,1,1,4,20\n   \n");
    ASSERT_EQ(reading.problems, std::vector<std::string>{});
    ASSERT_EQ(reading.rows.size(), 2u);
    EXPECT_EQ(reading.rows[0].texts[0], "A電力");
    EXPECT_EQ(reading.rows[0].texts[1], "51R");
    EXPECT_EQ(reading.rows[0].texts[2], "100");
    EXPECT_EQ(reading.rows[1].texts[0], " B ");
    EXPECT_EQ(reading.rows[1].texts[1], "51");
}

// A Japanese spreadsheet saves Shift-JIS; valid UTF-8 stays UTF-8, with or
// without the mark, and a file that is neither names its first bad row.
TEST(RelayCsv, FilesThatAreNotUtf8AreReadAsCp932) {
    const std::string rows = "\x93\x8C\x8B\x9E\x93\x64\x97\xCD,51\xB1,100,1,1,1,1,1,1,1,4,20\r\n"
                             "\"\x91\xE6\x88\xEA \",1,100,1,1,1,1,1,1,1,4,20\r\n";
    for (const std::string& file : {rows, "\xEF\xBB\xBF" + rows}) {
        const CsvReading reading = readRelayCsv(file);
        ASSERT_EQ(reading.problems, std::vector<std::string>{});
        ASSERT_EQ(reading.rows.size(), 2u);
        EXPECT_EQ(reading.rows[0].texts[0], "東京電力");
        EXPECT_EQ(reading.rows[0].texts[1], "51ｱ");
        EXPECT_EQ(reading.rows[1].texts[0], "第一 ");
    }
    EXPECT_EQ(readRelayCsv("A,1,100,1,1,1,1,1,1,1,4,20\n"
                           "\x93\x64,1,100,1,1,1,1,1,1,1,4,20\n"
                           "B\x81\x7F,1,100,1,1,1,1,1,1,1,4,20\n")
                  .problems,
              std::vector<std::string>{"3 行目: ファイルは UTF-8 でも Shift-JIS (CP932) "
                                       "でもありません（読めないバイト 81 7F）"});
    // A UTF-8 file with a damaged byte is not taken for garbled Shift-JIS.
    EXPECT_EQ(readRelayCsv("会社名,ﾃﾞﾊﾞｲｽNo.,CT比,150%の時間,200%の時間,300%の時間,400%の時間,"
                           "500%の時間,700%の時間,INSTの時間,タップ,INSTタップ\n"
                           "東京電力,51,100,1,1,1,1,1,1,1,4,20\n"
                           "大阪電力\xC0\x80,51,100,1,1,1,1,1,1,1,4,20\n")
                  .problems,
              std::vector<std::string>{"3 行目: UTF-8 として正しくないバイト列 C0 80 があります"});
    // An overlong NUL is not UTF-8, and 80 is no CP932 character.
    EXPECT_EQ(readRelayCsv("A\xC0\x80,1,100,1,1,1,1,1,1,1,4,20\n").problems,
              std::vector<std::string>{"1 行目: ファイルは UTF-8 でも Shift-JIS (CP932) "
                                       "でもありません（読めないバイト 80）"});
}

} // namespace
} // namespace telvara
