// Panning, the wheel, what a press hits and the cursor.
#include "zoom_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace telvara;
using namespace telvara::test;
using namespace telvara::test::mouse;

TEST_F(ZoomTest, PanningMovesByTheMouseAndStopsOnLeavingThePlot) {
    TChartAxis& b = chart.BottomAxis();
    TChartAxis& l = chart.LeftAxis();
    const double perX = 1000.0 / b.ScaleMap().AxisLength(),
                 perY = 200.0 / l.ScaleMap().AxisLength();
    const TRect plot = chart.ChartRect();
    chart.MouseDown(200, 200, mbRight, 0);
    EXPECT_TRUE(chart.Panner().DragActive());
    chart.MouseMove(230, 190, 0); // right 30, up 10
    EXPECT_EQ(scrolls, 1);
    EXPECT_FALSE(chart.Zoomer().ScalesRestored());
    EXPECT_NEAR(b.Minimum(), -30 * perX, 1e-9);
    EXPECT_NEAR(b.Maximum(), 1000 - 30 * perX, 1e-9);
    EXPECT_NEAR(l.Minimum(), -50 - 10 * perY, 1e-9);
    EXPECT_NEAR(l.Maximum(), 150 - 10 * perY, 1e-9);
    // A second step before any paint moves by its own movement only.
    chart.MouseMove(240, 190, 0);
    EXPECT_EQ(scrolls, 2);
    EXPECT_NEAR(b.Minimum(), -40 * perX, 1e-9);
    EXPECT_NEAR(l.Minimum(), -50 - 10 * perY, 1e-9);
    EXPECT_EQ(host.repaints, 0);

    const Ranges atEdge = rangesOf(chart);
    chart.MouseMove(plot.right + 5, 190, 0);
    EXPECT_FALSE(chart.Panner().DragActive());
    chart.MouseMove(200, 150, 0);
    expectRanges(rangesOf(chart), atEdge);
    chart.MouseUp(200, 150, mbRight);

    chart.MouseDown(200, 150, mbRight, 0); // a new press pans again
    chart.MouseMove(210, 150, 0);
    EXPECT_NEAR(b.Minimum(), -50 * perX, 1e-9);
    chart.MouseLeave();
    EXPECT_FALSE(chart.Panner().DragActive());

    // Only the named direction; a handler may change or veto one axis.
    chart.Panner().SetAllowPanning(pmVertical);
    chart.OnAllowScroll = [&](TChartAxis& a, double& lo, double& hi, bool& allow) {
        if (&a == &chart.RightAxis())
            allow = false;
        if (&a == &l) {
            lo = 1;
            hi = 2;
        }
    };
    const Range right = {chart.RightAxis().Minimum(), chart.RightAxis().Maximum()};
    const double bMin = b.Minimum();
    chart.MouseDown(200, 150, mbRight, 0);
    chart.MouseMove(220, 170, 0);
    EXPECT_EQ(b.Minimum(), bMin);
    EXPECT_EQ(l.Minimum(), 1);
    EXPECT_EQ(l.Maximum(), 2);
    EXPECT_EQ(chart.RightAxis().Minimum(), right.min);
    EXPECT_EQ(chart.RightAxis().Maximum(), right.max);
    chart.MouseUp(220, 170, mbLeft);
    EXPECT_FALSE(chart.Panner().DragActive());

    chart.Panner().SetAllowPanning(pmNone);
    chart.MouseDown(200, 150, mbRight, 0);
    EXPECT_FALSE(chart.Panner().DragActive());
}

