#pragma once
// The store files a tool reads, named as its messages name them.
#include "base/errors.h"
#include "base/os/files.h"
#include "base/os/paths.h"
#include "store/store_format.h"

#include <filesystem>
#include <string>

namespace telvara {

// The page file of the store in dir ("ZuboK.dat" for an empty dir).
inline std::string pageFileIn(const std::string& dir) {
    return (dir.empty() || os::endsInSeparator(dir) ? dir : dir + "/") + kPageFileName;
}

// Opening would create an empty store; a reading command must not.
inline void requireStoreFiles(const std::string& dir) {
    const std::string path = pageFileIn(dir);
    std::error_code ec;
    // A folder without access is no missing file: opening then says why.
    if (std::filesystem::symlink_status(os::pathOf(path), ec).type() ==
        std::filesystem::file_type::not_found)
        throw IoError("ファイル " + path + " がありません");
}

} // namespace telvara
