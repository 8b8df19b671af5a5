#include "store/store_journal.h"

#include "base/errors.h"
#include "base/os/boot.h"
#include "base/os/files.h"
#include "base/os/paths.h"
#include "store/store_format.h"

#include <cassert>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace telvara {
namespace {

constexpr char kMagic[8] = {'T', 'e', 'l', 'v', 'a', 'r', 'a', 'J'};
constexpr char kRecordMagic[4] = {'T', 'J', 'R', '1'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kRecordHead = 4 + 8 + 4 + 8 + 8;
constexpr std::size_t kEntryHead = 1 + 8;
// Header fields: version at 8, Dirty at 12, Seq 16, CheckpointSeq 24, End 32,
// the two checkpoint lengths 40 and 48, the boot and the checksum.
constexpr std::size_t kDirtyAt = 12;
constexpr std::size_t kSeqAt = 16;
constexpr std::size_t kEndAt = 32;
constexpr std::size_t kBootAt = 56;
constexpr std::size_t kBootSize = 36;
constexpr std::size_t kHeaderSumAt = kBootAt + kBootSize;
// Far above what one batch can change; a larger count is a torn record.
constexpr std::uint32_t kMaxUnitsPerRecord = 1u << 22;

std::uint64_t checksum(const unsigned char* p, std::size_t n) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::size_t i = 0; i < n; ++i) {
        h ^= p[i];
        h *= 1099511628211ull;
    }
    return h;
}

void put64(unsigned char* p, std::uint64_t v) {
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}
std::uint64_t get64(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}
void put32(unsigned char* p, std::uint32_t v) {
    putInt32(p, std::int32_t(v));
}
std::uint32_t get32(const unsigned char* p) {
    return std::uint32_t(getInt32(p));
}

std::size_t unitSize(TUnitKind kind) {
    return kind == TUnitKind::Page ? std::size_t(kPageSize) : std::size_t(kRecordSize);
}

// The length of the record at r (its checksum included) when it is whole
// within `avail` bytes and its checksum holds, else 0.
std::size_t wholeRecordLength(const unsigned char* r, std::size_t avail) {
    if (avail < kRecordHead + 8 || std::memcmp(r, kRecordMagic, 4) != 0)
        return 0;
    const std::uint32_t count = get32(r + 12);
    if (count > kMaxUnitsPerRecord)
        return 0;
    std::size_t len = kRecordHead;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (len + kEntryHead > avail || r[len] > 1)
            return 0;
        len += kEntryHead + unitSize(TUnitKind(r[len]));
    }
    if (len + 8 > avail || get64(r + len) != checksum(r, len))
        return 0;
    return len + 8;
}

std::string& bootIdentity() {
    static std::string boot = os::bootIdentity().substr(0, kBootSize);
    return boot;
}

} // namespace

const std::string& currentBoot() {
    return bootIdentity();
}

void setCurrentBootForTests(const std::string& boot) {
    bootIdentity() = boot.substr(0, kBootSize);
}

bool TStoreJournal::open(const std::string& folder, bool writable, bool create) {
    const std::string path = folder + kJournalFileName;
    if (create) {
        if (file_.openOrCreate(path))
            syncFolder(folder);
        return true;
    }
    std::error_code ec;
    // A link is opened, and refused, even when it leads nowhere.
    if (std::filesystem::symlink_status(os::pathOf(path), ec).type() ==
        std::filesystem::file_type::not_found)
        return false;
    file_.openExisting(path, writable);
    return true;
}

void TStoreJournal::writeHeader(const TJournalHeader& h) {
    assert(h.End >= kJournalHeaderSize && h.CheckpointSeq <= h.Seq); // J1
    unsigned char b[kJournalHeaderSize] = {};
    std::memcpy(b, kMagic, 8);
    put32(b + 8, kVersion);
    put32(b + kDirtyAt, h.Dirty ? 1 : 0);
    put64(b + kSeqAt, h.Seq);
    put64(b + 24, h.CheckpointSeq);
    put64(b + kEndAt, std::uint64_t(h.End));
    put64(b + 40, std::uint64_t(h.PageBytes));
    put64(b + 48, std::uint64_t(h.RecordBytes));
    const std::string& boot = currentBoot();
    std::memcpy(b + kBootAt, boot.data(), boot.size());
    put64(b + kHeaderSumAt, checksum(b, kHeaderSumAt));
    std::memset(lastHeader_, 0, sizeof lastHeader_);
    file_.writeAt(0, b, sizeof b);
    std::memcpy(lastHeader_, b, sizeof b);
}

