#pragma once
// Reading printed PDF files back: page count and title (pdfinfo), the first
// page as a picture (pdftoppm, Debian's poppler-utils), and where the dark
// lines of the chart's frame lie on it.
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace telvara::test {

// Runs a poppler tool; false when it cannot be run or fails.
inline bool runPoppler(const QString& tool, const QStringList& args, QString* out = nullptr) {
    const QString exe = QStandardPaths::findExecutable(tool);
    if (exe.isEmpty())
        return false;
    QProcess p;
    p.start(exe, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished(5000);
        return false;
    }
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

inline bool havePoppler() {
    return !QStandardPaths::findExecutable("pdftoppm").isEmpty() &&
           !QStandardPaths::findExecutable("pdfinfo").isEmpty();
}

// The value of one "Name: value" line of pdfinfo.
inline QString pdfInfo(const QString& pdf, const QString& key) {
    QString out;
    if (!runPoppler("pdfinfo", {pdf}, &out))
        return {};
    const QStringList lines = out.split('\n');
    for (const QString& line : lines)
        if (line.startsWith(key + ":"))
            return line.mid(key.size() + 1).trimmed();
    return {};
}

inline int pdfPageCount(const QString& pdf) {
    bool ok = false;
    const int n = pdfInfo(pdf, "Pages").toInt(&ok);
    return ok ? n : -1;
}

// The first page at dpi dots per inch (72: one pixel per point).
inline QImage renderFirstPage(const QString& pdf, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("page");
    if (!runPoppler("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile", "-f", "1", "-l",
                                 "1", pdf, prefix}))
        return {};
    return QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
}

// Bounding box of the pixels darker than 96 in red, green and blue alike
// (black lines; the blue title and the light background are left out).
inline QRect darkBoundingBox(const QImage& img) {
    int left = img.width(), top = img.height(), right = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = row[x];
            if (qRed(c) < 96 && qGreen(c) < 96 && qBlue(c) < 96) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace telvara::test
