#pragma once
// The lock of a store folder: a record lock on the first byte of "ZuboK.dat".
// Readers share it, a writer holds it alone. Open-file-description locks are
// used where the system has them (they also bind two stores in one process
// and survive the closing of another descriptor of the file), classic POSIX
// record locks elsewhere; both are served by NFS's lock manager.
#include "base/errors.h"

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
    void acquire(int fd, TLockMode mode, int waitMs, const std::string& folder);
    void release(int fd);
    TLockMode mode() const { return mode_; }

private:
    TLockMode mode_ = TLockMode::None;
};

// How long a store waits for another program's lock, in milliseconds:
// TELVARA_LOCK_WAIT_MS when set, else 10 seconds.
int defaultLockWaitMs();

} // namespace telvara
