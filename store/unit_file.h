#pragma once
// One store file as an array of fixed-size units, plus the byte access, sync
// and truncation the journal needs. Every transfer is checked at once; a
// failure raises IoError naming the file.
#include "base/os/files.h"

#include <cstdint>
#include <string>

namespace telvara {

// Message texts of the store's file failures; each names the file.
std::string msgOpenFailed(const std::string& path);
std::string msgCreateFailed(const std::string& path);
std::string msgReadFailed(const std::string& path);
std::string msgWriteFailed(const std::string& path);
std::string msgSyncFailed(const std::string& path);
std::string msgSeekFailed(const std::string& path);
std::string msgNotOpen(const std::string& path);
std::string msgDamaged(const std::string& path, const std::string& detail);

// What the store is about to do to a file; tests use it to fail or end the
// process at any single step.
enum class TIoStep { Write, Sync, Truncate };

class TIoHook {
public:
    virtual ~TIoHook() = default;
    // Called before each write, sync and truncation; true makes the step fail
    // as a full disk would.
    virtual bool before(TIoStep step, os::FileHandle fd, const std::string& path,
                        std::int64_t offset, const void* data, std::size_t size) = 0;
};

class TUnitFile {
public:
    explicit TUnitFile(int unitSize) : unitSize_(unitSize) {}
    ~TUnitFile() { close(); }
    TUnitFile(const TUnitFile&) = delete;
    TUnitFile& operator=(const TUnitFile&) = delete;

    // Opens an existing file; never creates or shortens it.
    void openExisting(const std::string& path, bool writable = true);
    // Creates a new empty file; fails when one is already there.
    void createNew(const std::string& path);
    // Opens the file, creating it empty when it is missing; true when created.
    bool openOrCreate(const std::string& path);
    void close();
    bool isOpen() const { return fd_ != os::kNoFile; }
    bool writable() const { return writable_; }
    os::FileHandle fd() const { return fd_; }
    const std::string& path() const { return path_; }

    void read(std::int64_t unit, void* buffer);
    // The same read, neither counted in reads() nor failed by the fault
    // countdown (for checks that are no transfer of an operation).
    void readUncounted(std::int64_t unit, void* buffer);
    void write(std::int64_t unit, const void* buffer);
    // `count` neighbouring units from `unit` in one transfer; counted and
    // failed unit by unit as write() would, nothing written on a failure.
    void writeUnits(std::int64_t unit, std::int64_t count, const void* buffer);
    // Whole units in the file (a trailing partial unit does not count).
    std::int64_t units();

    // Byte access; readAt returns the bytes read (short at the end of the file).
    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size);
    void writeAt(std::int64_t offset, const void* buffer, std::size_t size);
    std::int64_t sizeBytes();
    void truncateBytes(std::int64_t size);
    // Data (and the size) reach the disk before this returns.
    void sync();

    std::uint64_t reads() const { return reads_; }
    std::uint64_t writes() const { return writes_; }
    std::uint64_t syncs() const { return syncs_; }

    // Shared countdown of unit transfers for tests of failure handling: when
    // it reaches 0 the next transfer fails as the disk would; -1 never fails.
    void setFaultCountdown(std::int64_t* countdown) { fault_ = countdown; }
    void setHook(TIoHook* hook) { hook_ = hook; }
    // Refuses a symbolic link in the file's place when it is opened.
    void refuseLinks() { followLinks_ = false; }

private:
    os::FileHandle openPath(const std::string& path, os::FileOpen how) const;
    void open(const std::string& path, os::FileOpen how, std::string (*failed)(const std::string&));
    // Takes `fd` as this file's descriptor (path_ set); a failed open or a
    // folder raises IoError(failed(path_)).
    void adopt(os::FileHandle fd, std::string (*failed)(const std::string&));
    void requireOpen() const;
    bool faultNow();
    bool hookFails(TIoStep step, std::int64_t offset, const void* data, std::size_t size);

    int unitSize_;
    os::FileHandle fd_ = os::kNoFile;
    bool writable_ = false;
    std::string path_;
    std::uint64_t reads_ = 0;
    std::uint64_t writes_ = 0;
    std::uint64_t syncs_ = 0;
    std::int64_t* fault_ = nullptr;
    TIoHook* hook_ = nullptr;
    bool followLinks_ = true;
};

// Makes a file's creation or removal in `folder` durable.
void syncFolder(const std::string& folder);

} // namespace telvara
