// telvara-hold-lock DIR MS: holds the writer's lock of the store in DIR for
// MS milliseconds, as a program in the middle of a change would; prints
// "locked" once it holds it. For the lock tests between two processes.
#include "base/os/program.h"
#include "store/store_format.h"
#include "store/store_lock.h"
#include "store/unit_file.h"

#include <chrono>
#include <exception>
#include <iostream>
#include <thread>

int main(int argc, char** argv) {
    using namespace telvara;
    const std::vector<std::string> args = os::utf8Arguments(argc, argv);
    if (args.size() != 2) {
        std::cerr << "usage: telvara-hold-lock DIR MS\n";
        return 2;
    }
    try {
        const std::string folder = storeFolder(args[0]);
        TUnitFile file(kPageSize);
        file.openExisting(folder + kPageFileName);
        TStoreLock lock;
        lock.acquire(file.fd(), TLockMode::Exclusive, 10000, folder);
        std::cout << "locked" << std::endl;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(args[1])));
        lock.release(file.fd());
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 2;
    }
    return 0;
}
