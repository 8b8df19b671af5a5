#pragma once
// Start-up of the program: splash, application settings, the main window and
// the hidden chart window, then the event loop.
#include <QApplication>
#include <QString>

namespace telvara {

// The help file at start-up; the "?" button later switches to "ZubHelp.HLP".
inline const QString kStartHelpFile = QStringLiteral("E:\\Telvara\\Zubhelp.hlp");

// The application object: failures that reach the event loop outside every
// handler are reported like a handler's and never pass through Qt.
class TelvaraApplication : public QApplication {
public:
    TelvaraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Runs the program on an existing application object; the exit code.
int runTelvara(QApplication& app);

} // namespace telvara
