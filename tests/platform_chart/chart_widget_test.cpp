// The chart's host window: the kept picture is copied while clean and the
// chart drawn again only after a repaint request or a size change.
#include "platform/chart_widget.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace telvara;

namespace {

struct WidgetFixture : ::testing::Test {
    TChartWidget widget;
    int draws = 0;
    void SetUp() override {
        widget.Chart().SetView3D(false);
        widget.Chart().SetColor(clWhite);
        widget.Chart().OnAfterDraw = [this](TCustomChartPanel&) { ++draws; };
        widget.resize(300, 200);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(WidgetFixture, CleanPaintCopiesTheKeptPicture) {
    widget.repaint();
    ASSERT_GE(draws, 1);
    EXPECT_FALSE(widget.Chart().Dirty());
    EXPECT_EQ(widget.Buffer().size(), QSize(300, 200));
    const int n = draws;
    widget.repaint();
    widget.update();
    QApplication::processEvents();
    EXPECT_EQ(draws, n); // copied, not drawn
    // What the window shows is the kept picture: the raised bevel at the corner.
    const QImage shown = widget.grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(299, 100) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(draws, n);
    // A repaint request draws again, once.
    widget.Chart().RequestRepaint();
    EXPECT_TRUE(widget.Chart().Dirty());
    widget.repaint();
    EXPECT_EQ(draws, n + 1);
    widget.repaint();
    EXPECT_EQ(draws, n + 1);
}

TEST_F(WidgetFixture, PropertyChangeAndResizeRedraw) {
    widget.repaint();
    const int n = draws;
    widget.Chart().Gradient().SetVisible(true); // queues a paint request
    QTRY_COMPARE(draws, n + 1);
    widget.resize(320, 180);
    QTRY_COMPARE(draws, n + 2);
    EXPECT_EQ(widget.Chart().Width(), 320);
    EXPECT_EQ(widget.Buffer().size(), QSize(320, 180));
    EXPECT_EQ(widget.Chart().ChartBounds(), (TRect{0, 0, 320, 180}));
    // An unchanged property asks for nothing.
    widget.Chart().Gradient().SetVisible(true);
    QApplication::processEvents();
    EXPECT_EQ(draws, n + 2);
}

TEST_F(WidgetFixture, BufferReleasedWhileDrawingElsewhere) {
    widget.repaint();
    const int n = draws;
    widget.Chart().SetBufferedDisplay(false);
    EXPECT_TRUE(widget.Buffer().isNull());
    widget.Chart().SetBufferedDisplay(true);
    widget.repaint();
    EXPECT_EQ(draws, n + 1);
    EXPECT_FALSE(widget.Buffer().isNull());
    // No paint while printing.
    widget.Chart().SetPrinting(true);
    widget.Chart().RequestRepaint();
    widget.repaint();
    EXPECT_EQ(draws, n + 1);
    widget.Chart().SetPrinting(false);
}

TEST_F(WidgetFixture, CursorSetByTheChart) {
    widget.SetChartCursor(crCross);
    EXPECT_EQ(widget.cursor().shape(), Qt::CrossCursor);
    widget.SetChartCursor(crDefault);
    EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WidgetFixture, DirectDrawGoesOntoTheKeptPicture) {
    widget.repaint();
    const int n = draws;
    TCanvas3D* c = widget.BeginDirectDraw();
    ASSERT_NE(c, nullptr);
    c->AssignBrush({clBlack, bsSolid});
    c->FillRect({10, 10, 20, 20});
    widget.EndDirectDraw();
    QApplication::processEvents();
    EXPECT_EQ(widget.Buffer().pixel(15, 15) & 0xFFFFFF, 0u);
    EXPECT_EQ(widget.grab().toImage().pixel(15, 15) & 0xFFFFFF, 0u);
    EXPECT_EQ(draws, n);
}
