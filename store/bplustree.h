#pragma once
// TBPlusTree: the keyed record store. Owns the page file "ZuboK.dat" and the
// record file "ZuboK.idx" of one folder, keeps relay setting records in key
// order. Records and keys pass by value (Find, Insert, Remove); the main
// window's calls work through the store's current record (CurrentRecord,
// FindKey, InsertCurrent, DeleteCurrent), thin wrappers over the same.
//
// Every operation is atomic and durable: its changed units are kept in memory
// until it ends, then recorded in the journal "ZuboK.jnl" (one sync) and
// written into the two files. A store folder is locked for each operation:
// readers share, a writer is alone; each operation starts from what is on
// the disk, so another program's changes are seen and never overwritten.
//
// Keys are CP932 bytes. Lookups and deletions compare keys as a tree page
// holds them (cut to kKeySlotCapacity bytes); callers build keys with recordKey() so a key
// is formed exactly as the record stores it.
#include "store/store_check.h"
#include "store/store_format.h"
#include "store/store_journal.h"
#include "store/store_lock.h"
#include "store/tree_walk.h"
#include "store/unit_file.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace telvara {

struct TTransferCounts {
    std::uint64_t PageReads = 0; // header included
    std::uint64_t PageWrites = 0;
    std::uint64_t RecordReads = 0;
    std::uint64_t RecordWrites = 0;
    std::uint64_t Syncs = 0; // of both files and the journal
    std::uint64_t total() const { return PageReads + PageWrites + RecordReads + RecordWrites; }
};

// What an opening is doing, as the store's calls move it (each line names
// the call and what the transition does):
//   Closed  -> Idle      OpenStore: the files opened, a crash completed, the
//                        header and free chains checked; no lock kept.
//   Idle    -> Reading   BeginRead: the shared lock taken, other programs'
//                        commits taken in (a crash they left is completed).
//   Reading -> Idle      EndRead: the shared lock given up.
//   Idle    -> Writing   BeginWrite (an operation of its own): the exclusive
//                        lock taken, the store read afresh, the header and
//                        both file lengths kept to roll back to.
//   Idle    -> InTransaction  BeginTransaction: as BeginWrite; the changes of
//                        every operation until Commit wait together.
//   Writing, InTransaction -> Idle  CommitWrite: the changes journaled and
//                        written, the lock given up; RollbackWrite (a failed
//                        operation, Rollback, CloseStore): the changes
//                        forgotten, the lock given up.
//   any     -> Closed    CloseStore: a write under way rolled back, the files closed.
// Reads inside Writing or InTransaction take no lock of their own.
enum class TStoreState { Closed, Idle, Reading, Writing, InTransaction };

enum class TOpenMode {
    ReadWrite, // creates the store when the folder holds none
    ReadOnly,  // never writes, works on read-only media; a store left half-way
               // by a crash is still recovered first when the files allow it
};

class TBPlusTree {
public:
    TBPlusTree();
    virtual ~TBPlusTree();
    TBPlusTree(const TBPlusTree&) = delete;
    TBPlusTree& operator=(const TBPlusTree&) = delete;

    // Opens the store in `folder` (with or without a trailing '/'), creating
    // it when the folder holds no page file (ReadWrite only). An operation a
    // crash interrupted is completed from the journal first. Raises IoError
    // and stays closed when the folder or a file cannot be used; neither file
    // is then changed.
    void OpenStore(const std::string& folder, TOpenMode mode = TOpenMode::ReadWrite);
    void CloseStore();

    // Several operations as one: between BeginTransaction and Commit the
    // store is locked for writing and nothing reaches the files; Commit makes
    // all of them durable at once, Rollback (or a failed operation, which
    // rolls back the whole transaction) forgets them. Outside a transaction
    // each Insert and Remove is a transaction of its own.
    void BeginTransaction();
    void Commit();
    void Rollback();

    // Takes in what other programs have changed since the last operation
    // (Height and the root then describe the store on the disk).
    void Refresh();

