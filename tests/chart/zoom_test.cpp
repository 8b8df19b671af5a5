// Mouse zoom: the drag, its frame, undo and the saved scales.
#include "zoom_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace telvara;
using namespace telvara::test;
using namespace telvara::test::mouse;

TEST_F(ZoomTest, DragRightDownZoomsOntoTheValuesUnderTheEdgesInSevenFrames) {
    ASSERT_LT(chart.ChartRect().left, 100);
    ASSERT_LT(chart.ChartRect().top, 100);
    ASSERT_GT(chart.ChartRect().right, 300);
    ASSERT_GT(chart.ChartRect().bottom, 250);
    chart.Zoomer().SetAnimatedZoom(true);
    const Ranges before = rangesOf(chart);
    const Ranges want = underRect(100, 100, 300, 250);

    drag(100, 100, 300, 250);
    EXPECT_EQ(host.repaints, 7);
    ASSERT_EQ(host.frames.size(), 7u);
    expectThirds(before, want, host.frames);
    expectRanges(rangesOf(chart), want);
    for (TChartAxis* a : {&chart.TopAxis(), &chart.LeftAxis(), &chart.RightAxis()})
        EXPECT_EQ(flagsOf(*a), (Flags{false, false, false}));
    EXPECT_TRUE(chart.Zoomer().Zoomed());
    EXPECT_FALSE(chart.Zoomer().ScalesRestored());
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(undos, 0);
    EXPECT_FALSE(chart.Zoomer().DragActive());
    EXPECT_TRUE(chart.Dirty());

    // Without the animation: no immediate repaint, the same end.
    TChart plain;
    TestHost plainHost;
    plainHost.chart = &plain;
    plain.SetHost(&plainHost);
    plain.SetBounds(600, 400);
    plain.BottomAxis().SetMinMaxRange(0, 1000);
    plain.AddSeries(std::make_unique<TChartSeries>());
    plain.SeriesAt(0)->AddPoint(1, 1);
    plainHost.paint();
    const double lo = plain.BottomAxis().PixelToValue(120);
    const double hi = plain.BottomAxis().PixelToValue(220);
    plain.MouseDown(120, 120, mbLeft, 0);
    plain.MouseUp(220, 220, mbLeft);
    EXPECT_EQ(plainHost.repaints, 0);
    EXPECT_EQ(plain.BottomAxis().Minimum(), lo);
    EXPECT_EQ(plain.BottomAxis().Maximum(), hi);
}

TEST_F(ZoomTest, ZoomFrameIsDrawnNotXorAndRemovedByDrawingItAgain) {
    chart.SetColor(clWhite);
    chart.MouseDown(100, 100, mbLeft, 0);
    chart.MouseMove(150, 120, 0);
    chart.MouseMove(150, 120, 0); // same place: nothing
    chart.MouseMove(140, 90, 0);  // up and left of the start
    auto frames = host.direct.of(OpKind::Rectangle);
    ASSERT_EQ(frames.size(), 5u);
    const TRect want[] = {{100, 100, 100, 100},
                          {100, 100, 100, 100},
                          {100, 100, 150, 120},
                          {100, 100, 150, 120},
                          {100, 90, 140, 100}};
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].rect, want[i]) << i;
        EXPECT_EQ(frames[i].pen, (TPenState{clBlack, 1, psSolid, pmNotXor})) << i;
        EXPECT_EQ(frames[i].brush.style, bsClear) << i;
    }
    EXPECT_EQ(host.direct.Pen().mode, pmCopy);

    // A repaint during the drag keeps the frame, as the last thing drawn.
    host.paint();
    auto painted = host.screen.of(OpKind::Rectangle);
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted.back().rect, (TRect{100, 90, 140, 100}));
    EXPECT_EQ(painted.back().pen, (TPenState{clBlack, 1, psSolid, pmNotXor}));

    chart.MouseUp(141, 91, mbLeft); // removed at the last place drawn
    frames = host.direct.of(OpKind::Rectangle);
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[5].rect, (TRect{100, 90, 140, 100}));
    host.paint();
    for (const auto& op : host.screen.of(OpKind::Rectangle))
        EXPECT_NE(op.pen.mode, pmNotXor);

    // Any other panel colour is the pen colour, resolved to RGB.
    chart.SetColor(clBtnFace);
    host.direct.clear();
    chart.MouseDown(100, 100, mbLeft, 0);
    ASSERT_EQ(host.direct.of(OpKind::Rectangle).size(), 1u);
    EXPECT_EQ(host.direct.of(OpKind::Rectangle)[0].pen.color, 0xC0C0C0u);
}

