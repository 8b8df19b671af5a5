#include "platform/chart_export.h"

#include "base/errors.h"
#include "chart/panel.h"
#include "platform/qt_canvas.h"
#include "platform/qt_printer_bitmap.h"
#include "platform/save_file.h"

#include <QBuffer>
#include <QHash>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace telvara {

namespace {

// zlib's fastest level: the chart's flat areas compress well even so, and
// the default levels take several times longer on a full-HD picture.
constexpr int kPngQuality = 80;
// PDF device pixels per inch: fine enough that the chart's integer
// coordinates, stretched onto the page, land where the layout put them.
constexpr int kPdfResolution = 1200;

std::string text(const QString& s) {
    return s.toStdString();
}

// The picture with an exact palette, or a null image when it has more
// colours than a palette holds.
QImage exactPalette(const QImage& image) {
    const QImage rgb = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    QList<QRgb> palette;
    QHash<QRgb, uchar> index;
    QRgb last = 0;
    uchar lastIndex = 0;
    bool haveLast = false;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = in[x] | 0xff000000u;
            if (!haveLast || c != last) {
                auto it = index.constFind(c);
                if (it == index.constEnd()) {
                    if (palette.size() == 256)
                        return {};
                    it = index.insert(c, uchar(palette.size()));
                    palette.push_back(c);
                }
                last = c;
                lastIndex = *it;
                haveLast = true;
            }
            out[x] = lastIndex;
        }
    }
    indexed.setColorTable(palette);
    return indexed;
}

// The chart on a vector device, stretched from its own size onto page.
bool drawVector(TChartRenderer& renderer, QPaintDevice& device, const QRect& page) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    {
        QtCanvas3D canvas(&painter);
        renderer.DrawOnCanvasRect(canvas,
                                  {page.left(), page.top(), page.right() + 1, page.bottom() + 1});
    }
    return painter.end();
}

void writePdf(TChartRenderer& renderer, const QString& fileName, const std::string& title) {
    const TRect e = renderer.ExportRect();
    writeFile(fileName, [&](QIODevice& file) {
        QPdfWriter pdf(&file);
        pdf.setCreator(QStringLiteral("Telvara"));
        pdf.setTitle(QString::fromStdString(title));
        pdf.setResolution(kPdfResolution);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(e.Width(), e.Height()), QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
        return drawVector(renderer, pdf, QRect(0, 0, pdf.width(), pdf.height()));
    });
}

void writeSvg(TChartRenderer& renderer, const QString& fileName, const std::string& title) {
    const TRect e = renderer.ExportRect();
    writeFile(fileName, [&](QIODevice& file) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setTitle(QString::fromStdString(title));
        // 72 units an inch: the page's width and height come out in points.
        svg.setResolution(72);
        svg.setSize(QSize(e.Width(), e.Height()));
        svg.setViewBox(QRect(0, 0, e.Width(), e.Height()));
        return drawVector(renderer, svg, QRect(0, 0, e.Width(), e.Height()));
    });
}

} // namespace

ChartFileKind chartFileKind(const QString& fileName) {
    if (fileName.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        return ChartFileKind::Png;
    if (fileName.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return ChartFileKind::Pdf;
    if (fileName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
        return ChartFileKind::Svg;
    return ChartFileKind::Bmp;
}

QByteArray EncodePng(const QImage& image) {
    QImage palette = exactPalette(image);
    const QImage& picture =
        palette.isNull() ? image.convertToFormat(QImage::Format_RGB888) : palette;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "PNG");
    writer.setQuality(kPngQuality);
    if (!writer.write(picture))
        return {};
    return bytes;
}

void SaveChartFile(TChartRenderer& renderer, const QString& fileName) {
    TQtChartBitmapFactory bitmaps;
    switch (chartFileKind(fileName)) {
    case ChartFileKind::Bmp:
        renderer.SaveBitmap(bitmaps, text(fileName));
        return;
    case ChartFileKind::Png: {
        const std::unique_ptr<TChartBitmap> bitmap =
            renderer.MakeBitmap(bitmaps, clWhite, renderer.ExportRect());
        auto* picture = dynamic_cast<TQtChartBitmap*>(bitmap.get());
        if (!picture)
            throw IoError("ファイル " + text(fileName) + " に書き込めません");
        const QByteArray png = EncodePng(picture->Image());
        writeFile(fileName,
                  [&](QIODevice& file) { return !png.isEmpty() && file.write(png) == png.size(); });
        return;
    }
    case ChartFileKind::Pdf:
        writePdf(renderer, fileName, renderer.Chart().Name());
        return;
    case ChartFileKind::Svg:
        writeSvg(renderer, fileName, renderer.Chart().Name());
        return;
    }
}

} // namespace telvara
