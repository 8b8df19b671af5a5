// Reports what an installed program finds from where it lies: copied into an
// installed bin/ folder, it looks for the help set, the fonts and the version
// block exactly as telvara does, through the same code.
//
//   install_probe [PROGRAM]
//
// Prints "help-set <folder>", "help-page <page of 目次>", one
// "font <name>=<family drawn>" line per font name of the windows, and with
// PROGRAM "version <FileVersion of PROGRAM>".
#include "platform/help_locator.h"
#include "version/fonts.h"
#include "version/version_block.h"

#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    using namespace telvara;

    // The help file name the program starts with.
    const HelpLocator locator(HelpLocator::defaultRoots());
    const QString set = locator.findSet(QStringLiteral("Zubhelp.hlp"));
    std::printf("help-set %s\n", qPrintable(set));
    std::printf("help-page %s\n",
                set.isEmpty() ? "" : qPrintable(HelpLocator::pageFor(set, QStringLiteral("目次"))));

    installFontSubstitutions();
    for (const QString& name : {kGothicP, kMinchoP, kMincho}) {
        QFont font(name);
        std::printf("font %s=%s\n", name.toUtf8().constData(),
                    QFontInfo(font).family().toUtf8().constData());
    }
    if (argc > 1)
        std::printf("version %s\n", GetFileVersion(argv[1]).c_str());
    return 0;
}
