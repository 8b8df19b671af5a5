#include "platform/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace telvara {

bool installQtTranslations(QCoreApplication& app) {
    // Qt's widgets name things and write dates in Japanese (file types, month
    // names); the program's numbers keep the environment's separators, which
    // it reads from the system locale, not from this one.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    // Owned by the application: it must live as long as any window.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace telvara
