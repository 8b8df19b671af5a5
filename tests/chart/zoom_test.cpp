// Mouse zoom, panning, the wheel and what a press hits.
#include "chart/chart.h"
#include "recording_canvas.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

using namespace telvara;
using telvara::test::OpKind;
using telvara::test::RecordingCanvas;

namespace {

struct Range {
    double min, max;
};

// Top, left, right, bottom.
using Ranges = std::array<Range, 4>;

// A window for the chart: immediate repaints paint the whole chart on a
// recording surface and note the ranges each frame shows.
struct TestHost : TChartHost {
    TCustomChart* chart = nullptr;
    RecordingCanvas screen;
    RecordingCanvas direct; // what the window shows between paints
    int invalidations = 0;
    int repaints = 0;
    int directDraws = 0;
    std::vector<Ranges> frames;
    std::vector<TCursor> cursors;

    void InvalidateChart() override { ++invalidations; }
    void RepaintChartNow() override {
        ++repaints;
        paint();
    }
    void SetChartCursor(TCursor c) override { cursors.push_back(c); }
    TCanvas3D* BeginDirectDraw() override {
        ++directDraws;
        return &direct;
    }

    void paint() {
        screen.clear();
        chart->DrawChart(screen, {0, 0, chart->Width(), chart->Height()});
        Ranges r;
        TChartAxis* axes[] = {&chart->TopAxis(), &chart->LeftAxis(), &chart->RightAxis(),
                              &chart->BottomAxis()};
        for (int i = 0; i < 4; ++i)
            r[i] = {axes[i]->Minimum(), axes[i]->Maximum()};
        frames.push_back(r);
    }
};

Ranges rangesOf(TCustomChart& c) {
    return {Range{c.TopAxis().Minimum(), c.TopAxis().Maximum()},
            Range{c.LeftAxis().Minimum(), c.LeftAxis().Maximum()},
            Range{c.RightAxis().Minimum(), c.RightAxis().Maximum()},
            Range{c.BottomAxis().Minimum(), c.BottomAxis().Maximum()}};
}

struct Flags {
    bool a, lo, hi;
    friend bool operator==(const Flags&, const Flags&) = default;
};
Flags flagsOf(const TChartAxis& a) {
    return {a.Automatic(), a.AutomaticMinimum(), a.AutomaticMaximum()};
}

class ZoomTest : public ::testing::Test {
protected:
    TChart chart;
    TestHost host;
    TChartSeries* series = new TChartSeries;
    int zooms = 0, undos = 0, scrolls = 0;

    void SetUp() override {
        host.chart = &chart;
        chart.SetHost(&host);
        chart.SetBounds(600, 400);
        chart.SetView3D(false);
        chart.Legend().SetVisible(false);
        chart.AttachSeries(series);
        for (double x : {10.0, 20.0, 40.0, 80.0})
            series->AddPoint(x, x / 2);
        chart.BottomAxis().SetMinMaxRange(0, 1000);
        chart.LeftAxis().SetMinMaxRange(-50, 150);
        chart.TopAxis().SetMinMaxRange(5, 25);
        chart.RightAxis().SetMinMaxRange(1, 2);
        chart.OnZoom = [this](TCustomChartPanel&) { ++zooms; };
        chart.OnUndoZoom = [this](TCustomChartPanel&) { ++undos; };
        chart.OnScroll = [this](TCustomChartPanel&) { ++scrolls; };
        paint();
    }

    void paint() {
        host.paint();
        host.frames.clear();
        host.repaints = 0;
    }

    void drag(int x0, int y0, int x1, int y1, TMouseButton b = mbLeft) {
        chart.MouseDown(x0, y0, b, 0);
        chart.MouseMove((x0 + x1) / 2, (y0 + y1) / 2, 0);
        chart.MouseMove(x1, y1, 0);
        chart.MouseUp(x1, y1, b);
    }

