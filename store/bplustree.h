#pragma once
// TBPlusTree: the keyed record store. Owns the page file "ZuboK.dat" and the
// record file "ZuboK.idx" of one folder, keeps relay setting records in key
// order, and passes all record traffic through CurrentRecord.
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
    // each InsertCurrent and DeleteCurrent is a transaction of its own.
    void BeginTransaction();
    void Commit();
    void Rollback();

    // Takes in what other programs have changed since the last operation
    // (Height and the root then describe the store on the disk).
    void Refresh();

    // Exact lookup; on success the record becomes CurrentRecord.
    bool FindKey(std::string_view key);
    // The record FindKey would find, with CurrentRecord and CurrentRecNo left
    // as they were (another window looks a relay up under the user's record).
    std::optional<TRelayRecord> LookUp(std::string_view key);
    // Stores CurrentRecord under its key; equal keys go after the others.
    void InsertCurrent();
    // Removes the record whose key equals the key of CurrentRecord.
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

    bool isOpen() const { return !closed_; }
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
    struct TDeleteResult {
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

    // Insertion.
    TRise InsertBelow(int level, std::int32_t n, std::string_view key);
    void InsertInPage(int level, int p, std::string_view key, std::int32_t right);
    TRise SplitPage(int level, int p, std::string_view key, std::int32_t right);

    // Deletion.
    TDeleteResult DeleteBelow(int level, std::string_view key);
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
    void BeginRead();
    void EndRead();
    void BeginWrite();
    void CommitWrite();
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
    // The operation or transaction under way: the changed units, not yet on disk.
    bool inTxn_ = false;
    bool explicitTxn_ = false;
    bool headerWritten_ = false;
    TStoreHeader diskHeader_;
    std::int64_t pageUnitsAtStart_ = 0;
    std::int64_t recordUnitsAtStart_ = 0;
    std::map<std::int32_t, TTreePage> pendingPages_;
    std::map<std::int32_t, TRelayRecord> pendingRecords_;
    std::unordered_map<std::int32_t, TTreePage> keptPages_;
    std::unordered_map<std::int32_t, TRelayRecord> keptRecords_;
    TIoHook* hook_ = nullptr;
    std::vector<TTreePage> levelPages_;      // [1..Height]; [0] unused
    std::vector<std::int32_t> levelPageNos_; // kNone when a level holds no page
    TUnitFile pageFile_{kPageSize};
    TUnitFile recordFile_{kRecordSize};
    TRelayRecord currentRecord_;
    std::int32_t currentRecNo_ = kNone;
    bool closed_ = true;
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
