#include "store/unit_file.h"

#include "base/errors.h"

#include <cerrno>

namespace telvara {
namespace {

// A short reason for the common causes, empty for the rest.
std::string reason(int err) {
    switch (err) {
    case EACCES:
    case EPERM:
        return "（アクセスが拒否されました）";
    case ENOSPC:
        return "（ディスクの空きがありません）";
    case EROFS:
        return "（読み取り専用です）";
    case EISDIR:
        return "（フォルダです）";
    case ENOENT:
        return "（見つかりません）";
    case ELOOP:
        return "（シンボリックリンクです。リンクを通しては開きません）";
    case EIO:
        return "（入出力エラー）";
    default:
        return "";
    }
}

} // namespace

std::string msgOpenFailed(const std::string& path) {
    return "ファイル " + path + " を開けません" + reason(errno);
}
std::string msgCreateFailed(const std::string& path) {
    return "ファイル " + path + " を作成できません" + reason(errno);
}
std::string msgReadFailed(const std::string& path) {
    return "ファイル " + path + " の読み込みに失敗しました";
}
std::string msgWriteFailed(const std::string& path) {
    return "ファイル " + path + " の書き込みに失敗しました" + reason(errno);
}
std::string msgSyncFailed(const std::string& path) {
    return "ファイル " + path + " をディスクに書き出せません" + reason(errno);
}
std::string msgSeekFailed(const std::string& path) {
    return "ファイル " + path + " の位置付けに失敗しました";
}
std::string msgNotOpen(const std::string& path) {
    return "ファイル " + path + " は開かれていません";
}
std::string msgDamaged(const std::string& path, const std::string& detail) {
    return "ファイル " + path + " が壊れています（" + detail + "）";
}

void TUnitFile::openExisting(const std::string& path, bool writable) {
    open(path, writable ? os::FileOpen::ReadWrite : os::FileOpen::ReadOnly, msgOpenFailed);
    writable_ = writable;
}

void TUnitFile::createNew(const std::string& path) {
    open(path, os::FileOpen::CreateNew, msgCreateFailed);
    writable_ = true;
}

os::FileHandle TUnitFile::openPath(const std::string& path, os::FileOpen how) const {
    // A link in the file's place could send the writes anywhere.
    return os::openFile(path, how, followLinks_ ? os::Links::Follow : os::Links::Refuse);
}

bool TUnitFile::openOrCreate(const std::string& path) {
    close();
    path_ = path;
    errno = 0;
    const os::FileHandle fd = openPath(path, os::FileOpen::ReadWrite);
    if (fd != os::kNoFile || errno != ENOENT) {
        adopt(fd, msgOpenFailed);
        writable_ = true;
        return false;
    }
    try {
        createNew(path);
    } catch (const IoError&) {
        // Another program made it meanwhile.
        if (errno != EEXIST)
            throw;
        openExisting(path);
        return false;
    }
    return true;
}

void TUnitFile::open(const std::string& path, os::FileOpen how,
                     std::string (*failed)(const std::string&)) {
    close();
    path_ = path;
    adopt(openPath(path, how), failed);
}

void TUnitFile::adopt(os::FileHandle fd, std::string (*failed)(const std::string&)) {
    fd_ = fd;
    if (fd_ == os::kNoFile)
        throw IoError(failed(path_));
}

void TUnitFile::close() {
    os::closeFile(fd_);
    fd_ = os::kNoFile;
    writable_ = false;
}

void TUnitFile::requireOpen() const {
    if (fd_ == os::kNoFile)
        throw IoError(msgNotOpen(path_));
}

bool TUnitFile::faultNow() {
    if (!fault_ || *fault_ < 0)
        return false;
    if (*fault_ == 0) {
        *fault_ = -1;
        return true;
    }
    --*fault_;
    return false;
}

bool TUnitFile::hookFails(TIoStep step, std::int64_t offset, const void* data, std::size_t size) {
    return hook_ && hook_->before(step, fd_, path_, offset, data, size);
}

void TUnitFile::read(std::int64_t unit, void* buffer) {
    requireOpen();
    if (unit < 0)
        throw IoError(msgSeekFailed(path_));
    if (faultNow())
        throw IoError(msgReadFailed(path_));
    readUncounted(unit, buffer);
    ++reads_;
}

void TUnitFile::readUncounted(std::int64_t unit, void* buffer) {
    // A unit cut short by the end of the file is a failed read.
    if (readAt(unit * unitSize_, buffer, std::size_t(unitSize_)) != std::size_t(unitSize_))
        throw IoError(msgReadFailed(path_));
}

void TUnitFile::write(std::int64_t unit, const void* buffer) {
    requireOpen();
    if (unit < 0)
        throw IoError(msgSeekFailed(path_));
    if (faultNow()) {
        errno = ENOSPC;
        throw IoError(msgWriteFailed(path_));
    }
    writeAt(unit * unitSize_, buffer, std::size_t(unitSize_));
    ++writes_;
}

void TUnitFile::writeUnits(std::int64_t unit, std::int64_t count, const void* buffer) {
    requireOpen();
    if (unit < 0)
        throw IoError(msgSeekFailed(path_));
    for (std::int64_t i = 0; i < count; ++i) {
        if (faultNow()) {
            errno = ENOSPC;
            throw IoError(msgWriteFailed(path_));
        }
    }
    writeAt(unit * unitSize_, buffer, std::size_t(count * unitSize_));
    writes_ += std::uint64_t(count);
}

std::int64_t TUnitFile::units() {
    return sizeBytes() / unitSize_;
}

std::size_t TUnitFile::readAt(std::int64_t offset, void* buffer, std::size_t size) {
    requireOpen();
    const std::int64_t done = os::readAt(fd_, offset, buffer, size);
    if (done < 0)
        throw IoError(msgReadFailed(path_));
    return std::size_t(done);
}

void TUnitFile::writeAt(std::int64_t offset, const void* buffer, std::size_t size) {
    requireOpen();
    errno = 0;
    if (hookFails(TIoStep::Write, offset, buffer, size)) {
        errno = ENOSPC;
        throw IoError(msgWriteFailed(path_));
    }
    if (os::writeAt(fd_, offset, buffer, size) < 0)
        throw IoError(msgWriteFailed(path_));
}

std::int64_t TUnitFile::sizeBytes() {
    requireOpen();
    std::int64_t size = 0;
    if (!os::fileSize(fd_, size))
        throw IoError(msgSeekFailed(path_));
    return size;
}

void TUnitFile::truncateBytes(std::int64_t size) {
    requireOpen();
    errno = 0;
    if (hookFails(TIoStep::Truncate, size, nullptr, 0)) {
        errno = EIO;
        throw IoError(msgWriteFailed(path_));
    }
    if (!os::truncateFile(fd_, size))
        throw IoError(msgWriteFailed(path_));
}

void TUnitFile::sync() {
    requireOpen();
    errno = 0;
    if (hookFails(TIoStep::Sync, 0, nullptr, 0)) {
        errno = EIO;
        throw IoError(msgSyncFailed(path_));
    }
    if (!os::syncFile(fd_))
        throw IoError(msgSyncFailed(path_));
    ++syncs_;
}

void syncFolder(const std::string& folder) {
    if (!os::syncFolder(folder))
        throw IoError(msgSyncFailed(folder));
}

} // namespace telvara
