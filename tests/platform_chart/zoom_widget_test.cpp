// Zoom, panning and the wheel through the chart's window, with real mouse events.
#include "chart/line_series.h"
#include "platform/chart_widget.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

using namespace telvara;

namespace {

QRgb rgbAt(const QImage& im, int x, int y) {
    return im.pixel(x, y) & 0xFFFFFF;
}

// Set up as in the chart window: white panel, gradient, log-log axes, one curve.
struct ZoomWidgetFixture : ::testing::Test {
    TChartWidget widget;
    TChart& chart = widget.Chart();
    int draws = 0;
    int zooms = 0;

    void SetUp() override {
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        chart.Gradient().SetVisible(true);
        chart.Gradient().SetEndColor(8454016);
        chart.Zoomer().SetAnimatedZoom(true);
        chart.Legend().SetVisible(false);
        auto* s = &chart.AddSeries(std::make_unique<TLineSeries>());
        s->AddPoint(100, 10);
        s->AddPoint(1000, 1);
        s->AddPoint(5000, 0.1);
        chart.BottomAxis().SetMinMaxRange(10, 100000);
        chart.BottomAxis().SetLogarithmic(true);
        chart.LeftAxis().SetMinMaxRange(0.01, 1000);
        chart.LeftAxis().SetLogarithmic(true);
        chart.OnAfterDraw = [this](TCustomChartPanel&) { ++draws; };
        chart.OnZoom = [this](TCustomChartPanel&) { ++zooms; };
        widget.resize(600, 400);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
        widget.repaint();
        QApplication::processEvents();
        ASSERT_FALSE(chart.Dirty());
    }

    void press(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(&widget, b, Qt::NoModifier, p);
    }
    void move(QPoint p) { QTest::mouseMove(&widget, p); }
    void release(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseRelease(&widget, b, Qt::NoModifier, p);
    }
    void wheel(int angle) {
        const QPointF at(300, 200);
        QWheelEvent e(at, widget.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&widget, &e);
    }
};

} // namespace

TEST_F(ZoomWidgetFixture, DragZoomsInSevenImmediateFramesOntoTheValuesUnderTheEdges) {
    TChartAxis& b = chart.BottomAxis();
    TChartAxis& l = chart.LeftAxis();
    const double bMin = b.PixelToValue(100), bMax = b.PixelToValue(300);
    const double lMin = l.PixelToValue(250), lMax = l.PixelToValue(100);
    press({100, 100});
    move({200, 170});
    move({300, 250});
    const int before = draws;
    release({300, 250});
    EXPECT_EQ(draws - before, 7); // repainted at once, inside the release
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(b.Minimum(), bMin);
    EXPECT_EQ(b.Maximum(), bMax);
    EXPECT_EQ(l.Minimum(), lMin);
    EXPECT_EQ(l.Maximum(), lMax);
    EXPECT_TRUE(chart.Dirty());
    QTRY_COMPARE(draws, before + 8); // the final frame by the queued request
    EXPECT_FALSE(chart.Zoomer().DragActive());

    // Up and left undoes.
    press({300, 250});
    move({100, 100});
    release({100, 100});
    EXPECT_TRUE(chart.Zoomer().ScalesRestored());
    EXPECT_EQ(b.Minimum(), 10);
    EXPECT_EQ(b.Maximum(), 100000);
    EXPECT_EQ(l.Minimum(), 0.01);
    EXPECT_EQ(l.Maximum(), 1000);
}

