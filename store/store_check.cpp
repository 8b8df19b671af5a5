#include "store/store_check.h"

#include "base/cp932.h"
#include "base/errors.h"
#include "base/os/paths.h"
#include "store/store_format.h"
#include "store/unit_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>

namespace telvara {
namespace {

constexpr std::size_t kProblemLimit = 200;

std::string num(std::int64_t v) {
    return std::to_string(v);
}

// A key as the listing shows it: its CP932 bytes decoded, a byte that is no
// whole character kept as its stand-in code point.
std::string bracketed(std::string_view key) {
    return "「" + cp932ToUtf8(key) + "」";
}

class TChecker final : public TTreeVisitor {
public:
    TChecker(TStoreSource& source, TCheckReport& report) : source_(source), report_(report) {}

    void run();

    // The tree as the walk meets it.
    void revisited(std::int32_t n) override;
    bool page(std::int32_t n, int level, const TTreePage& p) override;
    void key(std::int32_t n, int i, std::string_view key) override;
    bool child(std::int32_t n, int level, int i, std::int32_t c) override;
    bool slot(std::int32_t n, int i, std::int32_t s, std::optional<std::string_view> key) override;
    void record(std::int32_t s, const TRelayRecord& r) override;

private:
    // recordFile: the problem lies in "ZuboK.idx" rather than "ZuboK.dat".
    void problem(std::string text, bool recordFile = false) {
        if (report_.Problems.empty())
            report_.FirstInRecordFile = recordFile;
        if (report_.Problems.size() < kProblemLimit)
            report_.Problems.push_back(std::move(text));
        else
            ++suppressed_;
    }
    bool full() const { return report_.Problems.size() >= kProblemLimit; }
    bool pageInRange(std::int32_t n) const { return n >= 1 && n < pageLimit_; }
    bool slotInRange(std::int32_t s) const { return s >= 0 && s < slotLimit_; }
    void freePages();
    void freeRecords();