TEST_F(ZoomTest, EveryOtherDirectionUndoes) {
    const Ranges before = rangesOf(chart);
    const struct {
        int x0, y0, x1, y1;
    } drags[] = {{300, 250, 100, 100}, {100, 250, 300, 100}, {300, 100, 100, 250}};
    int n = 0;
    for (auto d : drags) {
        drag(100, 100, 300, 250);
        paint();
        ASSERT_TRUE(chart.Zoomer().Zoomed());
        drag(d.x0, d.y0, d.x1, d.y1);
        ++n;
        EXPECT_EQ(undos, n);
        EXPECT_FALSE(chart.Zoomer().Zoomed());
        EXPECT_TRUE(chart.Zoomer().ScalesRestored());
        expectRanges(rangesOf(chart), before);
        paint();
    }
    EXPECT_EQ(zooms, 3);

    // Nothing saved: no axis changes, the event is still raised.
    chart.LeftAxis().SetMinMaxRange(3, 4);
    const int inval = host.invalidations;
    drag(300, 250, 100, 100);
    EXPECT_EQ(undos, 4);
    EXPECT_EQ(chart.LeftAxis().Minimum(), 3);
    EXPECT_EQ(chart.LeftAxis().Maximum(), 4);
    EXPECT_GT(host.invalidations, inval);
}

TEST_F(ZoomTest, DragsOfSixteenPixelsOrLessInEitherDirectionDoNothing) {
    const Ranges before = rangesOf(chart);
    for (auto [dx, dy] : {std::pair{200, 10}, {10, 200}, {16, 16}, {-200, 16}, {16, -200}}) {
        drag(200, 150, 200 + dx, 150 + dy);
        expectRanges(rangesOf(chart), before);
    }
    EXPECT_EQ(zooms, 0);
    EXPECT_EQ(undos, 0);
    EXPECT_TRUE(chart.Zoomer().ScalesRestored());
    const Ranges want = underRect(200, 150, 217, 167);
    drag(200, 150, 217, 167);
    EXPECT_EQ(zooms, 1);
    expectRanges(rangesOf(chart), want);
}

TEST_F(ZoomTest, ZoomZoomPanUndoRestoresRangesAndFlagsFromBeforeTheFirstZoom) {
    chart.LeftAxis().SetAutomatic(true); // follows the series
    auto* onRight = &chart.AddSeries(std::make_unique<TChartSeries>());
    onRight->SetVertAxis(aRightAxis);
    onRight->AddPoint(10, 30);
    chart.RightAxis().SetMinMaxRange(0, 5);
    chart.RightAxis().SetAutomaticMaximum(true); // the minimum stays 0
    paint();
    ASSERT_EQ(chart.RightAxis().Maximum(), 30);
    const Ranges before = rangesOf(chart);
    const Flags flags[] = {flagsOf(chart.TopAxis()), flagsOf(chart.LeftAxis()),
                           flagsOf(chart.RightAxis()), flagsOf(chart.BottomAxis())};
    EXPECT_EQ(flags[1], (Flags{true, true, true}));
    EXPECT_EQ(flags[2], (Flags{false, false, true}));

    drag(100, 100, 300, 250);
    paint();
    drag(120, 110, 280, 240);
    paint();
    drag(200, 200, 150, 120, mbRight);
    EXPECT_GT(scrolls, 0);
    EXPECT_EQ(zooms, 2);
    drag(300, 250, 100, 100);
    EXPECT_EQ(undos, 1);
    EXPECT_EQ(flagsOf(chart.TopAxis()), flags[0]);
    EXPECT_EQ(flagsOf(chart.LeftAxis()), flags[1]);
    EXPECT_EQ(flagsOf(chart.RightAxis()), flags[2]);
    EXPECT_EQ(flagsOf(chart.BottomAxis()), flags[3]);
    paint(); // automatic ends follow the series again
    expectRanges(rangesOf(chart), before);
}

TEST_F(ZoomTest, RangeSetByTheProgramWhileZoomedIsReplacedByTheUndo) {
    const Ranges before = rangesOf(chart);
    drag(100, 100, 300, 250);
    chart.BottomAxis().SetMinMaxRange(7, 9);
    chart.LeftAxis().SetMinMaxRange(-1, 1);
    drag(300, 250, 100, 100);
    expectRanges(rangesOf(chart), before);
}

TEST_F(ZoomTest, LogLogZoomLandsOnTheValuesUnderTheEdges) {
    chart.Zoomer().SetAnimatedZoom(true);
    chart.BottomAxis().SetMinMaxRange(10, 100000);
    chart.BottomAxis().SetLogarithmic(true);
    chart.LeftAxis().SetMinMaxRange(0.01, 1000);
    chart.LeftAxis().SetLogarithmic(true);
    paint();
    const Ranges before = rangesOf(chart);
    const Ranges want = underRect(100, 100, 300, 250);
    drag(100, 100, 300, 250);
    expectRanges(rangesOf(chart), want);
    ASSERT_EQ(host.frames.size(), 7u);
    expectThirds(before, want, host.frames);
    EXPECT_GT(want[3].min, 10);
    EXPECT_LT(want[3].max, 100000);
}
