// Code page 932 through the system's conversion.
#include "base/os/codepage.h"

#include <windows.h>

namespace telvara::os {

bool decodeCp932Char(std::string_view bytes, std::string& utf8) {
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
    char buf[4];
    BOOL usedDefault = FALSE;
    const int m = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, 1, buf, sizeof buf, nullptr,
                                      &usedDefault);
    if (m <= 0 || usedDefault)
        return false;
    out.append(buf, std::size_t(m));
    return true;
}

} // namespace telvara::os
