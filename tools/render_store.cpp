#include "tools/render_store.h"

#include "base/cp932.h"
#include "base/errors.h"
#include "base/os/paths.h"
#include "relay/record_check.h"
#include "store/bplustree.h"
#include "store/find_relay.h"
#include "store/stored_relays.h"
#include "tools/store_folder.h"

#include <filesystem>
#include <optional>

namespace telvara {

std::vector<RelaySettings>
storedRelays(const std::string& dir,
             const std::vector<std::pair<std::string, std::string>>& named) {
    const std::string pageFile = pageFileIn(dir);
    std::error_code ec;
    // Opening would create an empty store; a drawing tool must not.
    if (!std::filesystem::is_regular_file(os::pathOf(pageFile), ec))
        throw IoError("ファイル " + pageFile + " がありません");
    TBPlusTree store;
    store.OpenStore(dir, TOpenMode::ReadOnly);
    std::vector<RelaySettings> relays;
    if (named.empty()) {
        store.ForEachRecord([&](std::int32_t, const TRelayRecord& record) {
            relays.push_back(storedRelay(record));
        });
        return relays;
    }
    for (const auto& [name, device] : named) {
        const std::optional<TRelayRecord> r =
            relayRecord(store, utf8ToCp932(name), utf8ToCp932(device));
        if (!r)
            throw TRecordNotFound("見つかりません: " + name + "," + device);
        relays.push_back(storedRelay(*r));
    }
    return relays;
}

} // namespace telvara
