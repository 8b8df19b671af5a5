// Saving a file whole on POSIX systems: write beside, fsync, keep the old
// one as PATH~ through a hard link, rename, fsync the folder.
#include "study/save_file.h"

#include "base/errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace telvara {

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void fail(const std::string& path, const char* what, int error) {
    throw IoError(path + " を" + what + "できません: " + std::strerror(error));
}

class TTempFile {
public:
    explicit TTempFile(const std::string& path) : name_(path + ".XXXXXX") {
        fd_ = ::mkstemp(name_.data());
        if (fd_ < 0)
            fail(path, "保存", errno);
    }
    ~TTempFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!kept_)
            ::unlink(name_.c_str());
    }
    int Fd() const { return fd_; }
    const std::string& Name() const { return name_; }
    void Close(const std::string& path) {
        const int rc = ::close(fd_);
        fd_ = -1;
        if (rc != 0)
            fail(path, "保存", errno);
    }
    void Keep() { kept_ = true; }

private:
    std::string name_;
    int fd_ = -1;
    bool kept_ = false;
};

void writeAll(int fd, std::string_view data, const std::string& path) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(path, "保存", n < 0 ? errno : ENOSPC);
        data.remove_prefix(std::size_t(n));
    }
}

// The new file gets the old one's permissions, or what the umask leaves of
// rw for everyone (mkstemp makes it private).
void setMode(int fd, const std::string& path) {
    struct stat old {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(022);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0)
        fail(path, "保存", errno);
}

// A copy of the file at `from`, written and synced at `to`.
void copyFile(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY);
    if (in < 0)
        fail(from, "読み込み", errno);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (out < 0) {
        const int e = errno;
        ::close(in);
        fail(to, "作成", e);
    }
    char buffer[65536];
    ssize_t n = 0;
    int e = 0;
    while ((n = ::read(in, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
        if (n < 0)
            continue;
        try {
            writeAll(out, std::string_view(buffer, std::size_t(n)), to);
        } catch (...) {
            ::close(in);
            ::close(out);
            throw;
        }
    }
    if (n < 0)
        e = errno;
    else if (::fsync(out) != 0)
        e = errno;
    ::close(in);
    if (::close(out) != 0 && !e)
        e = errno;
    if (e)
        fail(to, "作成", e);
}

// PATH~ becomes the old file: a hard link (or, where the file system has
// none, a copy) made beside it, renamed over it.
void keepBackup(const std::string& path) {
    if (::access(path.c_str(), F_OK) != 0)
        return; // a new study: nothing to keep
    const std::string backup = path + "~";
    const std::string link = backup + ".link";
    ::unlink(link.c_str());
    if (::link(path.c_str(), link.c_str()) != 0)
        copyFile(path, link);
    if (::rename(link.c_str(), backup.c_str()) != 0) {
        const int e = errno;
        ::unlink(link.c_str());
        fail(backup, "作成", e);
    }
}

void syncFolder(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        fail(folderOf(path), "同期", errno);
    const int rc = ::fsync(fd);
    const int e = errno;
    ::close(fd);
    if (rc != 0)
        fail(folderOf(path), "同期", e);
}

} // namespace

void saveFileAtomically(const std::string& path, std::string_view contents,
                        const SaveStepHook& hook) {
    auto step = [&](SaveStep s) {
        if (hook)
            hook(s);
    };
    TTempFile temp(path);
    setMode(temp.Fd(), path);
    step(SaveStep::WriteNew);
    writeAll(temp.Fd(), contents, path);
    step(SaveStep::SyncNew);
    if (::fsync(temp.Fd()) != 0)
        fail(path, "保存", errno);
    temp.Close(path);
    step(SaveStep::KeepBackup);
    keepBackup(path);
    step(SaveStep::Rename);
    if (::rename(temp.Name().c_str(), path.c_str()) != 0)
        fail(path, "保存", errno);
    temp.Keep();
    step(SaveStep::SyncFolder);
    syncFolder(path);
}

} // namespace telvara