bool TStoreJournal::cleanAndUnchanged() {
    unsigned char b[kJournalHeaderSize];
    return file_.readAt(0, b, sizeof b) == sizeof b && lastHeader_[kDirtyAt] == 0 &&
           lastHeader_[0] == kMagic[0] && std::memcmp(b, lastHeader_, sizeof b) == 0;
}

bool TStoreJournal::readHeader(TJournalHeader& h) {
    unsigned char b[kJournalHeaderSize];
    std::memset(lastHeader_, 0, sizeof lastHeader_);
    if (file_.readAt(0, b, sizeof b) != sizeof b)
        return false;
    if (std::memcmp(b, kMagic, 8) != 0 || get32(b + 8) != kVersion ||
        get64(b + kHeaderSumAt) != checksum(b, kHeaderSumAt))
        return false;
    std::memcpy(lastHeader_, b, sizeof b);
    h.Dirty = get32(b + kDirtyAt) != 0;
    h.Seq = get64(b + kSeqAt);
    h.CheckpointSeq = get64(b + 24);
    h.End = std::int64_t(get64(b + kEndAt));
    h.PageBytes = std::int64_t(get64(b + 40));
    h.RecordBytes = std::int64_t(get64(b + 48));
    const char* boot = reinterpret_cast<const char*>(b + kBootAt);
    h.Boot.assign(boot, strnlen(boot, kBootSize));
    return true;
}

void TStoreJournal::reset(std::uint64_t seq, std::int64_t pageBytes, std::int64_t recordBytes) {
    assert(!headerKnown() || seq >= get64(lastHeader_ + kSeqAt)); // J2
    TJournalHeader h;
    h.Seq = seq;
    h.CheckpointSeq = seq;
    h.PageBytes = pageBytes;
    h.RecordBytes = recordBytes;
    // J7: once the header names the new checkpoint, the records behind it
    // count for nothing. Cut first, a power loss could leave the old header
    // over no records, which would read as "the files are as long as at the
    // old checkpoint".
    writeHeader(h);
    file_.sync();
    file_.truncateBytes(kJournalHeaderSize);
    file_.sync();
}

TJournalContents TStoreJournal::scan() {
    TJournalContents c;
    c.HeaderValid = readHeader(c.Header);
    const std::int64_t size = file_.sizeBytes();
    std::vector<unsigned char> all(std::size_t(size > kJournalHeaderSize ? size : 0));
    if (!all.empty())
        all.resize(file_.readAt(0, all.data(), all.size()));
    if (c.HeaderValid) {
        // A record past the header's end was never committed.
        if (c.Header.End >= kJournalHeaderSize && std::size_t(c.Header.End) < all.size())
            all.resize(std::size_t(c.Header.End));
        c.LastSeq = c.Header.CheckpointSeq;
        c.PageBytes = c.Header.PageBytes;
        c.RecordBytes = c.Header.RecordBytes;
    }
    std::size_t at = std::size_t(kJournalHeaderSize);
    while (at < all.size()) {
        const unsigned char* r = all.data() + at;
        const std::size_t len = wholeRecordLength(r, all.size() - at);
        if (len == 0)
            break;
        const std::uint64_t seq = get64(r + 4);
        const std::uint32_t count = get32(r + 12);
        // J4; without a sound header the first record starts the chain.
        if ((c.HeaderValid || c.Records > 0) && seq != c.LastSeq + 1)
            break;
        std::size_t p = kRecordHead;
        for (std::uint32_t i = 0; i < count; ++i) {
            const TUnitKind kind = TUnitKind(r[p]);
            const std::int64_t unit = std::int64_t(get64(r + p + 1));
            const std::size_t n = unitSize(kind);
            c.Units[{kind, unit}].assign(r + p + kEntryHead, r + p + kEntryHead + n);
            p += kEntryHead + n;
        }
        c.PageBytes = std::int64_t(get64(r + 16));
        c.RecordBytes = std::int64_t(get64(r + 24));
        c.LastSeq = seq;
        ++c.Records;
        at += len;
    }
    c.ChainEnd = std::int64_t(at);
    const TJournalHeader& h = c.Header;
    if (c.HeaderValid && (c.LastSeq != h.Seq || c.ChainEnd != h.End)) {
        // The one record a power loss may tear is the last one, while it was
        // being appended under its dirty header: that commit never counted.
        const bool tornLast = h.Dirty && c.LastSeq + 1 == h.Seq && c.ChainEnd < h.End;
        if (!tornLast)
            c.Damage = "ヘッダーには変更 " + std::to_string(h.Seq) + " までの記録（" +
                       std::to_string(h.End) + " バイト）があるはずですが、読めるのは変更 " +
                       std::to_string(c.LastSeq) + " まで（" + std::to_string(c.ChainEnd) +
                       " バイト）です";
    }
    return c;
}

