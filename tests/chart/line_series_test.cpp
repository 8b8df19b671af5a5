// Line series: defaults, point order, visible range, the line in 2D and 3D,
// bridging, null points, pointer and margins.
#include "series_test_util.h"

#include <gtest/gtest.h>

using namespace telvara;
using namespace telvara::test;

namespace {
std::vector<TPoint> pts(const Op& op) {
    return op.pts;
}
} // namespace

TEST(LineSeries, Defaults) {
    TLineSeries s;
    EXPECT_TRUE(s.LinePen().Visible());
    EXPECT_EQ(s.LinePen().Color(), clBlack);
    EXPECT_EQ(s.LinePen().Width(), 1);
    EXPECT_EQ(s.LinePen().Style(), psSolid);
    EXPECT_EQ(s.LineBrush(), bsSolid);
    EXPECT_EQ(s.LineHeight(), 0);
    EXPECT_FALSE(s.Stairs());
    EXPECT_FALSE(s.InvertedStairs());
    EXPECT_TRUE(s.Dark3D());
    EXPECT_FALSE(s.Pointer().Visible());
    EXPECT_EQ(s.Pointer().Style(), psRectangle);
    EXPECT_EQ(s.Pointer().HorizSize(), 4);
    EXPECT_EQ(s.Pointer().VertSize(), 4);
    EXPECT_TRUE(s.Pointer().InflateMargins());
    EXPECT_EQ(s.ValueFormat(), "#,##0.###");
    EXPECT_EQ(s.SeriesColor(), clDefault);
    EXPECT_EQ(s.Function(), nullptr);
    TSeriesMarks& m = s.Marks();
    EXPECT_FALSE(m.Visible());
    EXPECT_EQ(m.Style(), smsLabel);
    EXPECT_EQ(m.ArrowLength(), 8);
    EXPECT_TRUE(m.Arrow().Visible());
    EXPECT_EQ(m.Arrow().Color(), clWhite);
    EXPECT_EQ(m.BackColor(), 0x80FFFFu);
    EXPECT_TRUE(m.Frame().Visible());
    EXPECT_EQ(m.Frame().Color(), clBlack);
    EXPECT_FALSE(m.Transparent());
    EXPECT_FALSE(m.Clip());
    // Margins asked of the axes: none by default.
    int a = -1, b = -1;
    s.CalcHorizMargins(a, b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    s.Pointer().SetVisible(true);
    s.CalcHorizMargins(a, b);
    EXPECT_EQ(a, 5);
    s.CalcVerticalMargins(a, b);
    EXPECT_EQ(b, 5);
    s.Pointer().SetInflateMargins(false);
    s.LinePen().SetWidth(3);
    s.SetStairs(true);
    s.CalcVerticalMargins(a, b);
    EXPECT_EQ(a, 3);
}

TEST(LineSeries, OrderedInsertionMovesYAlong) {
    TLineSeries s;
    EXPECT_EQ(s.AddPoint(10, 1), 0);
    EXPECT_EQ(s.AddPoint(5, 2), 0);
    EXPECT_EQ(s.AddPoint(20, 3), 2);
    EXPECT_EQ(s.AddPoint(5, 4), 1);
    const double xs[] = {5, 5, 10, 20}, ys[] = {2, 4, 1, 3};
    ASSERT_EQ(s.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.XValues()[i], xs[i]) << i;
        EXPECT_EQ(s.YValues()[i], ys[i]) << i;
    }
}

TEST(LineSeries, FunctionWithoutSourceChangesNothing) {
    PlainChart p;
    TLineSeries* s = p.add(clRed);
    s->SetFunction(std::make_unique<TAverageFunction>());
    ASSERT_NE(s->Function(), nullptr);
    EXPECT_EQ(s->Function()->ParentSeries(), s);
    s->AddPoint(100, 10);
    s->AddPoint(200, 20);
    s->Function()->Recalculate();
    ASSERT_EQ(s->Count(), 2);
    EXPECT_EQ(s->YValues()[1], 20);
    p.unitAxes();
    p.paint();
    ASSERT_EQ(p.clippedOf(OpKind::Line).size(), 1u);
    // With a source it draws the source's mean as a level line.
    TLineSeries* src = p.add(clBlue);
    src->AddPoint(1, 2);
    src->AddPoint(2, 4);
    src->AddPoint(3, 9);
    s->Function()->DataSources().push_back(src);
    s->Function()->Recalculate();
    ASSERT_EQ(s->Count(), 2);
    EXPECT_EQ(s->XValues()[0], 1);
    EXPECT_EQ(s->XValues()[1], 3);
    EXPECT_EQ(s->YValues()[0], 5);
    EXPECT_EQ(s->YValues()[1], 5);
}