    // The record stored under `key` (compared as a tree page holds it).
    std::optional<TRelayRecord> Find(std::string_view key);
    // Stores the record under its key (equal keys go after the others) and
    // returns its slot.
    std::int32_t Insert(const TRelayRecord& record);
    // Removes the record stored under `key` (compared as a tree page holds
    // it) and returns it; nothing when no record has that key.
    std::optional<TRelayRecord> Remove(std::string_view key);

    // The main window's calls, through the current record.
    // Exact lookup; on success the record becomes CurrentRecord and its slot
    // CurrentRecNo, otherwise CurrentRecNo is -1 and CurrentRecord stays.
    bool FindKey(std::string_view key);
    // Insert of CurrentRecord; CurrentRecNo becomes the slot it was given
    // (also when the operation then fails).
    void InsertCurrent();
    // Remove of the key of CurrentRecord; CurrentRecNo becomes -1 and
    // CurrentRecord the last record the deletion read.
    void DeleteCurrent();
    // Every key in key order, one line each (CR LF), 4 spaces per level below the root.
    std::string ListKeys();
    // The same listing without the line limit (the list window shows every key).
    std::string ListAllKeys();
    // Every record in key order with its slot, each page read once; raises
    // IoError naming the file when the tree is damaged on the way.
    using TRecordVisitor = std::function<void(std::int32_t slot, const TRelayRecord& record)>;
    void ForEachRecord(const TRecordVisitor& visit);

    std::int32_t Height() const { return header_.Height; }
    TRelayRecord& CurrentRecord() { return currentRecord_; }
    const TRelayRecord& CurrentRecord() const { return currentRecord_; }
    std::int32_t CurrentRecNo() const { return currentRecNo_; }

    // The whole store checked as "check" checks it, through this store's own
    // files; its reads are not counted in transfers(). Never writes. Damage
    // found makes every later write of this open refused (WriteRefusal).
    TCheckReport Verify();
    // Why this open store refuses to write, empty while it writes. The first
    // write of an open checks the whole store first; damage found there is
    // kept here and every write of the open is refused before it writes.
    const std::string& WriteRefusal() const { return writeRefusal_; }
    // Why a write would be refused now, before it starts: the store was
    // opened ReadOnly, or damage was found (WriteRefusal). Empty otherwise.
    std::string WriteBlocked() const;

    bool isOpen() const { return state_ != TStoreState::Closed; }
    // How long an operation waits for another program's lock.
    void setLockWaitMs(int ms) { lockWaitMs_ = ms; }
    const TStoreHeader& header() const { return header_; }
    TTransferCounts transfers() const;
    const std::string& pageFilePath() const { return pageFile_.path(); }
    const std::string& recordFilePath() const { return recordFile_.path(); }

    // For tests of failure handling: the (n+1)-th unit transfer from now
    // fails as a disk failure would; -1 turns this off.
    void injectFaultAfter(std::int64_t transfers) { faultCountdown_ = transfers; }
    // For tests of crashes and failures: sees every write, sync and truncation.
    void setIoHook(TIoHook* hook);

private:
    struct TRise {
        bool Rose = false;
        std::string Key;
        std::int32_t Right = kNone;
    };
    // One insertion on its way down: the record, its key as a page holds it,
    // and where the slot handed out to it goes.
    struct TInsertion {
        const TRelayRecord& Record;
        std::string Key;
        std::int32_t& Slot;
    };
    struct TDeleteResult {
        bool Removed = false;
        bool Underflow = false;
        bool HasReplacement = false;
        std::string Replacement;
    };

    // Unit access.
    void ReadPage(std::int32_t n, TTreePage& page);
    void ReadTreePage(std::int32_t n, int level, TTreePage& page);
    // Raises the damage a tree page at `level` shows on its own (counts, key
    // order, children out of range).
    void CheckTreePage(std::int32_t n, int level, const TTreePage& page) const;
    void WritePage(std::int32_t n, const TTreePage& page);
    void ReadRecord(std::int32_t s, TRelayRecord& record);
    void WriteRecord(std::int32_t s, const TRelayRecord& record);
    void WriteHeader();
    void LoadLevel(int level, std::int32_t n);
    void ReadLevel(int level, std::int32_t n);
    void ForgetPage(std::int32_t n);
    void ForgetLevels();
    void EnsureRoot();
    // The units read or committed since the journal last showed another
    // program's change: what the files hold, kept within one opening.
    void ForgetUnits();
    void KeepCommittedUnits();

