// Files written whole under names nobody could prepare, never through links.
#include "base/errors.h"
#include "base/file_write.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace telvara;

namespace {

std::string textOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FileWrite, NeverWritesThroughALinkAndKeepsPermissions) {
    const fs::path dir = fs::temp_directory_path() / ("file_write_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path victim = dir / "victim", out = dir / "out.csv";
    std::ofstream(victim) << "keep";

    // A link at the temporary name is refused, and its target keeps its bytes.
    const fs::path planted = dir / "planted.tmp";
    fs::create_symlink(victim, planted);
    try {
        createNewFile(planted.string(), out.string());
        ADD_FAILURE() << "a link was opened";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "一時ファイル " + planted.string() +
                                             " はシンボリックリンクです。ファイル " + out.string() +
                                             " は書き込みませんでした");
    }
    std::ofstream(dir / "taken") << "x";
    EXPECT_EQ(createNewFile((dir / "taken").string(), out.string()), -1);
    EXPECT_EQ(errno, EEXIST);

    writeFileWhole(out.string(), "new");
    EXPECT_EQ(textOf(out), "new");

    // Replacing keeps the old file's permissions; nothing is left beside it.
    fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    writeFileWhole(out.string(), "newer");
    EXPECT_EQ(textOf(out), "newer");
    EXPECT_EQ(fs::status(out).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++entries;
    EXPECT_EQ(entries, 4); // victim, planted.tmp, taken, out.csv
    EXPECT_THROW(writeFileWhole((dir / "no" / "x").string(), "x"), IoError);
    fs::remove_all(dir);
}

} // namespace
