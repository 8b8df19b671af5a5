#include "platform/paper_size.h"

#include <QFile>
#include <QSizeF>

#include <cstdint>

#if defined(__GLIBC__)
#include <langinfo.h>
#endif

namespace telvara {

QPageSize paperSizeNamed(const QString& name) {
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return {};
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto pageId = static_cast<QPageSize::PageSizeId>(id);
        if (pageId != QPageSize::Custom &&
            QPageSize::key(pageId).compare(wanted, Qt::CaseInsensitive) == 0)
            return QPageSize(pageId);
    }
    return {};
}

namespace {

// The first word that is not a comment, as the print system's own tools read the file.
QString paperFileName(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            return line.section(u' ', 0, 0, QString::SectionSkipEmpty);
    }
    return {};
}

QPageSize localePaper() {
#if defined(__GLIBC__)
    // The locale gives the sheet in millimetres, portrait.
    const auto mm = [](nl_item item) {
        return static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(item)));
    };
    const int width = mm(_NL_PAPER_WIDTH), height = mm(_NL_PAPER_HEIGHT);
    if (width > 0 && height > 0)
        return QPageSize(QSizeF(width, height), QPageSize::Millimeter);
#endif
    return {};
}

} // namespace

QPageSize systemPaperSize() {
    const QPageSize fromEnv = paperSizeNamed(qEnvironmentVariable("PAPERSIZE"));
    if (fromEnv.isValid())
        return fromEnv;
    const QPageSize fromFile = paperSizeNamed(paperFileName(QStringLiteral("/etc/papersize")));
    if (fromFile.isValid())
        return fromFile;
    const QPageSize fromLocale = localePaper();
    if (fromLocale.isValid())
        return fromLocale;
    return QPageSize(QPageSize::A4);
}

} // namespace telvara
