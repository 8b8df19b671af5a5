#include "version/elf_section.h"

#include <cstring>
#include <fstream>
#include <vector>

namespace telvara {

namespace {

constexpr std::uint32_t kShtNobits = 8;
constexpr std::uint32_t kShnXindex = 0xFFFF;
constexpr std::uint64_t kMaxSections = 1u << 20;   // far beyond any real program
constexpr std::uint64_t kMaxNameTable = 64u << 20; // bytes of section names read at most

std::uint64_t readLe(const unsigned char* p, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

class File {
public:
    explicit File(const std::string& path) : in_(path, std::ios::binary) {
        if (in_) {
            in_.seekg(0, std::ios::end);
            const auto end = in_.tellg();
            size_ = end < 0 ? 0 : static_cast<std::uint64_t>(end);
        }
    }
    bool ok() const { return static_cast<bool>(in_); }
    std::uint64_t size() const { return size_; }

    // Reads exactly `count` bytes at `offset`; false when they are not all there.
    bool read(std::uint64_t offset, std::uint64_t count, std::vector<unsigned char>& out) {
        if (offset > size_ || count > size_ - offset)
            return false;
        out.assign(count, 0);
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(count));
        return static_cast<std::uint64_t>(in_.gcount()) == count;
    }

private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

struct SectionHeader {
    std::uint32_t name = 0;
    std::uint32_t type = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint32_t link = 0;
};

SectionHeader parseHeader(const unsigned char* p, bool is64) {
    SectionHeader h;
    h.name = static_cast<std::uint32_t>(readLe(p, 4));
    h.type = static_cast<std::uint32_t>(readLe(p + 4, 4));
    if (is64) {
        h.offset = readLe(p + 24, 8);
        h.size = readLe(p + 32, 8);
        h.link = static_cast<std::uint32_t>(readLe(p + 40, 4));
    } else {
        h.offset = readLe(p + 16, 4);
        h.size = readLe(p + 20, 4);
        h.link = static_cast<std::uint32_t>(readLe(p + 24, 4));
    }
    return h;
}

} // namespace

std::optional<ElfSectionPlace> findElfSection(const std::string& path, const std::string& name) {
    File file(path);
    if (!file.ok())
        return std::nullopt;
    std::vector<unsigned char> eh;
    if (!file.read(0, 52, eh) || std::memcmp(eh.data(),
                                             "\x7F"
                                             "ELF",
                                             4) != 0)
        return std::nullopt;
    const bool is64 = eh[4] == 2;
    if ((eh[4] != 1 && eh[4] != 2) || eh[5] != 1) // 32/64-bit, little-endian only
        return std::nullopt;
    if (is64 && !file.read(0, 64, eh))
        return std::nullopt;
    const std::uint64_t shoff = is64 ? readLe(&eh[40], 8) : readLe(&eh[32], 4);
    const std::uint64_t shentsize = readLe(&eh[is64 ? 58 : 46], 2);
    std::uint64_t shnum = readLe(&eh[is64 ? 60 : 48], 2);
    std::uint64_t shstrndx = readLe(&eh[is64 ? 62 : 50], 2);
    if (shoff == 0 || shentsize < (is64 ? 64u : 40u))
        return std::nullopt;

    std::vector<unsigned char> buf;
    if (!file.read(shoff, shentsize, buf))
        return std::nullopt;
    const SectionHeader first = parseHeader(buf.data(), is64);
    if (shnum == 0) // more sections than the header field holds
        shnum = first.size;
    if (shstrndx == kShnXindex)
        shstrndx = first.link;
    if (shnum == 0 || shnum > kMaxSections || shstrndx >= shnum)
        return std::nullopt;

    std::vector<unsigned char> table;
    if (!file.read(shoff, shnum * shentsize, table))
        return std::nullopt;
    auto header = [&](std::uint64_t i) { return parseHeader(&table[i * shentsize], is64); };

    const SectionHeader names = header(shstrndx);
    if (names.type == kShtNobits || names.size > kMaxNameTable)
        return std::nullopt;
    std::vector<unsigned char> nameBytes;
    if (!file.read(names.offset, names.size, nameBytes))
        return std::nullopt;

    for (std::uint64_t i = 1; i < shnum; ++i) {
        const SectionHeader h = header(i);
        if (h.name >= nameBytes.size())
            continue;
        const char* s = reinterpret_cast<const char*>(&nameBytes[h.name]);
        const size_t maxLen = nameBytes.size() - h.name;
        if (strnlen(s, maxLen) != name.size() || std::memcmp(s, name.data(), name.size()) != 0)
            continue;
        if (h.type == kShtNobits || h.offset > file.size() || h.size > file.size() - h.offset)
            return std::nullopt;
        return ElfSectionPlace{h.offset, h.size};
    }
    return std::nullopt;
}

} // namespace telvara
