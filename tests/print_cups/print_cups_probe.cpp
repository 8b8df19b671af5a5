// Prints a chart on the system's default printer through the program's own
// printer object, then finds the PDF that the cups-pdf queue wrote and checks
// that it holds one page with the chart in the requested orientation.
//
//   print_cups_probe <output folder> portrait|landscape
//
// Exit 0: checked; 1: a check failed; 2: printing failed.
#include "chart/chart.h"
#include "chart/chart_renderer.h"
#include "pdf_pages.h"
#include "platform/qt_printer.h"
#include "platform/qt_printer_bitmap.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <cmath>
#include <cstdio>

using namespace telvara;
using namespace telvara::test;

namespace {

int failures = 0;

void check(bool ok, const QString& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", qPrintable(what));
    if (!ok)
        ++failures;
}

QSet<QString> pdfsIn(const QString& folder) {
    const QStringList names = QDir(folder).entryList({"*.pdf"}, QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

// The new PDF once it is complete (pdfinfo can read it), or an empty string.
QString waitForPdf(const QString& folder, const QSet<QString>& before, int seconds) {
    QDeadlineTimer deadline(seconds * 1000);
    while (!deadline.hasExpired()) {
        for (const QString& name : pdfsIn(folder) - before) {
            const QString path = QDir(folder).filePath(name);
            if (pdfPageCount(path) > 0)
                return path;
        }
        QThread::msleep(250);
    }
    return {};
}

// Bounding box of the title's blue pixels.
QRect blueBoundingBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (qBlue(c) > 160 && qRed(c) < 96 && qGreen(c) < 96)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3 || (std::string(argv[2]) != "portrait" && std::string(argv[2]) != "landscape")) {
        std::fprintf(stderr, "usage: print_cups_probe <output folder> portrait|landscape\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool landscape = std::string(argv[2]) == "landscape";

    TQtChartDevices devices;
    TChart chart;
    chart.SetName("Chart1");
    chart.SetBounds(400, 250);
    chart.SetView3D(false);
    chart.SetColor(clWhite);
    chart.Title().SetText({"保護協調曲線"});
    TChartRenderer renderer(chart);
    renderer.Options().proportional = false;
    renderer.Options().marginPercent = {5, 5, 5, 5};
    TRect plot;
    chart.OnAfterDraw = [&](TCustomChartPanel& p) { plot = p.ChartRect(); };

    const QSet<QString> before = pdfsIn(folder);
    TChartPrinter& printer = devices.Printer();
    std::printf("printer: %s\n",
                qPrintable(static_cast<TQtPrinter&>(printer).Device().printerName()));
    const TPrinterOrientation was = printer.Orientation();
    try {
        renderer.PrintOriented(printer, landscape ? poLandscape : poPortrait);
    } catch (const std::exception& e) {
        std::printf("printing failed: %s\n", e.what());
        return 2;
    }
    check(printer.Orientation() == was, "the printer's orientation is restored");
    std::printf("plot (logical): %d %d %d %d\n", plot.left, plot.top, plot.right, plot.bottom);

    const QString pdf = waitForPdf(folder, before, 90);
    check(!pdf.isEmpty(), "a PDF appeared in " + folder);
    if (pdf.isEmpty())
        return 1;
    std::printf("pdf: %s\n", qPrintable(pdf));
    check(pdfPageCount(pdf) == 1, "one page (" + QString::number(pdfPageCount(pdf)) + ")");
    // The job's title, the chart's name, travels through the queue.
    const QString docTitle = pdfInfo(pdf, "Title");
    check(docTitle == "Chart1" || docTitle == "(Chart1)", "the document title " + docTitle);

    const QImage page = renderFirstPage(pdf, 72);
    check(!page.isNull(), "the page renders");
    if (page.isNull())
        return 1;
    const QRect frame = darkBoundingBox(page);
    const QRect title = blueBoundingBox(page);
    std::printf("page %dx%d, frame %d,%d %dx%d, title %d,%d %dx%d\n", page.width(), page.height(),
                frame.x(), frame.y(), frame.width(), frame.height(), title.x(), title.y(),
                title.width(), title.height());
    check(!frame.isNull() && !title.isNull(), "the chart's frame and title are on the page");
    if (frame.isNull() || title.isNull())
        return 1;

    // The chart's "up" points from its frame to its title; its width runs
    // across that. Landscape: the width along the paper's long side.
    const QPoint up = title.center() - frame.center();
    const bool upIsVertical = std::abs(up.y()) > std::abs(up.x());
    const bool titleOutsideFrame =
        upIsVertical ? title.bottom() < frame.top() || title.top() > frame.bottom()
                     : title.right() < frame.left() || title.left() > frame.right();
    check(titleOutsideFrame, "the title lies beside the frame, not in it");
    const bool pageWide = page.width() > page.height();
    const bool widthAlongLongSide = upIsVertical == pageWide;
    check(widthAlongLongSide == landscape,
          QString("the chart's width runs along the paper's %1 side")
              .arg(widthAlongLongSide ? "long" : "short"));

    // Stretched onto the page less 5% margins: the frame spans about
    // 90% x (plot / panel) of the printable length in each of the chart's
    // directions, and lies in the middle of the page.
    const int chartWidth = upIsVertical ? frame.width() : frame.height();
    const int chartHeight = upIsVertical ? frame.height() : frame.width();
    const int alongWidth = upIsVertical ? page.width() : page.height();
    const int alongHeight = upIsVertical ? page.height() : page.width();
    const double wantW = 0.9 * alongWidth * plot.Width() / 400.0;
    const double wantH = 0.9 * alongHeight * plot.Height() / 250.0;
    check(std::abs(chartWidth - wantW) < 0.06 * alongWidth,
          QString("frame width %1, about %2").arg(chartWidth).arg(wantW));
    check(std::abs(chartHeight - wantH) < 0.06 * alongHeight,
          QString("frame height %1, about %2").arg(chartHeight).arg(wantH));
    const QPoint offCentre = frame.center() - QPoint(page.width() / 2, page.height() / 2);
    check(std::abs(offCentre.x()) < 0.08 * page.width() &&
              std::abs(offCentre.y()) < 0.08 * page.height(),
          "the frame lies in the middle of the page");
    return failures == 0 ? 0 : 1;
}
