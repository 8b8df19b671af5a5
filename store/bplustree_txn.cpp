// TBPlusTree: the lock of each operation, taking in other programs' changes,
// commit through the journal, checkpoints and recovery.
//
// A commit: (1) units past the end of a file are written first, so a full
// disk shows before anything counts (the lengths are cut back on failure);
// (2) one journal record with every changed unit is synced: the operation is
// durable; (3) the other units are written in place and the journal is
// marked clean. A crash after (2) is completed from the journal by the next
// operation or opening; before it, the files are as they were.
#include "store/bplustree.h"

#include "base/errors.h"

#include <algorithm>
#include <cassert>
#include <stdexcept>

namespace telvara {
namespace {

// Both files are synced and the journal emptied once it holds this much.
constexpr std::int64_t kCheckpointBytes = 4 * 1024 * 1024;

} // namespace

void TBPlusTree::setIoHook(TIoHook* hook) {
    hook_ = hook;
    pageFile_.setHook(hook);
    recordFile_.setHook(hook);
    journal_.file().setHook(hook);
}

void TBPlusTree::Lock(TLockMode mode) {
    lock_.acquire(pageFile_.fd(), mode, lockWaitMs_, folder_);
}

void TBPlusTree::Unlock() {
    lock_.release(pageFile_.fd());
}

void TBPlusTree::BeginRead() {
    if (WriteUnderWay())
        return;
    Lock(TLockMode::Shared);
    try {
        RefreshLocked();
    } catch (...) {
        Unlock();
        throw;
    }
    state_ = TStoreState::Reading;
}

void TBPlusTree::EndRead() {
    if (WriteUnderWay())
        return;
    Unlock();
    state_ = TStoreState::Idle;
}

void TBPlusTree::Refresh() {
    RequireOpen();
    const TReadScope scope(*this);
}

std::string TBPlusTree::WriteBlocked() const {
    if (mode_ == TOpenMode::ReadOnly)
        return "ストア " + folder_ + " は読み取り専用で開かれているので変更できません";
    return writeRefusal_;
}

void TBPlusTree::BeginWrite() {
    if (mode_ == TOpenMode::ReadOnly)
        throw IoError(WriteBlocked());
    Lock(TLockMode::Exclusive);
    try {
        RefreshLocked();
        write_.PageUnitsAtStart = pageFile_.units();
        write_.RecordUnitsAtStart = recordFile_.units();
    } catch (...) {
        Unlock();
        throw;
    }
    state_ = TStoreState::Writing;
    write_.HeaderWritten = false;
    write_.DiskHeader = header_;
}

void TBPlusTree::BeginTransaction() {
    RequireOpen();
    if (WriteUnderWay())
        throw std::logic_error("a store transaction is already open");
    BeginWrite();
    state_ = TStoreState::InTransaction;
}

void TBPlusTree::Commit() {
    if (state_ != TStoreState::InTransaction)
        throw IoError("ストア " + folder_ + " のトランザクションは取り消されています");
    CommitWrite();
}

void TBPlusTree::Rollback() {
    if (WriteUnderWay())
        RollbackWrite();
}

void TBPlusTree::RollbackWrite() {
    write_.Pages.clear();
    write_.Records.clear();
    write_.HeaderWritten = false;
    header_ = write_.DiskHeader;
    ForgetLevels();
    if (WriteUnderWay()) {
        state_ = TStoreState::Idle;
        Unlock();
    }
}

void TBPlusTree::CommitWrite() {
    // What the operation freed and allocated left both free chains whole.
    assert(FreeChainsKept());
    const TUnitImages images = PendingImages();
    if (images.empty()) {
        if (write_.HeaderWritten)
            RewriteHeader();
    } else {
        const TFileUnits lengths = LengthsAfter(images);
        WriteGrowthAndJournal(images, lengths); // (1) and (2)
        WriteInPlace(images);                   // (3)
    }
    EndCommit(!images.empty());
}

TUnitImages TBPlusTree::PendingImages() const {
    TUnitImages images;
    for (const auto& [n, page] : write_.Pages)
        images[{TUnitKind::Page, n}].assign(page.Bytes.begin(), page.Bytes.end());
    for (const auto& [s, record] : write_.Records)
        images[{TUnitKind::Record, s}].assign(record.Bytes.begin(), record.Bytes.end());
    if (write_.HeaderWritten && !(header_ == write_.DiskHeader)) {
        std::vector<unsigned char> unit(kPageSize);
        header_.encode(unit.data());
        images[{TUnitKind::Page, 0}] = std::move(unit);
    }
    return images;
}

TBPlusTree::TFileUnits TBPlusTree::LengthsAfter(const TUnitImages& images) const {
    TFileUnits after{write_.PageUnitsAtStart, write_.RecordUnitsAtStart};
    for (const auto& [key, bytes] : images) {
        std::int64_t& units = key.first == TUnitKind::Page ? after.Pages : after.Records;
        units = std::max(units, key.second + 1);
    }
    return after;
}

void TBPlusTree::RewriteHeader() {
    // The same bytes again: nothing to make atomic.
    unsigned char unit[kPageSize];
    header_.encode(unit);
    try {
        pageFile_.write(0, unit);
    } catch (...) {
        RollbackWrite();
        throw;
    }
}

void TBPlusTree::WriteRuns(const TUnitImages& images, bool pastStart) {
    auto chosen = [&](TUnitKind k, std::int64_t n) {
        return (n >= (k == TUnitKind::Page ? write_.PageUnitsAtStart
                                           : write_.RecordUnitsAtStart)) == pastStart;
    };
    std::vector<unsigned char> run;
    for (auto it = images.begin(); it != images.end();) {
        const auto [kind, first] = it->first;
        if (!chosen(kind, first)) {
            ++it;
            continue;
        }
        run.clear();
        std::int64_t count = 0;
        for (; it != images.end() && it->first == std::pair{kind, first + count} &&
               chosen(kind, first + count);
             ++it, ++count)
            run.insert(run.end(), it->second.begin(), it->second.end());
        (kind == TUnitKind::Page ? pageFile_ : recordFile_).writeUnits(first, count, run.data());
    }
}

void TBPlusTree::WriteGrowthAndJournal(const TUnitImages& images, const TFileUnits& lengths) {
    const bool grows =
        lengths.Pages > write_.PageUnitsAtStart || lengths.Records > write_.RecordUnitsAtStart;
    try {
        if (grows)
            journal_.markDirty(journalHeader_);
        assert(!grows || journal_.markedDirty()); // journal invariant J5
        WriteRuns(images, true);
        // A failed append puts back the header it started from: with the
        // growing writes in the files, that one stays marked.
        TJournalHeader at = journalHeader_;
        at.Dirty = grows;
        journalHeader_ =
            journal_.append(at, images, lengths.Pages * kPageSize, lengths.Records * kRecordSize);
    } catch (...) {
        try {
            if (lengths.Pages > write_.PageUnitsAtStart)
                pageFile_.truncateBytes(write_.PageUnitsAtStart * kPageSize);
            if (lengths.Records > write_.RecordUnitsAtStart)
                recordFile_.truncateBytes(write_.RecordUnitsAtStart * kRecordSize);
            if (grows)
                journal_.markClean(journalHeader_);
        } catch (...) {
            // The journal stays marked: the next operation cuts the files back.
        }
        RollbackWrite();
        throw;
    }
}

void TBPlusTree::WriteInPlace(const TUnitImages& images) {
    try {
        assert(journal_.markedDirty()); // journal invariant J5
        WriteRuns(images, false);
        journal_.markClean(journalHeader_);
        journalHeader_.Dirty = false;
    } catch (const IoError& e) {
        // The operation is durable: complete it from the journal now, or
        // leave that to the next operation or opening.
        try {
            Recover();
        } catch (...) {
            write_.Pages.clear();
            write_.Records.clear();
            journalKnown_ = false;
            RollbackWrite();
            throw IoError(std::string(e.what()) + "。この変更はジャーナル " + journal_.path() +
                          " に記録されていて、次にストアを開くときに書き込まれます");
        }
    }
}

void TBPlusTree::EndCommit(bool journaled) {
    KeepCommittedUnits(); // they are the files' units now
    write_.Pages.clear();
    write_.Records.clear();
    write_.HeaderWritten = false;
    write_.DiskHeader = header_;
    if (journaled && journalHeader_.End > kCheckpointBytes) {
        try {
            Checkpoint();
        } catch (...) {
            // Every record stays in the journal; the next commit tries again.
        }
    }
    state_ = TStoreState::Idle;
    Unlock();
}

void TBPlusTree::Checkpoint() {
    pageFile_.sync();
    recordFile_.sync();
    journal_.reset(journalHeader_.Seq, pageFile_.sizeBytes(), recordFile_.sizeBytes());
    if (!journal_.readHeader(journalHeader_))
        journalKnown_ = false;
}

void TBPlusTree::RefreshLocked() {
    if (!journal_.isOpen()) {
        // Nothing tells what changed: read the store afresh.
        ReloadHeader();
        return;
    }
    if (journalKnown_ && journal_.cleanAndUnchanged())
        return;
    TJournalHeader h;
    const bool sound = journal_.readHeader(h);
    if (!sound || h.Dirty) {
        // A writer stopped half-way: complete its operation before reading.
        if (!pageFile_.writable()) {
            RecoverWithWritableFiles();
        } else {
            if (lock_.mode() != TLockMode::Exclusive) {
                Unlock();
                Lock(TLockMode::Exclusive);
            }
            Recover();
        }
        return;
    }
    if (!journalKnown_ || h.Seq != journalHeader_.Seq ||
        h.CheckpointSeq != journalHeader_.CheckpointSeq) {
        journalHeader_ = h;
        journalKnown_ = true;
        ReloadHeader();
        return;
    }
    journalHeader_ = h;
}

void TBPlusTree::ReloadHeader() {
    // Another program may have changed any unit.
    ForgetUnits();
    const std::int64_t pageUnits = pageFile_.units();
    if (pageUnits < 1)
        Damaged(pageFile_.path(), "ヘッダーが 1024 バイトに足りません");
    unsigned char unit[kPageSize];
    pageFile_.read(0, unit);
    header_ = TStoreHeader::decode(unit);
    CheckHeader(pageUnits, recordFile_.units());
    levelPages_.assign(std::size_t(header_.Height) + 1, TTreePage{});
    levelPageNos_.assign(std::size_t(header_.Height) + 1, kNone);
}

bool TBPlusTree::NeedsRecovery(const TJournalContents& c) {
    // A damaged journal marked clean has nothing to apply; a dirty one is
    // refused by Recover.
    if (!c.Damage.empty())
        return c.Header.Dirty;
    if (!c.HeaderValid || c.Header.Dirty)
        return true;
    if (cleanThisBoot(c.Header))
        return false;
    // After a new boot, compare.
    std::vector<unsigned char> onDisk;
    for (const auto& [key, bytes] : c.Units) {
        TUnitFile& f = key.first == TUnitKind::Page ? pageFile_ : recordFile_;
        onDisk.resize(bytes.size());
        if (f.readAt(key.second * std::int64_t(bytes.size()), onDisk.data(), onDisk.size()) !=
                bytes.size() ||
            onDisk != bytes)
            return true;
    }
    // Units of a commit that never reached the journal lie past the lengths it gives.
    return (c.PageBytes >= 0 && pageFile_.sizeBytes() > c.PageBytes) ||
           (c.RecordBytes >= 0 && recordFile_.sizeBytes() > c.RecordBytes);
}

// Brings both files to the state after the journal's last complete record,
// syncs them and empties the journal, then reads the header afresh. Needs
// the exclusive lock.
void TBPlusTree::Recover() {
    const TJournalContents c = journal_.scan();
    if (NeedsRecovery(c))
        Recover(c);
    else
        journalKnown_ = journal_.readHeader(journalHeader_);
    ReloadHeader();
}

// The same from contents the caller has scanned under the exclusive lock
// and found NeedsRecovery of; the store's header is for the caller to reload.
void TBPlusTree::Recover(const TJournalContents& c) {
    const bool apply = c.Damage.empty(); // a damaged clean journal is only emptied
    if (!apply && c.Header.Dirty)
        throw TJournalDamaged(msgDamaged(journal_.path(), c.Damage) + "。ファイル " +
                              pageFile_.path() + " と " + recordFile_.path() +
                              " はそのままにしてあります");
    if (apply) {
        RefuseCutBelowHeader(c);
        for (const auto& [key, bytes] : c.Units) {
            TUnitFile& f = key.first == TUnitKind::Page ? pageFile_ : recordFile_;
            f.writeAt(key.second * std::int64_t(bytes.size()), bytes.data(), bytes.size());
        }
        if (c.PageBytes >= 0 && pageFile_.sizeBytes() > c.PageBytes)
            pageFile_.truncateBytes(c.PageBytes);
        if (c.RecordBytes >= 0 && recordFile_.sizeBytes() > c.RecordBytes)
            recordFile_.truncateBytes(c.RecordBytes);
    }
    pageFile_.sync();
    recordFile_.sync();
    // A new sequence number tells every other program to read afresh.
    const std::uint64_t seq = std::max(c.LastSeq, c.Header.Seq) + 1;
    journal_.reset(seq, pageFile_.sizeBytes(), recordFile_.sizeBytes());
    journalKnown_ = journal_.readHeader(journalHeader_);
}

// The files are cut back only to lengths that hold every page and slot the
// store's header (as the journal leaves it) counts as handed out: lengths
// that would cut those off come from a journal that lost records, and
// acting on them would lose the store.
void TBPlusTree::RefuseCutBelowHeader(const TJournalContents& c) {
    const bool cutsPages = c.PageBytes >= 0 && pageFile_.sizeBytes() > c.PageBytes;
    const bool cutsRecords = c.RecordBytes >= 0 && recordFile_.sizeBytes() > c.RecordBytes;
    if (!cutsPages && !cutsRecords)
        return;
    unsigned char unit[kPageSize];
    if (auto it = c.Units.find({TUnitKind::Page, 0}); it != c.Units.end())
        std::copy(it->second.begin(), it->second.end(), unit);
    else if (pageFile_.readAt(0, unit, sizeof unit) != sizeof unit)
        return; // no header to hold against the lengths
    const TStoreHeader h = TStoreHeader::decode(unit);
    const std::int64_t pages = std::int64_t(h.NextNewPage) * kPageSize;
    const std::int64_t records = std::int64_t(h.NextNewRecord) * kRecordSize;
    if ((cutsPages && pages > c.PageBytes) || (cutsRecords && records > c.RecordBytes))
        throw TJournalDamaged(
            msgDamaged(journal_.path(), "ファイルを " + std::to_string(c.PageBytes) + " バイトと " +
                                            std::to_string(c.RecordBytes) +
                                            " バイトに切り詰める記録ですが、ストアのヘッダーは " +
                                            std::to_string(pages) + " バイトと " +
                                            std::to_string(records) + " バイトを使っています") +
            "。ファイル " + pageFile_.path() + " と " + recordFile_.path() +
            " はそのままにしてあります");
}

void TBPlusTree::RecoverWithWritableFiles() {
    Unlock();
    const std::string pagePath = pageFile_.path(), recordPath = recordFile_.path();
    try {
        pageFile_.openExisting(pagePath, true);
        recordFile_.openExisting(recordPath, true);
        OpenJournal(true);
    } catch (const IoError& e) {
        throw TRecoveryPending(
            "ストア " + folder_ +
            " の前回の操作が途中で終わっています。ジャーナルから復旧するには書き込みが必"
            "要ですが、できません（" +
            e.what() + "）");
    }
    Lock(TLockMode::Exclusive);
    Recover();
}

// The journal's file keeps the hook setIoHook gave it across a reopening.
void TBPlusTree::OpenJournal(bool writable) {
    journal_.close();
    journal_.open(folder_, writable, writable);
}

} // namespace telvara
