#include "store/stored_relays.h"

#include "base/cp932.h"
#include "store/find_relay.h"

#include <optional>

namespace telvara {

RelaySettings storedRelay(const TRelayRecord& r) {
    auto text = [&r](TRecordField f) { return cp932ToUtf8(r.field(f)); };
    RelaySettings relay;
    relay.company = text(TRecordField::KaisyaName);
    relay.device = text(TRecordField::DebaisuNo);
    relay.ct = text(TRecordField::CTPrimary);
    relay.tap = text(TRecordField::Tap);
    relay.instTap = text(TRecordField::InstTap);
    for (std::size_t i = 0; i < relay.times.size(); ++i)
        relay.times[i] = text(TRecordField(int(TRecordField::Time150) + int(i)));
    return relay;
}

std::vector<RecordTexts> storedRecords(TBPlusTree& store) {
    std::vector<RecordTexts> out;
    store.ForEachRecord([&out](std::int32_t, const TRelayRecord& record) {
        RecordTexts texts;
        for (int f = 0; f < kRecordFieldCount; ++f)
            texts[std::size_t(f)] = cp932ToUtf8(record.field(TRecordField(f)));
        out.push_back(std::move(texts));
    });
    return out;
}

TImportRefused::TImportRefused(std::vector<std::string> why)
    : TelvaraError(why.empty() ? std::string("取り込めません") : why.front()),
      problems(std::move(why)) {}

ImportSummary importRelays(TBPlusTree& target, const std::vector<CsvRow>& rows, bool replace,
                           const ImportProgress& progress) {
    ImportSummary summary;
    std::vector<std::string> problems;
    TStoreTransaction transaction(target);
    int done = 0;
    for (const CsvRow& row : rows) {
        const std::string name = utf8ToCp932(row.texts[0]);
        const std::string device = utf8ToCp932(row.texts[1]);
        bool store = true;
        const std::optional<TRelayRecord> met = target.Find(recordKey(name, device));
        if (met && isRecordOf(*met, name, device)) {
            store = replace;
            if (replace) {
                target.Remove(met->key());
                ++summary.replaced;
            } else {
                ++summary.skipped;
            }
        } else if (met) {
            problems.push_back(csvLineLabel(row.line) + "別のレコード " + cp932ToUtf8(met->key()) +
                               " とキーの先頭 " + std::to_string(kKeySlotCapacity) +
                               " バイトが同じです");
            store = false;
        } else {
            ++summary.added;
        }
        // After the first refused row only the others are looked at.
        if (store && problems.empty()) {
            TRelayRecord record;
            for (int f = 0; f < kRecordFieldCount; ++f)
                record.setField(TRecordField(f), utf8ToCp932(row.texts[f]));
            target.Insert(record);
        }
        if (progress && !progress(++done, int(rows.size())))
            throw TImportRefused({"取り込みを中止しました。何も追加していません。"});
    }
    if (!problems.empty())
        throw TImportRefused(std::move(problems));
    transaction.commit();
    return summary;
}

std::string importSummaryText(const ImportSummary& s) {
    return "追加 " + std::to_string(s.added) + " 件、置換 " + std::to_string(s.replaced) +
           " 件、スキップ " + std::to_string(s.skipped) + " 件";
}

} // namespace telvara
