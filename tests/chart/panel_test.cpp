// Chart panel: defaults, plot rectangle, background, frame, repaint rule,
// paint order, 3D depth, palette.
#include "chart/chart.h"
#include "chart/math_util.h"
#include "recording_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace telvara;
using telvara::test::Op;
using telvara::test::OpKind;
using telvara::test::RecordingCanvas;

namespace {

struct CountingHost : TChartHost {
    int invalidations = 0, released = 0;
    TCursor cursor = crArrow;
    void InvalidateChart() override { ++invalidations; }
    void RepaintChartNow() override {}
    void SetChartCursor(TCursor c) override { cursor = c; }
    void ReleaseBuffer() override { ++released; }
};

} // namespace

TEST(Panel, ConstructionDefaults) {
    TChart chart;
    EXPECT_EQ(chart.Width(), 400);
    EXPECT_EQ(chart.Height(), 250);
    EXPECT_EQ(chart.Chart3DPercent(), 15);
    EXPECT_TRUE(chart.View3D());
    EXPECT_EQ(chart.MarginLeft(), 3);
    EXPECT_EQ(chart.MarginTop(), 4);
    EXPECT_EQ(chart.MarginRight(), 3);
    EXPECT_EQ(chart.MarginBottom(), 4);
    EXPECT_EQ(colorToRGB(chart.Color()), 0xC0C0C0u);
    EXPECT_EQ(chart.BevelOuter(), bvRaised);
    EXPECT_EQ(chart.BevelInner(), bvNone);
    EXPECT_EQ(chart.BevelWidth(), 1);
    EXPECT_EQ(chart.BorderWidth(), 0);
    EXPECT_TRUE(chart.AxisVisible());
    EXPECT_TRUE(chart.ClipPoints());
    EXPECT_TRUE(chart.View3DWalls());
    EXPECT_TRUE(chart.AutoRepaint());
    EXPECT_TRUE(chart.Dirty());
    EXPECT_TRUE(chart.BufferedDisplay());
    EXPECT_FALSE(chart.Printing());
    EXPECT_FALSE(chart.Zoomer().DragActive());
    EXPECT_FALSE(chart.Panner().DragActive());
    const TView3DOptions& o = chart.View3DOptions();
    EXPECT_TRUE(o.Orthogonal);
    EXPECT_EQ(o.Zoom, 100);
    EXPECT_EQ(o.Rotation, 345);
    EXPECT_EQ(o.Elevation, 345);
    EXPECT_EQ(o.Perspective, 15);
    EXPECT_EQ(chart.Gradient().Direction(), gdTopBottom);
    EXPECT_EQ(chart.Gradient().StartColor(), 0xFFFFFFu);
    EXPECT_EQ(chart.Gradient().EndColor(), 0x00FFFFu);
    EXPECT_FALSE(chart.Gradient().Visible());
    // Furniture defaults.
    EXPECT_EQ(chart.Title().Font().Color(), clBlue);
    EXPECT_EQ(chart.Title().Alignment(), taCenter);
    EXPECT_TRUE(chart.Title().Text().empty());
    EXPECT_EQ(chart.BackWall().Brush().Style(), bsClear);
    EXPECT_EQ(chart.LeftWall().Color(), 0x80FFFFu);
    EXPECT_EQ(chart.BottomWall().Color(), clWhite);
    EXPECT_EQ(chart.Legend().Alignment(), laRight);
    EXPECT_EQ(chart.Legend().ShadowSize(), 3);
}

TEST(Panel, Chart3DPercentRange) {
    TChart chart;
    for (int bad : {0, 101, -5}) {
        try {
            chart.SetChart3DPercent(bad);
            FAIL() << bad;
        } catch (const ChartException& e) {
            EXPECT_STREQ(e.what(), "３次元効果の割合は 1 から 100 の間でなければなりません");
        }
        EXPECT_EQ(chart.Chart3DPercent(), 15);
    }
    chart.SetChart3DPercent(1);
    chart.SetChart3DPercent(100);
    EXPECT_EQ(chart.Chart3DPercent(), 100);
}

TEST(Panel, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(3, 250, 100), 8);   // 7.5
    EXPECT_EQ(MulDiv(-3, 250, 100), -8); // -7.5
    EXPECT_EQ(MulDiv(4, 333, 100), 13);  // 13.32
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(RoundEven(2.5), 2);
    EXPECT_EQ(RoundEven(3.5), 4);
    EXPECT_EQ(RoundEven(-2.5), -2);
}

