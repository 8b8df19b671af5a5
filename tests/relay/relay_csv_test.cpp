// Importing rows into a store: one operation, so a failing disk or a stop
// half-way leaves every byte of the store as it was.
#include "relay/relay_csv.h"

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
    store.injectFaultAfter(40);
    EXPECT_THROW(importRelays(store, reading.rows, true), IoError);
    store.injectFaultAfter(-1);
    EXPECT_EQ(dat, bytesOf(store.pageFilePath()));
    EXPECT_EQ(idx, bytesOf(store.recordFilePath()));
    const ImportSummary all = importRelays(store, reading.rows, false);
    EXPECT_EQ((std::array{30, 0, 30}), (std::array{all.added, all.replaced, all.skipped}));
    store.CloseStore();
    fs::remove_all(dir);
}

} // namespace
} // namespace telvara
