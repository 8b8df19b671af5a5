#include "base/cp932.h"
#include "base/errors.h"

#include <gtest/gtest.h>

using namespace telvara;

TEST(Cp932, RoundTripsJapaneseText) {
    const std::string bytes = "A\x93\x64\x97\xCD"; // "A電力"
    EXPECT_EQ(cp932ToUtf8(bytes), "A電力");
    EXPECT_EQ(utf8ToCp932("A電力"), bytes);
    EXPECT_EQ(utf8ToCp932("保護協調曲線"), "\x95\xDB\x8C\xEC\x8B\xA6\x92\xB2\x8B\xC8\x90\xFC");
    EXPECT_EQ(cp932ToUtf8(utf8ToCp932("保護協調曲線")), "保護協調曲線");
    EXPECT_EQ(utf8ToCp932(""), "");
}

TEST(Cp932, HalfWidthKatakanaIsOneByteEach) {
    const std::string bytes = "\xB8\xDE\xD7\xCC"; // ｸﾞﾗﾌ
    EXPECT_EQ(cp932ToUtf8(bytes), "ｸﾞﾗﾌ");
    EXPECT_EQ(utf8ToCp932("ｸﾞﾗﾌ"), bytes);
    EXPECT_EQ(cp932CharLength(bytes, 0), 1u);
    EXPECT_EQ(cp932CharLength("\x93\x64", 0), 2u);
    EXPECT_EQ(cp932CharLength("\x93", 0), 1u); // a cut lead byte stands alone
}

TEST(Cp932, CutDoubleByteCharacterSurvivesByteForByte) {
    // A field cut after the lead byte of "力", and a lead byte followed by a
    // byte that makes no character.
    for (const std::string& bytes : {std::string("A\x93\x64\x97"), std::string("\x97xyz"),
                                     std::string("\x81\x7F"
                                                 "a"),
                                     std::string("\xFD\xFE\xFF")}) {
        const std::string text = cp932ToUtf8(bytes);
        EXPECT_EQ(utf8ToCp932(text), bytes);
        EXPECT_TRUE(isCp932Representable(text));
    }
    EXPECT_EQ(cp932ToUtf8("A\x93\x64\x97").substr(0, 4), "A電");
}

TEST(Cp932, RefusesCharactersWithoutACp932Form) {
    EXPECT_FALSE(isCp932Representable("A😀"));
    try {
        utf8ToCp932("A😀B");
        FAIL() << "no EncodingError";
    } catch (const EncodingError& e) {
        EXPECT_NE(std::string(e.what()).find("😀"), std::string::npos) << e.what();
    }
    EXPECT_THROW(utf8ToCp932("\xE9"), EncodingError); // broken UTF-8
    // U+F741 is not a raw byte: it must not turn into "A".
    EXPECT_THROW(utf8ToCp932("\xEF\x9D\x81"), EncodingError);
    EXPECT_EQ(utf8ToCp932("\xEF\x9E\x97"), "\x97"); // U+F797, the raw byte 0x97
    EXPECT_TRUE(isCp932Representable("ﾊﾞｰｼﾞｮﾝ情報"));
}
