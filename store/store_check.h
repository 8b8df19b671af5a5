#pragma once
// Verification of a store folder against the rules of both files, read-only:
// key counts, key order within pages and across the tree, all leaves at one
// level, the Children[0] rule of leaves, free chains, header counters and
// file lengths. Never writes. Reads unit by unit, so its memory follows the
// size of the tree, not the length of the files (a sparse file of gigabytes
// costs a few bits per unit).
#include "store/tree_walk.h"

#include <cstdint>
#include <string>
#include <vector>

namespace telvara {

struct TCheckReport {
    std::vector<std::string> Problems; // UTF-8 texts, one per problem
    bool FirstInRecordFile = false;    // the first problem lies in "ZuboK.idx"
    std::int32_t Height = 0;
    std::int64_t Records = 0; // records reached through the tree
    std::int64_t Pages = 0;   // tree pages reached
    // Why a change a crash interrupted is not yet completed (the files are
    // read-only); the check then reads the store as that change leaves it.
    std::string Pending;
    bool sound() const { return Problems.empty(); }
};

TCheckReport checkStore(const std::string& folder);
// The check of the "check" command: completes what a crash interrupted,
// reports a damaged journal as the first problem, and reads the files under
// the shared lock (TStoreBusy when another program keeps the store beyond the wait).
TCheckReport checkStoreFolder(const std::string& folder);
TCheckReport checkStore(TStoreSource& source);

// "ファイル … が壊れています（…）" for the first problem of an unsound report,
// naming the file that problem lies in.
std::string damageMessage(const TCheckReport& report, const std::string& pagePath,
                          const std::string& recordPath);

} // namespace telvara