TEST(Panel, PlotRectangleFromMargins) {
    TChart chart;
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    RecordingCanvas c;
    chart.DrawChart(c, {0, 0, 250, 150});
    // 3 % of 250 = 7.5 -> 8; 4 % of 150 = 6.
    EXPECT_EQ(chart.ChartRect(), (TRect{8, 6, 242, 144}));
    EXPECT_EQ(chart.ChartWidth(), 234);
    EXPECT_EQ(chart.ChartHeight(), 138);
    EXPECT_EQ(chart.ChartXCenter(), 125);
    EXPECT_EQ(chart.ChartYCenter(), 75);
    chart.SetBorderWidth(2);
    chart.DrawChart(c, {10, 20, 260, 170});
    EXPECT_EQ(chart.ChartRect(), (TRect{20, 28, 250, 162}));
}

TEST(Panel, PlotRectangleNormalisation) {
    TChart chart;
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    RecordingCanvas c;
    // Margins taking more than everything: right < left gives left + 1.
    chart.SetMarginLeft(60);
    chart.SetMarginRight(60);
    chart.DrawChart(c, {0, 0, 100, 100});
    EXPECT_EQ(chart.ChartRect().left, 60);
    EXPECT_EQ(chart.ChartRect().right, 61);
    // Exactly nothing left: right = left + the panel's width.
    chart.SetMarginLeft(50);
    chart.SetMarginRight(50);
    chart.SetMarginTop(50);
    chart.SetMarginBottom(50);
    chart.DrawChart(c, {0, 0, 100, 80});
    EXPECT_EQ(chart.ChartRect(), (TRect{50, 40, 150, 120}));
    // Negative margins never move the plot outside the panel's top-left.
    chart.SetMarginLeft(-10);
    chart.SetMarginTop(-10);
    chart.DrawChart(c, {5, 5, 105, 85});
    EXPECT_EQ(chart.ChartRect().left, 5);
    EXPECT_EQ(chart.ChartRect().top, 5);
}

TEST(Panel, GradientBands) {
    TChart chart;
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    chart.SetBevelOuter(bvNone);
    chart.Gradient().SetVisible(true);
    chart.Gradient().SetEndColor(0x80FF80);
    RecordingCanvas c;
    chart.DrawChart(c, {0, 0, 50, 10});
    std::vector<Op> fills;
    for (const Op& op : c.ops)
        if (op.kind == OpKind::FillRect)
            fills.push_back(op);
    // 10 rows: 10 bands of one row each, band 0 (white) at the bottom.
    ASSERT_GE(fills.size(), 10u);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(fills[k].rect, (TRect{0, 9 - k, 50, 10 - k})) << k;
        const int red = 255 + MulDiv(k, 0x80 - 255, 9);
        EXPECT_EQ(fills[k].brush.color, rgb(red, 255, red)) << k;
        EXPECT_EQ(fills[k].brush.style, bsSolid);
    }
    EXPECT_EQ(fills[0].brush.color, 0xFFFFFFu);
    EXPECT_EQ(fills[9].brush.color, 0x80FF80u);

    // 600 rows: 256 bands; first and last rows, and one brush per colour.
    c.clear();
    chart.DrawChart(c, {0, 0, 50, 600});
    std::vector<Op> bands;
    int brushes = 0;
    bool inGradient = true;
    for (const Op& op : c.ops) {
        if (op.kind == OpKind::FillRect && inGradient)
            bands.push_back(op);
        if (op.kind == OpKind::Brush && inGradient)
            ++brushes;
        if (bands.size() == 256)
            inGradient = false;
    }
    ASSERT_EQ(bands.size(), 256u);
    EXPECT_EQ(bands[0].rect, (TRect{0, 600 - MulDiv(1, 600, 256), 50, 600}));
    EXPECT_EQ(bands[0].rect.top, 598);
    EXPECT_EQ(bands[255].rect, (TRect{0, 0, 50, 600 - MulDiv(255, 600, 256)}));
    EXPECT_EQ(bands[255].rect.bottom, 2);
    EXPECT_EQ(bands[255].brush.color, 0x80FF80u);
    int changes = 1;
    for (size_t k = 1; k < bands.size(); ++k)
        if (bands[k].brush.color != bands[k - 1].brush.color)
            ++changes;
    EXPECT_EQ(brushes, changes);
    EXPECT_LT(changes, 256); // 127 steps of red and blue over 256 bands repeat colours
    // Rows are covered without gaps.
    for (size_t k = 1; k < bands.size(); ++k)
        EXPECT_EQ(bands[k].rect.bottom, bands[k - 1].rect.top);
}

