#include "base/file_write.h"

#include "base/errors.h"
#include "base/os/paths.h"

#include <cerrno>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace telvara {

namespace {

// Names another process cannot have prepared: 64 random bits.
std::string uniqueSuffix() {
    static const char letters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device random;
    std::string suffix;
    for (int i = 0; i < 13; ++i)
        suffix += letters[random() % 36];
    return suffix;
}

std::string folderOf(const std::string& path) {
    const std::string folder = os::utf8Of(os::pathOf(path).parent_path());
    return folder.empty() ? "." : folder;
}

// Creates the temporary file; retries a name another file took meanwhile.
os::FileHandle createTemporary(const std::string& path, std::string& temp) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp = path + ".tmp-" + uniqueSuffix();
        const os::FileHandle fd = createNewFile(temp, path);
        if (fd != os::kNoFile)
            return fd;
        if (errno != EEXIST)
            break;
    }
    throw IoError("ファイル " + path + " を作成できません");
}

} // namespace

os::FileHandle createNewFile(const std::string& name, const std::string& forPath) {
    const os::FileHandle fd = os::openFile(name, os::FileOpen::CreateNew);
    if (fd != os::kNoFile)
        return fd;
    const int error = errno;
    std::error_code ec;
    if (error == EEXIST && fs::is_symlink(fs::symlink_status(os::pathOf(name), ec)))
        throw IoError("一時ファイル " + name + " はシンボリックリンクです。ファイル " + forPath +
                      " は書き込みませんでした");
    errno = error;
    return os::kNoFile;
}

void writeFileWhole(const std::string& path, std::string_view bytes) {
    std::string temp;
    const os::FileHandle fd = createTemporary(path, temp);
    bool ok = os::keepPermissions(path, fd);
    ok = ok && os::writeAt(fd, 0, bytes.data(), bytes.size()) == std::int64_t(bytes.size()) &&
         os::syncFile(fd);
    os::closeFile(fd);
    if (!ok || !os::replaceFile(temp, path)) {
        std::error_code ec;
        fs::remove(os::pathOf(temp), ec);
        throw IoError("ファイル " + path + " に書き込めません");
    }
    // The new name itself survives a power loss only once the folder is synced.
    os::syncFolder(folderOf(path));
}

} // namespace telvara
