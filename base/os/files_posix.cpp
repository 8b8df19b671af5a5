// The file layer on POSIX systems.
#include "base/os/files.h"
#include "base/os/paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace telvara::os {

FileHandle openFile(const std::string& path, FileOpen how, Links links) {
    int flags = O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW : 0);
    switch (how) {
    case FileOpen::ReadOnly:
        flags |= O_RDONLY;
        break;
    case FileOpen::ReadWrite:
        flags |= O_RDWR;
        break;
    case FileOpen::CreateNew:
        flags |= O_RDWR | O_CREAT | O_EXCL;
        break;
    }
    errno = 0;
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0)
        return kNoFile;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return kNoFile;
    }
    return fd;
}

void closeFile(FileHandle file) {
    if (file != kNoFile)
        ::close(file);
}

std::int64_t readAt(FileHandle file, std::int64_t offset, void* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(file, static_cast<char*>(buffer) + done, size - done,
                                  off_t(offset + std::int64_t(done)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += std::size_t(n);
    }
    return std::int64_t(done);
}

std::int64_t writeAt(FileHandle file, std::int64_t offset, const void* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(file, static_cast<const char*>(buffer) + done, size - done,
                                   off_t(offset + std::int64_t(done)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return -1;
        }
        done += std::size_t(n);
    }
    return std::int64_t(done);
}

bool fileSize(FileHandle file, std::int64_t& size) {
    struct stat st {};
    if (::fstat(file, &st) != 0)
        return false;
    size = std::int64_t(st.st_size);
    return true;
}

bool keepPermissions(const std::string& path, FileHandle file) {
    struct stat old {};
    if (::stat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode))
        return true;
    return ::fchmod(file, old.st_mode & 07777) == 0;
}

bool truncateFile(FileHandle file, std::int64_t size) {
    return ::ftruncate(file, off_t(size)) == 0;
}

bool syncFile(FileHandle file) {
    // EINVAL: a device that keeps nothing to sync.
    return ::fdatasync(file) == 0 || errno == EINVAL;
}

bool syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const int rc = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    errno = err;
    // Some file systems cannot sync a folder; they make creations durable by themselves.
    return rc == 0 || err == EINVAL || err == EBADF;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool renameNoReplace(const std::string& from, const std::string& to) {
    // link() never replaces, also on NFS, where renameat2's flag is missing.
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(utf8);
}

std::string utf8Of(const std::filesystem::path& path) {
    return path.string();
}

bool endsInSeparator(const std::string& path) {
    return !path.empty() && path.back() == '/';
}

int processId() {
    return int(::getpid());
}

} // namespace telvara::os
