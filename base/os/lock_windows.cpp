// The first-byte lock on Windows.
#include "base/os/lock.h"
#include "base/os/windows_error.h"

#include <cerrno>

namespace telvara::os {

bool tryLockFirstByte(FileHandle file, LockKind kind) {
    DWORD flags = LOCKFILE_FAIL_IMMEDIATELY;
    if (kind == LockKind::Exclusive)
        flags |= LOCKFILE_EXCLUSIVE_LOCK;
    OVERLAPPED o{}; // offset 0
    if (LockFileEx(reinterpret_cast<HANDLE>(file), flags, 0, 1, 0, &o))
        return true;
    const DWORD err = GetLastError();
    if (err == ERROR_LOCK_VIOLATION || err == ERROR_IO_PENDING) {
        errno = EAGAIN;
        return false;
    }
    return failWithLastError(err);
}

void unlockFirstByte(FileHandle file) {
    OVERLAPPED o{};
    UnlockFileEx(reinterpret_cast<HANDLE>(file), 0, 1, 0, &o);
}

} // namespace telvara::os
