#include "base/file_write.h"

#include "base/errors.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

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

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Creates the temporary file; retries a name another file took meanwhile.
int createTemporary(const std::string& path, std::string& temp) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp = path + ".tmp-" + uniqueSuffix();
        const int fd = createNewFile(temp, path);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            break;
    }
    throw IoError("ファイル " + path + " を作成できません");
}

} // namespace

int createNewFile(const std::string& name, const std::string& forPath) {
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0)
        return fd;
    const int error = errno;
    struct stat st {};
    if (error == EEXIST && ::lstat(name.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        throw IoError("一時ファイル " + name + " はシンボリックリンクです。ファイル " + forPath +
                      " は書き込みませんでした");
    errno = error;
    return -1;
}

void writeFileWhole(const std::string& path, std::string_view bytes) {
    std::string temp;
    const int fd = createTemporary(path, temp);
    struct stat old {};
    bool ok = true;
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw IoError("ファイル " + path + " に書き込めません");
    }
    // The new name itself survives a power loss only once the folder is synced.
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

} // namespace telvara
