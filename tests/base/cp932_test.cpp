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

// Only well-formed UTF-8 is converted: an overlong form would store a NUL, a
// tab or a line feed (C0 80, C0 89, C0 8A) or a raw byte (F0 8F 9E 80 for
// U+F780); surrogates and values above U+10FFFF are no characters.
TEST(Cp932, RefusesIllFormedUtf8ByItsBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"A\xC0\x80", "C0 80"},
        {"\xC0\x89", "C0 89"},
        {"\xC0\x8A"
         "B",
         "C0 8A"},
        {"\xE0\x80\x8A", "E0 80 8A"},
        {"\xF0\x8F\x9E\x80", "F0 8F 9E 80"},
        {"\xED\xA0\x80", "ED A0 80"},
        {"\xF4\x90\x80\x80", "F4 90 80 80"},
        {"\xF5\x80\x80\x80", "F5 80 80 80"},
        {"x\x80", "80"},
        {"\xE3\x81", "E3 81"},
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_FALSE(isCp932Representable(text)) << bytes;
        try {
            utf8ToCp932(text);
            ADD_FAILURE() << "no EncodingError for " << bytes;
        } catch (const EncodingError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "UTF-8 として正しくないバイト列 " + bytes + " があります");
        }
        EXPECT_NE(firstIllFormedUtf8(text), std::string::npos) << bytes;
    }
    // The boundaries that are characters.
    EXPECT_EQ(utf8CharLength("\xF4\x8F\xBF\xBF", 0), 4u); // U+10FFFF
    EXPECT_EQ(utf8CharLength("\xED\x9F\xBF", 0), 3u);     // U+D7FF
    EXPECT_EQ(utf8CharLength("\xC2\x80", 0), 2u);
    EXPECT_EQ(firstIllFormedUtf8("A電力ｱ\xF0\x9F\x98\x80"), std::string::npos);
}

TEST(Cp932, StrictDecodingStopsAtTheFirstByteThatIsNoCharacter) {
    std::string text;
    EXPECT_EQ(strictCp932ToUtf8("A\x93\x64\x97\xCD\xB1", text), std::string::npos);
    EXPECT_EQ(text, "A電力ｱ");
    EXPECT_EQ(strictCp932ToUtf8("ab\x81\x7F", text), 2u);
    EXPECT_EQ(strictCp932ToUtf8("\x93\x64\x80", text), 2u);
    EXPECT_EQ(strictCp932ToUtf8("\x93", text), 0u); // a cut character
}
