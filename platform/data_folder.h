#pragma once
// Where the data-folder dialog starts: the folder chosen last time, else the
// program's folder when the user may write there, else the user's home.
#include <QString>

namespace telvara {

// remembered: the folder chosen last time (empty: none); programFolder: the
// folder of the program file.
QString dataFolderStart(const QString& remembered, const QString& programFolder);

// The folder chosen last time, kept in the user's settings (settingsFile, or
// the program's own settings when empty).
QString rememberedDataFolder(const QString& settingsFile);
void rememberDataFolder(const QString& settingsFile, const QString& folder);

} // namespace telvara
