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

// Length of the UTF-8 sequence starting at s[i]; 1 for a stray byte.
size_t utf8Length(std::string_view s, size_t i) {
    unsigned char c = s[i];
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (i + n > s.size())
        return 1;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 1;
    return n;
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

} // namespace

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

namespace {
// Encodes; on failure returns false and sets badChar to the offending character.
bool encode(std::string_view utf8, std::string& out, std::string& badChar) {
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        size_t n = utf8Length(utf8, i);
        char32_t cp = decodeUtf8(utf8, i, n);
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp >= kRawByteBase + 0x80 && cp <= kRawByteBase + 0xFF) {
            // Only bytes >= 0x80 are ever kept raw; U+F700..U+F77F is a typed
            // private-use character, not an ASCII byte.
            out += char(cp - kRawByteBase);
        } else if (n == 1 || !os::encodeCp932Char(utf8.substr(i, n), out)) {
            badChar = std::string(utf8.substr(i, n));
            return false;
        }
        i += n;
    }
    return true;
}
} // namespace

std::string utf8ToCp932(std::string_view utf8) {
    std::string out, bad;
    if (!encode(utf8, out, bad))
        throw EncodingError("'" + bad + "' は Shift-JIS (CP932) で表せない文字です");
    return out;
}

bool isCp932Representable(std::string_view utf8) {
    std::string out, bad;
    return encode(utf8, out, bad);
}

} // namespace telvara
