// Code page 932 through the system, checked against glibc's table
// (tests/data/cp932/table.txt, written by make_table.py beside it): every
// byte, every lead and trail byte pair and every code point of the basic
// plane convert exactly as the table says, on Linux and on Windows alike.
#include "base/cp932.h"
#include "base/os/codepage.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

using namespace telvara;

namespace {

struct Table {
    std::map<std::string, char32_t> decode; // bytes -> code point
    std::map<char32_t, std::string> encode; // code point -> bytes
};

std::string bytesOf(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

const Table& table() {
    static const Table t = [] {
        Table t;
        std::ifstream in(TELVARA_TEST_DATA "/cp932/table.txt");
        std::string bytes, cp, back;
        while (in >> bytes >> cp >> back) {
            const char32_t c = char32_t(std::stoul(cp, nullptr, 16));
            if (bytes != "-")
                t.decode[bytesOf(bytes)] = c;
            t.encode[c] = bytesOf(back);
        }
        return t;
    }();
    return t;
}

std::string utf8Of(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += char(c);
    } else if (c < 0x800) {
        s += char(0xC0 | (c >> 6));
        s += char(0x80 | (c & 0x3F));
    } else {
        s += char(0xE0 | (c >> 12));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    }
    return s;
}

std::string hex(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        out += buf;
    }
    return out;
}

std::vector<std::string> everySequence() {
    std::vector<std::string> all;
    for (int b = 0x80; b <= 0xFF; ++b)
        all.push_back(std::string(1, char(b)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            all.push_back(std::string{char(lead), char(trail)});
    }
    return all;
}

TEST(OsCp932, EveryByteAndPairDecodesAsTheTableSays) {
    ASSERT_GT(table().decode.size(), 9000u);
    int wrong = 0;
    for (const std::string& seq : everySequence()) {
        std::string got;
        const bool ok = os::decodeCp932Char(seq, got);
        const auto it = table().decode.find(seq);
        const std::string want = it == table().decode.end() ? "" : utf8Of(it->second);
        if (ok != !want.empty() || got != want) {
            ADD_FAILURE() << hex(seq) << ": " << (ok ? hex(got) : "none") << " instead of "
                          << (want.empty() ? "none" : hex(want));
            if (++wrong > 20)
                return;
        }
    }
}

TEST(OsCp932, EveryCodePointEncodesAsTheTableSays) {
    ASSERT_GT(table().encode.size(), 9000u);
    int wrong = 0;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        std::string got;
        const bool ok = os::encodeCp932Char(utf8Of(c), got);
        const auto it = table().encode.find(c);
        const std::string want = it == table().encode.end() ? "" : it->second;
        if (ok != !want.empty() || got != want) {
            ADD_FAILURE() << "U+" << std::hex << std::uppercase << unsigned(c) << ": "
                          << (ok ? hex(got) : "none") << " instead of "
                          << (want.empty() ? "none" : hex(want));
            if (++wrong > 20)
                return;
        }
    }
    std::string out;
    EXPECT_FALSE(os::encodeCp932Char("😀", out));    // beyond the basic plane
    EXPECT_FALSE(os::encodeCp932Char("\xE9", out)); // broken UTF-8
}

// Bytes -> text -> bytes: what a stored key goes through from the list to
// a lookup. Bytes that are no whole character come back unchanged through
// the reserved code points; the table's few duplicate codes come back as
// the form the table encodes them to.
TEST(OsCp932, EverySequenceSurvivesTheRoundTrip) {
    int wrong = 0;
    for (const std::string& seq : everySequence()) {
        const auto it = table().decode.find(seq);
        const std::string want = it == table().decode.end() ? seq : table().encode.at(it->second);
        const std::string back = utf8ToCp932(cp932ToUtf8(seq));
        if (back != want) {
            ADD_FAILURE() << hex(seq) << " came back as " << hex(back);
            if (++wrong > 20)
                return;
        }
    }
    // A lead byte cut off at the end of a field, and one before a byte that
    // makes no character: each becomes its reserved code point U+F700 + byte.
    EXPECT_EQ(cp932ToUtf8("\x93"), "\xEF\x9E\x93");
    EXPECT_EQ(cp932ToUtf8("\x85\x40"), "\xEF\x9E\x85@");
    EXPECT_EQ(cp932ToUtf8("\xA0\xFD"), "\xEF\x9E\xA0\xEF\x9F\xBD");
}

} // namespace
