#pragma once
// One store file as an array of fixed-size units. Every positioning and
// transfer is checked at once; a failure raises IoError naming the file.
#include <cstdint>
#include <cstdio>
#include <string>

namespace telvara {

// Message texts of the store's file failures; each names the file.
std::string msgOpenFailed(const std::string& path);
std::string msgCreateFailed(const std::string& path);
std::string msgReadFailed(const std::string& path);
std::string msgWriteFailed(const std::string& path);
std::string msgSeekFailed(const std::string& path);
std::string msgNotOpen(const std::string& path);
std::string msgDamaged(const std::string& path, const std::string& detail);

class TUnitFile {
public:
    explicit TUnitFile(int unitSize) : unitSize_(unitSize) {}
    ~TUnitFile() { close(); }
    TUnitFile(const TUnitFile&) = delete;
    TUnitFile& operator=(const TUnitFile&) = delete;

    // Opens an existing file for reading and writing; never creates or shortens it.
    void openExisting(const std::string& path);
    // Creates a new empty file; fails when one is already there.
    void createNew(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }

    void read(std::int64_t unit, void* buffer);
    void write(std::int64_t unit, const void* buffer);
    // Whole units in the file (a trailing partial unit does not count).
    std::int64_t units();

    std::uint64_t reads() const { return reads_; }
    std::uint64_t writes() const { return writes_; }

    // Shared countdown of transfers for tests of failure handling: when it
    // reaches 0 the next transfer fails as the disk would; -1 never fails.
    void setFaultCountdown(std::int64_t* countdown) { fault_ = countdown; }

private:
    // failed: the message of a failed open, read while errno still holds its cause.
    void open(const std::string& path, const char* mode, std::string (*failed)(const std::string&));
    void seek(std::int64_t unit);
    bool faultNow();

    int unitSize_;
    std::FILE* file_ = nullptr;
    std::string path_;
    std::uint64_t reads_ = 0;
    std::uint64_t writes_ = 0;
    std::int64_t* fault_ = nullptr;
};

} // namespace telvara
