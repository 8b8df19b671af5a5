#pragma once
// A whole file saved so that a crash, a full disk or a failed write leaves
// either the old file or the new one, never a mix: the bytes go into a new
// file beside it, reach the disk, and then take the old one's place.
#include <string>

namespace telvara::os {

enum class SaveFailure { None, Create, Write };

// The file "path.tmp" is removed again when anything fails (errno tells why).
SaveFailure saveFileWhole(const std::string& path, const std::string& bytes);

} // namespace telvara::os
