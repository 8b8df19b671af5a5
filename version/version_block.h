#pragma once
// The program file's version block and the two identity operations of the
// version unit. std only: no Qt.
//
// Block layout (integers little-endian, texts without terminator):
//   "TVVB"                          4 bytes
//   total length of the block       u32 (from the first byte of "TVVB")
//   number of string tables         u16
//   per table:  key length u16, key (e.g. "041103A4": language 0411, code page 03A4),
//               entry count u16,
//               per entry: name length u16, name, value length u16, value
// Values of a table are in that table's code page; "041103A4" holds CP932 bytes.
// The block lives in the section ".telvara_version" of the executable
// (telvara_embed_version() in version/TelvaraVersion.cmake writes it).
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace telvara {

inline constexpr const char* kVersionSection = ".telvara_version";
inline constexpr const char* kNoVersionText = "バージョン情報なし";
inline constexpr const char* kFileVersionQuery = "\\StringFileInfo\\041103A4\\FileVersion";

struct VersionStringTable {
    std::string key;                                          // e.g. "041103A4"
    std::vector<std::pair<std::string, std::string>> entries; // name, value (bytes)
};

// The bytes of a block holding these tables.
std::vector<unsigned char> buildVersionBlock(const std::vector<VersionStringTable>& tables);

// Size in bytes of the version block of the file at `path`; 0 when it has none.
std::uint32_t GetFileVersionInfoSize(const std::string& path);

// Reads the file's version block into `block` (`size` bytes, from
// GetFileVersionInfoSize). False when it cannot be read.
bool GetFileVersionInfo(const std::string& path, std::uint32_t size,
                        std::vector<unsigned char>& block);

// Looks up "\StringFileInfo\<table key>\<name>" in a block. False when the
// path has another form, the table or the name is missing, or the block is
// damaged. The value is cut at its first zero byte, if any.
bool VerQueryValue(const std::vector<unsigned char>& block, std::string_view query,
                   std::string& value);

// The "FileVersion" text (UTF-8) of the table "041103A4" of the file's version
// block, or "バージョン情報なし".
std::string GetFileVersion(const std::string& path);

// Full path of the running program file; empty when it cannot be determined.
std::string GetModuleName();

} // namespace telvara
