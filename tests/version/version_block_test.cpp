#include "version/elf_section.h"
#include "version/version_block.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace telvara;
namespace fs = std::filesystem;

namespace {

const std::string kNone = "バージョン情報なし";

std::vector<unsigned char> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A scratch folder removed after each test.
class VersionFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("telvara_version_" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // A copy of the fixture with `change` applied to its bytes.
    std::string
    damagedCopy(const std::string& name,
                const std::function<void(std::vector<unsigned char>&, size_t)>& change) {
        std::vector<unsigned char> bytes = readFile(FIXTURE_JA);
        const auto place = findElfSection(FIXTURE_JA, kVersionSection);
        EXPECT_TRUE(place.has_value());
        change(bytes, place ? static_cast<size_t>(place->offset) : 0);
        writeFile(path(name), bytes);
        return path(name);
    }

    fs::path dir_;
};

std::vector<unsigned char> sectionBytes(const std::string& file) {
    const auto place = findElfSection(file, kVersionSection);
    if (!place)
        return {};
    const std::vector<unsigned char> all = readFile(file);
    return {all.begin() + static_cast<long>(place->offset),
            all.begin() + static_cast<long>(place->offset + place->size)};
}

} // namespace

TEST(VersionBlock, EmbeddedBlockIsTheDocumentedLayout) {
    const std::vector<unsigned char> expected = buildVersionBlock(
        {{"041103A4", {{"ProductName", PROJECT_NAME}, {"FileVersion", PROJECT_VERSION}}}});
    EXPECT_EQ(sectionBytes(FIXTURE_JA), expected);
    ASSERT_GE(expected.size(), 10u);
    EXPECT_EQ(std::string(expected.begin(), expected.begin() + 4), "TVVB");
    EXPECT_EQ(expected[4] | (expected[5] << 8), static_cast<int>(expected.size()));
    EXPECT_EQ(GetFileVersionInfoSize(FIXTURE_JA), expected.size());
}

TEST(VersionBlock, FileVersionComesFromTheJapaneseTableOfThatFile) {
    EXPECT_EQ(GetFileVersion(FIXTURE_JA), PROJECT_VERSION);
    EXPECT_EQ(GetFileVersion(FIXTURE_TWO), "2.3.4.5"); // after a table of another language
    EXPECT_EQ(GetFileVersion(FIXTURE_OTHER), kNone);   // only "040904B0"
    EXPECT_GT(GetFileVersionInfoSize(FIXTURE_OTHER), 0u);
    std::string project = PROJECT_VERSION;
    EXPECT_EQ(std::count(project.begin(), project.end(), '.'), 3); // four dotted numbers
}

TEST_F(VersionFile, FilesWithoutABlockGiveNoVersion) {
    EXPECT_EQ(GetFileVersion(path("missing")), kNone);
    EXPECT_EQ(GetFileVersion(""), kNone);
    EXPECT_EQ(GetFileVersion(dir_.string()), kNone); // a folder
    writeFile(path("plain.txt"), {'F', 'i', 'l', 'e', 'V', 'e', 'r', 's', 'i', 'o', 'n'});
    EXPECT_EQ(GetFileVersion(path("plain.txt")), kNone);
    writeFile(path("empty"), {});
    EXPECT_EQ(GetFileVersion(path("empty")), kNone);
    EXPECT_EQ(GetFileVersionInfoSize(path("empty")), 0u);
    if (fs::exists("/bin/true")) {
        EXPECT_GT(findElfSection("/bin/true", ".text").value_or(ElfSectionPlace{}).size, 0u);
        EXPECT_EQ(GetFileVersion("/bin/true"), kNone);
    }
}

TEST_F(VersionFile, DamagedBlocksGiveNoVersion) {
    // Total length beyond the section.
    EXPECT_EQ(GetFileVersion(damagedCopy("long", [](auto& b, size_t at) { b[at + 5] = 0x7F; })),
              kNone);
    // Wrong magic.
    EXPECT_EQ(GetFileVersion(damagedCopy("magic", [](auto& b, size_t at) { b[at] = 'X'; })), kNone);
    // A table count larger than the tables present.
    EXPECT_EQ(GetFileVersion(damagedCopy("count", [](auto& b, size_t at) { b[at + 9] = 0x10; })),
              kNone);
    // A block longer than its length field says.
    EXPECT_EQ(GetFileVersion(damagedCopy("short", [](auto& b, size_t at) { --b[at + 4]; })), kNone);
    // Section headers cut off.
    EXPECT_EQ(GetFileVersion(damagedCopy("cut", [](auto& b, size_t) { b.resize(b.size() / 2); })),
              kNone);
    // Not an ELF file any more.
    EXPECT_EQ(GetFileVersion(damagedCopy("elf", [](auto& b, size_t) { b[1] = 'X'; })), kNone);
    // The untouched copy still reads: only the damage made the difference.
    EXPECT_EQ(GetFileVersion(damagedCopy("same", [](auto&, size_t) {})), PROJECT_VERSION);
}

TEST(VersionBlock, QueryFindsOnlyTheExactPath) {
    const std::vector<unsigned char> block = buildVersionBlock(
        {{"040904B0", {{"FileVersion", "9.9.9.9"}}},
         {"041103A4", {{"Comments", "x"}, {"FileVersion", std::string("1.2\0z", 5)}}}});
    std::string v;
    EXPECT_TRUE(VerQueryValue(block, "\\StringFileInfo\\041103A4\\FileVersion", v));
    EXPECT_EQ(v, "1.2"); // cut at its terminating zero
    EXPECT_TRUE(VerQueryValue(block, "\\StringFileInfo\\040904B0\\FileVersion", v));
    EXPECT_EQ(v, "9.9.9.9");
    v = "unchanged";
    EXPECT_FALSE(VerQueryValue(block, "\\StringFileInfo\\041103A4\\ProductName", v));
    EXPECT_FALSE(VerQueryValue(block, "\\StringFileInfo\\04110000\\FileVersion", v));
    EXPECT_FALSE(VerQueryValue(block, "StringFileInfo\\041103A4\\FileVersion", v));
    EXPECT_FALSE(VerQueryValue(block, "\\VarFileInfo\\041103A4\\FileVersion", v));
    EXPECT_FALSE(VerQueryValue(block, "\\StringFileInfo\\041103A4", v));
    EXPECT_EQ(v, "unchanged");
}

TEST(VersionBlock, TruncatedBlocksNeverReadPastTheirEnd) {
    const std::vector<unsigned char> block =
        buildVersionBlock({{"041103A4", {{"FileVersion", "1.0.0.0"}}}});
    for (size_t n = 0; n < block.size(); ++n) {
        std::vector<unsigned char> cut(block.begin(), block.begin() + static_cast<long>(n));
        std::string v;
        EXPECT_FALSE(VerQueryValue(cut, kFileVersionQuery, v)) << n;
        // The same cut with a length field that claims only what is there.
        if (n >= 10) {
            cut[4] = static_cast<unsigned char>(n);
            cut[5] = 0;
            EXPECT_FALSE(VerQueryValue(cut, kFileVersionQuery, v)) << n;
        }
    }
    std::string v;
    EXPECT_TRUE(VerQueryValue(block, kFileVersionQuery, v));
}

TEST(VersionBlock, ModuleNameIsTheRunningProgramFile) {
    const std::string self = GetModuleName();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(self.front(), '/');
    EXPECT_TRUE(fs::equivalent(self, SELF_PATH));
    // This test program carries the project's block, read from its own file.
    EXPECT_EQ(GetFileVersion(self), PROJECT_VERSION);
}
