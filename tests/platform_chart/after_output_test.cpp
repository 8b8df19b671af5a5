// The chart window right after printing or saving a bitmap: the next drag
// zooms on the layout the screen shows and draws its frame, with no paint
// between the command and the mouse.
#include "chart/chart_renderer.h"
#include "chart/line_series.h"
#include "platform/chart_widget.h"
#include "platform/qt_printer.h"
#include "platform/qt_printer_bitmap.h"

#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace telvara;

namespace {

struct AfterOutput : ::testing::Test {
    QTemporaryDir dir;
    TQtChartDevices devices;
    TChartWidget widget;
    TChart& chart = widget.Chart();
    TChartRenderer renderer{chart};

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        chart.SetName("Chart1");
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        renderer.Options().proportional = false;
        chart.Legend().SetVisible(false);
        auto* s = &chart.AddSeries(std::make_unique<TLineSeries>());
        s->AddPoint(100, 10);
        s->AddPoint(5000, 0.1);
        chart.BottomAxis().SetMinMaxRange(10, 100000);
        chart.BottomAxis().SetLogarithmic(true);
        chart.LeftAxis().SetMinMaxRange(0.01, 1000);
        chart.LeftAxis().SetLogarithmic(true);
        widget.resize(600, 400);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
        widget.repaint();
    }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&widget, to);
        QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, to);
    }
};

} // namespace

TEST_F(AfterOutput, ZoomAfterPrintingLandsOnTheValuesUnderTheScreenRectangle) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(dir.filePath("page.pdf"));
    TQtPrinter device(printer);
    const TRect plot = chart.ChartRect();
    TChartAxis& b = chart.BottomAxis();
    TChartAxis& l = chart.LeftAxis();
    const double bMin = b.PixelToValue(150), bMax = b.PixelToValue(300);
    const double lMin = l.PixelToValue(250), lMax = l.PixelToValue(150);
    renderer.Options().marginPercent = {5, 5, 5, 5};
    renderer.PrintOriented(device, poLandscape);

    EXPECT_EQ(chart.ChartRect(), plot);
    drag({150, 150}, {300, 250});
    EXPECT_EQ(b.Minimum(), bMin);
    EXPECT_EQ(b.Maximum(), bMax);
    EXPECT_EQ(l.Minimum(), lMin);
    EXPECT_EQ(l.Maximum(), lMax);
}

TEST_F(AfterOutput, FirstDragAfterSavingABitmapDrawsItsFrame) {
    const QImage clean = widget.Buffer().copy();
    renderer.SaveBitmap(devices.Bitmaps(), dir.filePath("chart.bmp").toStdString());
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, {100, 100});
    QTest::mouseMove(&widget, {200, 180});
    const QImage shown = widget.Buffer();
    ASSERT_EQ(shown.size(), clean.size());
    // Inverted on the outline (black pen, not-xor), untouched inside.
    for (QPoint p : {QPoint(150, 100), QPoint(100, 140), QPoint(199, 140), QPoint(150, 179)})
        EXPECT_EQ(shown.pixel(p) & 0xFFFFFF, ~clean.pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();
    EXPECT_EQ(shown.pixel(150, 140), clean.pixel(150, 140));
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, {110, 110});
}
