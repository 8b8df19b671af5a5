#pragma once
// The Windows side of the OS layer reports its failures through errno with
// the POSIX values, so that the messages built on them are the same.
#include <string>
#include <windows.h>

namespace telvara::os {

// Sets errno from GetLastError() (or `code`) and returns false.
bool failWithLastError(DWORD code = GetLastError());

// UTF-8 <-> UTF-16 for the system's wide calls; broken UTF-8 gives U+FFFD.
std::wstring wideOf(const std::string& utf8);
std::string utf8OfWide(const std::wstring& wide);

} // namespace telvara::os
