#pragma once
// A file written whole or not at all.
#include <QIODevice>
#include <QString>

#include <functional>

namespace telvara {

// Writes into memory, then as writeFileWhole does: the new file is written
// beside the old one under a unique name, never through a link, and takes
// its place only when complete. When write returns false, or the file cannot
// be made or committed, the old file is left as it was and an IoError names
// the file.
void writeFile(const QString& fileName, const std::function<bool(QIODevice&)>& write);

} // namespace telvara