TEST(Panel, SolidBackgroundAndPrinting) {
    TChart chart;
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    chart.SetColor(clWhite);
    RecordingCanvas c;
    chart.DrawChart(c, {0, 0, 40, 30});
    ASSERT_FALSE(c.of(OpKind::FillRect).empty());
    const Op fill = c.of(OpKind::FillRect).front();
    EXPECT_EQ(fill.rect, (TRect{0, 0, 40, 30}));
    EXPECT_EQ(fill.brush.color, clWhite);
    EXPECT_FALSE(c.of(OpKind::Polyline).empty()); // bevel
    // While printing neither the fill nor the bevels are drawn.
    c.clear();
    chart.SetPrinting(true);
    chart.SetBufferedDisplay(false);
    chart.DrawChart(c, {0, 0, 40, 30});
    EXPECT_TRUE(c.of(OpKind::FillRect).empty());
    EXPECT_TRUE(c.of(OpKind::Polyline).empty());
    // A visible gradient is printed.
    c.clear();
    chart.Gradient().SetVisible(true);
    chart.DrawChart(c, {0, 0, 40, 30});
    EXPECT_EQ(c.of(OpKind::FillRect).size(), 30u);
}

TEST(Panel, FrameRings) {
    TChart chart;
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    chart.SetColor(clWhite);
    chart.SetBevelInner(bvLowered);
    chart.SetBorderWidth(1);
    RecordingCanvas c;
    chart.DrawChart(c, {0, 0, 100, 50});
    const std::vector<Op> lines = c.of(OpKind::Polyline);
    ASSERT_EQ(lines.size(), 6u);
    // Outer raised bevel: highlight top-left, shadow bottom-right.
    EXPECT_EQ(lines[0].pts, (std::vector<TPoint>{{0, 49}, {0, 0}, {99, 0}}));
    EXPECT_EQ(lines[0].pen.color, 0xFFFFFFu);
    EXPECT_EQ(lines[1].pts, (std::vector<TPoint>{{99, 0}, {99, 49}, {0, 49}}));
    EXPECT_EQ(lines[1].pen.color, 0x808080u);
    // Border ring in the panel colour, one pixel inside.
    EXPECT_EQ(lines[2].pts, (std::vector<TPoint>{{1, 48}, {1, 1}, {98, 1}}));
    EXPECT_EQ(lines[2].pen.color, clWhite);
    EXPECT_EQ(lines[3].pen.color, clWhite);
    // Inner lowered bevel: shadow top-left.
    EXPECT_EQ(lines[4].pts, (std::vector<TPoint>{{2, 47}, {2, 2}, {97, 2}}));
    EXPECT_EQ(lines[4].pen.color, 0x808080u);
    EXPECT_EQ(lines[5].pen.color, 0xFFFFFFu);
    for (const Op& l : lines) {
        EXPECT_EQ(l.pen.width, 1);
        EXPECT_EQ(l.pen.style, psSolid);
        EXPECT_EQ(l.brush.style, bsClear);
    }
}

TEST(Panel, RepaintRequestsAndCleanDirtyRule) {
    TChart chart;
    CountingHost host;
    chart.SetHost(&host);
    RecordingCanvas c;
    chart.DrawChart(c, {0, 0, 40, 30});
    EXPECT_FALSE(chart.Dirty());
    EXPECT_FALSE(chart.NeedsFullPaint());
    chart.SetView3D(true); // unchanged
    chart.Gradient().SetVisible(false);
    EXPECT_EQ(host.invalidations, 0);
    EXPECT_FALSE(chart.Dirty());
    chart.Gradient().SetVisible(true);
    EXPECT_EQ(host.invalidations, 1);
    EXPECT_TRUE(chart.NeedsFullPaint());
    chart.DrawChart(c, {0, 0, 40, 30});
    EXPECT_FALSE(chart.Dirty());
    chart.SetBounds(400, 250); // same size
    EXPECT_EQ(host.invalidations, 1);
    chart.SetBounds(500, 250);
    EXPECT_EQ(host.invalidations, 2);
    EXPECT_TRUE(chart.Dirty());
    // Buffered display off frees the bitmap and marks dirty; on again only sets the flag.
    chart.DrawChart(c, {0, 0, 40, 30});
    chart.SetBufferedDisplay(false);
    EXPECT_EQ(host.released, 1);
    EXPECT_TRUE(chart.Dirty());
    chart.DrawChart(c, {0, 0, 40, 30});
    EXPECT_TRUE(chart.Dirty()); // unbuffered drawing leaves the screen bitmap stale
    chart.SetBufferedDisplay(true);
    EXPECT_EQ(host.released, 1);
    // No paint is asked while printing.
    chart.SetPrinting(true);
    EXPECT_FALSE(chart.NeedsFullPaint());
}

