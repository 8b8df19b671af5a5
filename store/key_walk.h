#pragma once
// Every key of a store in key order, read straight from its page file: a
// read-only walk of the tree, so that no listing limit applies.
#include <string>
#include <vector>

namespace telvara {

// The keys as the tree pages keep them (CP932, cut to 41 bytes). Raises
// IoError when the file cannot be read or its tree is damaged.
std::vector<std::string> storedKeys(const std::string& pageFilePath);

} // namespace telvara
