#include "version/version_block.h"

#include "base/cp932.h"

namespace telvara {

namespace {

void putU16(std::vector<unsigned char>& out, size_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void putText(std::vector<unsigned char>& out, std::string_view s) {
    putU16(out, s.size());
    out.insert(out.end(), s.begin(), s.end());
}

} // namespace

std::vector<unsigned char> buildVersionBlock(const std::vector<VersionStringTable>& tables) {
    std::vector<unsigned char> out = {'T', 'V', 'V', 'B', 0, 0, 0, 0};
    putU16(out, tables.size());
    for (const VersionStringTable& t : tables) {
        putText(out, t.key);
        putU16(out, t.entries.size());
        for (const auto& [name, value] : t.entries) {
            putText(out, name);
            putText(out, value);
        }
    }
    const std::uint32_t total = static_cast<std::uint32_t>(out.size());
    for (int i = 0; i < 4; ++i)
        out[4 + static_cast<size_t>(i)] = static_cast<unsigned char>(total >> (8 * i));
    return out;
}

std::string GetFileVersion(const std::string& path) {
    std::string result = kNoVersionText;
    const std::uint32_t size = GetFileVersionInfoSize(path);
    if (size == 0)
        return result;
    std::vector<unsigned char> block(size, 0);
    if (!GetFileVersionInfo(path, size, block))
        return result;
    std::string value;
    if (!VerQueryValue(block, kFileVersionQuery, value))
        return result;
    return cp932ToUtf8(value); // the table's code page is 932
}

} // namespace telvara
