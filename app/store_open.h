#pragma once
// Opening the data folder's store for the main window.
#include <string>

namespace telvara {

class MessageService;
class TBPlusTree;

// Opens the store in `folder`. One that cannot be opened is reported and
// false returned, so the folder dialog can be offered again. A damaged one,
// or one whose files can only be read (read-only media), stays open for
// reading, after a message saying why and that Add and Remove are refused;
// the store itself refuses them with that text.
bool openStoreForWindow(TBPlusTree& store, const std::string& folder, MessageService& messages);

} // namespace telvara
