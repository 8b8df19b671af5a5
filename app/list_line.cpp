#include "app/list_line.h"

#include "base/cp932.h"

namespace telvara {

namespace {

bool isBlank(unsigned char c) {
    return c >= 1 && c <= 32;
}

bool isTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// A lead byte takes the next byte with it only when that byte can follow a
// lead byte: a name the record cut inside a character keeps its lone lead
// byte, and the comma after it still separates the device number.
std::size_t charLength(std::string_view s, std::size_t i) {
    const std::size_t n = cp932CharLength(s, i);
    if (n == 2 && !isTrailByte(static_cast<unsigned char>(s[i + 1])))
        return 1;
    return n;
}

} // namespace

std::vector<std::string> splitListText(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t start = p;
        while (p < text.size() && text[p] != '\r' && text[p] != '\n')
            ++p;
        lines.emplace_back(text.substr(start, p - start));
        if (p < text.size() && text[p] == '\r')
            ++p;
        if (p < text.size() && text[p] == '\n')
            ++p;
    }
    return lines;
}

std::vector<std::string> readListLine(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    const auto at = [line](std::size_t i) -> unsigned char {
        return i < line.size() ? static_cast<unsigned char>(line[i]) : 0;
    };
    std::vector<std::string> items;
    std::size_t p = 0;
    while (isBlank(at(p)))
        ++p;
    while (p < line.size()) {
        std::string item;
        if (at(p) == '"') {
            ++p;
            while (p < line.size()) {
                if (at(p) == '"') {
                    ++p;
                    if (at(p) != '"')
                        break; // the closing quote
                }
                const std::size_t n = charLength(line, p);
                item.append(line.substr(p, n));
                p += n;
            }
        } else {
            while (p < line.size() && !isBlank(at(p)) && at(p) != ',') {
                const std::size_t n = charLength(line, p);
                item.append(line.substr(p, n));
                p += n;
            }
        }
        items.push_back(std::move(item));
        while (isBlank(at(p)))
            ++p;
        if (at(p) == ',') {
            if (p + 1 == line.size())
                items.emplace_back();
            do
                ++p;
            while (isBlank(at(p)));
        }
    }
    return items;
}

} // namespace telvara
