// Title, foot, legend and walls: defaults, places, and the room they take.
#include "base/numbers.h"
#include "chart/legend.h"
#include "series_test_util.h"

#include <gtest/gtest.h>

using namespace telvara;
using namespace telvara::test;

namespace {

std::vector<std::string> texts(const RecordingCanvas& c) {
    std::vector<std::string> out;
    for (const Op& op : c.of(OpKind::Text))
        out.push_back(op.text);
    return out;
}

// The plot rectangle the paint ended with.
TRect plotOf(const PlainChart& p) {
    return p.chart.ChartRect();
}

} // namespace

TEST(Furniture, Defaults) {
    TChart chart;
    TChartTitle& t = chart.Title();
    EXPECT_EQ(t.Font().Name(), "ＭＳ Ｐ明朝");
    EXPECT_EQ(t.Font().Height(), 12);
    EXPECT_EQ(t.Font().Color(), 0xFF0000u);
    EXPECT_EQ(t.Alignment(), taCenter);
    EXPECT_EQ(t.Color(), clDefault);
    EXPECT_EQ(t.Brush().Color(), clDefault);
    EXPECT_EQ(t.Brush().Style(), bsSolid);
    EXPECT_FALSE(t.Frame().Visible());
    EXPECT_TRUE(t.AdjustFrame());
    EXPECT_TRUE(t.Visible());
    EXPECT_TRUE(chart.Foot().Text().empty());
    TChartLegend& l = chart.Legend();
    EXPECT_TRUE(l.Visible());
    EXPECT_EQ(l.Alignment(), laRight);
    EXPECT_EQ(l.LegendStyle(), lsAuto);
    EXPECT_EQ(l.TextStyle(), ltsLeftValue);
    EXPECT_EQ(l.Color(), clWhite);
    EXPECT_EQ(l.ColorWidth(), 12);
    EXPECT_EQ(l.TopPos(), 10);
    EXPECT_EQ(l.MaxNumRows(), 10);
    EXPECT_TRUE(l.ResizeChart());
    EXPECT_EQ(l.ShadowColor(), clBlack);
    EXPECT_EQ(l.ShadowSize(), 3);
    EXPECT_TRUE(l.Frame().Visible());
    EXPECT_EQ(l.Frame().Color(), clBlack);
    EXPECT_EQ(l.Frame().Width(), 1);
    EXPECT_FALSE(l.DividingLines().Visible());
    EXPECT_EQ(l.FirstValue(), 0);
    EXPECT_FALSE(l.Inverted());
    EXPECT_EQ(l.HorizMargin(), 0);
    EXPECT_EQ(l.VertMargin(), 0);
    for (TChartWall* w : {&chart.BackWall(), &chart.LeftWall(), &chart.BottomWall()}) {
        EXPECT_TRUE(w->Pen().Visible());
        EXPECT_EQ(w->Pen().Color(), clBlack);
        EXPECT_EQ(w->Pen().Width(), 1);
        EXPECT_EQ(w->Size(), 0);
        EXPECT_TRUE(w->Dark3D());
    }
    EXPECT_EQ(chart.BackWall().Color(), clDefault);
    EXPECT_EQ(chart.BackWall().Brush().Style(), bsClear);
    EXPECT_EQ(chart.LeftWall().Color(), 0x80FFFFu);
    EXPECT_EQ(chart.BottomWall().Color(), clWhite);
}

TEST(Titles, TwoLineTitleAndFootShrinkThePlot) {
    PlainChart p;
    p.chart.Title().SetText({"保護協調曲線", "AB"});
    p.paint();
    // Lines 16 high: top = 10 + 2 x 16 + 5.
    EXPECT_EQ(plotOf(p), (TRect{12, 47, 388, 240}));
    auto t = p.c.textsEqual("保護協調曲線");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].pts[0], (TPoint{200 - 18, 10})); // 6 characters of 6 pixels, centred
    EXPECT_EQ(t[0].font.color, 0xFF0000u);
    EXPECT_EQ(t[0].backMode, cbmTransparent);
    EXPECT_EQ(p.c.textsEqual("AB")[0].pts[0], (TPoint{194, 26}));
    EXPECT_TRUE(p.c.of(OpKind::Rectangle).size() == 1u); // only the back wall

    p.chart.Foot().SetText({"foot"});
    p.chart.Title().SetAlignment(taLeftJustify);
    p.chart.Foot().SetAlignment(taRightJustify);
    p.paint();
    EXPECT_EQ(plotOf(p), (TRect{12, 47, 388, 240 - 16 - 5}));
    EXPECT_EQ(p.c.textsEqual("AB")[0].pts[0], (TPoint{12 + 3, 26}));
    EXPECT_EQ(p.c.textsEqual("foot")[0].pts[0], (TPoint{388 - 24 - 3, 224}));

    // Hidden or without lines: the plot keeps its room.
    p.chart.Title().SetVisible(false);
    p.chart.Foot().SetText({});
    p.paint();
    EXPECT_EQ(plotOf(p), (TRect{12, 10, 388, 240}));
    EXPECT_TRUE(p.c.of(OpKind::Text).empty());
}

