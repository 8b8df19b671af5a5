#include "store/store_lock.h"

#include "base/errors.h"

#include <cassert>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace telvara {
namespace {

bool setLock(int fd, short type) {
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

// The message of a store another program keeps busy beyond the wait.
std::string msgStoreBusy(const std::string& folder, int waitedMs) {
    return "ほかのプログラムがストア " + folder + " を使っています（" +
           std::to_string((waitedMs + 999) / 1000) +
           " 秒待ちました）。しばらくしてからやり直してください";
}

} // namespace

int defaultLockWaitMs() {
    if (const char* env = std::getenv("TELVARA_LOCK_WAIT_MS")) {
        char* end = nullptr;
        const long v = std::strtol(env, &end, 10);
        if (end != env && v >= 0 && v <= 3600000)
            return int(v);
    }
    return 10000;
}

void TStoreLock::acquire(int fd, TLockMode mode, int waitMs, const std::string& folder) {
    assert(mode != TLockMode::None); // release() gives a lock up
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    auto pause = std::chrono::microseconds(200);
    for (;;) {
        if (setLock(fd, mode == TLockMode::Shared ? F_RDLCK : F_WRLCK)) {
            mode_ = mode;
            return;
        }
        if (errno != EAGAIN && errno != EACCES && errno != EINTR)
            throw IoError("ストア " + folder + " をロックできません");
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - start).count();
        if (waited >= waitMs)
            throw TStoreBusy(msgStoreBusy(folder, waitMs));
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
}

void TStoreLock::release(int fd) {
    if (mode_ != TLockMode::None && fd >= 0)
        setLock(fd, F_UNLCK);
    mode_ = TLockMode::None;
}

} // namespace telvara