    // Allocation through the free chains.
    std::int32_t AllocPage(TTreePage& page);
    void FreePage(std::int32_t n);
    std::int32_t AllocRecord(const TRelayRecord& record);
    void FreeRecord(std::int32_t s);

    // Lookup and its result, under a lock the caller holds.
    struct TFound {
        std::int32_t Slot;
        TRelayRecord Record;
    };
    std::optional<TFound> Lookup(std::string_view key);

    // Insertion; `slot` gets the record's slot as soon as it is handed out.
    void InsertRecord(const TRelayRecord& record, std::int32_t& slot);
    TRise InsertBelow(int level, std::int32_t n, TInsertion& insertion);
    void InsertInPage(int level, int p, std::string_view key, std::int32_t right);
    TRise SplitPage(int level, int p, std::string_view key, std::int32_t right);

    // Deletion; `read` gets every record the way down reads at the leaf.
    bool RemoveRecord(std::string_view key, TRelayRecord& read);
    TDeleteResult DeleteBelow(int level, std::string_view key, TRelayRecord& read);
    bool RepairUnderflow(int level, int b);
    bool BorrowFromRight(int level, int b, TTreePage& right, int k);
    bool MergeWithRight(int level, int b, TTreePage& right);
    bool BorrowFromLeft(int level, int b, TTreePage& left, int k);
    bool MergeIntoLeft(int level, int b, TTreePage& left);

    std::string ListWithLimit(int limit);
    void ListLevel(int level, const std::string& prefix, std::string& out, int& lines, int limit);

    // The units as this store's operations read them: the operation's own
    // changes first, every read counted in transfers().
    class TOperationSource final : public TStoreSource {
    public:
        explicit TOperationSource(TBPlusTree& t) : t_(t) {}
        std::int64_t pageFileBytes() override { return t_.pageFile_.sizeBytes(); }
        std::int64_t recordFileBytes() override { return t_.recordFile_.sizeBytes(); }
        void readPage(std::int32_t n, TTreePage& page) override { t_.ReadPage(n, page); }
        void readRecord(std::int32_t s, TRelayRecord& record) override { t_.ReadRecord(s, record); }

    private:
        TBPlusTree& t_;
    };
    // The units as they stand in the files and, with `pending`, with the
    // operation's changes over them; read directly: neither counted in
    // transfers() nor failed by an injected fault.
    class TDirectSource final : public TStoreSource {
    public:
        TDirectSource(TBPlusTree& t, bool pending) : t_(t), pending_(pending) {}
        std::int64_t pageFileBytes() override { return t_.pageFile_.sizeBytes(); }
        std::int64_t recordFileBytes() override { return t_.recordFile_.sizeBytes(); }
        void readPage(std::int32_t n, TTreePage& page) override;
        void readRecord(std::int32_t s, TRelayRecord& record) override;

    private:
        TBPlusTree& t_;
        bool pending_;
    };
    // For assertions: the operation about to commit kept the free chains whole.
    bool FreeChainsKept();

    // A read under the shared lock (nothing to do inside a transaction).
    class TReadScope {
    public:
        explicit TReadScope(TBPlusTree& t) : t_(t) { t_.BeginRead(); }
        ~TReadScope() { t_.EndRead(); }
        TReadScope(const TReadScope&) = delete;
        TReadScope& operator=(const TReadScope&) = delete;

    private:
        TBPlusTree& t_;
    };