TEST(Titles, FramedAndFilledBlocks) {
    PlainChart p;
    p.chart.Title().SetText({"AB"});
    p.chart.Title().Frame().SetVisible(true);
    p.chart.Title().Frame().SetWidth(2);
    p.chart.Title().SetColor(clYellow);
    p.paint();
    // f = 2: lines from 12, the block as wide as "AB" plus "W" (18), centred.
    const auto rects = p.c.of(OpKind::Rectangle);
    ASSERT_EQ(rects.size(), 2u); // block, back wall
    EXPECT_EQ(rects[0].rect, (TRect{189, 10, 211, 30}));
    EXPECT_EQ(rects[0].brush.color, clYellow);
    EXPECT_EQ(rects[0].brush.style, bsSolid);
    EXPECT_EQ(p.c.textsEqual("AB")[0].pts[0], (TPoint{194, 12}));
    EXPECT_EQ(plotOf(p).top, 12 + 16 + 2 + 5);
    p.chart.Title().SetAdjustFrame(false);
    p.paint();
    EXPECT_EQ(p.c.of(OpKind::Rectangle)[0].rect, (TRect{12, 10, 388, 30}));
}

struct LegendChart : ::testing::Test {
    PlainChart p;
    void SetUp() override {
        setNumberLocale({".", ","});
        p.chart.Legend().SetVisible(true);
        p.unitAxes();
    }
};

TEST_F(LegendChart, OneSeriesListsItsValues) {
    TLineSeries* s = p.add(clRed);
    s->SetTitle("51");
    s->AddPoint(1, 10);
    s->AddPoint(2, 1234.5);
    s->AddPoint(3, 0.25);
    EXPECT_EQ(ResolvedLegendStyle(p.chart), lsValues);
    p.paint();
    EXPECT_EQ(texts(p.c), (std::vector<std::string>{"10 ", "1,234.5 ", "0.25 "}));
    // Widest text 48: top 25, rows 3, bottom 75, right 383, text x 333,
    // colour boxes round(58 x 12 %) = 7, left 318.
    const TChartLegend& l = p.chart.Legend();
    EXPECT_EQ(p.chart.Layout().legendRect, (TRect{318, 25, 383, 75}));
    EXPECT_EQ(l.NumRows, 3);
    EXPECT_EQ(l.ColorWidthPixels, 7);
    const auto fills = p.c.of(OpKind::FillRect);
    ASSERT_EQ(fills.size(), 2u); // panel background, shadow
    EXPECT_EQ(fills[1].rect, (TRect{321, 28, 387, 79}));
    EXPECT_EQ(fills[1].brush.color, clBlack);
    const auto rects = p.c.of(OpKind::Rectangle);
    ASSERT_GE(rects.size(), 1u);
    EXPECT_EQ(rects[0].rect, (TRect{317, 24, 384, 76}));
    EXPECT_EQ(rects[0].brush.color, clWhite);
    EXPECT_EQ(rects[0].pen.color, clBlack);
    const auto t = p.c.of(OpKind::Text);
    EXPECT_EQ(t[0].pts[0], (TPoint{333, 26}));
    EXPECT_EQ(t[2].pts[0], (TPoint{333, 58}));
    // Symbols: a line across the middle of each box in the point colour.
    const auto lines = p.c.of(OpKind::Line);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].pts, (std::vector<TPoint>{{322, 34}, {329, 34}}));
    EXPECT_EQ(lines[2].pts, (std::vector<TPoint>{{322, 66}, {329, 66}}));
    EXPECT_EQ(lines[0].pen.color, clRed);
    // The plot ends at the legend's left, less 3 % of its width.
    EXPECT_EQ(plotOf(p).right, 318 - 11);
    p.chart.Legend().SetHorizMargin(20);
    p.paint();
    EXPECT_EQ(plotOf(p).right, 298);
    p.chart.Legend().SetResizeChart(false);
    p.paint();
    EXPECT_EQ(plotOf(p).right, 388); // Each line separator of a label becomes one blank.
    s->AddPoint(4, 2, "a\r\nb\rc\nd");
    EXPECT_EQ(p.chart.ValueLegendText(*s, 3), "2 a b c d");
}

