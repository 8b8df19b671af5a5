#include "sync_count.h"

#include <atomic>
#include <cerrno>
#include <dlfcn.h>

namespace {

std::atomic<std::uint64_t> calls{0};

using SyncFn = int (*)(int);

SyncFn next(const char* name) {
    return reinterpret_cast<SyncFn>(dlsym(RTLD_NEXT, name));
}

int forward(SyncFn fn, int fd) {
    ++calls;
    if (!fn) {
        errno = ENOSYS;
        return -1;
    }
    return fn(fd);
}

} // namespace

extern "C" int fsync(int fd) {
    static const SyncFn real = next("fsync");
    return forward(real, fd);
}

extern "C" int fdatasync(int fd) {
    static const SyncFn real = next("fdatasync");
    return forward(real, fd);
}

std::uint64_t bench::syncCalls() {
    return calls.load();
}
