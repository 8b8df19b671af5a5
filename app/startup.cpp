#include "app/startup.h"

#include "app/mein_form.h"
#include "base/numbers.h"
#include "chartwin/chat_form.h"
#include "platform/guard.h"
#include "platform/number_locale.h"
#include "platform/qt_translations.h"
#include "platform/services_qt.h"
#include "version/fonts.h"
#include "version/version_form.h"

#include <exception>

namespace telvara {

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
    // "telvara FILE.tvstudy": the study opens in the chart window.
    for (const QString& arg : app.arguments().mid(1)) {
        if (arg.endsWith(QStringLiteral(".tvstudy"), Qt::CaseInsensitive)) {
            if (chat.openStudy(arg))
                chat.showMaximized();
            break;
        }
    }
    return app.exec();
}

} // namespace telvara
