#pragma once
// Files as the system gives them: one small layer with a POSIX and a Windows
// implementation (files_posix.cpp, files_windows.cpp), chosen at build time.
// Paths are UTF-8 everywhere; the Windows side hands the system wide paths.
// A failure returns false (or kNoFile, or a negative count) and leaves the
// cause in errno, with the POSIX value also on Windows, so that messages
// name the same reason on both systems.
#include <cstddef>
#include <cstdint>
#include <string>

namespace telvara::os {

#ifdef _WIN32
using FileHandle = std::intptr_t; // a HANDLE
#else
using FileHandle = int; // a descriptor
#endif
inline constexpr FileHandle kNoFile = -1;

enum class FileOpen {
    ReadOnly,  // an existing file
    ReadWrite, // an existing file
    CreateNew, // a new empty file, read and write; fails (EEXIST) when one is there
};

enum class Links {
    Follow, // a link in the last component leads to its target
    Refuse, // a link there is refused (ELOOP), never followed
};

// Opens `path`; refuses a folder (EISDIR). Other programs may open, rename
// and remove the file meanwhile, as on POSIX. A new file is never made
// through a link.
FileHandle openFile(const std::string& path, FileOpen how, Links links = Links::Refuse);
void closeFile(FileHandle file);

// Transfers at a byte offset, without moving any shared position. The count
// done (short at the end of the file for a read), or -1.
std::int64_t readAt(FileHandle file, std::int64_t offset, void* buffer, std::size_t size);
std::int64_t writeAt(FileHandle file, std::int64_t offset, const void* buffer, std::size_t size);

bool fileSize(FileHandle file, std::int64_t& size);
// Gives `file` the permissions of the file at `path` when there is one
// (POSIX; Windows files inherit their folder's and this does nothing).
bool keepPermissions(const std::string& path, FileHandle file);
bool truncateFile(FileHandle file, std::int64_t size);
// The data and the length reach the disk before this returns.
bool syncFile(FileHandle file);

// Makes the creation, removal or renaming of an entry of `folder` durable.
// True also where the system or the file system has no such sync (Windows:
// a rename is made durable by replaceFile itself).
bool syncFolder(const std::string& folder);

// Puts `from` in place of `to`, replacing it; the change reaches the disk.
bool replaceFile(const std::string& from, const std::string& to);
// Puts `from` in place of `to` only when there is no `to` (EEXIST then).
bool renameNoReplace(const std::string& from, const std::string& to);

// True when `path` ends in a folder separator ('/', on Windows also '\\').
bool endsInSeparator(const std::string& path);

int processId();

} // namespace telvara::os
