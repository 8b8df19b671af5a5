// Printing the chart through QPrinter into PDF files, read back with poppler:
// one page, the chart's name as title, the page's orientation and where the
// chart's frame lands on the page.
#include "chart/chart.h"
#include "chart/chart_renderer.h"
#include "pdf_pages.h"
#include "platform/chart_widget.h"
#include "platform/qt_printer.h"
#include "platform/qt_printer_bitmap.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <stdexcept>

using namespace telvara;
using namespace telvara::test;

namespace {

// No print server for this program: the default printer is looked up in vain.
const bool noPrintServer = [] {
    setenv("CUPS_SERVER", "/nonexistent/telvara-cups.sock", 1);
    unsetenv("PRINTER");
    unsetenv("LPDEST");
    return true;
}();

class PdfPrint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(havePoppler()) << "pdftoppm and pdfinfo are needed (Debian: poppler-utils)";
        ASSERT_TRUE(dir.isValid());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        chart.SetName("Chart1");
        chart.SetBounds(400, 250);
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        renderer.Options().proportional = false;
        renderer.Options().marginPercent = {5, 5, 5, 5};
        chart.OnAfterDraw = [this](TCustomChartPanel& p) {
            plot = p.ChartRect();
            mapping = p.Canvas()->GetMapping();
        };
    }

    QString output(const QString& name) {
        const QString path = dir.filePath(name);
        printer.setOutputFileName(path);
        return path;
    }

    // Where the plot rectangle's frame should be on the page, in points.
    QRectF expectedFrame() const {
        const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Point);
        const double sx = double(mapping.viewExtX) / mapping.winExtX * 72.0 / printer.resolution();
        const double sy = double(mapping.viewExtY) / mapping.winExtY * 72.0 / printer.resolution();
        return QRectF(QPointF(paint.left() + plot.left * sx, paint.top() + plot.top * sy),
                      QPointF(paint.left() + plot.right * sx, paint.top() + plot.bottom * sy));
    }

    void expectFrameAt(const QImage& page, const QRectF& want) {
        const QRect box = darkBoundingBox(page);
        ASSERT_FALSE(box.isNull());
        // Lines are about one logical pixel wide (1.3 points here) and the
        // axis lines two.
        const double tol = 4.0;
        EXPECT_NEAR(box.left(), want.left(), tol);
        EXPECT_NEAR(box.top(), want.top(), tol);
        EXPECT_NEAR(box.right() + 1, want.right(), tol);
        EXPECT_NEAR(box.bottom() + 1, want.bottom(), tol);
    }

    QTemporaryDir dir;
    QPrinter printer{QPrinter::HighResolution};
    TQtPrinter device{printer};
    TChart chart;
    TChartRenderer renderer{chart};
    TRect plot;
    TMapping mapping;
};

} // namespace

TEST_F(PdfPrint, PortraitAndLandscapePagesWithTheChartStretched) {
    // Portrait: a tall picture.
    const QString portrait = output("portrait.pdf");
    renderer.PrintOriented(device, poPortrait);
    EXPECT_EQ(pdfPageCount(portrait), 1);
    EXPECT_EQ(pdfInfo(portrait, "Title"), "Chart1");
    QImage page = renderFirstPage(portrait, 72);
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.size(), QSize(595, 842));
    EXPECT_EQ(mapping.winExtX, 400);
    EXPECT_EQ(mapping.winExtY, 250);
    const QRectF tall = expectedFrame();
    expectFrameAt(page, tall);
    EXPECT_GT(tall.height(), tall.width());

    // Landscape: the same layout, wider; the printer is portrait again after.
    const QString landscape = output("landscape.pdf");
    renderer.PrintOriented(device, poLandscape);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(pdfPageCount(landscape), 1);
    page = renderFirstPage(landscape, 72);
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.size(), QSize(842, 595));
    printer.setPageOrientation(QPageLayout::Landscape); // for the expected page frame
    const QRectF wide = expectedFrame();
    printer.setPageOrientation(QPageLayout::Portrait);
    expectFrameAt(page, wide);
    EXPECT_GT(wide.width() / wide.height(), 1.8 * tall.width() / tall.height());
    EXPECT_FALSE(chart.Printing());
}

