#include "platform/data_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace telvara {

namespace {

const QString kDataFolderKey = QStringLiteral("DataFolder");

std::unique_ptr<QSettings> openSettings(const QString& file) {
    if (!file.isEmpty())
        return std::make_unique<QSettings>(file, QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("Telvara"), QStringLiteral("telvara"));
}

} // namespace

QString dataFolderStart(const QString& remembered, const QString& programFolder) {
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    // Installed, the program's folder belongs to the system: a store created
    // there would fail or land beside the program.
    const QFileInfo program(programFolder);
    if (!programFolder.isEmpty() && program.isDir() && program.isWritable())
        return programFolder;
    return QDir::homePath();
}

QString rememberedDataFolder(const QString& settingsFile) {
    return openSettings(settingsFile)->value(kDataFolderKey).toString();
}

void rememberDataFolder(const QString& settingsFile, const QString& folder) {
    openSettings(settingsFile)->setValue(kDataFolderKey, folder);
}

} // namespace telvara