TEST(LineSeries, LineIn2DWithClipAndEdgeStartOnLinearAxes) {
    PlainChart p;
    TLineSeries* s = p.add();
    EXPECT_EQ(s->SeriesColor(), clRed); // first free palette colour
    p.unitAxes(100, 0);                 // x pixel = 12 + (x - 100), y pixel = 240 - y
    s->AddPoint(50, 0);
    s->AddPoint(150, 100);
    s->AddPoint(200, 50);
    s->AddPoint(600, 10); // beyond the right edge: its segment is kept
    s->AddPoint(700, 10); // not drawn
    p.paint();
    EXPECT_EQ(s->FirstValueIndex, 1);
    EXPECT_EQ(s->LastValueIndex, 3);
    const auto clips = p.c.of(OpKind::ClipRect);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0].rect, (TRect{13, 11, 388, 239}));
    const auto lines = p.clippedOf(OpKind::Line);
    ASSERT_EQ(lines.size(), 3u);
    // Starts on the plot's left edge at the value interpolated at x = 100.
    EXPECT_EQ(pts(lines[0]), (std::vector<TPoint>{{12, 190}, {62, 140}}));
    EXPECT_EQ(pts(lines[1]), (std::vector<TPoint>{{62, 140}, {112, 190}}));
    EXPECT_EQ(pts(lines[2]), (std::vector<TPoint>{{112, 190}, {512, 230}}));
    EXPECT_EQ(lines[0].pen.color, clRed);
    EXPECT_EQ(lines[0].pen.width, 1);
    EXPECT_EQ(lines[0].pen.style, psSolid);
    EXPECT_EQ(lines[0].brush.style, bsClear);
    // All points left of the plot: nothing drawn.
    p.unitAxes(1000, 0);
    p.paint();
    EXPECT_EQ(s->FirstValueIndex, -1);
    EXPECT_TRUE(p.c.of(OpKind::ClipRect).empty());
    EXPECT_TRUE(p.c.of(OpKind::Line).empty());
}

TEST(LineSeries, EdgeStartOnLogarithmicAxes) {
    PlainChart p;
    TLineSeries* s = p.add();
    p.chart.BottomAxis().SetMinMaxRange(10, 100000);
    p.chart.BottomAxis().SetLogarithmic(true);
    p.chart.LeftAxis().SetMinMaxRange(0.01, 1000);
    p.chart.LeftAxis().SetLogarithmic(true);
    s->AddPoint(5, 100);
    s->AddPoint(100, 1);
    s->AddPoint(1000, 0.1);
    p.paint();
    EXPECT_EQ(s->FirstValueIndex, 1);
    const auto lines = p.clippedOf(OpKind::Line);
    ASSERT_EQ(lines.size(), 2u);
    // Linear in values: 100 + (1 - 100) * (10 - 5) / (100 - 5) = 94.79 s.
    EXPECT_EQ(pts(lines[0]), (std::vector<TPoint>{{12, 57}, {106, 148}}));
    EXPECT_EQ(pts(lines[1]), (std::vector<TPoint>{{106, 148}, {200, 194}}));
    // Stairs take the earlier point's y at the edge.
    s->SetStairs(true);
    p.paint();
    const auto steps = p.clippedOf(OpKind::Line);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(pts(steps[0]), (std::vector<TPoint>{{12, 56}, {106, 56}}));
    EXPECT_EQ(pts(steps[1]), (std::vector<TPoint>{{106, 56}, {106, 148}}));
    s->SetInvertedStairs(true);
    p.paint();
    const auto inv = p.clippedOf(OpKind::Line);
    ASSERT_EQ(inv.size(), 4u);
    EXPECT_EQ(pts(inv[2]), (std::vector<TPoint>{{106, 148}, {106, 194}}));
    EXPECT_EQ(pts(inv[3]), (std::vector<TPoint>{{106, 194}, {200, 194}}));
}

