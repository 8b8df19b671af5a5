#pragma once
// Finds the HTML help set shipped with the program for a help file name and
// the page of a help context or topic in it.
//
// A help set is a folder named after the help file's base name (compared
// without regard to case) holding the pages and "map.txt", whose lines read
// "<context or topic> <page file>"; "#" starts a comment line.
#include <QString>
#include <QStringList>

namespace telvara {

// "E:/Telvara/Zubhelp.hlp" and "ZubHelp.HLP" both give "ZubHelp"/"Zubhelp".
QString helpSetName(const QString& helpFile);

class HelpLocator {
public:
    explicit HelpLocator(QStringList roots) : roots_(std::move(roots)) {}

    // <exe dir>/help, <exe dir>/../share/telvara/help, then the source tree's set.
    static QStringList defaultRoots();

    // The folder of the help set for this help file, or empty.
    QString findSet(const QString& helpFile) const;

    // The page file for a context number or topic in a set, or empty.
    static QString pageFor(const QString& setFolder, const QString& key);

    const QStringList& roots() const { return roots_; }

private:
    QStringList roots_;
};

} // namespace telvara