    // Values under the rectangle's edges, in the order of rangesOf.
    Ranges underRect(int x0, int y0, int x1, int y1) {
        auto h = [&](TChartAxis& a) { return Range{a.PixelToValue(x0), a.PixelToValue(x1)}; };
        auto v = [&](TChartAxis& a) { return Range{a.PixelToValue(y1), a.PixelToValue(y0)}; };
        return {h(chart.TopAxis()), v(chart.LeftAxis()), v(chart.RightAxis()),
                h(chart.BottomAxis())};
    }
};

void expectRanges(const Ranges& got, const Ranges& want) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(got[i].min, want[i].min) << "axis " << i;
        EXPECT_EQ(got[i].max, want[i].max) << "axis " << i;
    }
}

// Each frame moves both ends of every axis a third of the way that is left.
void expectThirds(const Ranges& from, const Ranges& to, const std::vector<Ranges>& frames) {
    Ranges cur = from;
    for (size_t f = 0; f < frames.size(); ++f) {
        for (int i = 0; i < 4; ++i) {
            cur[i] = {cur[i].min + (to[i].min - cur[i].min) / 3,
                      cur[i].max - (cur[i].max - to[i].max) / 3};
            EXPECT_EQ(frames[f][i].min, cur[i].min) << "frame " << f << " axis " << i;
            EXPECT_EQ(frames[f][i].max, cur[i].max) << "frame " << f << " axis " << i;
        }
    }
}

} // namespace

TEST_F(ZoomTest, DragRightDownZoomsOntoTheValuesUnderTheEdgesInSevenFrames) {
    ASSERT_LT(chart.ChartRect.left, 100);
    ASSERT_LT(chart.ChartRect.top, 100);
    ASSERT_GT(chart.ChartRect.right, 300);
    ASSERT_GT(chart.ChartRect.bottom, 250);
    chart.SetAnimatedZoom(true);
    const Ranges before = rangesOf(chart);
    const Ranges want = underRect(100, 100, 300, 250);

    drag(100, 100, 300, 250);
    EXPECT_EQ(host.repaints, 7);
    ASSERT_EQ(host.frames.size(), 7u);
    expectThirds(before, want, host.frames);
    expectRanges(rangesOf(chart), want);
    for (TChartAxis* a : {&chart.TopAxis(), &chart.LeftAxis(), &chart.RightAxis()})
        EXPECT_EQ(flagsOf(*a), (Flags{false, false, false}));
    EXPECT_TRUE(chart.Zoomed());
    EXPECT_FALSE(chart.ScalesRestored());
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(undos, 0);
    EXPECT_FALSE(chart.Zoom.DragActive);
    EXPECT_TRUE(chart.Dirty());

    // Without the animation: no immediate repaint, the same end.
    TChart plain;
    TestHost plainHost;
    plainHost.chart = &plain;
    plain.SetHost(&plainHost);
    plain.SetBounds(600, 400);
    plain.BottomAxis().SetMinMaxRange(0, 1000);
    plain.AttachSeries(new TChartSeries);
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
        ASSERT_TRUE(chart.Zoomed());
        drag(d.x0, d.y0, d.x1, d.y1);
        ++n;
        EXPECT_EQ(undos, n);
        EXPECT_FALSE(chart.Zoomed());
        EXPECT_TRUE(chart.ScalesRestored());
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
    EXPECT_TRUE(chart.ScalesRestored());
    const Ranges want = underRect(200, 150, 217, 167);
    drag(200, 150, 217, 167);
    EXPECT_EQ(zooms, 1);
    expectRanges(rangesOf(chart), want);
}

