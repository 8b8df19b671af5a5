#pragma once
// The lock of a store folder: a lock on the first byte of "ZuboK.dat"
// (base/os/lock.h). Readers share it, a writer holds it alone; it also binds
// two stores in one process.
#include "base/errors.h"
#include "base/os/files.h"

#include <string>

namespace telvara {

// Another program kept the store locked beyond the wait.
class TStoreBusy : public IoError {
public:
    using IoError::IoError;
};

enum class TLockMode { None, Shared, Exclusive };

class TStoreLock {
public:
    // Waits at most `waitMs` for the lock (Shared or Exclusive), then raises
    // TStoreBusy naming the busy store.
    void acquire(os::FileHandle fd, TLockMode mode, int waitMs, const std::string& folder);
    void release(os::FileHandle fd);
    TLockMode mode() const { return mode_; }

private:
    TLockMode mode_ = TLockMode::None;
};

// How long a store waits for another program's lock, in milliseconds:
// TELVARA_LOCK_WAIT_MS when set, else 10 seconds.
int defaultLockWaitMs();

} // namespace telvara
