#pragma once
// A file written whole or not at all, safe in a folder others can write to.
#include "base/os/files.h"

#include <string>
#include <string_view>

namespace telvara {

// Writes bytes to path: first into a new file beside it under a unique name
// ("NAME.tmp-" and random letters), created exclusively and never through a
// symbolic link, synced, then renamed over path, and the folder synced. A
// link at path itself is replaced, never written through. An existing file's
// permissions are kept. On any failure the temporary file is removed, path is
// left as it was and an IoError names the file; a link found at the
// temporary name is refused with its own message.
void writeFileWhole(const std::string& path, std::string_view bytes);

// Creates the file name for writing only if nothing has that name, never
// through a symbolic link: its handle, or os::kNoFile (-1) when another file has the
// name (errno EEXIST) or it cannot be made. A link there raises IoError
// "一時ファイル NAME はシンボリックリンクです。ファイル FOR は書き込みませんでした".
os::FileHandle createNewFile(const std::string& name, const std::string& forPath);

} // namespace telvara
