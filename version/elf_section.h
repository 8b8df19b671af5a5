#pragma once
// Locating one named section of an ELF file through its section headers.
#include <cstdint>
#include <optional>
#include <string>

namespace telvara {

struct ElfSectionPlace {
    std::uint64_t offset = 0; // byte position in the file
    std::uint64_t size = 0;   // bytes
};

// The place of the section `name` in the ELF file at `path` (32- or 64-bit,
// little-endian). Nothing when the file cannot be read, is not such an ELF
// file, has no section of that name, or the section has no bytes in the file.
std::optional<ElfSectionPlace> findElfSection(const std::string& path, const std::string& name);

} // namespace telvara
