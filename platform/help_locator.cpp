#include "platform/help_locator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace telvara {

QString helpSetName(const QString& helpFile) {
    QString name = helpFile;
    const qsizetype slash =
        std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    if (slash >= 0)
        name = name.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return name;
}

QStringList HelpLocator::defaultRoots() {
    QStringList roots;
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty()) {
        roots << QDir(exeDir).filePath(QStringLiteral("help"));
        roots << QDir::cleanPath(exeDir + QStringLiteral("/../share/telvara/help"));
    }
#ifdef TELVARA_HELP_SOURCE_DIR
    roots << QStringLiteral(TELVARA_HELP_SOURCE_DIR);
#endif
    return roots;
}

QString HelpLocator::findSet(const QString& helpFile) const {
    const QString wanted = helpSetName(helpFile);
    if (wanted.isEmpty())
        return {};
    for (const QString& root : roots_) {
        const QDir dir(root);
        const QStringList folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& folder : folders)
            if (folder.compare(wanted, Qt::CaseInsensitive) == 0)
                return dir.filePath(folder);
    }
    return {};
}

QString HelpLocator::pageFor(const QString& setFolder, const QString& key) {
    QFile map(QDir(setFolder).filePath(QStringLiteral("map.txt")));
    if (!map.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&map);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() >= 2 && parts[0] == key) {
            const QString page = QDir(setFolder).filePath(parts[1]);
            return QFileInfo::exists(page) ? page : QString();
        }
    }
    return {};
}

} // namespace telvara
