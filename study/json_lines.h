#pragma once
// Where a value of a JSON text starts: the line of the value a JSON pointer
// names ("/devices/2/bus"), or of the nearest enclosing value that is there.
// Used only when a file is refused, so that the message names the line.
#include <string>
#include <string_view>

namespace telvara {

// text must be valid JSON. Lines count from 1.
int jsonPointerLine(std::string_view text, std::string_view pointer);
// The line of a byte offset (0-based) of the text.
int lineOfOffset(std::string_view text, std::size_t offset);

} // namespace telvara
