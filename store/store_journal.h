#pragma once
// The journal "ZuboK.jnl" beside the two store files. An operation is durable
// once its record (the new image of every unit it changed, and both file
// lengths after it) is synced here; the units are then written into the
// files without a sync. A checkpoint syncs both files and empties the
// journal, so the files alone hold the store again.
//
// Layout, all integers little-endian:
//   header, 128 bytes: "TelvaraJ", version 1, Dirty, Seq (last commit),
//     CheckpointSeq, End (bytes of valid records), the two file lengths at
//     the checkpoint, the boot of the system that wrote it (36 bytes), a
//     checksum of the header.
//   records from byte 128: "TJR1", Seq, unit count, page file length,
//     record file length, then per unit: file (0 page, 1 record), unit number,
//     the unit's bytes; a checksum of the record last.
// Invariants (the asserts that check them cite their numbers):
//   J1. Records start after the header (End >= 128), and the last commit is
//       never older than the checkpoint it follows (CheckpointSeq <= Seq).
//   J2. Sequence numbers never go back: an emptied journal starts at or past
//       the last Seq, so every other program sees that its Seq differs and
//       reads the store afresh.
//   J3. A record holds whole units of their files, no more than a record may
//       hold, and is written as a scan reads it back whole.
//   J4. A record counts only when its checksum holds and its Seq follows the
//       one before it (the first follows CheckpointSeq), so a torn or stale
//       tail is never replayed.
//   J5. Dirty is set before a commit touches a file and cleared only once its
//       units are in the files: a reader that finds it set knows a writer
//       stopped half-way and recovers before reading.
//   J6. Only the last commit's header is marked clean: an older one would end
//       the journal before that commit's record.
//   J7. An emptied journal's header reaches the disk before the records are
//       cut off, so a power loss never leaves the old header over no records.
// Written units not yet synced survive a writer's end in the system's cache,
// but not a power loss: after a new boot the files are compared with the
// journal and completed from it.
#include "base/errors.h"
#include "store/unit_file.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace telvara {

inline constexpr const char kJournalFileName[] = "ZuboK.jnl";

// The journal's records fall short of what its header says: nothing of it is applied.
class TJournalDamaged : public IoError {
public:
    using IoError::IoError;
};

// A crash left a change in the journal that needs write access to complete.
class TRecoveryPending : public IoError {
public:
    using IoError::IoError;
};
constexpr std::int64_t kJournalHeaderSize = 128;

struct TJournalHeader {
    bool Dirty = false;
    std::uint64_t Seq = 0;
    std::uint64_t CheckpointSeq = 0;
    std::int64_t End = kJournalHeaderSize;
    std::int64_t PageBytes = 0;   // at the checkpoint
    std::int64_t RecordBytes = 0; // at the checkpoint
    std::string Boot;             // of the system that last wrote the header
};

// The identity of the running system's boot (changes with every start).
const std::string& currentBoot();
// For tests of a power loss: pretends the system started again.
void setCurrentBootForTests(const std::string& boot);
// A sound header that is not dirty and was written since this boot: every
// write of its commits is in the system's cache, the files are as the last
// writer left them and nothing needs recovery.
inline bool cleanThisBoot(const TJournalHeader& header) {
    return !header.Dirty && header.Boot == currentBoot();
}

enum class TUnitKind : std::uint8_t { Page = 0, Record = 1 };

// The new images of one commit, keyed by file and unit number.
using TUnitImages = std::map<std::pair<TUnitKind, std::int64_t>, std::vector<unsigned char>>;

// What the valid records of a journal add up to.
struct TJournalContents {
    bool HeaderValid = false;
    TJournalHeader Header;
    int Records = 0;
    std::uint64_t LastSeq = 0;                  // Seq of the last valid record
    TUnitImages Units;                          // the latest image of each unit
    std::int64_t PageBytes = -1;                // file lengths the store must have,
    std::int64_t RecordBytes = -1;              // -1 when unknown
    std::int64_t ChainEnd = kJournalHeaderSize; // the byte after the last valid record
    // Why the valid records do not reach what the sound header says they
    // hold (empty when they do, or when only the last append was torn): such
    // a journal is never applied, not even in part.
    std::string Damage;
};

class TStoreJournal {
public:
    TStoreJournal() { file_.refuseLinks(); }
    TStoreJournal(const TStoreJournal&) = delete;
    TStoreJournal& operator=(const TStoreJournal&) = delete;

    // Opens the journal in `folder` (ending in '/'); false when there is none
    // and it may not be created.
    bool open(const std::string& folder, bool writable, bool create);
    void close() { file_.close(); }
    bool isOpen() const { return file_.isOpen(); }
    const std::string& path() const { return file_.path(); }
    TUnitFile& file() { return file_; }
    std::uint64_t syncs() const { return file_.syncs(); }

    // Writes an empty journal whose checkpoint has these file lengths, and syncs it.
    void reset(std::uint64_t seq, std::int64_t pageBytes, std::int64_t recordBytes);
    // The header; nullopt-like false when it is missing or torn.
    bool readHeader(TJournalHeader& header);
    // True when the header is byte for byte the clean one this journal last
    // read or wrote: no other program committed since (one small read).
    bool cleanAndUnchanged();
    // Reads the whole journal.
    TJournalContents scan();
    // Appends a record after `at`, marks the journal dirty and syncs: from
    // here on the commit is durable. Returns the new header.
    TJournalHeader append(const TJournalHeader& at, const TUnitImages& units,
                          std::int64_t pageBytes, std::int64_t recordBytes);
    // A commit is about to touch the files / its units are in both files
    // (no sync needed: both only guard against a writer's end, not a power loss).
    void markDirty(TJournalHeader header);
    void markClean(TJournalHeader header);
    // The header last read or written says a commit is touching the files.
    bool markedDirty() const;

private:
    bool headerKnown() const;
    void writeHeader(const TJournalHeader& header);

    TUnitFile file_{1};
    unsigned char lastHeader_[kJournalHeaderSize] = {};
};

} // namespace telvara
