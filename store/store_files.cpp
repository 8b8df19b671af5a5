#include "store/store_files.h"

#include "base/errors.h"
#include "store/store_format.h"
#include "store/store_journal.h"

#include <filesystem>

namespace telvara {

namespace fs = std::filesystem;

bool isStoreFile(const std::string& folder, const std::string& path) {
    std::error_code ec;
    const fs::path target(path);
    const bool exists = fs::exists(target, ec);
    const fs::path spelled = fs::weakly_canonical(target, ec);
    for (const char* name : {kPageFileName, kRecordFileName, kJournalFileName}) {
        const fs::path file = fs::path(folder.empty() ? "." : folder) / name;
        if (exists && fs::exists(file, ec) && fs::equivalent(target, file, ec))
            return true;
        if (!spelled.empty() && spelled == fs::weakly_canonical(file, ec))
            return true;
    }
    return false;
}

void refuseStoreFile(const std::string& folder, const std::string& path) {
    if (isStoreFile(folder, path))
        throw IoError("ファイル " + path +
                      " はデーターの保存ファイルです。別のファイル名を指定してください");
}

} // namespace telvara
