#pragma once
// Reading the lines of the input data list. A line is a key as the store
// lists it (company name, ",", device number), possibly indented; it is read
// as a comma-separated list of items on its CP932 bytes.
#include <string>
#include <string_view>
#include <vector>

namespace telvara {

// The lines of a key listing: split at CR LF (or a lone CR or LF); the break
// after the last line adds no empty line.
std::vector<std::string> splitListText(std::string_view text);

// The items of one line: leading blanks and control bytes (1 to 32) are
// skipped; an item ends at a comma or at a byte from 1 to 32, and blanks
// around a comma belong to the separator; an item that begins with '"' runs
// to the closing '"', a doubled '"' inside standing for one; a line ending
// with a comma gets an empty last item. Double-byte characters are never
// split. A NUL byte ends the line.
std::vector<std::string> readListLine(std::string_view line);

} // namespace telvara
