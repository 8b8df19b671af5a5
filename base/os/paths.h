#pragma once
// Paths: UTF-8 strings in the program; wide paths for the Windows system
// (implemented beside the files, in files_*.cpp). The folder separator is
// in files.h.
#include <filesystem>
#include <string>

namespace telvara::os {

// A UTF-8 path as the standard library's path, and back.
std::filesystem::path pathOf(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& path);

} // namespace telvara::os