    TStoreSource& source_;
    TCheckReport& report_;
    TStoreHeader h_;
    std::int32_t pageLimit_ = 0; // pages 1..pageLimit_-1 may be looked at
    std::int32_t slotLimit_ = 0;
    std::vector<bool> pageUsed_; // bits: a sparse file of gigabytes needs megabytes here
    std::vector<bool> slotUsed_;
    std::optional<std::string> previousKey_;
    std::string keyBuffer_; // reused for every record's key
    std::int32_t previousPage_ = kNone;
    // The leaf entry whose record is read next: its key views the page being walked.
    std::string_view expectedKey_;
    std::int32_t slotPage_ = kNone;
    int slotIndex_ = 0;
    std::size_t suppressed_ = 0;
};

std::string pageAt(std::int32_t n) {
    return "ページ " + num(n);
}

void TChecker::run() {
    const std::int64_t pageBytes = source_.pageFileBytes();
    const std::int64_t recordBytes = source_.recordFileBytes();
    if (pageBytes % kPageSize != 0)
        problem("ページファイルの長さ " + num(pageBytes) + " バイトは 1024 の倍数ではありません");
    if (recordBytes % kRecordSize != 0)
        problem("レコードファイルの長さ " + num(recordBytes) + " バイトは 124 の倍数ではありません",
                true);
    if (pageBytes < kPageSize) {
        problem("ヘッダーがありません");
        return;
    }
    TTreePage unit0;
    source_.readPage(0, unit0);
    h_ = TStoreHeader::decode(unit0.Bytes.data());
    report_.Height = h_.Height;
    const std::int64_t pageUnits = pageBytes / kPageSize;
    const std::int64_t slots = recordBytes / kRecordSize;
    if (h_.Marker != 1)
        problem("ヘッダーの Marker が " + num(h_.Marker) + " です（1 のはずです）");
    if (!nextNewPageFits(h_, pageUnits))
        problem("NextNewPage " + num(h_.NextNewPage) + " がページファイルの長さ " + num(pageUnits) +
                " 単位と合いません");
    if (!nextNewRecordFits(h_, slots))
        problem("NextNewRecord " + num(h_.NextNewRecord) + " がレコードファイルの長さ " +
                num(slots) + " 件と合いません");
    if (h_.PagesInUse < 0 || h_.PagesInUse >= h_.NextNewPage)
        problem("PagesInUse " + num(h_.PagesInUse) + " はありえない値です");
    if (h_.RecordsInUse < 0 || h_.RecordsInUse > h_.NextNewRecord)
        problem("RecordsInUse " + num(h_.RecordsInUse) + " はありえない値です");
    pageLimit_ = std::int32_t(std::clamp<std::int64_t>(h_.NextNewPage, 1, pageUnits));
    slotLimit_ = std::int32_t(std::clamp<std::int64_t>(h_.NextNewRecord, 0, slots));
    pageUsed_.assign(std::size_t(pageLimit_), 0);
    slotUsed_.assign(std::size_t(slotLimit_), 0);

    if (h_.Height == 0) {
        const TStoreHeader e = TStoreHeader::empty();
        if (h_.RootPage != e.RootPage || h_.PagesInUse != 0 || h_.RecordsInUse != 0 ||
            h_.NextNewPage != e.NextNewPage || h_.NextNewRecord != e.NextNewRecord ||
            h_.FreePageHead != kNone || h_.FreeRecordHead != kNone)
            problem("高さ 0 の空のストアなのに、ヘッダーが空のストアの値ではありません");
        return;
    }
    if (!heightPossible(h_)) {
        problem("高さ " + num(h_.Height) + " はありえない値です");
        return;
    }
    if (!pageInRange(h_.RootPage)) {
        problem("ルートページ " + num(h_.RootPage) + " は範囲外です");
    } else {
        walkTree(source_, h_.RootPage, h_.Height, pageUsed_, *this);
    }
    freePages();
    freeRecords();
    if (h_.PagesInUse != report_.Pages)
        problem("PagesInUse " + num(h_.PagesInUse) + " ですが、木のページは " + num(report_.Pages) +
                " 個です");
    if (h_.RecordsInUse != report_.Records)
        problem("RecordsInUse " + num(h_.RecordsInUse) + " ですが、木のレコードは " +
                num(report_.Records) + " 件です");
    // Millions of lost units are counted, not each put into words.
    for (std::int32_t n = 1; n < pageLimit_; ++n)
        if (!pageUsed_[std::size_t(n)] && !full())
            problem("ページ " + num(n) + " は木にも空きページの連鎖にもありません");
        else if (!pageUsed_[std::size_t(n)])
            ++suppressed_;
    for (std::int32_t s = 0; s < slotLimit_; ++s)
        if (!slotUsed_[std::size_t(s)] && !full())
            problem("レコード " + num(s) + " は木にも空きレコードの連鎖にもありません", true);
        else if (!slotUsed_[std::size_t(s)])
            ++suppressed_;
    if (suppressed_ > 0)
        report_.Problems.push_back("ほか " + num(std::int64_t(suppressed_)) + " 件の問題");
}

void TChecker::revisited(std::int32_t n) {
    problem(pageAt(n) + " が木の中で二度参照されています");
}

bool TChecker::page(std::int32_t n, int level, const TTreePage& p) {
    ++report_.Pages;
    const int count = p.keyCount();
    const int fewest = level == 1 ? 1 : kMinKeys;
    if (count < fewest || count > kMaxKeys) {
        problem(pageAt(n) + " のキー数 " + num(count) + " は " + num(fewest) + " から " +
                num(kMaxKeys) + " の範囲外です");
        if (count < 0 || count > kMaxKeys)
            return false;
    }
    for (int i = 1; i <= count; ++i)
        if (p.keyLength(i) > kKeySlotCapacity)
            problem(pageAt(n) + " のキー " + num(i) + " の長さ " + num(p.keyLength(i)) + " は " +
                    num(kKeySlotCapacity) + " を超えています");
    return true;
}

void TChecker::key(std::int32_t n, int i, std::string_view key) {
    if (previousKey_ && compareKeys(key, *previousKey_) < 0) {
        if (previousPage_ == n)
            problem(pageAt(n) + " のキー " + num(i) + bracketed(key) +
                    " がページ内で昇順になっていません");
        else
            problem(pageAt(n) + " のキー " + num(i) + bracketed(key) + " が木の順序で前のキー" +
                    bracketed(*previousKey_) + "より小さくなっています");
    }
    previousKey_.emplace(key); // reuses the buffer: keys fit in kKeySlotCapacity bytes
    previousPage_ = n;
}

bool TChecker::child(std::int32_t n, int level, int, std::int32_t c) {
    if (c == kNone) {
        problem(pageAt(n) + " は階層 " + num(level) +
                " にありますが葉の形をしています（すべての葉が階層 " + num(h_.Height) +
                " にあるはずです）");
        return false;
    }
    if (!pageInRange(c)) {
        problem(pageAt(n) + " の子ページ " + num(c) + " は範囲外です");
        return false;
    }
    return true;
}

bool TChecker::slot(std::int32_t n, int i, std::int32_t s, std::optional<std::string_view> key) {
    if (!key) {
        if (s != kNone)
            problem("最も左の葉 " + pageAt(n) + " の先頭の子が -1 ではなく " + num(s) + " です");
        return false;
    }
    auto at = [&] { return pageAt(n) + " のレコード番号 " + num(s); };
    if (!slotInRange(s)) {
        problem(at() + " は範囲外です");
        return false;
    }
    if (slotUsed_[std::size_t(s)]) {
        problem(at() + " は二度使われています");
        return false;
    }
    slotUsed_[std::size_t(s)] = true;
    ++report_.Records;
    expectedKey_ = *key;
    slotPage_ = n;
    slotIndex_ = i;
    return true;
}

void TChecker::record(std::int32_t s, const TRelayRecord& slot) {
    const unsigned char* r = slot.Bytes.data();
    for (int f = 0; f < kRecordFieldCount; ++f) {
        const TFieldLayout& l = kRecordFields[std::size_t(f)];
        if (r[l.Offset] > l.Capacity)
            problem("レコード " + num(s) + " の項目 " + num(f + 1) + " の長さ " + num(r[l.Offset]) +
                        " は容量を超えています",
                    true);
    }
    if (r[0] != 0 || r[kRecordSize - 1] != 0)
        problem("レコード " + num(s) + " の予約バイトが 0 ではありません", true);
    // The record's key (name, ",", device) cut to a key slot, compared in place.
    auto field = [&](TRecordField f) {
        const TFieldLayout& l = kRecordFields[std::size_t(f)];
        return std::string_view(reinterpret_cast<const char*>(r + l.Offset + 1),
                                std::min<std::size_t>(r[l.Offset], std::size_t(l.Capacity)));
    };
    keyBuffer_.assign(field(TRecordField::KaisyaName));
    keyBuffer_ += ',';
    keyBuffer_ += field(TRecordField::DebaisuNo);
    if (slotKey(keyBuffer_) != expectedKey_)
        problem(pageAt(slotPage_) + " のレコード番号 " + num(s) + " のレコードのキー" +
                    bracketed(slotKey(keyBuffer_)) + "がキー" + bracketed(expectedKey_) +
                    "と違います" + (slotIndex_ == 0 ? "（先頭の子）" : ""),
                true);
}

void TChecker::freePages() {
    const TChainEnd end = walkFreePages(source_, h_.FreePageHead, pageUsed_);
    if (end.Fault == TChainFault::OutOfRange)
        problem("空きページの連鎖にある番号 " + num(end.At) + " は範囲外です");
    else if (end.Fault == TChainFault::Repeated)
        problem("空きページの連鎖がページ " + num(end.At) +
                " で循環しているか、使用中のページを含んでいます");
}

void TChecker::freeRecords() {
    const TChainEnd end = walkFreeRecords(source_, h_.FreeRecordHead, slotUsed_);
    if (end.Fault == TChainFault::OutOfRange)
        problem("空きレコードの連鎖にある番号 " + num(end.At) + " は範囲外です", true);
    else if (end.Fault == TChainFault::Repeated)
        problem("空きレコードの連鎖がレコード " + num(end.At) +
                    " で循環しているか、使用中のレコードを含んでいます",
                true);
}

// The two files read through their own read-only descriptors.
class TFileSource final : public TStoreSource {
public:
    std::int64_t pageFileBytes() override { return Pages.sizeBytes(); }
    std::int64_t recordFileBytes() override { return Records.sizeBytes(); }
    void readPage(std::int32_t n, TTreePage& page) override {
        Pages.readUncounted(n, page.Bytes.data());
    }
    void readRecord(std::int32_t s, TRelayRecord& record) override {
        Records.readUncounted(s, record.Bytes.data());
    }

