#pragma once
// One character between code page 932 and UTF-8, through the system's own
// tables: glibc's iconv ("CP932") on POSIX, MultiByteToWideChar and
// WideCharToMultiByte with code page 932 on Windows. Both give the same
// bytes for every character (base/cp932.cpp builds the whole conversion on
// these two calls).
#include <string>
#include <string_view>

namespace telvara::os {

// `bytes` (one or two) as one character, appended to `utf8`; false when
// they are not exactly one character of code page 932.
bool decodeCp932Char(std::string_view bytes, std::string& utf8);
// One UTF-8 character's code page 932 bytes, appended to `out`; false when
// it has none (never a look-alike or a default character).
bool encodeCp932Char(std::string_view utf8, std::string& out);

} // namespace telvara::os
