#pragma once
// A lock on the first byte of an open file: shared among readers, a writer's
// alone. POSIX: open-file-description record locks where the system has them
// (two opens in one process exclude each other too), classic record locks
// elsewhere; both served by NFS's lock manager. Windows: LockFileEx, which
// binds per handle in the same way and which SMB servers pass on as byte
// range locks.
#include "base/os/files.h"

namespace telvara::os {

enum class LockKind { Shared, Exclusive };

// Takes the lock without waiting. False with errno EAGAIN when another
// holder is in the way, with another errno when the file cannot be locked.
bool tryLockFirstByte(FileHandle file, LockKind kind);
void unlockFirstByte(FileHandle file);

} // namespace telvara::os
