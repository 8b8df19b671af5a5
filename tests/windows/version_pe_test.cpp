// The Windows tools carry their version as a VERSIONINFO resource, read back
// through the same calls the version dialog uses.
#include "version/version_block.h"

#include <gtest/gtest.h>

using namespace telvara;

TEST(VersionPe, ToolsCarryTheProjectVersion) {
    EXPECT_EQ(GetFileVersion(TELVARA_STORE_EXE), TELVARA_VERSION);
    EXPECT_EQ(GetFileVersion(TELVARA_CHECK_EXE), TELVARA_VERSION);
    std::vector<unsigned char> block;
    ASSERT_TRUE(
        GetFileVersionInfo(TELVARA_STORE_EXE, GetFileVersionInfoSize(TELVARA_STORE_EXE), block));
    std::string value;
    EXPECT_TRUE(VerQueryValue(block, "\\StringFileInfo\\041103A4\\ProductName", value));
    EXPECT_EQ(value, "Telvara");
    EXPECT_FALSE(VerQueryValue(block, "\\StringFileInfo\\040904B0\\FileVersion", value));
}

TEST(VersionPe, AFileWithoutOneHasNoVersion) {
    // This test program has no version resource.
    const std::string self = GetModuleName();
    EXPECT_NE(self.find("version_pe_test.exe"), std::string::npos) << self;
    EXPECT_EQ(GetFileVersion(self), "バージョン情報なし");
    EXPECT_EQ(GetFileVersion(TELVARA_TEST_DATA "/cp932/table.txt"), "バージョン情報なし");
}