    // Locking, freshness and commit (bplustree_txn.cpp).
    bool WriteUnderWay() const {
        return state_ == TStoreState::Writing || state_ == TStoreState::InTransaction;
    }
    void BeginRead();
    void EndRead();
    void BeginWrite();
    // The commit, step by step (see bplustree_txn.cpp).
    void CommitWrite();
    struct TFileUnits {
        std::int64_t Pages;
        std::int64_t Records;
    };
    // Every changed unit's new image, the header's only when it changed.
    TUnitImages PendingImages() const;
    // Both file lengths, in units, once the images are written.
    TFileUnits LengthsAfter(const TUnitImages& images) const;
    // A header written unchanged goes back in place, without the journal.
    void RewriteHeader();
    // The images past the lengths at the start (pastStart) or within them,
    // each run of neighbours in one transfer.
    void WriteRuns(const TUnitImages& images, bool pastStart);
    // Steps (1) and (2): the growth written, the journal record synced; a
    // failure cuts the files back and rolls the operation back.
    void WriteGrowthAndJournal(const TUnitImages& images, const TFileUnits& lengths);
    // Step (3): the other units in place and the journal marked clean; a
    // failure completes the commit from the journal.
    void WriteInPlace(const TUnitImages& images);
    // The committed units kept, a checkpoint when the journal is long, the lock given up.
    void EndCommit(bool journaled);
    void RollbackWrite();
    void Lock(TLockMode mode);
    void Unlock();
    void RefreshLocked();
    void ReloadHeader();
    bool NeedsRecovery(const TJournalContents& contents);
    void Recover();
    void Recover(const TJournalContents& contents);
    void RefuseCutBelowHeader(const TJournalContents& contents);
    void RecoverWithWritableFiles();
    void Checkpoint();
    void OpenJournal(bool create);
    void CreateStore(const std::string& folder);
    std::string FolderName() const;

    // Plausibility of an existing store, checked when it is opened.
    void CheckHeader(std::int64_t pageUnits, std::int64_t recordSlots);
    void CheckFreeChains();
    void CheckLeftmostPath();
    void RequireOpen() const;
    void RequireSound();
    [[noreturn]] void Damaged(const std::string& path, const std::string& detail) const;
    void CheckPageNo(std::int32_t n) const;
    void CheckSlotNo(std::int32_t s) const;

    TStoreHeader header_;
    TOpenMode mode_ = TOpenMode::ReadWrite;
    std::string folder_; // with its trailing '/'
    TStoreJournal journal_;
    TJournalHeader journalHeader_; // as of the last operation
    bool journalKnown_ = false;    // journalHeader_ tells whether the files changed
    TStoreLock lock_;
    int lockWaitMs_ = defaultLockWaitMs();
    TStoreState state_ = TStoreState::Closed;
    // The write under way (Writing, InTransaction): its changed units, not
    // yet on disk, and the store as it found it, to roll back to.
    struct TPendingWrite {
        std::map<std::int32_t, TTreePage> Pages;
        std::map<std::int32_t, TRelayRecord> Records;
        bool HeaderWritten = false; // an operation ended: the header goes to unit 0
        TStoreHeader DiskHeader;
        std::int64_t PageUnitsAtStart = 0;
        std::int64_t RecordUnitsAtStart = 0;
    } write_;
    std::unordered_map<std::int32_t, TTreePage> keptPages_;
    std::unordered_map<std::int32_t, TRelayRecord> keptRecords_;
    TIoHook* hook_ = nullptr;
    std::vector<TTreePage> levelPages_;      // [1..Height]; [0] unused
    std::vector<std::int32_t> levelPageNos_; // kNone when a level holds no page
    TUnitFile pageFile_{kPageSize};
    TUnitFile recordFile_{kRecordSize};
    TRelayRecord currentRecord_;
    std::int32_t currentRecNo_ = kNone;
    TTreePage scratch_;
    std::int64_t faultCountdown_ = -1;
    bool verified_ = false;    // the whole store was found sound since it was opened
    std::string writeRefusal_; // the damage found by that check
};

// One transaction for a scope: rolled back unless commit() was reached.
class TStoreTransaction {
public:
    explicit TStoreTransaction(TBPlusTree& store) : store_(store) { store_.BeginTransaction(); }
    ~TStoreTransaction() { store_.Rollback(); }
    TStoreTransaction(const TStoreTransaction&) = delete;
    TStoreTransaction& operator=(const TStoreTransaction&) = delete;
    void commit() { store_.Commit(); }

private:
    TBPlusTree& store_;
};

// Number of leading keys of the page that are not greater than `key`.
int keysNotGreater(const TTreePage& page, std::string_view key);

} // namespace telvara
