// Saving a file whole on Windows, through the OS layer: write beside and
// flush, keep the old one as PATH~ (a copy), replace with write-through.
#include "base/errors.h"
#include "base/os/files.h"
#include "base/os/paths.h"
#include "base/os/windows_error.h"
#include "study/save_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace telvara {

namespace {

[[noreturn]] void fail(const std::string& path, const char* what, int error) {
    throw IoError(path + " を" + what + "できません: " + std::strerror(error));
}

void removeQuietly(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(os::pathOf(path), ec);
}

void keepBackup(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(os::pathOf(path), ec))
        return; // a new study: nothing to keep
    const std::string backup = path + "~";
    if (!CopyFileW(os::wideOf(path).c_str(), os::wideOf(backup).c_str(), FALSE)) {
        os::failWithLastError();
        fail(backup, "作成", errno);
    }
}

} // namespace

void saveFileAtomically(const std::string& path, std::string_view contents,
                        const SaveStepHook& hook) {
    auto step = [&](SaveStep s) {
        if (hook)
            hook(s);
    };
    const std::string temp = path + ".new-" + std::to_string(os::processId());
    removeQuietly(temp);
    os::FileHandle file = os::openFile(temp, os::FileOpen::CreateNew);
    if (file == os::kNoFile)
        fail(path, "保存", errno);
    try {
        step(SaveStep::WriteNew);
        if (os::writeAt(file, 0, contents.data(), contents.size()) !=
            std::int64_t(contents.size()))
            fail(path, "保存", errno);
        step(SaveStep::SyncNew);
        if (!os::syncFile(file))
            fail(path, "保存", errno);
        os::closeFile(file);
        file = os::kNoFile;
        step(SaveStep::KeepBackup);
        keepBackup(path);
        step(SaveStep::Rename);
        if (!os::replaceFile(temp, path))
            fail(path, "保存", errno);
    } catch (...) {
        os::closeFile(file);
        removeQuietly(temp);
        throw;
    }
    step(SaveStep::SyncFolder);
}

} // namespace telvara
