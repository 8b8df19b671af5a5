#pragma once
// Reading standard input line by line with a bound on what one line may take,
// so that a runaway line is refused before it fills the memory.
#include <cstddef>
#include <istream>
#include <string>

namespace telvara {

// Longest line a batch takes, in bytes without the line end: far above any
// operation with its twelve fields, far below what would strain the memory.
constexpr std::size_t kBatchLineLimit = 65536;

enum class TLineRead { Line, TooLong, End };

// Reads the next line into `line` (without '\n'). A longer line is left
// unread after its first `limit` bytes and reported as TooLong.
inline TLineRead readBoundedLine(std::istream& in, std::string& line,
                                 std::size_t limit = kBatchLineLimit) {
    line.clear();
    std::streambuf* buf = in.rdbuf();
    for (;;) {
        const int c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            return line.empty() ? TLineRead::End : TLineRead::Line;
        }
        if (c == '\n')
            return TLineRead::Line;
        if (line.size() == limit)
            return TLineRead::TooLong;
        line.push_back(char(c));
    }
}

} // namespace telvara