TEST_F(LegendChart, TwoSeriesListTheirTitles) {
    TLineSeries* a = p.add(clRed);
    TLineSeries* b = p.add(clBlue);
    TLineSeries* c = p.add(clLime);
    a->SetTitle("51R");
    b->SetName("Series2");
    a->AddPoint(1, 1);
    EXPECT_EQ(ResolvedLegendStyle(p.chart), lsSeries);
    p.paint();
    // Series without points are listed too; with no title and no name: "Series " and the index.
    EXPECT_EQ(texts(p.c), (std::vector<std::string>{"51R", "Series2", "Series 2"}));
    const auto lines = p.c.of(OpKind::Line);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1].pen.color, clBlue);
    EXPECT_EQ(lines[2].pen.color, clLime);
    // Hidden from the legend, or inactive: not listed (two active series still list series).
    b->SetShowInLegend(false);
    c->SetActive(false);
    p.paint();
    EXPECT_EQ(texts(p.c), (std::vector<std::string>{"51R"}));
    c->SetActive(true);
    p.paint();
    EXPECT_EQ(texts(p.c), (std::vector<std::string>{"51R", "Series 1"}));
}

TEST_F(LegendChart, NoRowsNoLegend) {
    TLineSeries* s = p.add(clRed);
    p.paint();
    // The only series has no points: no legend, the plot keeps its room.
    EXPECT_EQ(p.chart.Legend().NumRows, 0);
    EXPECT_EQ(plotOf(p).right, 388);
    EXPECT_EQ(p.c.of(OpKind::FillRect).size(), 1u);
    // Not in the legend: no items either.
    s->AddPoint(1, 1);
    s->SetShowInLegend(false);
    p.paint();
    EXPECT_EQ(plotOf(p).right, 388);
    // Hidden legend.
    s->SetShowInLegend(true);
    p.chart.Legend().SetVisible(false);
    p.paint();
    EXPECT_EQ(plotOf(p).right, 388);
    // Legend top at or below the plot bottom.
    p.chart.Legend().SetVisible(true);
    p.chart.Legend().SetTopPos(96);
    p.paint();
    EXPECT_EQ(plotOf(p).right, 388);
    EXPECT_TRUE(p.c.of(OpKind::Text).empty());
}

TEST_F(LegendChart, RowsCutAtThePlotBottom) {
    TLineSeries* s = p.add(clRed);
    for (int i = 0; i < 30; ++i)
        s->AddPoint(i, i);
    p.paint();
    // (240 - 2 - 25) / 16 = 13 rows.
    EXPECT_EQ(p.chart.Legend().NumRows, 13);
    const auto t = texts(p.c);
    ASSERT_EQ(t.size(), 13u);
    EXPECT_EQ(t.front(), "0 ");
    EXPECT_EQ(t.back(), "12 ");
    EXPECT_EQ(p.chart.Layout().legendRect.bottom, 25 + 13 * 16 + 2);
    // FirstValue skips items at the start; Inverted lists from the end.
    p.chart.Legend().SetFirstValue(25);
    p.paint();
    EXPECT_EQ(texts(p.c), (std::vector<std::string>{"25 ", "26 ", "27 ", "28 ", "29 "}));
    p.chart.Legend().SetInverted(true);
    p.paint();
    EXPECT_EQ(texts(p.c).front(), "29 ");
}

