#include "app/store_open.h"

#include "base/errors.h"
#include "platform/services.h"
#include "store/bplustree.h"

#include <QString>

namespace telvara {

namespace {

const QString kReadOnly =
    QStringLiteral("\n読み取り専用で開きます（Add とﾚｺｰﾄﾞ削除はできません）。");

// A store whose files can be read but not written (read-only media, no write
// permission) opens for reading.
bool openForReading(TBPlusTree& store, const std::string& folder) {
    try {
        store.OpenStore(folder, TOpenMode::ReadOnly);
        return true;
    } catch (const IoError&) {
        store.CloseStore();
        return false;
    }
}

} // namespace

bool openStoreForWindow(TBPlusTree& store, const std::string& folder, MessageService& messages) {
    try {
        store.OpenStore(folder);
        // Checked whole now, so the user hears of damage before typing a relay.
        if (store.Verify().sound())
            return true;
    } catch (const IoError& e) {
        store.CloseStore();
        if (openForReading(store, folder)) {
            messages.showMessage(QString::fromStdString(e.what()) + kReadOnly);
            return true;
        }
        messages.showError(QString::fromStdString(e.what()) +
                           QStringLiteral("\nデーターフォルダを選び直してください。"));
        return false;
    }
    messages.showMessage(QString::fromStdString(store.WriteRefusal()) + kReadOnly);
    return true;
}

} // namespace telvara