TEST(Panel, BufferedDrawingGoesToTheBitmap) {
    TChart chart;
    chart.SetView3D(false);
    RecordingCanvas c;
    c.supportsBuffer = true;
    bool afterDraw = false;
    chart.OnAfterDraw = [&](TCustomChartPanel& sender) {
        EXPECT_EQ(&sender, &chart);
        // Raised before the bitmap is copied.
        EXPECT_TRUE(c.of(OpKind::EndBuffer).empty());
        afterDraw = true;
    };
    chart.DrawChart(c, {30, 40, 130, 100});
    EXPECT_TRUE(afterDraw);
    ASSERT_EQ(c.of(OpKind::BeginBuffer).size(), 1u);
    EXPECT_EQ(c.of(OpKind::BeginBuffer)[0].rect, (TRect{0, 0, 100, 60}));
    EXPECT_EQ(c.of(OpKind::EndBuffer)[0].pts[0], (TPoint{30, 40}));
    EXPECT_EQ(chart.ChartBounds(), (TRect{0, 0, 100, 60}));
    EXPECT_EQ(c.ops.back().kind, OpKind::EndBuffer);
    EXPECT_EQ(chart.Canvas(), nullptr);
}

TEST(Panel, PaintOrderAndEvents) {
    TChart chart;
    chart.SetView3D(false);
    RecordingCanvas c;
    std::vector<std::string> order;
    chart.OnBeforeDrawAxes = [&](TCustomChartPanel&) {
        order.push_back("axes:" + std::to_string(c.ops.size()));
    };
    chart.OnBeforeDrawSeries = [&](TCustomChartPanel&) { order.push_back("series"); };
    chart.OnAfterDraw = [&](TCustomChartPanel&) { order.push_back("after"); };
    chart.DrawChart(c, {0, 0, 400, 250});
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[1], "series");
    EXPECT_EQ(order[2], "after");
    // Background first, the back wall before the axes.
    ASSERT_FALSE(c.ops.empty());
    size_t firstFill = 0, wall = 0;
    for (size_t i = 0; i < c.ops.size(); ++i) {
        if (c.ops[i].kind == OpKind::FillRect && !firstFill)
            firstFill = i + 1;
        if (c.ops[i].kind == OpKind::Rectangle && !wall)
            wall = i + 1;
    }
    EXPECT_GT(firstFill, 0u);
    EXPECT_GT(wall, firstFill);
    EXPECT_EQ(order[0], "axes:" + std::to_string(wall));
    // Without AxisVisible no axis event.
    order.clear();
    chart.SetAxisVisible(false);
    chart.DrawChart(c, {0, 0, 400, 250});
    EXPECT_EQ(order, (std::vector<std::string>{"series", "after"}));
}

TEST(Panel, DepthSlotsAndProjection) {
    TChart chart;
    chart.SetAxisVisible(false);
    chart.Legend().SetVisible(false);
    auto* a = &chart.AddSeries(std::make_unique<TChartSeries>());
    auto* b = &chart.AddSeries(std::make_unique<TChartSeries>());
    auto* d = &chart.AddSeries(std::make_unique<TChartSeries>());
    RecordingCanvas c;
    chart.DrawChart(c, {0, 0, 400, 250});
    // Plot width 376 before the depth: 376 * 15 * 0.001 = 5.64 -> 6.
    EXPECT_EQ(chart.SeriesDepth, 6);
    EXPECT_EQ(chart.TotalDepth, 18);
    EXPECT_EQ(chart.ChartRect(), (TRect{12, 10 + 18, 388 - 18, 240}));
    EXPECT_EQ(a->ComputedZOrder, 2); // first series deepest
    EXPECT_EQ(b->ComputedZOrder, 1);
    EXPECT_EQ(d->ComputedZOrder, 0);
    EXPECT_EQ(a->StartZ, 12);
    EXPECT_EQ(a->EndZ, 18);
    EXPECT_EQ(a->MiddleZ, 15);
    EXPECT_EQ(c.Center(), (TPoint{(12 + 370) / 2, (28 + 240) / 2}));
    EXPECT_EQ(c.DepthCenter(), 9);
    // (x, y, z) is drawn at (x + z, y - z).
    EXPECT_EQ(c.Calc3DPoint(100, 100, 10), (TPoint{110, 90}));
    // Switching 3D off restores the 2D layout.
    chart.SetView3D(false);
    chart.DrawChart(c, {0, 0, 400, 250});
    EXPECT_EQ(chart.TotalDepth, 0);
    EXPECT_EQ(chart.ChartRect(), (TRect{12, 10, 388, 240}));
    EXPECT_EQ(a->StartZ, 0);
}

TEST(Panel, DarkenColor) {
    EXPECT_EQ(DarkenColor(rgb(200, 64, 30), 64), rgb(136, 0, 0));
    EXPECT_EQ(DarkenColor(clBtnFace, 64), rgb(128, 128, 128));
    EXPECT_EQ(DarkenColor(rgb(65, 65, 65), 64), rgb(1, 1, 1));
}