TEST(LineSeries, FarPointsAreBridgedAndNullPointsBreakTheLine) {
    PlainChart p;
    TLineSeries* s = p.add();
    p.unitAxes();
    s->AddPoint(100, 10);
    s->AddPoint(150, 1e9); // about a billion pixels above the plot
    s->AddPoint(200, 20);
    p.paint();
    auto lines = p.clippedOf(OpKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(pts(lines[0]), (std::vector<TPoint>{{112, 230}, {212, 220}}));

    // A far first point joins nothing left over from the previous paint.
    s->ClearPoints();
    s->AddPoint(100, -1e9);
    s->AddPoint(150, 10);
    s->AddPoint(200, 20);
    p.paint();
    p.paint();
    lines = p.clippedOf(OpKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(pts(lines[0]), (std::vector<TPoint>{{162, 230}, {212, 220}}));

    // A first visible point whose segment crosses the left edge half a million
    // pixels up: the segment's part within the surface's 16-bit range is drawn
    // (edge point (12, -502298), cut at y = -32766).
    s->ClearPoints();
    s->AddPoint(-99, 1e6);
    s->AddPoint(100, 50);
    s->AddPoint(200, 60);
    p.paint();
    lines = p.clippedOf(OpKind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(pts(lines[0]), (std::vector<TPoint>{{105, -32766}, {112, 190}}));
    EXPECT_EQ(pts(lines[1]), (std::vector<TPoint>{{112, 190}, {212, 180}}));

    // Nothing joins a null point, on either side.
    s->ClearPoints();
    s->AddPoint(100, 10);
    s->AddPoint(150, 30, "", clNone);
    s->AddPoint(200, 20);
    s->AddPoint(250, 20);
    p.paint();
    lines = p.clippedOf(OpKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(pts(lines[0]), (std::vector<TPoint>{{212, 220}, {262, 220}}));

    // Point colours replace the series colour; a hidden pen draws nothing.
    s->ClearPoints();
    s->AddPoint(100, 10);
    s->AddPoint(200, 20, "", clLime);
    p.paint();
    lines = p.clippedOf(OpKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].pen.color, clLime);
    s->LinePen().SetVisible(false);
    p.paint();
    EXPECT_TRUE(p.clippedOf(OpKind::Line).empty());
}

TEST(LineSeries, StyledHairlinePrintsWithWidthZero) {
    PlainChart p;
    TLineSeries* s = p.add();
    p.unitAxes();
    s->AddPoint(100, 10);
    s->AddPoint(200, 20);
    s->LinePen().SetStyle(psDot);
    p.paint();
    ASSERT_EQ(p.clippedOf(OpKind::Line).size(), 1u);
    EXPECT_EQ(p.clippedOf(OpKind::Line)[0].pen.width, 1);
    p.chart.SetBufferedDisplay(false);
    p.chart.SetPrinting(true);
    p.paint();
    ASSERT_EQ(p.clippedOf(OpKind::Line).size(), 1u);
    EXPECT_EQ(p.clippedOf(OpKind::Line)[0].pen.width, 0);
    EXPECT_EQ(p.clippedOf(OpKind::Line)[0].pen.style, psDot);
    s->LinePen().SetStyle(psSolid);
    p.paint();
    EXPECT_EQ(p.clippedOf(OpKind::Line)[0].pen.width, 1);
}

TEST(LineSeries, RibbonIn3DWithDarkSteepSegments) {
    PlainChart p;
    p.chart.SetView3D(true);
    TLineSeries* s = p.add(clRed);
    p.unitAxes();
    s->AddPoint(0, 0);
    s->AddPoint(10, 100);  // rising steeply: darker
    s->AddPoint(100, 110); // rising gently
    s->AddPoint(110, 0);   // falling steeply
    p.paint();
    ASSERT_EQ(p.c.of(OpKind::ClipPolygon).size(), 1u);
    EXPECT_EQ(p.c.of(OpKind::ClipPolygon)[0].pts.size(), 6u);
    const auto ribbons = p.clippedOf(OpKind::Polygon);
    ASSERT_EQ(ribbons.size(), 3u);
    EXPECT_EQ(ribbons[0].brush.color, 0x0000BFu);
    EXPECT_EQ(ribbons[1].brush.color, clRed);
    EXPECT_EQ(ribbons[2].brush.color, clRed);
    EXPECT_EQ(ribbons[0].brush.style, bsSolid);
    EXPECT_EQ(ribbons[0].pen.color, clBlack); // the line pen keeps its own colour
    // Corners: both points at the front and at the back of the series' slot.
    const int d = s->EndZ - s->StartZ;
    ASSERT_GT(d, 0);
    const TCanvas3D& cv = p.c;
    const TChartAxis& h = p.chart.BottomAxis();
    const TChartAxis& v = p.chart.LeftAxis();
    const int x0 = h.ValueToPixel(10), y0 = v.ValueToPixel(100);
    const int x1 = h.ValueToPixel(100), y1 = v.ValueToPixel(110);
    EXPECT_EQ(ribbons[1].pts,
              (std::vector<TPoint>{cv.Calc3DPoint(x0, y0, 0), cv.Calc3DPoint(x1, y1, 0),
                                   cv.Calc3DPoint(x1, y1, d), cv.Calc3DPoint(x0, y0, d)}));
    EXPECT_EQ(ribbons[1].pts[2], (TPoint{ribbons[1].pts[1].x + d, ribbons[1].pts[1].y - d}));
    s->SetDark3D(false);
    p.paint();
    EXPECT_EQ(p.clippedOf(OpKind::Polygon)[0].brush.color, clRed);
}

TEST(LineSeries, PointerAtEveryVisiblePoint) {
    PlainChart p;
    TLineSeries* s = p.add(clBlue);
    p.unitAxes();
    s->Pointer().SetVisible(true);
    s->AddPoint(100, 10);
    s->AddPoint(200, 20);
    s->AddPoint(300, 30);
    p.paint();
    const auto boxes = p.clippedOf(OpKind::Rectangle);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].rect, (TRect{108, 226, 117, 235}));
    EXPECT_EQ(boxes[2].rect, (TRect{308, 206, 317, 215}));
    EXPECT_EQ(boxes[1].brush.color, clBlue);
    EXPECT_EQ(p.clippedOf(OpKind::Line).size(), 2u);
}

TEST(LineSeries, LegendSymbol) {
    PlainChart p;
    TLineSeries* s = p.add(clRed);
    s->AddPoint(1, 1);
    s->AddPoint(2, 2, "", clNone);
    p.paint(); // gives the series its surface for the duration of a paint
    RecordingCanvas& c = p.c;
    p.chart.OnAfterDraw = [&](TCustomChartPanel&) {
        c.clear();
        s->DrawLegendSymbol(-1, {10, 20, 30, 28});
        s->DrawLegendSymbol(1, {10, 40, 30, 48}); // null point: nothing
    };
    p.paint();
    auto lines = c.of(OpKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(pts(lines[0]), (std::vector<TPoint>{{10, 24}, {30, 24}}));
    EXPECT_EQ(lines[0].pen.color, clRed);
    // In 3D the box is filled with the series colour and outlined.
    p.chart.SetView3D(true);
    p.paint();
    EXPECT_TRUE(c.of(OpKind::Line).empty());
    const auto rects = c.of(OpKind::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].rect, (TRect{10, 20, 30, 28}));
    EXPECT_EQ(rects[0].brush.color, clRed);
    EXPECT_EQ(rects[0].pen.color, clBlack);
}

TEST(LineSeries, ClearingRemovesTheCurveButKeepsTheSeries) {
    PlainChart p;
    TLineSeries* a = p.add();
    TLineSeries* b = p.add();
    p.unitAxes();
    a->AddPoint(100, 10);
    a->AddPoint(200, 20);
    b->AddPoint(100, 30);
    b->AddPoint(200, 40);
    p.chart.Legend().SetVisible(true);
    p.paint();
    EXPECT_EQ(p.clippedOf(OpKind::Line).size(), 2u);
    a->ClearPoints();
    EXPECT_TRUE(p.chart.Dirty());
    p.paint();
    EXPECT_EQ(p.clippedOf(OpKind::Line).size(), 1u);
    EXPECT_EQ(p.c.textsEqual("Series 0").size(), 1u); // still listed
    EXPECT_EQ(p.chart.NumSeries(), 2);
}

namespace {
struct CountingHost : TChartHost {
    int invalidations = 0;
    void InvalidateChart() override { ++invalidations; }
    void RepaintChartNow() override {}
    void SetChartCursor(TCursor) override {}
};
} // namespace

TEST(LineSeries, SettersRepaintOnChangeAndDestroyingDetaches) {
    PlainChart p;
    CountingHost host;
    p.chart.SetHost(&host);
    TLineSeries* s = p.add();
    TLineSeries* other = p.add();
    s->SetFunction(std::make_unique<TAverageFunction>());
    s->Marks().SetVisible(true);
    s->AddPoint(100, 10);
    s->AddPoint(200, 20);
    p.unitAxes();
    p.paint();
    ASSERT_TRUE(s->Marks().Position(1).has_value());
    host.invalidations = 0;
    s->SetStairs(true);
    s->SetStairs(true);
    s->SetDark3D(false);
    s->SetLineBrush(bsCross);
    s->LinePen().SetWidth(2);
    s->LinePen().SetWidth(2);
    s->Pointer().SetStyle(psDiamond);
    EXPECT_EQ(host.invalidations, 5);
    // Points added to a hidden series ask for no repaint.
    s->SetActive(false);
    host.invalidations = 0;
    s->AddPoint(300, 30);
    EXPECT_EQ(host.invalidations, 0);
    delete s;
    EXPECT_EQ(p.chart.NumSeries(), 1);
    EXPECT_EQ(p.chart.SeriesAt(0), other);
    EXPECT_EQ(host.invalidations, 1);
    p.paint();
    EXPECT_TRUE(p.clippedOf(OpKind::Line).empty());
}
