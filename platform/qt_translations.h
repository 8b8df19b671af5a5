#pragma once
// Qt's own texts (the colour and file dialogs, standard buttons) in Japanese,
// the language of every window of the program.
class QCoreApplication;

namespace telvara {

// Makes Japanese the locale of Qt's widgets, loads Qt's Japanese translations
// from Qt's translations folder and installs them on app; false when they
// are not installed (Qt's texts stay English).
bool installQtTranslations(QCoreApplication& app);

} // namespace telvara
