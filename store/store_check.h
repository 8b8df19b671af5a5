#pragma once
// Verification of a store folder against the rules of both files, read-only:
// key counts, key order within pages and across the tree, all leaves at one
// level, the Children[0] rule of leaves, free chains, header counters and
// file lengths. Never writes.
#include <cstdint>
#include <string>
#include <vector>

namespace telvara {

struct TCheckReport {
    std::vector<std::string> Problems; // UTF-8 texts, one per problem
    std::int32_t Height = 0;
    std::int64_t Records = 0; // records reached through the tree
    std::int64_t Pages = 0;   // tree pages reached
    bool sound() const { return Problems.empty(); }
};

TCheckReport checkStore(const std::string& folder);

} // namespace telvara
