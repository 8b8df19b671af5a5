// The first-byte lock on POSIX systems.
#include "base/os/lock.h"

#include <cerrno>
#include <fcntl.h>

namespace telvara::os {
namespace {

bool setLock(FileHandle fd, short type) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 1;
#ifdef F_OFD_SETLK
    static bool ofd = true;
    if (ofd) {
        if (::fcntl(fd, F_OFD_SETLK, &fl) == 0)
            return true;
        if (errno != EINVAL)
            return false;
        ofd = false; // a file system without them: classic record locks
    }
#endif
    return ::fcntl(fd, F_SETLK, &fl) == 0;
}

} // namespace

bool tryLockFirstByte(FileHandle file, LockKind kind) {
    if (setLock(file, kind == LockKind::Shared ? F_RDLCK : F_WRLCK))
        return true;
    if (errno == EACCES || errno == EINTR)
        errno = EAGAIN; // both mean: someone else holds it
    return false;
}

void unlockFirstByte(FileHandle file) {
    setLock(file, F_UNLCK);
}

} // namespace telvara::os
