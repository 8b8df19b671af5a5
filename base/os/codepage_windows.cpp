// Code page 932 through the system's conversion, made to give exactly the
// bytes glibc's CP932 gives: Windows' table also maps the single bytes 0x80,
// 0xA0 and 0xFD-0xFF (to U+0080 and U+F8F0-U+F8F3), which glibc treats as no
// character, and glibc also encodes nine characters of the JIS forms that
// Windows only reaches by its best-fit mapping.
#include "base/os/codepage.h"

#include <windows.h>

namespace telvara::os {
namespace {

bool noCharacterInGlibc(unsigned char byte) {
    return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
}

// The code points glibc encodes although no bytes decode to them.
struct Extra {
    wchar_t code;
    const char* bytes;
};
constexpr Extra kExtras[] = {
    {0x00A2, "\x81\x91"}, {0x00A3, "\x81\x92"}, {0x00A5, "\x5C"},
    {0x00AC, "\x81\xCA"}, {0x2014, "\x81\x5C"}, {0x2016, "\x81\x61"},
    {0x203E, "\x7E"},     {0x2212, "\x81\x7C"}, {0x301C, "\x81\x60"},
};

} // namespace

bool decodeCp932Char(std::string_view bytes, std::string& utf8) {
    if (bytes.size() == 1 && noCharacterInGlibc(static_cast<unsigned char>(bytes[0])))
        return false;
    wchar_t wide[4];
    const int n =
        MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), wide, 4);
    if (n != 1)
        return false; // no character, or more than one
    char buf[8];
    const int m = WideCharToMultiByte(CP_UTF8, 0, wide, 1, buf, sizeof buf, nullptr, nullptr);
    if (m <= 0)
        return false;
    utf8.append(buf, std::size_t(m));
    return true;
}

bool encodeCp932Char(std::string_view utf8, std::string& out) {
    wchar_t wide[4];
    const int n =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide, 4);
    if (n != 1)
        return false; // broken UTF-8, or beyond the basic plane (no CP932 form)
    for (const Extra& e : kExtras) {
        if (wide[0] == e.code) {
            out += e.bytes;
            return true;
        }
    }
    char buf[4];
    BOOL usedDefault = FALSE;
    const int m = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, 1, buf, sizeof buf, nullptr,
                                      &usedDefault);
    if (m <= 0 || usedDefault)
        return false;
    if (m == 1 && noCharacterInGlibc(static_cast<unsigned char>(buf[0])))
        return false;
    out.append(buf, std::size_t(m));
    return true;
}

} // namespace telvara::os
