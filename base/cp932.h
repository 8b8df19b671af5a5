#pragma once
// Code page 932 (Shift-JIS) bytes <-> UTF-8, through the system's tables
// (base/os/codepage.h).
//
// Decoding is lossless: a byte that does not decode (a field cut inside a
// double-byte character, an unassigned code) becomes the reserved code point
// U+F700 + byte (only bytes 0x80..0xFF occur, so U+F780..U+F7FF), and
// encoding turns that code point back into the same byte.
// So stored bytes survive list -> search -> lookup byte for byte.
#include <cstddef>
#include <string>
#include <string_view>

namespace telvara {

constexpr char32_t kRawByteBase = 0xF700; // U+F780..U+F7FF stand for raw bytes

// Bytes as stored -> UTF-8. Never fails.
std::string cp932ToUtf8(std::string_view bytes);

// UTF-8 -> bytes to store. Throws EncodingError naming the first character
// CP932 cannot represent; nothing is replaced silently.
std::string utf8ToCp932(std::string_view utf8);

// True when every character of the UTF-8 text has a CP932 form.
bool isCp932Representable(std::string_view utf8);

// Bytes as a file holds them -> UTF-8, only when every character decodes:
// npos when all did, else the offset of the first byte that is no whole CP932
// character (nothing is kept raw). Reads text files saved as Shift-JIS.
std::size_t strictCp932ToUtf8(std::string_view bytes, std::string& utf8);

// Length of the well-formed UTF-8 character at text[i], or 0 when the bytes
// there are ill-formed: a stray or missing continuation byte, an overlong
// form (C0 80 for NUL), a surrogate (ED A0 80) or a value above U+10FFFF.
std::size_t utf8CharLength(std::string_view text, std::size_t i);

// Offset of the first ill-formed UTF-8 sequence, or npos.
std::size_t firstIllFormedUtf8(std::string_view text);

// The bytes of the ill-formed sequence at text[i] in hexadecimal, "C0 80",
// for messages that must not repeat them raw.
std::string illFormedBytesText(std::string_view text, std::size_t i);

// Bytes in hexadecimal separated by blanks: "81 7F".
std::string hexBytes(std::string_view bytes);

// Length in bytes of the CP932 character starting at bytes[i] (1 or 2):
// a lead byte (0x81-0x9F, 0xE0-0xFC) followed by another byte counts 2.
std::size_t cp932CharLength(std::string_view bytes, std::size_t i);

} // namespace telvara
