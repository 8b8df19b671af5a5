#include "app/startup.h"

#include "app/mein_form.h"
#include "base/numbers.h"
#include "chartwin/chat_form.h"
#include "platform/guard.h"
#include "platform/qt_translations.h"
#include "platform/services_qt.h"
#include "version/fonts.h"
#include "version/version_form.h"

#include <QLocale>

#include <exception>

namespace telvara {

void readNumberLocale() {
    const QLocale locale = QLocale::system();
    const QString decimal = locale.decimalPoint();
    NumberLocale separators;
    if (!decimal.isEmpty())
        separators.decimal = decimal.toStdString();
    separators.thousands = locale.groupSeparator().toStdString();
    setNumberLocale(separators);
}

TelvaraApplication::TelvaraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TelvaraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        static QtMessageService messages;
        const std::exception_ptr failure = std::current_exception();
        runGuarded(messages, [&] { std::rethrow_exception(failure); });
        return false;
    }
}

int runTelvara(QApplication& app) {
    installFontSubstitutions();
    installQtTranslations(app);
    ShowSplash();

    app.setApplicationName(kApplicationTitle);
    readNumberLocale();
    QtServices platform;
    Services services = platform.services();
    services.help.setHelpFile(kStartHelpFile);

    TMeinForm mein(services);
    TChatForm chat(mein, services);
    mein.setChartWindow(&chat);
    // A cancelled data-folder dialog ends the program before the loop.
    if (mein.terminationRequested())
        return 0;
    QObject::connect(&mein, &TMeinForm::closed, &app, &QApplication::quit);
    mein.show();
    return app.exec();
}

} // namespace telvara