TJournalHeader TStoreJournal::append(const TJournalHeader& before, const TUnitImages& units,
                                     std::int64_t pageBytes, std::int64_t recordBytes) {
    // J3: more units than a record may hold would be read back as a torn record.
    assert(units.size() <= kMaxUnitsPerRecord);
    std::size_t len = kRecordHead;
    for (const auto& [key, bytes] : units) {
        assert(bytes.size() == unitSize(key.first)); // J3: a whole unit of its file
        len += kEntryHead + bytes.size();
    }
    std::vector<unsigned char> r(len + 8);
    std::memcpy(r.data(), kRecordMagic, 4);
    put64(&r[4], before.Seq + 1);
    put32(&r[12], std::uint32_t(units.size()));
    put64(&r[16], std::uint64_t(pageBytes));
    put64(&r[24], std::uint64_t(recordBytes));
    std::size_t p = kRecordHead;
    for (const auto& [key, bytes] : units) {
        r[p] = std::uint8_t(key.first);
        put64(&r[p + 1], std::uint64_t(key.second));
        std::memcpy(&r[p + kEntryHead], bytes.data(), bytes.size());
        p += kEntryHead + bytes.size();
    }
    put64(&r[len], checksum(r.data(), len));
    assert(wholeRecordLength(r.data(), r.size()) == r.size()); // J3
    TJournalHeader after = before;
    after.Seq = before.Seq + 1;
    after.Dirty = true;
    after.End = before.End + std::int64_t(r.size());
    try {
        file_.writeAt(before.End, r.data(), r.size());
        writeHeader(after);
        file_.sync();
    } catch (const IoError& e) {
        // Nothing of this commit may count later: cut the record off again.
        try {
            writeHeader(before);
            file_.truncateBytes(before.End);
            file_.sync();
        } catch (...) {
            throw IoError(std::string(e.what()) + "。ジャーナル " + path() +
                          " を元に戻せなかったので、この変更は次にストアを開くときに書き込まれるこ"
                          "とがあります");
        }
        throw;
    }
    return after;
}

void TStoreJournal::markDirty(TJournalHeader header) {
    header.Dirty = true;
    writeHeader(header);
}

bool TStoreJournal::headerKnown() const {
    return std::memcmp(lastHeader_, kMagic, sizeof kMagic) == 0;
}

bool TStoreJournal::markedDirty() const {
    return headerKnown() && lastHeader_[kDirtyAt] != 0;
}

void TStoreJournal::markClean(TJournalHeader header) {
    // J6
    assert(!headerKnown() || (header.Seq == get64(lastHeader_ + kSeqAt) &&
                              header.End == std::int64_t(get64(lastHeader_ + kEndAt))));
    header.Dirty = false;
    writeHeader(header);
}

} // namespace telvara
