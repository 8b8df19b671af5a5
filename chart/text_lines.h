#pragma once
// Line separators in chart texts: CR LF, a lone CR and a lone LF each end one
// line.
#include <string>
#include <vector>

namespace telvara {

// The lines of text; a text without separators is one line.
std::vector<std::string> SplitTextLines(const std::string& text);
// The text on one line: every separator becomes one blank.
std::string OneLineText(const std::string& text);

} // namespace telvara