TEST_F(ZoomTest, WheelNotchScrollsTheVerticalAxesByThreePercentAndRepaintsAtOnce) {
    TChartAxis& l = chart.LeftAxis();
    l.SetMinMaxRange(0.01, 1000);
    l.SetLogarithmic(true);
    auto* onRight = &chart.AddSeries(std::make_unique<TChartSeries>());
    onRight->SetVertAxis(aRightAxis);
    onRight->AddPoint(10, 10);
    onRight->AddPoint(20, 30);
    chart.RightAxis().SetAutomatic(true);
    paint();
    ASSERT_EQ(chart.RightAxis().Minimum(), 10);
    ASSERT_EQ(chart.RightAxis().Maximum(), 30);
    const double rMin = chart.RightAxis().Minimum(), rMax = chart.RightAxis().Maximum();
    const Range bottom = {chart.BottomAxis().Minimum(), chart.BottomAxis().Maximum()};
    const Flags rightFlags = flagsOf(chart.RightAxis());

    chart.MouseWheel(1); // one notch up: 3 % of five decades on the time axis
    const double f = std::pow(1e5, 0.03);
    EXPECT_EQ(l.Minimum(), 0.01 / f);
    EXPECT_EQ(l.Maximum(), 1000 / f);
    EXPECT_EQ(host.repaints, 1);
    EXPECT_FALSE(chart.Zoomer().ScalesRestored());
    EXPECT_EQ(flagsOf(chart.RightAxis()), (Flags{false, false, false}));
    const double rd = (rMax - rMin) * 0.03;
    EXPECT_EQ(chart.RightAxis().Minimum(), rMin - rd);
    EXPECT_EQ(chart.RightAxis().Maximum(), rMax - rd);
    EXPECT_EQ(chart.BottomAxis().Minimum(), bottom.min);
    EXPECT_EQ(chart.BottomAxis().Maximum(), bottom.max);

    chart.MouseWheel(-2); // two down
    EXPECT_DOUBLE_EQ(l.Minimum(), 0.01 * f);
    EXPECT_DOUBLE_EQ(l.Maximum(), 1000 * f);
    EXPECT_EQ(host.repaints, 2);
    EXPECT_EQ(zooms + undos, 0);

    // The undo drag brings back the view from before the first turn.
    drag(300, 250, 100, 100);
    EXPECT_EQ(l.Minimum(), 0.01);
    EXPECT_EQ(l.Maximum(), 1000);
    EXPECT_EQ(flagsOf(chart.RightAxis()), rightFlags);
}

TEST_F(ZoomTest, PanningOnLogarithmicAxesKeepsTheSpanInDecades) {
    TChartAxis& b = chart.BottomAxis();
    TChartAxis& l = chart.LeftAxis();
    b.SetMinMaxRange(10, 100000);
    b.SetLogarithmic(true);
    l.SetMinMaxRange(0.01, 10);
    l.SetLogarithmic(true);
    paint();
    const double rx = b.PixelToValue(200) / b.PixelToValue(230);
    const double ry = l.PixelToValue(200) / l.PixelToValue(180);
    chart.MouseDown(200, 200, mbRight, 0);
    chart.MouseMove(230, 180, 0); // right 30, up 20
    EXPECT_EQ(b.Minimum(), 10 * rx);
    EXPECT_EQ(b.Maximum(), 100000 * rx);
    EXPECT_EQ(l.Minimum(), 0.01 * ry);
    EXPECT_EQ(l.Maximum(), 10 * ry);
    EXPECT_NEAR(std::log10(b.Maximum() / b.Minimum()), 4, 1e-12);
    chart.MouseUp(230, 180, mbRight);
    drag(300, 250, 100, 100);
    EXPECT_EQ(b.Minimum(), 10);
    EXPECT_EQ(b.Maximum(), 100000);
    EXPECT_EQ(l.Minimum(), 0.01);
    EXPECT_EQ(l.Maximum(), 10);
}

// The labels of a time axis whose range was set below 0: a minimum at or below 0 counts as 1,
// so 1 sits at the lower end and 0.01 lies beyond it, still drawn.

TEST_F(ZoomTest, WheelOnTheTimeAxisLeavesSmallLabelsBelowTheLowerEnd) {
    TChartAxis& l = chart.LeftAxis();
    l.SetMinMaxRange(0.01, 1000);
    l.SetLogarithmic(true);
    std::vector<double> table;
    for (int e = -2; e <= 3; ++e)
        for (int m = 1; m <= 9; ++m)
            table.push_back(m * std::pow(10.0, e));
    chart.OnGetNextAxisLabel = [&](TChartAxis& a, int i, double& v, bool& stop) {
        if (&a != &l)
            return;
        stop = false;
        v = i < static_cast<int>(table.size()) ? table[i] : 1e9;
    };
    chart.BottomAxis().SetLabels(false);
    const double d = (1000 - 0.01) * 0.03;
    l.SetMinMaxRange(0.01 - d, 1000 - d);
    paint();
    const auto one = host.screen.textsEqual("1");
    const auto small = host.screen.textsEqual("0.01");
    const auto top = host.screen.textsEqual("900");
    ASSERT_EQ(one.size(), 1u);
    ASSERT_EQ(small.size(), 1u);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_TRUE(host.screen.textsEqual("1,000").empty()); // above 970
    // Vertical labels are centred on their pixel.
    const int half = one[0].pts[0].y - l.ValueToPixel(1);
    EXPECT_EQ(l.ValueToPixel(1), l.ScaleMap().EndPixel());
    EXPECT_GT(small[0].pts[0].y - half, l.ScaleMap().EndPixel());
    EXPECT_EQ(small[0].pts[0].y - half, l.ValueToPixel(0.01));
    EXPECT_LT(top[0].pts[0].y - half, l.ScaleMap().EndPixel());
}

