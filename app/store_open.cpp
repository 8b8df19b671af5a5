#include "app/store_open.h"

#include "base/errors.h"
#include "platform/services.h"
#include "store/bplustree.h"

#include <QString>

namespace telvara {

bool openStoreForWindow(TBPlusTree& store, const std::string& folder, MessageService& messages) {
    try {
        store.OpenStore(folder);
        // Checked whole now, so the user hears of damage before typing a relay.
        if (store.Verify().sound())
            return true;
    } catch (const IoError& e) {
        store.CloseStore();
        messages.showError(QString::fromStdString(e.what()) +
                           QStringLiteral("\nデーターフォルダを選び直してください。"));
        return false;
    }
    messages.showMessage(
        QString::fromStdString(store.WriteRefusal()) +
        QStringLiteral("\n読み取り専用で開きます（Add とﾚｺｰﾄﾞ削除はできません）。"));
    return true;
}

} // namespace telvara