TEST_F(ZoomWidgetFixture, FrameFollowsTheMouseOnTheKeptPictureWithoutRedrawing) {
    const QImage clean = widget.Buffer().copy();
    const int n = draws;
    press({100, 100});
    move({200, 180});
    QApplication::processEvents();
    EXPECT_EQ(draws, n);
    const QImage shown = widget.grab().toImage();
    EXPECT_EQ(draws, n);
    // Inverted on the outline (black pen, not-xor), untouched inside.
    for (QPoint p : {QPoint(150, 100), QPoint(100, 140), QPoint(199, 140), QPoint(150, 179),
                     QPoint(100, 100), QPoint(199, 100), QPoint(100, 179), QPoint(199, 179)})
        EXPECT_EQ(rgbAt(shown, p.x(), p.y()), ~rgbAt(clean, p.x(), p.y()) & 0xFFFFFF)
            << p.x() << "," << p.y();
    EXPECT_EQ(rgbAt(shown, 150, 140), rgbAt(clean, 150, 140));
    EXPECT_EQ(rgbAt(shown, 200, 140), rgbAt(clean, 200, 140));

    move({250, 200}); // the old frame goes, the new one comes
    QApplication::processEvents();
    const QImage moved = widget.Buffer();
    EXPECT_EQ(rgbAt(moved, 150, 179), rgbAt(clean, 150, 179));
    EXPECT_EQ(rgbAt(moved, 199, 140), rgbAt(clean, 199, 140));
    EXPECT_EQ(rgbAt(moved, 150, 199), ~rgbAt(clean, 150, 199) & 0xFFFFFF);
    EXPECT_EQ(rgbAt(moved, 249, 140), ~rgbAt(clean, 249, 140) & 0xFFFFFF);
    EXPECT_EQ(rgbAt(moved, 150, 100), ~rgbAt(clean, 150, 100) & 0xFFFFFF);
    EXPECT_EQ(draws, n);

    // A full repaint during the drag draws the frame again where it is.
    chart.RequestRepaint();
    widget.repaint();
    EXPECT_EQ(draws, n + 1);
    EXPECT_EQ(widget.Buffer(), moved);

    // Released after too short a drag: the frame is gone, nothing else changed.
    release({250, 110});
    QApplication::processEvents();
    EXPECT_EQ(zooms, 0);
    EXPECT_EQ(widget.Buffer(), clean);
    EXPECT_EQ(widget.grab().toImage().convertToFormat(clean.format()), clean);
}

TEST_F(ZoomWidgetFixture, WheelNotchScrollsTheTimeAxisAndRepaintsAtOnce) {
    const int n = draws;
    const double f = std::pow(1e5, 0.03); // 3 % of five decades
    wheel(120);                           // one notch up
    EXPECT_EQ(draws, n + 1);
    EXPECT_EQ(chart.LeftAxis().Minimum(), 0.01 / f);
    EXPECT_EQ(chart.LeftAxis().Maximum(), 1000 / f);
    EXPECT_FALSE(chart.LeftAxis().Automatic());
    EXPECT_EQ(chart.BottomAxis().Minimum(), 10);
    EXPECT_FALSE(chart.Zoomer().ScalesRestored());
    wheel(-120);
    EXPECT_EQ(draws, n + 2);
    EXPECT_DOUBLE_EQ(chart.LeftAxis().Minimum(), 0.01);
    wheel(60); // parts of a notch add up
    EXPECT_EQ(draws, n + 2);
    wheel(60);
    EXPECT_EQ(draws, n + 3);
    EXPECT_DOUBLE_EQ(chart.LeftAxis().Minimum(), 0.01 / f);
}

TEST_F(ZoomWidgetFixture, BackForwardAndExtraButtonsStartNothing) {
    for (Qt::MouseButton b : {Qt::BackButton, Qt::ForwardButton, Qt::ExtraButton3}) {
        press({100, 100}, b);
        EXPECT_FALSE(chart.Zoomer().DragActive());
        EXPECT_FALSE(chart.Panner().DragActive());
        move({300, 250});
        release({300, 250}, b);
    }
    EXPECT_EQ(zooms, 0);
    EXPECT_TRUE(chart.Zoomer().ScalesRestored());
    EXPECT_EQ(chart.BottomAxis().Minimum(), 10);
    EXPECT_EQ(chart.BottomAxis().Maximum(), 100000);
}

TEST_F(ZoomWidgetFixture, RightDragPansUntilItLeavesThePlot) {
    TChartAxis& b = chart.BottomAxis();
    const double v200 = b.PixelToValue(200), v240 = b.PixelToValue(240);
    press({240, 200}, Qt::RightButton);
    move({200, 200});
    EXPECT_TRUE(chart.Panner().DragActive());
    // The same number of decades at both ends of the log axis.
    EXPECT_EQ(b.Minimum(), 10 * (v240 / v200));
    EXPECT_EQ(b.Maximum(), 100000 * (v240 / v200));
    const double atEdge = b.Minimum();
    move({chart.ChartRect().right + 3, 200});
    EXPECT_FALSE(chart.Panner().DragActive());
    move({150, 200});
    EXPECT_EQ(b.Minimum(), atEdge);
    release({150, 200}, Qt::RightButton);

    press({150, 200}, Qt::RightButton);
    EXPECT_TRUE(chart.Panner().DragActive());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
    EXPECT_FALSE(chart.Panner().DragActive());
    release({150, 200}, Qt::RightButton);
}