TEST_F(PdfPrint, MarginsOfHalfThePageOrMore) {
    // 60 on every side: the inverted page rectangle is put in order, the
    // chart squeezed into the middle fifth of the page in each direction.
    renderer.Options().marginPercent = {60, 60, 60, 60};
    QString path = output("sixty.pdf");
    renderer.PrintOriented(device, poLandscape);
    EXPECT_EQ(pdfPageCount(path), 1);
    QImage page = renderFirstPage(path, 72);
    ASSERT_FALSE(page.isNull());
    printer.setPageOrientation(QPageLayout::Landscape);
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Point);
    printer.setPageOrientation(QPageLayout::Portrait);
    const QRectF middle(paint.left() + 0.4 * paint.width(), paint.top() + 0.4 * paint.height(),
                        0.2 * paint.width(), 0.2 * paint.height());
    expectFrameAt(page, expectedFrame());
    const QRect box = darkBoundingBox(page);
    EXPECT_TRUE(middle.adjusted(-1, -1, 1, 1).contains(QRectF(box))) << box.x() << "," << box.y();

    // 50 on every side leaves at most a one-pixel sliver at the centre.
    renderer.Options().marginPercent = {50, 50, 50, 50};
    path = output("fifty.pdf");
    renderer.PrintOriented(device, poLandscape);
    EXPECT_EQ(pdfPageCount(path), 1);
    page = renderFirstPage(path, 72);
    ASSERT_FALSE(page.isNull());
    const QRect sliver = darkBoundingBox(page);
    if (!sliver.isNull()) {
        const QPointF centre = paint.center();
        EXPECT_TRUE(std::abs(sliver.center().x() - centre.x()) <= 2 ||
                    std::abs(sliver.center().y() - centre.y()) <= 2);
        EXPECT_LE(std::min(sliver.width(), sliver.height()), 2);
    }
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_FALSE(chart.Printing());
}

TEST_F(PdfPrint, GradientPrintedButNeitherPanelColourNorBevels) {
    chart.Gradient().SetVisible(true);
    chart.Gradient().SetEndColor(8454016); // light green at the top
    chart.SetColor(clYellow);
    chart.SetBevelInner(bvLowered);
    QString path = output("gradient.pdf");
    renderer.PrintOriented(device, poPortrait);
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Point);
    // Near the top of the page rectangle, left of the title; and along its
    // right edge, where the screen has the bevels.
    const QPoint top(qRound(paint.left() + paint.width() * 0.15),
                     qRound(paint.top() + paint.height() * 0.06));
    const int edgeX = qRound(paint.left() + paint.width() * 0.95) - 1;
    const int midY = qRound(paint.center().y());
    QImage page = renderFirstPage(path, 72);
    ASSERT_FALSE(page.isNull());
    QRgb c = page.pixel(top);
    EXPECT_TRUE(qGreen(c) > 0xF0 && qRed(c) < 0xA0 && qBlue(c) < 0xA0) << std::hex << c;

    chart.Gradient().SetVisible(false);
    path = output("plain.pdf");
    renderer.PrintOriented(device, poPortrait);
    page = renderFirstPage(path, 72);
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.pixel(top) & 0xFFFFFF, 0xFFFFFFu); // no yellow panel
    for (int x = edgeX - 2; x <= edgeX + 2; ++x)
        EXPECT_EQ(page.pixel(x, midY) & 0xFFFFFF, 0xFFFFFFu) << x; // no bevel
}

TEST_F(PdfPrint, FailuresReachTheCallerAndThePrinterStaysUsable) {
    // The document cannot be begun: the output folder does not exist.
    printer.setOutputFileName(dir.filePath("missing/chart.pdf"));
    try {
        renderer.PrintOriented(device, poLandscape);
        ADD_FAILURE() << "printed into a missing folder";
    } catch (const TelvaraError& e) {
        EXPECT_STREQ(e.what(), "印刷を開始できません");
    }
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_FALSE(device.Printing());
    EXPECT_FALSE(chart.Printing());

    // A failure while drawing: the document is closed, the error passed on.
    output("failed.pdf");
    chart.OnAfterDraw = [](TCustomChartPanel&) { throw std::runtime_error("描画に失敗しました"); };
    EXPECT_THROW(renderer.PrintOriented(device, poLandscape), std::runtime_error);
    EXPECT_FALSE(device.Printing());
    EXPECT_FALSE(chart.Printing());
    EXPECT_TRUE(chart.BufferedDisplay());
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);

    // The next print works.
    chart.OnAfterDraw = nullptr;
    const QString path = output("after.pdf");
    renderer.PrintOriented(device, poPortrait);
    EXPECT_EQ(pdfPageCount(path), 1);
    EXPECT_FALSE(darkBoundingBox(renderFirstPage(path, 72)).isNull());
}

TEST(DefaultPrinter, NoQueueConfiguredIsAnError) {
    ASSERT_TRUE(noPrintServer);
    TQtChartDevices devices; // the program's printer: the default queue
    TChartWidget widget;
    TChart& chart = widget.Chart();
    chart.SetName("Chart1");
    chart.SetView3D(false);
    int draws = 0;
    chart.OnAfterDraw = [&](TCustomChartPanel&) { ++draws; };
    widget.resize(300, 200);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    widget.repaint();
    const QImage shown = widget.Buffer().copy();
    try {
        TChartRenderer(chart).PrintOriented(devices.Printer(), poLandscape);
        ADD_FAILURE() << "printed without a printer";
    } catch (const TelvaraError& e) {
        EXPECT_STREQ(e.what(), "プリンタが設定されていません");
    }
    EXPECT_FALSE(chart.Printing());
    EXPECT_TRUE(chart.BufferedDisplay());
    // The screen paints as before: asked to draw again, it draws the same.
    chart.RequestRepaint();
    const int before = draws;
    widget.repaint();
    EXPECT_EQ(draws, before + 1);
    EXPECT_EQ(widget.Buffer(), shown);
}
