#include "base/cp932.h"

#include "base/errors.h"
#include "base/os/codepage.h"


namespace telvara {
namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

char32_t decodeUtf8(std::string_view s, size_t i, size_t n) {
    unsigned char c = s[i];
    if (n == 1)
        return c;
    char32_t cp = c & (0xFF >> (n + 1));
    for (size_t k = 1; k < n; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    return cp;
}

// The bytes a lead byte may be followed by first; the later ones are 80..BF.
struct Utf8Lead {
    size_t length;
    unsigned char low, high;
};

Utf8Lead utf8Lead(unsigned char c) {
    if (c < 0x80)
        return {1, 0, 0};
    if (c >= 0xC2 && c <= 0xDF)
        return {2, 0x80, 0xBF};
    if (c == 0xE0)
        return {3, 0xA0, 0xBF}; // below A0 is overlong
    if (c == 0xED)
        return {3, 0x80, 0x9F}; // above 9F are surrogates
    if (c >= 0xE1 && c <= 0xEF)
        return {3, 0x80, 0xBF};
    if (c == 0xF0)
        return {4, 0x90, 0xBF}; // below 90 is overlong
    if (c >= 0xF1 && c <= 0xF3)
        return {4, 0x80, 0xBF};
    if (c == 0xF4)
        return {4, 0x80, 0x8F}; // above 8F is past U+10FFFF
    return {0, 0, 0};           // 80..C1 and F5..FF never lead
}

} // namespace

std::size_t utf8CharLength(std::string_view s, std::size_t i) {
    const Utf8Lead lead = utf8Lead(static_cast<unsigned char>(s[i]));
    if (lead.length == 0 || i + lead.length > s.size())
        return 0;
    for (size_t k = 1; k < lead.length; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        const unsigned char low = k == 1 ? lead.low : 0x80, high = k == 1 ? lead.high : 0xBF;
        if (c < low || c > high)
            return 0;
    }
    return lead.length;
}

std::size_t firstIllFormedUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const size_t n = utf8CharLength(s, i);
        if (n == 0)
            return i;
        i += n;
    }
    return std::string_view::npos;
}

std::string hexBytes(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        if (!text.empty())
            text += ' ';
        text += digits[c >> 4];
        text += digits[c & 0xF];
    }
    return text;
}

std::string illFormedBytesText(std::string_view s, std::size_t i) {
    // The lead byte and the continuation bytes that follow it, at most four.
    size_t end = i + 1;
    while (end < s.size() && end < i + 4 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80)
        ++end;
    return hexBytes(s.substr(i, end - i));
}

std::size_t cp932CharLength(std::string_view bytes, std::size_t i) {
    unsigned char c = bytes[i];
    bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    return lead && i + 1 < bytes.size() ? 2 : 1;
}

std::string cp932ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (size_t i = 0; i < bytes.size();) {
        unsigned char c = bytes[i];
        if (c < 0x80) { // ASCII is the same in both
            out += char(c);
            ++i;
            continue;
        }
        size_t n = cp932CharLength(bytes, i);
        if (os::decodeCp932Char(bytes.substr(i, n), out)) {
            i += n;
            continue;
        }
        appendUtf8(out, kRawByteBase + c);
        ++i;
    }
    return out;
}

std::size_t strictCp932ToUtf8(std::string_view bytes, std::string& out) {
    out.clear();
    out.reserve(bytes.size() * 2);
    for (size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += char(c);
            ++i;
            continue;
        }
        const size_t n = cp932CharLength(bytes, i);
        if (!os::decodeCp932Char(bytes.substr(i, n), out))
            return i;
        i += n;
    }
    return std::string_view::npos;
}

namespace {
// Encodes; on failure returns false and sets problem to the message naming
// the offending character.
bool encode(std::string_view utf8, std::string& out, std::string& problem) {
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = utf8CharLength(utf8, i);
        if (n == 0) {
            // Never decoded loosely: C0 80 would otherwise store a NUL.
            problem =
                "UTF-8 として正しくないバイト列 " + illFormedBytesText(utf8, i) + " があります";
            return false;
        }
        const char32_t cp = decodeUtf8(utf8, i, n);
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp >= kRawByteBase + 0x80 && cp <= kRawByteBase + 0xFF) {
            // Only bytes >= 0x80 are ever kept raw; U+F700..U+F77F is a typed
            // private-use character, not an ASCII byte.
            out += char(cp - kRawByteBase);
        } else if (!os::encodeCp932Char(utf8.substr(i, n), out)) {
            problem =
                "'" + std::string(utf8.substr(i, n)) + "' は Shift-JIS (CP932) で表せない文字です";
            return false;
        }
        i += n;
    }
    return true;
}
} // namespace

std::string utf8ToCp932(std::string_view utf8) {
    std::string out, problem;
    if (!encode(utf8, out, problem))
        throw EncodingError(problem);
    return out;
}

bool isCp932Representable(std::string_view utf8) {
    std::string out, problem;
    return encode(utf8, out, problem);
}

} // namespace telvara
