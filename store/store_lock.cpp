#include "store/store_lock.h"

#include "base/errors.h"
#include "base/os/lock.h"

#include <cassert>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace telvara {
namespace {

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

void TStoreLock::acquire(os::FileHandle fd, TLockMode mode, int waitMs, const std::string& folder) {
    assert(mode != TLockMode::None); // release() gives a lock up
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    auto pause = std::chrono::microseconds(200);
    for (;;) {
        if (os::tryLockFirstByte(fd, mode == TLockMode::Shared ? os::LockKind::Shared
                                                               : os::LockKind::Exclusive)) {
            mode_ = mode;
            return;
        }
        if (errno != EAGAIN)
            throw IoError("ストア " + folder + " をロックできません");
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - start).count();
        if (waited >= waitMs)
            throw TStoreBusy(msgStoreBusy(folder, waitMs));
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
}

void TStoreLock::release(os::FileHandle fd) {
    if (mode_ != TLockMode::None && fd != os::kNoFile)
        os::unlockFirstByte(fd);
    mode_ = TLockMode::None;
}

} // namespace telvara
