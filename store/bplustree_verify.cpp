// TBPlusTree: the whole-store check behind every first write of an open.
//
// Opening checks only what it reads anyway (the header against the file
// lengths, both free chains, the leftmost path); a full walk of a store of
// 100 000 records reads every page and every record, so it runs once per
// open, before the first write, where it keeps a damaged store from being
// made worse. A write that fails part way has it run again.
#include "store/bplustree.h"

#include "base/errors.h"

#include <algorithm>

namespace telvara {

TCheckReport TBPlusTree::Verify() {
    RequireOpen();
    const TReadScope scope(*this); // what another program may be writing waits
    // The check reads through this store's own open files: a second
    // descriptor of a file, once closed, would end the locks held on it.
    // Its reads are not transfers of an operation, and injected failures
    // are meant for the operation, so it reads the bytes directly.
    TDirectSource files(*this, false);
    const TCheckReport report = checkStore(files);
    // What the check found holds for the writes of this open.
    if (report.sound())
        verified_ = true;
    else
        writeRefusal_ = damageMessage(report, pageFile_.path(), recordFile_.path());
    return report;
}

void TBPlusTree::RequireSound() {
    if (!verified_ && writeRefusal_.empty())
        Verify();
    if (!writeRefusal_.empty())
        throw IoError(writeRefusal_);
}

namespace {

// Unit n of `file`, or the operation's change of it when `pending` is given.
template <class Unit>
void readDirect(const std::map<std::int32_t, Unit>* pending, TUnitFile& file, std::int32_t n,
                Unit& unit) {
    if (pending)
        if (auto it = pending->find(n); it != pending->end()) {
            unit = it->second;
            return;
        }
    file.readUncounted(n, unit.Bytes.data());
}

// Both chains end at -1 without a unit twice, and with the units in use they
// make up every unit below NextNewPage (but the header) and NextNewRecord.
// The root, being in use, is in no chain.
bool chainsWhole(TStoreSource& source, const TStoreHeader& h) {
    std::vector<bool> pages(std::size_t(std::max(h.NextNewPage, 1)));
    if (h.Height >= 1 && pageHandedOut(h, h.RootPage))
        pages[std::size_t(h.RootPage)] = true;
    const TChainEnd p = walkFreePages(source, h.FreePageHead, pages);
    std::vector<bool> slots(std::size_t(std::max(h.NextNewRecord, 0)));
    const TChainEnd r = walkFreeRecords(source, h.FreeRecordHead, slots);
    return p.Fault == TChainFault::None && r.Fault == TChainFault::None &&
           p.Length + h.PagesInUse + 1 == h.NextNewPage &&
           r.Length + h.RecordsInUse == h.NextNewRecord;
}

} // namespace

void TBPlusTree::TDirectSource::readPage(std::int32_t n, TTreePage& page) {
    readDirect(pending_ ? &t_.write_.Pages : nullptr, t_.pageFile_, n, page);
}

void TBPlusTree::TDirectSource::readRecord(std::int32_t s, TRelayRecord& record) {
    readDirect(pending_ ? &t_.write_.Records : nullptr, t_.recordFile_, s, record);
}

// Freeing and allocating keep each chain and the header's counters in step,
// so an operation that starts from whole chains ends with whole chains. A
// store whose chains were not whole before is for the check to report.
bool TBPlusTree::FreeChainsKept() {
    try {
        TDirectSource before(*this, false), after(*this, true);
        return !chainsWhole(before, write_.DiskHeader) || chainsWhole(after, header_);
    } catch (const IoError&) {
        return true; // an unreadable unit is for the operation's own reads to report
    }
}

} // namespace telvara
