#pragma once
// The store's own files, which no export may overwrite.
#include <string>

namespace telvara {

// True when path names "ZuboK.dat", "ZuboK.idx" or "ZuboK.jnl" of the store in
// folder, by any spelling: the same file when it exists (through links
// too), else the same name in the same folder.
bool isStoreFile(const std::string& folder, const std::string& path);

// Raises IoError "ファイル PATH はデーターの保存ファイルです。…" when
// isStoreFile holds.
void refuseStoreFile(const std::string& folder, const std::string& path);

} // namespace telvara
