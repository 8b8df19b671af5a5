// The version block of an ELF file: the section ".telvara_version" (Linux).
#include "version/elf_section.h"
#include "version/version_block.h"

#include <cstring>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace telvara {

namespace {

constexpr std::uint64_t kMaxBlock = 1u << 20; // a version block is a few hundred bytes
constexpr size_t kHeaderSize = 10;            // magic, total length, table count

// Reads the block front to back; every read is checked against its end.
class BlockReader {
public:
    BlockReader(const unsigned char* p, size_t n) : p_(p), n_(n) {}
    bool u16(std::uint32_t& v) {
        if (n_ - pos_ < 2)
            return false;
        v = p_[pos_] | (std::uint32_t(p_[pos_ + 1]) << 8);
        pos_ += 2;
        return true;
    }
    bool text(std::string_view& s) {
        std::uint32_t len = 0;
        if (!u16(len) || n_ - pos_ < len)
            return false;
        s = std::string_view(reinterpret_cast<const char*>(p_ + pos_), len);
        pos_ += len;
        return true;
    }

    bool atEnd() const { return pos_ == n_; }

private:
    const unsigned char* p_;
    size_t n_;
    size_t pos_ = 0;
};

std::vector<std::string_view> splitQuery(std::string_view q) {
    std::vector<std::string_view> parts;
    while (!q.empty()) {
        if (q.front() != '\\')
            return {};
        q.remove_prefix(1);
        const size_t next = q.find('\\');
        parts.push_back(q.substr(0, next));
        q = next == std::string_view::npos ? std::string_view() : q.substr(next);
    }
    return parts;
}

} // namespace

std::uint32_t GetFileVersionInfoSize(const std::string& path) {
    const std::optional<ElfSectionPlace> place = findElfSection(path, kVersionSection);
    if (!place || place->size > kMaxBlock)
        return 0;
    return static_cast<std::uint32_t>(place->size);
}

bool GetFileVersionInfo(const std::string& path, std::uint32_t size,
                        std::vector<unsigned char>& block) {
    const std::optional<ElfSectionPlace> place = findElfSection(path, kVersionSection);
    if (!place || size == 0 || size > place->size)
        return false;
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(place->offset));
    block.assign(size, 0);
    in.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(size));
    return in && static_cast<std::uint32_t>(in.gcount()) == size;
}

bool VerQueryValue(const std::vector<unsigned char>& block, std::string_view query,
                   std::string& value) {
    const std::vector<std::string_view> parts = splitQuery(query);
    if (parts.size() != 3 || parts[0] != "StringFileInfo")
        return false;
    if (block.size() < kHeaderSize || std::memcmp(block.data(), "TVVB", 4) != 0)
        return false;
    std::uint32_t total = 0;
    for (int i = 3; i >= 0; --i)
        total = (total << 8) | block[4 + static_cast<size_t>(i)];
    if (total < kHeaderSize || total > block.size())
        return false;
    // The whole block is checked before anything is looked up: a damaged
    // block gives nothing, not whatever happens to precede the damage.
    BlockReader r(block.data() + 8, total - 8);
    std::uint32_t tableCount = 0;
    if (!r.u16(tableCount))
        return false;
    std::optional<std::string_view> found;
    for (std::uint32_t t = 0; t < tableCount; ++t) {
        std::string_view key;
        std::uint32_t entryCount = 0;
        if (!r.text(key) || !r.u16(entryCount))
            return false;
        for (std::uint32_t e = 0; e < entryCount; ++e) {
            std::string_view name, text;
            if (!r.text(name) || !r.text(text))
                return false;
            if (!found && key == parts[1] && name == parts[2])
                found = text;
        }
    }
    if (!r.atEnd() || !found)
        return false;
    value = std::string(found->substr(0, found->find('\0')));
    return true;
}

std::string GetModuleName() {
    // The link names the file even beyond 260 characters; a cut path would name another file.
    std::string buf(4096, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n <= 0)
            return {};
        if (static_cast<size_t>(n) < buf.size()) {
            buf.resize(static_cast<size_t>(n));
            return buf;
        }
        if (buf.size() >= (1u << 20))
            return {};
        buf.resize(buf.size() * 2);
    }
}

} // namespace telvara
