// Reading the lines of the input data list on their CP932 bytes.
#include "app/list_line.h"
#include "base/cp932.h"

#include <gtest/gtest.h>

namespace telvara {
namespace {

using Items = std::vector<std::string>;

Items read(const std::string& utf8) {
    Items items;
    for (const std::string& item : readListLine(utf8ToCp932(utf8)))
        items.push_back(cp932ToUtf8(item));
    return items;
}

TEST(ListLine, KeyLinesGiveNameAndDeviceWithoutTheIndent) {
    EXPECT_EQ(read("A電力,51R"), (Items{"A電力", "51R"}));
    EXPECT_EQ(read("        A電力,67"), (Items{"A電力", "67"}));
    EXPECT_EQ(read("\t\x01 B電力,51R"), (Items{"B電力", "51R"}));
    // Blanks around the comma belong to the separator.
    EXPECT_EQ(read("A電力 ,  51R"), (Items{"A電力", "51R"}));
    EXPECT_EQ(read("A電力,51R   "), (Items{"A電力", "51R"}));
}

TEST(ListLine, BlanksAndControlBytesEndAnItem) {
    // A name holding a half-width space falls apart.
    EXPECT_EQ(read("A 電力,51R"), (Items{"A", "電力", "51R"}));
    EXPECT_EQ(read("< Empty >"), (Items{"<", "Empty", ">"}));
    EXPECT_EQ(read("A\x1f"
                   "B,C"),
              (Items{"A", "B", "C"}));
    // A full-width space is no separator.
    EXPECT_EQ(read("A　電力,51R"), (Items{"A　電力", "51R"}));
}

TEST(ListLine, EmptyItemsAndLinesWithoutTwoItems) {
    EXPECT_EQ(read(""), Items{});
    EXPECT_EQ(read("    "), Items{});
    EXPECT_EQ(read("[etc.]"), Items{"[etc.]"});
    // A line ending with a comma gets an empty last item; a comma followed
    // by blanks only does not.
    EXPECT_EQ(read("A電力,"), (Items{"A電力", ""}));
    EXPECT_EQ(read("A電力, "), Items{"A電力"});
    EXPECT_EQ(read("A,,B"), (Items{"A", "", "B"}));
    EXPECT_EQ(read(",B"), (Items{"", "B"}));
    EXPECT_EQ(read(","), (Items{"", ""}));
}

TEST(ListLine, QuotedItemsRunToTheClosingQuote) {
    EXPECT_EQ(read("\"A 電力, 本店\",51R"), (Items{"A 電力, 本店", "51R"}));
    EXPECT_EQ(read("\"say \"\"hi\"\"\",x"), (Items{"say \"hi\"", "x"}));
    EXPECT_EQ(read("\"\",51R"), (Items{"", "51R"}));
    // Text right after the closing quote starts the next item.
    EXPECT_EQ(read("\"ab\"cd,e"), (Items{"ab", "cd", "e"}));
    // No closing quote: the item runs to the end of the line.
    EXPECT_EQ(read("\"ab, c"), Items{"ab, c"});
    // A quote inside an unquoted item is an ordinary character.
    EXPECT_EQ(read("a\"b,c"), (Items{"a\"b", "c"}));
}

TEST(ListLine, DoubleByteCharactersAreNeverSplit) {
    // ソ is 83 5C, 表 is 95 5C, ポ is 83 7C, 機 is 8B 40: trail bytes that look
    // like '\', '|' and '@' stay with their lead byte.
    EXPECT_EQ(utf8ToCp932("ソ"), "\x83\x5C");
    EXPECT_EQ(read("ソニー表,51R"), (Items{"ソニー表", "51R"}));
    EXPECT_EQ(readListLine("\x83\x5C\x83\x7C,\x8B\x40"),
              (std::vector<std::string>{"\x83\x5C\x83\x7C", "\x8B\x40"}));
    // A comma is never a trail byte (those are 40-7E and 80-FC): a name cut
    // after a lead byte keeps that byte, and the comma still separates.
    EXPECT_EQ(readListLine("xx\x93,51R"), (std::vector<std::string>{"xx\x93", "51R"}));
    EXPECT_EQ(readListLine("xx\x93 51R"), (std::vector<std::string>{"xx\x93", "51R"}));
    // A key cut at the end of its slot ends with a lone lead byte.
    EXPECT_EQ(readListLine("A,5\x93"), (std::vector<std::string>{"A", "5\x93"}));
    EXPECT_EQ(readListLine("\"\x83\x5C\"\"\",x"), (std::vector<std::string>{"\x83\x5C\"", "x"}));
}

TEST(ListText, SplitsAtLineBreaksWithoutAnEmptyLastLine) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(splitListText(""), Lines{});
    EXPECT_EQ(splitListText("< Empty >"), Lines{"< Empty >"});
    EXPECT_EQ(splitListText("a\r\n    b\r\n"), (Lines{"a", "    b"}));
    EXPECT_EQ(splitListText("a\r\n\r\n[etc.]"), (Lines{"a", "", "[etc.]"}));
    EXPECT_EQ(splitListText("a\nb\rc\r\n\r\n"), (Lines{"a", "b", "c", ""}));
}

} // namespace
} // namespace telvara