TEST_F(ZoomTest, ZoomZoomPanUndoRestoresRangesAndFlagsFromBeforeTheFirstZoom) {
    chart.LeftAxis().SetAutomatic(true); // follows the series
    auto* onRight = new TChartSeries;
    onRight->SetVertAxis(aRightAxis);
    chart.AttachSeries(onRight);
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

TEST_F(ZoomTest, PanningMovesByTheMouseAndStopsOnLeavingThePlot) {
    TChartAxis& b = chart.BottomAxis();
    TChartAxis& l = chart.LeftAxis();
    const double perX = 1000.0 / b.AxisLength, perY = 200.0 / l.AxisLength;
    const TRect plot = chart.ChartRect;
    chart.MouseDown(200, 200, mbRight, 0);
    EXPECT_TRUE(chart.Panning.DragActive);
    chart.MouseMove(230, 190, 0); // right 30, up 10
    EXPECT_EQ(scrolls, 1);
    EXPECT_FALSE(chart.ScalesRestored());
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
    EXPECT_FALSE(chart.Panning.DragActive);
    chart.MouseMove(200, 150, 0);
    expectRanges(rangesOf(chart), atEdge);
    chart.MouseUp(200, 150, mbRight);

    chart.MouseDown(200, 150, mbRight, 0); // a new press pans again
    chart.MouseMove(210, 150, 0);
    EXPECT_NEAR(b.Minimum(), -50 * perX, 1e-9);
    chart.MouseLeave();
    EXPECT_FALSE(chart.Panning.DragActive);

    // Only the named direction; a handler may change or veto one axis.
    chart.SetAllowPanning(pmVertical);
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
    EXPECT_FALSE(chart.Panning.DragActive);

    chart.SetAllowPanning(pmNone);
    chart.MouseDown(200, 150, mbRight, 0);
    EXPECT_FALSE(chart.Panning.DragActive);
}

TEST_F(ZoomTest, WheelNotchScrollsTheVerticalAxesByThreePercentAndRepaintsAtOnce) {
    TChartAxis& l = chart.LeftAxis();
    l.SetMinMaxRange(0.01, 1000);
    l.SetLogarithmic(true);
    auto* onRight = new TChartSeries;
    onRight->SetVertAxis(aRightAxis);
    chart.AttachSeries(onRight);
    onRight->AddPoint(10, 10);
    onRight->AddPoint(20, 30);
    chart.RightAxis().SetAutomatic(true);
    paint();
    ASSERT_EQ(chart.RightAxis().Minimum(), 10);
    ASSERT_EQ(chart.RightAxis().Maximum(), 30);
    const double rMin = chart.RightAxis().Minimum(), rMax = chart.RightAxis().Maximum();
    const Range bottom = {chart.BottomAxis().Minimum(), chart.BottomAxis().Maximum()};

    chart.MouseWheel(1); // one notch up
    EXPECT_DOUBLE_EQ(l.Minimum(), 0.01 - 29.9997);
    EXPECT_DOUBLE_EQ(l.Maximum(), 1000 - 29.9997);
    const double d = (1000 - 0.01) * 0.03;
    EXPECT_EQ(l.Minimum(), 0.01 - d);
    EXPECT_EQ(l.Maximum(), 1000 - d);
    EXPECT_EQ(host.repaints, 1);
    EXPECT_TRUE(chart.ScalesRestored());
    EXPECT_EQ(flagsOf(chart.RightAxis()), (Flags{false, false, false}));
    const double rd = (rMax - rMin) * 0.03;
    EXPECT_EQ(chart.RightAxis().Minimum(), rMin - rd);
    EXPECT_EQ(chart.RightAxis().Maximum(), rMax - rd);
    EXPECT_EQ(chart.BottomAxis().Minimum(), bottom.min);
    EXPECT_EQ(chart.BottomAxis().Maximum(), bottom.max);

    chart.MouseWheel(-1); // one down
    EXPECT_NEAR(l.Minimum(), 0.01, 1e-9);
    EXPECT_NEAR(l.Maximum(), 1000, 1e-9);
    EXPECT_EQ(host.repaints, 2);
    EXPECT_EQ(zooms + undos, 0);
}

// The labels of the scrolled time axis: a minimum at or below 0 counts as 1,
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
    chart.MouseWheel(1);
    ASSERT_EQ(host.repaints, 1);
    const auto one = host.screen.textsEqual("1");
    const auto small = host.screen.textsEqual("0.01");
    const auto top = host.screen.textsEqual("900");
    ASSERT_EQ(one.size(), 1u);
    ASSERT_EQ(small.size(), 1u);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_TRUE(host.screen.textsEqual("1,000").empty()); // above 970
    // Vertical labels are centred on their pixel.
    const int half = one[0].pts[0].y - l.ValueToPixel(1);
    EXPECT_EQ(l.ValueToPixel(1), l.EndPixel);
    EXPECT_GT(small[0].pts[0].y - half, l.EndPixel);
    EXPECT_EQ(small[0].pts[0].y - half, l.ValueToPixel(0.01));
    EXPECT_LT(top[0].pts[0].y - half, l.EndPixel);
}

