#include "tools/render_store.h"

#include "base/cp932.h"
#include "base/errors.h"
#include "store/bplustree.h"

#include <filesystem>

namespace telvara {

namespace {

std::string inFolder(const std::string& dir, const char* name) {
    return (dir.empty() || dir.back() == '/' ? dir : dir + "/") + name;
}

RelaySettings relayOf(const TRelayRecord& r) {
    auto text = [&](TRecordField f) { return cp932ToUtf8(r.field(f)); };
    RelaySettings relay;
    relay.device = text(TRecordField::DebaisuNo);
    relay.company = text(TRecordField::KaisyaName);
    relay.ct = text(TRecordField::CTPrimary);
    relay.tap = text(TRecordField::Tap);
    relay.instTap = text(TRecordField::InstTap);
    const TRecordField times[] = {
        TRecordField::Time150, TRecordField::Time200, TRecordField::Time300, TRecordField::Time400,
        TRecordField::Time500, TRecordField::Time700, TRecordField::TimeInst};
    for (std::size_t i = 0; i < 7; ++i)
        relay.times[i] = text(times[i]);
    return relay;
}

} // namespace

std::vector<RelaySettings>
storedRelays(const std::string& dir,
             const std::vector<std::pair<std::string, std::string>>& named) {
    const std::string pageFile = inFolder(dir, kPageFileName);
    std::error_code ec;
    // Opening would create an empty store; a drawing tool must not.
    if (!std::filesystem::is_regular_file(pageFile, ec))
        throw IoError("ファイル " + pageFile + " がありません");
    TBPlusTree store;
    store.OpenStore(dir, TOpenMode::ReadOnly);
    std::vector<RelaySettings> relays;
    if (named.empty()) {
        store.ForEachRecord(
            [&](std::int32_t, const TRelayRecord& record) { relays.push_back(relayOf(record)); });
        return relays;
    }
    for (const auto& [name, device] : named) {
        if (!store.FindKey(recordKey(utf8ToCp932(name), utf8ToCp932(device))))
            throw TRecordNotFound("見つかりません: " + name + "," + device);
        relays.push_back(relayOf(store.CurrentRecord()));
    }
    return relays;
}

} // namespace telvara
