#include "chart/text_lines.h"

namespace telvara {

std::vector<std::string> SplitTextLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch != '\r' && ch != '\n') {
            lines.back() += ch;
            continue;
        }
        if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.emplace_back();
    }
    return lines;
}

std::string OneLineText(const std::string& text) {
    const std::vector<std::string> lines = SplitTextLines(text);
    std::string out = lines.front();
    for (size_t i = 1; i < lines.size(); ++i)
        out += " " + lines[i];
    return out;
}

} // namespace telvara
