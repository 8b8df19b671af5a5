#include "base/os/save_file.h"

#include "base/os/files.h"
#include "base/os/paths.h"

#include <cerrno>
#include <filesystem>

namespace telvara::os {
namespace {

std::string folderOf(const std::string& path) {
    const std::string folder = utf8Of(pathOf(path).parent_path());
    return folder.empty() ? "." : folder;
}

SaveFailure removeAfter(SaveFailure failure, const std::string& temp) {
    const int err = errno;
    std::error_code ec;
    std::filesystem::remove(pathOf(temp), ec);
    errno = err;
    return failure;
}

} // namespace

SaveFailure saveFileWhole(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".tmp";
    std::error_code ec;
    std::filesystem::remove(pathOf(temp), ec); // left by an earlier crash
    const FileHandle file = openFile(temp, FileOpen::CreateNew);
    if (file == kNoFile)
        return SaveFailure::Create;
    const bool written =
        writeAt(file, 0, bytes.data(), bytes.size()) == std::int64_t(bytes.size()) &&
        syncFile(file);
    const int err = errno;
    closeFile(file);
    errno = err;
    if (!written || !replaceFile(temp, path))
        return removeAfter(SaveFailure::Write, temp);
    syncFolder(folderOf(path));
    return SaveFailure::None;
}

} // namespace telvara::os