    TUnitFile Pages{kPageSize};
    TUnitFile Records{kRecordSize};
};

// False when `path` is no regular file or cannot be opened for reading.
bool openForReading(TUnitFile& file, const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(os::pathOf(path), ec))
        return false;
    try {
        file.openExisting(path, false);
    } catch (const IoError&) {
        return false;
    }
    return true;
}

} // namespace

TCheckReport checkStore(TStoreSource& source) {
    TCheckReport report;
    TChecker checker(source, report);
    try {
        checker.run();
    } catch (const IoError& e) {
        report.Problems.push_back(e.what());
    }
    return report;
}

std::string damageMessage(const TCheckReport& report, const std::string& pagePath,
                          const std::string& recordPath) {
    if (report.sound())
        return {};
    return msgDamaged(report.FirstInRecordFile ? recordPath : pagePath, report.Problems.front());
}

TCheckReport checkStore(const std::string& folderPath) {
    TCheckReport report;
    const std::string folder = storeFolder(folderPath);
    const std::string pagePath = folder + kPageFileName;
    const std::string recordPath = folder + kRecordFileName;
    TFileSource source;
    if (!openForReading(source.Pages, pagePath))
        report.Problems.push_back("ファイル " + pagePath + " を読めません");
    if (!openForReading(source.Records, recordPath)) {
        if (report.Problems.empty())
            report.FirstInRecordFile = true;
        report.Problems.push_back("ファイル " + recordPath + " を読めません");
    }
    if (!report.Problems.empty())
        return report;
    return checkStore(source);
}

} // namespace telvara
