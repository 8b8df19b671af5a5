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
std::string msgSeekFailed(const std::string& path) {
    return "ファイル " + path + " の位置付けに失敗しました";
}
std::string msgNotOpen(const std::string& path) {
    return "ファイル " + path + " は開かれていません";
}
std::string msgDamaged(const std::string& path, const std::string& detail) {
    return "ファイル " + path + " が壊れています（" + detail + "）";
}

void TUnitFile::openExisting(const std::string& path) {
    open(path, "r+b", msgOpenFailed);
}

void TUnitFile::createNew(const std::string& path) {
    open(path, "w+bx", msgCreateFailed);
}

void TUnitFile::open(const std::string& path, const char* mode,
                     std::string (*failed)(const std::string&)) {
    close();
    path_ = path;
    errno = 0;
    file_ = std::fopen(path.c_str(), mode);
    if (!file_)
        throw IoError(failed(path));
    // Unbuffered: each unit is one transfer and reaches the file at once.
    std::setvbuf(file_, nullptr, _IONBF, 0);
}

void TUnitFile::close() {
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
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

void TUnitFile::seek(std::int64_t unit) {
    if (!file_)
        throw IoError(msgNotOpen(path_));
    if (unit < 0 || std::fseek(file_, long(unit * unitSize_), SEEK_SET) != 0)
        throw IoError(msgSeekFailed(path_));
}

void TUnitFile::read(std::int64_t unit, void* buffer) {
    seek(unit);
    if (faultNow() || std::fread(buffer, unitSize_, 1, file_) != 1) {
        std::clearerr(file_);
        throw IoError(msgReadFailed(path_));
    }
    ++reads_;
}

void TUnitFile::write(std::int64_t unit, const void* buffer) {
    seek(unit);
    errno = 0;
    if (faultNow()) {
        errno = ENOSPC;
        throw IoError(msgWriteFailed(path_));
    }
    if (std::fwrite(buffer, unitSize_, 1, file_) != 1 || std::fflush(file_) != 0) {
        const int err = errno;
        std::clearerr(file_);
        errno = err;
        throw IoError(msgWriteFailed(path_));
    }
    ++writes_;
}

std::int64_t TUnitFile::units() {
    if (!file_)
        throw IoError(msgNotOpen(path_));
    if (std::fseek(file_, 0, SEEK_END) != 0)
        throw IoError(msgSeekFailed(path_));
    const long len = std::ftell(file_);
    if (len < 0)
        throw IoError(msgSeekFailed(path_));
    return len / unitSize_;
}

} // namespace telvara