TEST_F(ZoomTest, OnlyPressesOnThePlotOrAnAxisStartADrag) {
    chart.Title().SetText({"保護協調曲線"});
    paint();
    const TRect plot = chart.ChartRect();
    chart.MouseDown(5, 5, mbLeft, 0);                                       // panel corner
    chart.MouseDown((plot.left + plot.right) / 2, plot.top - 8, mbLeft, 0); // title
    chart.MouseDown(plot.right + 10, 200, mbRight, 0);
    EXPECT_FALSE(chart.Zoomer().DragActive() || chart.Panner().DragActive());
    EXPECT_EQ(host.directDraws, 0);

    // The bottom axis line lies just below the plot.
    TChartAxis* clicked = nullptr;
    chart.OnClickAxis = [&](TCustomChart&, TChartAxis& a, TMouseButton, int, int, int) {
        clicked = &a;
    };
    chart.MouseDown(200, chart.BottomAxis().AxisLinePos() + 1, mbLeft, 0);
    EXPECT_EQ(clicked, &chart.BottomAxis());
    EXPECT_TRUE(chart.Zoomer().DragActive());
    EXPECT_EQ(host.cursors.back(), crDefault);
    chart.MouseDown(200, 200, mbRight, 0); // ignored while a drag is active
    EXPECT_FALSE(chart.Panner().DragActive());
    chart.MouseUp(200, 200, mbRight); // the zoom drag goes on
    EXPECT_TRUE(chart.Zoomer().DragActive());
    chart.MouseLeave();
    EXPECT_TRUE(chart.Zoomer().DragActive());
    chart.MouseUp(200, 200, mbLeft);
    EXPECT_FALSE(chart.Zoomer().DragActive());

    // The plot area, and a handler cancelling the drag.
    int background = 0;
    chart.OnClickBackground = [&](TCustomChart& c, TMouseButton, int, int, int) {
        ++background;
        c.CancelMouse = true;
    };
    chart.MouseDown(250, 120, mbLeft, 0);
    EXPECT_EQ(background, 1);
    EXPECT_FALSE(chart.Zoomer().DragActive());
    chart.OnClickBackground = nullptr;
    chart.Zoomer().SetAllowZoom(false);
    chart.MouseDown(250, 120, mbLeft, 0);
    EXPECT_FALSE(chart.Zoomer().DragActive());
    chart.Zoomer().SetAllowZoom(true);

    // A point of the series.
    int index = -2;
    chart.OnClickSeries = [&](TCustomChart&, TChartSeries&, int i, TMouseButton, int, int, int) {
        index = i;
    };
    const int px = chart.BottomAxis().ValueToPixel(40), py = chart.LeftAxis().ValueToPixel(20);
    chart.MouseDown(px + 2, py - 1, mbLeft, 0);
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(chart.Zoomer().DragActive());
    chart.MouseUp(px + 2, py - 1, mbLeft);

    // Without an active series the plot area starts nothing.
    series->SetActive(false);
    paint();
    chart.MouseDown(250, 120, mbLeft, 0);
    EXPECT_FALSE(chart.Zoomer().DragActive());
}

TEST_F(ZoomTest, CursorFollowsThePanelOutsideDrags) {
    chart.SetCursor(crCross);
    EXPECT_EQ(host.cursors.back(), crCross);
    chart.MouseMove(250, 150, 0);
    EXPECT_EQ(host.cursors.back(), crCross);
    chart.MouseDown(250, 150, mbRight, 0);
    EXPECT_EQ(host.cursors.back(), crDefault);
    chart.MouseLeave();
    EXPECT_EQ(host.cursors.back(), crCross);
    EXPECT_FALSE(chart.Panner().DragActive());
}
