#pragma once
// Saving a file so that a crash or a full disk leaves the old or the new
// contents, never a mixture: the new contents go to a file beside the old
// one and are synced; the old file is kept as PATH~; the new file is renamed
// into place; the folder is synced. The one part of study/ that talks to the
// operating system (save_file_posix.cpp; a Windows build gives its own).
#include <functional>
#include <string>
#include <string_view>

namespace telvara {

enum class SaveStep {
    WriteNew,   // the contents written to the file beside the old one
    SyncNew,    // … and synced
    KeepBackup, // the old file kept as PATH~
    Rename,     // the new file renamed over PATH
    SyncFolder, // the folder synced
};

// Called before each step; tests stop a save there. Raising from it fails
// the save as a failed write would.
using SaveStepHook = std::function<void(SaveStep)>;

// Raises IoError naming the file when a step fails; PATH then holds what it
// held before, and no new file is left beside it.
void saveFileAtomically(const std::string& path, std::string_view contents,
                        const SaveStepHook& hook = {});

} // namespace telvara