TEST_F(ZoomTest, LogLogZoomLandsOnTheValuesUnderTheEdges) {
    chart.SetAnimatedZoom(true);
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

TEST_F(ZoomTest, OnlyPressesOnThePlotOrAnAxisStartADrag) {
    chart.Title().SetText({"保護協調曲線"});
    paint();
    const TRect plot = chart.ChartRect;
    chart.MouseDown(5, 5, mbLeft, 0);                                       // panel corner
    chart.MouseDown((plot.left + plot.right) / 2, plot.top - 8, mbLeft, 0); // title
    chart.MouseDown(plot.right + 10, 200, mbRight, 0);
    EXPECT_FALSE(chart.Zoom.DragActive || chart.Panning.DragActive);
    EXPECT_EQ(host.directDraws, 0);

    // The bottom axis line lies just below the plot.
    TChartAxis* clicked = nullptr;
    chart.OnClickAxis = [&](TCustomChart&, TChartAxis& a, TMouseButton, int, int, int) {
        clicked = &a;
    };
    chart.MouseDown(200, chart.BottomAxis().AxisLinePos + 1, mbLeft, 0);
    EXPECT_EQ(clicked, &chart.BottomAxis());
    EXPECT_TRUE(chart.Zoom.DragActive);
    EXPECT_EQ(host.cursors.back(), crDefault);
    chart.MouseDown(200, 200, mbRight, 0); // ignored while a drag is active
    EXPECT_FALSE(chart.Panning.DragActive);
    chart.MouseUp(200, 200, mbRight); // the zoom drag goes on
    EXPECT_TRUE(chart.Zoom.DragActive);
    chart.MouseLeave();
    EXPECT_TRUE(chart.Zoom.DragActive);
    chart.MouseUp(200, 200, mbLeft);
    EXPECT_FALSE(chart.Zoom.DragActive);

    // The plot area, and a handler cancelling the drag.
    int background = 0;
    chart.OnClickBackground = [&](TCustomChart& c, TMouseButton, int, int, int) {
        ++background;
        c.CancelMouse = true;
    };
    chart.MouseDown(250, 120, mbLeft, 0);
    EXPECT_EQ(background, 1);
    EXPECT_FALSE(chart.Zoom.DragActive);
    chart.OnClickBackground = nullptr;
    chart.SetAllowZoom(false);
    chart.MouseDown(250, 120, mbLeft, 0);
    EXPECT_FALSE(chart.Zoom.DragActive);
    chart.SetAllowZoom(true);

    // A point of the series.
    int index = -2;
    chart.OnClickSeries = [&](TCustomChart&, TChartSeries&, int i, TMouseButton, int, int, int) {
        index = i;
    };
    const int px = chart.BottomAxis().ValueToPixel(40), py = chart.LeftAxis().ValueToPixel(20);
    chart.MouseDown(px + 2, py - 1, mbLeft, 0);
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(chart.Zoom.DragActive);
    chart.MouseUp(px + 2, py - 1, mbLeft);

    // Without an active series the plot area starts nothing.
    series->SetActive(false);
    paint();
    chart.MouseDown(250, 120, mbLeft, 0);
    EXPECT_FALSE(chart.Zoom.DragActive);
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
    EXPECT_FALSE(chart.Panning.DragActive);
}
