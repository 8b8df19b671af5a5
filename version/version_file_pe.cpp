// The version block of a Windows program file: its VERSIONINFO resource,
// read and searched by the system (version.dll). The values of the table
// "041103A4" come back as the code page 932 bytes the ELF block holds.
#include "base/cp932.h"
#include "base/os/windows_error.h"

#include <winver.h>
// The system's names of these calls are macros for their wide forms; ours
// keep their own names.
#undef GetFileVersionInfoSize
#undef GetFileVersionInfo
#undef VerQueryValue

#include "version/version_block.h"

namespace telvara {

std::uint32_t GetFileVersionInfoSize(const std::string& path) {
    DWORD ignored = 0;
    return ::GetFileVersionInfoSizeW(os::wideOf(path).c_str(), &ignored);
}

bool GetFileVersionInfo(const std::string& path, std::uint32_t size,
                        std::vector<unsigned char>& block) {
    if (size == 0)
        return false;
    block.assign(size, 0);
    return ::GetFileVersionInfoW(os::wideOf(path).c_str(), 0, size, block.data()) != 0;
}

bool VerQueryValue(const std::vector<unsigned char>& block, std::string_view query,
                   std::string& value) {
    if (block.empty())
        return false;
    void* found = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), os::wideOf(std::string(query)).c_str(), &found, &length) ||
        !found)
        return false;
    std::wstring text(static_cast<const wchar_t*>(found), length);
    text = text.substr(0, text.find(L'\0'));
    try {
        value = utf8ToCp932(os::utf8OfWide(text));
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

std::string GetModuleName() {
    std::wstring buf(4096, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
        if (n == 0)
            return {};
        if (n < buf.size()) {
            buf.resize(n);
            return os::utf8OfWide(buf);
        }
        if (buf.size() >= (1u << 16))
            return {};
        buf.resize(buf.size() * 2);
    }
}

} // namespace telvara
