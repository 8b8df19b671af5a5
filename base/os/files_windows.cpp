// The file layer on Windows: wide paths, positioned transfers through
// OVERLAPPED offsets, FlushFileBuffers, and renames with write-through.
#include "base/os/files.h"
#include "base/os/paths.h"
#include "base/os/windows_error.h"

#include <cerrno>

namespace telvara::os {
namespace {

HANDLE handleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

OVERLAPPED at(std::int64_t offset) {
    OVERLAPPED o{};
    o.Offset = DWORD(std::uint64_t(offset) & 0xFFFFFFFFu);
    o.OffsetHigh = DWORD(std::uint64_t(offset) >> 32);
    return o;
}

// Transfers are made in pieces a DWORD can count.
constexpr std::size_t kMaxPiece = 1u << 30;

} // namespace

FileHandle openFile(const std::string& path, FileOpen how, Links links) {
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = OPEN_EXISTING;
    if (how == FileOpen::ReadOnly)
        access = GENERIC_READ;
    if (how == FileOpen::CreateNew)
        disposition = CREATE_NEW;
    const std::wstring wide = wideOf(path);
    // A refused link is opened itself, never what it points to, and refused below.
    const bool refuse = links == Links::Refuse;
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (refuse ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    HANDLE h =
        CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, disposition, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        const DWORD attrs = GetFileAttributesW(wide.c_str());
        if (err == ERROR_ACCESS_DENIED && attrs != INVALID_FILE_ATTRIBUTES &&
            (attrs & FILE_ATTRIBUTE_DIRECTORY)) {
            errno = EISDIR;
            return kNoFile;
        }
        failWithLastError(err);
        return kNoFile;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(h, &info)) {
        if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CloseHandle(h);
            errno = EISDIR;
            return kNoFile;
        }
        if (refuse && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            CloseHandle(h);
            errno = ELOOP;
            return kNoFile;
        }
    }
    return reinterpret_cast<FileHandle>(h);
}

void closeFile(FileHandle file) {
    if (file != kNoFile)
        CloseHandle(handleOf(file));
}

std::int64_t readAt(FileHandle file, std::int64_t offset, void* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED o = at(offset + std::int64_t(done));
        DWORD n = 0;
        const DWORD piece = DWORD(std::min(size - done, kMaxPiece));
        if (!ReadFile(handleOf(file), static_cast<char*>(buffer) + done, piece, &n, &o)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            failWithLastError();
            return -1;
        }
        if (n == 0)
            break;
        done += n;
    }
    return std::int64_t(done);
}

std::int64_t writeAt(FileHandle file, std::int64_t offset, const void* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED o = at(offset + std::int64_t(done));
        DWORD n = 0;
        const DWORD piece = DWORD(std::min(size - done, kMaxPiece));
        if (!WriteFile(handleOf(file), static_cast<const char*>(buffer) + done, piece, &n, &o)) {
            failWithLastError();
            return -1;
        }
        if (n == 0) {
            errno = ENOSPC;
            return -1;
        }
        done += n;
    }
    return std::int64_t(done);
}

bool fileSize(FileHandle file, std::int64_t& size) {
    LARGE_INTEGER n{};
    if (!GetFileSizeEx(handleOf(file), &n))
        return failWithLastError();
    size = std::int64_t(n.QuadPart);
    return true;
}

bool keepPermissions(const std::string&, FileHandle) {
    return true;
}

bool truncateFile(FileHandle file, std::int64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size;
    if (!SetFileInformationByHandle(handleOf(file), FileEndOfFileInfo, &end, sizeof end))
        return failWithLastError();
    return true;
}

bool syncFile(FileHandle file) {
    if (!FlushFileBuffers(handleOf(file)))
        return failWithLastError();
    return true;
}

bool syncFolder(const std::string&) {
    // No folder sync on Windows: NTFS logs its folder changes itself, and
    // the renames below are made with write-through.
    return true;
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (!MoveFileExW(wideOf(from).c_str(), wideOf(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failWithLastError();
    return true;
}

bool renameNoReplace(const std::string& from, const std::string& to) {
    if (!MoveFileExW(wideOf(from).c_str(), wideOf(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return failWithLastError();
    return true;
}

std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(wideOf(utf8));
}

std::string utf8Of(const std::filesystem::path& path) {
    return utf8OfWide(path.wstring());
}

bool endsInSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

int processId() {
    return int(GetCurrentProcessId());
}

} // namespace telvara::os