TEST_F(LegendChart, ShadowAndFrameVariants) {
    TLineSeries* s = p.add(clRed);
    s->AddPoint(1, 10);
    p.chart.Legend().Frame().SetVisible(false);
    p.paint();
    // "10 " is 18 wide: right 388 - 3, text x 365, boxes round(3.36) = 3, left 354.
    EXPECT_EQ(p.chart.Layout().legendRect, (TRect{354, 25, 385, 43}));
    EXPECT_EQ(p.c.of(OpKind::FillRect)[1].rect, (TRect{357, 28, 387, 45}));
    EXPECT_EQ(p.c.of(OpKind::Rectangle)[0].rect, (TRect{354, 25, 385, 43}));
    p.chart.Legend().SetShadowSize(0);
    p.paint();
    EXPECT_EQ(p.c.of(OpKind::FillRect).size(), 1u);
    EXPECT_EQ(p.chart.Layout().legendRect.right, 388);
    // A point without colour keeps its row but has no symbol.
    s->AddPoint(2, 20, "", clNone);
    p.paint();
    EXPECT_EQ(texts(p.c).size(), 2u);
    EXPECT_EQ(p.c.of(OpKind::Line).size(), 1u);
}

TEST_F(LegendChart, LegendFirstThenTitleOverTheNarrowerPlot) {
    TLineSeries* s = p.add(clRed);
    s->AddPoint(1, 1234.5);
    p.chart.Title().SetText({"AB"});
    p.paint();
    // Legend as in the one-series case with one row; title centred on 12 .. 307.
    const auto t = p.c.of(OpKind::Text);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text, "1,234.5 ");
    EXPECT_EQ(t[1].text, "AB");
    EXPECT_EQ(t[1].pts[0], (TPoint{(12 + 307) / 2 - 6, 10}));
    EXPECT_EQ(plotOf(p), (TRect{12, 31, 307, 240}));
}

TEST(Walls, BackWallIn2D) {
    PlainChart p;
    p.chart.BackWall().Brush().SetColor(clWhite); // the chart window's settings
    p.chart.BackWall().Brush().SetStyle(bsClear);
    p.paint();
    const auto rects = p.c.of(OpKind::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].rect, (TRect{12, 10, 389, 241}));
    EXPECT_EQ(rects[0].brush.style, bsClear);
    EXPECT_EQ(rects[0].pen.color, clBlack);
    EXPECT_EQ(rects[0].pen.width, 1);
    EXPECT_EQ(rects[0].pen.style, psSolid);
    // A coloured wall is filled.
    p.chart.BackWall().SetColor(clSilver);
    p.chart.BackWall().Brush().SetStyle(bsSolid);
    p.paint();
    EXPECT_EQ(p.c.of(OpKind::Rectangle)[0].brush.color, clSilver);
    EXPECT_EQ(p.c.of(OpKind::Rectangle)[0].brush.style, bsSolid);
}

TEST(Walls, ThreeWallsIn3D) {
    PlainChart p;
    p.chart.SetView3D(true);
    p.paint();
    const int d = p.chart.TotalDepth;
    ASSERT_GT(d, 0);
    const TRect r = p.chart.ChartRect();
    const TCanvas3D& cv = p.c;
    const auto rects = p.c.of(OpKind::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    const TPoint a = cv.Calc3DPoint(r.left + 1, r.top - 1, d);
    const TPoint b = cv.Calc3DPoint(r.right, r.bottom, d);
    EXPECT_EQ(rects[0].rect, (TRect{a.x, a.y, b.x, b.y}));
    const auto planes = p.c.of(OpKind::Polygon);
    ASSERT_EQ(planes.size(), 2u);
    EXPECT_EQ(planes[0].brush.color, 0x80FFFFu);
    EXPECT_EQ(planes[0].pts, (std::vector<TPoint>{cv.Calc3DPoint(r.left, r.top, 0),
                                                  cv.Calc3DPoint(r.left, r.top, d),
                                                  cv.Calc3DPoint(r.left, r.bottom, d),
                                                  cv.Calc3DPoint(r.left, r.bottom, 0)}));
    EXPECT_EQ(planes[1].brush.color, clWhite);
    EXPECT_EQ(planes[1].pts[0], cv.Calc3DPoint(r.left, r.bottom, 0));
    EXPECT_EQ(planes[1].pts[2], cv.Calc3DPoint(r.right, r.bottom, d));
    // Without the side walls only the back wall.
    p.chart.SetView3DWalls(false);
    p.paint();
    EXPECT_TRUE(p.c.of(OpKind::Polygon).empty());
    // Wall boxes: the sides darker.
    p.chart.SetView3DWalls(true);
    p.chart.LeftWall().SetSize(4);
    p.paint();
    const auto boxes = p.c.of(OpKind::Polygon);
    ASSERT_EQ(boxes.size(), 3u); // left box's two sides, bottom plane
    EXPECT_EQ(boxes[0].brush.color, DarkenColor(0x80FFFF, 64));
}
