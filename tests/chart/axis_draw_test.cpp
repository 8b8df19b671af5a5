// Where an axis puts its bands, title, labels, ticks, grid lines and line,
// on a recording surface (characters 6 pixels wide, lines 16 pixels high).
#include "base/numbers.h"
#include "chart/chart.h"
#include "recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

using namespace telvara;
using telvara::test::Op;
using telvara::test::OpKind;
using telvara::test::RecordingCanvas;

namespace {

bool isLine(const Op& op, TPoint a, TPoint b) {
    return op.kind == OpKind::Line && op.pts[0] == a && op.pts[1] == b;
}

int countLines(const RecordingCanvas& c, TPoint a, TPoint b) {
    return static_cast<int>(
        std::count_if(c.ops.begin(), c.ops.end(), [&](const Op& op) { return isLine(op, a, b); }));
}

const Op* findLine(const RecordingCanvas& c, TPoint a, TPoint b) {
    for (const Op& op : c.ops)
        if (isLine(op, a, b))
            return &op;
    return nullptr;
}

// The chart window's layout: log-log axes with titles, a title line, one series.
struct AxisDrawFixture : ::testing::Test {
    TChart chart;
    TChartSeries* series = nullptr;
    RecordingCanvas c;
    void SetUp() override {
        setNumberLocale({".", ","});
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        chart.Title().SetText({"保護協調曲線"});
        series = &chart.AddSeries(std::make_unique<TChartSeries>());
        chart.BottomAxis().Title().SetCaption("過電流値（Ａ）");
        chart.LeftAxis().Title().SetCaption("時間（秒）");
        chart.BottomAxis().SetMinMaxRange(10, 100000);
        chart.BottomAxis().SetLogarithmic(true);
        chart.LeftAxis().SetMinMaxRange(0.01, 1000);
        chart.LeftAxis().SetLogarithmic(true);
    }
    void paint() {
        c.clear();
        chart.DrawChart(c, {0, 0, 400, 250});
    }
};

} // namespace

TEST_F(AxisDrawFixture, BandsAndPlotRectangle) {
    paint();
    // Title line 16 high from y 10, plus 5: plot top 31.
    const auto title = c.textsEqual("保護協調曲線");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0].pts[0], (TPoint{200 - 18, 10}));
    TChartAxis& b = chart.BottomAxis();
    TChartAxis& l = chart.LeftAxis();
    // Bottom: title band 16, label band 16, tick band 2 + 4.
    EXPECT_EQ(b.TitlePos(), 240 - 16);
    EXPECT_EQ(b.LabelsPos(), 240 - 32);
    // Left: title band 16; labels "0" and "1,000" (step 100) plus a blank: 36.
    EXPECT_EQ(l.TitlePos(), 12 + 16);
    EXPECT_EQ(l.LabelsPos(), 12 + 16 + 36);
    EXPECT_EQ(chart.ChartRect(), (TRect{12 + 16 + 36 + 6, 31, 388, 240 - 32 - 6}));
    EXPECT_EQ(b.ScaleMap().StartPixel(), 70);
    EXPECT_EQ(b.ScaleMap().EndPixel(), 388);
    EXPECT_EQ(l.ScaleMap().StartPixel(), 31);
    EXPECT_EQ(l.ScaleMap().EndPixel(), 202);
    EXPECT_EQ(b.AxisLinePos(), 202);
    EXPECT_EQ(l.AxisLinePos(), 70);
    // Top and right axes are not drawn while a series uses bottom and left.
    EXPECT_FALSE(chart.IsAxisDrawn(chart.TopAxis()));
    EXPECT_FALSE(chart.IsAxisDrawn(chart.RightAxis()));
    // The same layout on every paint.
    paint();
    EXPECT_EQ(chart.ChartRect(), (TRect{70, 31, 388, 202}));
}

TEST_F(AxisDrawFixture, TitlesAndLabelsAnchors) {
    paint();
    TChartAxis& b = chart.BottomAxis();
    TChartAxis& l = chart.LeftAxis();
    const auto bt = c.textsEqual("過電流値（Ａ）");
    ASSERT_EQ(bt.size(), 1u);
    EXPECT_EQ(bt[0].kind, OpKind::Text);
    EXPECT_EQ(bt[0].pts[0], (TPoint{b.ScaleMap().CenterPixel(), 224}));
    EXPECT_EQ(bt[0].ha, htaCenter);
    EXPECT_EQ(bt[0].va, vtaTop);
    const auto lt = c.textsEqual("時間（秒）");
    ASSERT_EQ(lt.size(), 1u);
    EXPECT_EQ(lt[0].kind, OpKind::RotatedText);
    EXPECT_EQ(lt[0].angle, 90);
    EXPECT_EQ(lt[0].pts[0], (TPoint{28, l.ScaleMap().CenterPixel()}));
    EXPECT_EQ(lt[0].ha, htaCenter);
    EXPECT_EQ(lt[0].va, vtaBottom);
    EXPECT_EQ(lt[0].brush.style, bsClear);
    // Bottom labels centred on their pixel, top on LabelsPos.
    for (const char* text : {"10", "100", "1,000", "10,000", "100,000"}) {
        const auto t = c.textsEqual(text);
        ASSERT_FALSE(t.empty()) << text;
        const double v = readDecimal([&] {
            std::string s = text;
            s.erase(std::remove(s.begin(), s.end(), ','), s.end());
            return s;
        }());
        EXPECT_EQ(t[0].pts[0], (TPoint{b.ValueToPixel(v), 208})) << text;
        EXPECT_EQ(t[0].ha, htaCenter);
        EXPECT_EQ(t[0].va, vtaTop);
    }
    // Left labels end at LabelsPos, centred vertically (h div 2 = 8).
    const auto one = c.textsEqual("1");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].pts[0], (TPoint{64, l.ValueToPixel(1) - 8}));
    EXPECT_EQ(one[0].ha, htaRight);
    EXPECT_EQ(one[0].va, vtaTop);
    EXPECT_EQ(c.textsEqual("0.01").size(), 1u);
    EXPECT_EQ(c.TextHorizAlign(), htaLeft);
}

TEST_F(AxisDrawFixture, LineTicksAndGrid2D) {
    paint();
    TChartAxis& b = chart.BottomAxis();
    TChartAxis& l = chart.LeftAxis();
    const Op* axisLine = findLine(c, {70, 202}, {388, 202});
    ASSERT_NE(axisLine, nullptr);
    EXPECT_EQ(axisLine->pen.width, 2);
    EXPECT_EQ(axisLine->pen.color, clBlack);
    ASSERT_NE(findLine(c, {70, 31}, {70, 202}), nullptr);
    for (double v : {10.0, 1000.0, 100000.0}) {
        const int x = b.ValueToPixel(v);
        const Op* tick = findLine(c, {x, 203}, {x, 207});
        ASSERT_NE(tick, nullptr) << v;
        EXPECT_EQ(tick->pen.color, 0x808080u);
        EXPECT_EQ(tick->pen.style, psSolid);
        const Op* grid = findLine(c, {x, 32}, {x, 202});
        ASSERT_NE(grid, nullptr) << v;
        EXPECT_EQ(grid->pen.style, psDot);
        EXPECT_EQ(grid->pen.color, 0x808080u);
        EXPECT_EQ(grid->backMode, cbmTransparent);
        EXPECT_EQ(grid->brush.style, bsClear);
    }
    for (double v : {0.01, 1.0, 1000.0}) {
        const int y = l.ValueToPixel(v);
        EXPECT_NE(findLine(c, {69, y}, {65, y}), nullptr) << v;
        EXPECT_NE(findLine(c, {71, y}, {388, y}), nullptr) << v;
    }
    // Minor ticks of the decade 10..100 at 32.5, 55 and 77.5, 2 pixels long.
    for (double v : {32.5, 55.0, 77.5}) {
        const int x = b.ValueToPixel(v);
        EXPECT_EQ(countLines(c, {x, 203}, {x, 205}), 1) << v;
    }
    // Nothing after the last tick on a logarithmic axis: 4 pairs x 3 minor ticks.
    int minor = 0;
    for (const Op& op : c.ops)
        if (op.kind == OpKind::Line && op.pts[0].y == 203 && op.pts[1].y == 205)
            ++minor;
    EXPECT_EQ(minor, 12);
    // No inner ticks with the default length 0, no minor grid by default.
    EXPECT_EQ(countLines(c, {b.ValueToPixel(100), 201}, {b.ValueToPixel(100), 201}), 0);
}

TEST_F(AxisDrawFixture, CustomIterationDrawsAHeldValueOnce) {
    // The chart window's way on the bottom axis: the handler holds 10 for 28
    // calls, then gives 20 .. 100000; the left axis keeps its default labels.
    chart.OnGetNextAxisLabel = [](TChartAxis& a, int index, double& value, bool& stop) {
        if (!a.Horizontal)
            return;
        const double t = index <= 63 ? ((index % 9) + 1) * std::pow(10.0, index / 9 - 2) : 1e6;
        value = std::max(value, t);
        stop = false;
    };
    paint();
    TChartAxis& b = chart.BottomAxis();
    const int x10 = b.ValueToPixel(10);
    EXPECT_EQ(countLines(c, {x10, 203}, {x10, 207}), 1);
    EXPECT_EQ(countLines(c, {x10, 32}, {x10, 202}), 1);
    const int x32 = b.ValueToPixel(32.5);
    EXPECT_EQ(countLines(c, {x32, 203}, {x32, 205}), 1);
    // Minor ticks of 20 reach into the next decade (about 65, 110, 155).
    const double v20 = b.PixelToValue(b.ValueToPixel(20));
    const int x110 = b.ValueToPixel(v20 + 2 * (10 * v20 - v20) / 4);
    EXPECT_GT(countLines(c, {x110, 203}, {x110, 205}), 0);
    int bottomTens = 0;
    for (const Op& op : c.textsEqual("10"))
        if (op.pts[0].y == 208)
            ++bottomTens;
    EXPECT_EQ(bottomTens, 1);
}

TEST_F(AxisDrawFixture, NoLabelsMeansNoTicks) {
    chart.BottomAxis().SetLabels(false);
    paint();
    const int x = chart.BottomAxis().ValueToPixel(1000);
    EXPECT_EQ(countLines(c, {x, 32}, {x, chart.ChartRect().bottom}), 0);
    EXPECT_NE(findLine(c, {chart.ChartRect().left, chart.ChartRect().bottom},
                       {388, chart.ChartRect().bottom}),
              nullptr);
    EXPECT_EQ(c.textsEqual("過電流値（Ａ）").size(), 1u);
    EXPECT_TRUE(c.textsEqual("10,000").empty());
    EXPECT_TRUE(c.textsEqual("100,000").empty());
    // No label band either: title band, then tick band.
    EXPECT_EQ(chart.ChartRect().bottom, 240 - 16 - 6);
}

TEST_F(AxisDrawFixture, FixedTitleSizeAndPositionPercent) {
    chart.BottomAxis().SetTitleSize(30);
    chart.LeftAxis().Title().SetCaption("");
    paint();
    EXPECT_EQ(chart.BottomAxis().TitlePos(), 210);
    EXPECT_EQ(chart.BottomAxis().LabelsPos(), 194);
    EXPECT_EQ(chart.ChartRect().left, 12 + 36 + 6); // no title band on the left
    chart.LeftAxis().SetPositionPercent(10);
    paint();
    const int shift = static_cast<int>(std::nearbyint(0.1 * chart.ChartWidth()));
    EXPECT_EQ(chart.LeftAxis().AxisLinePos(), chart.ChartRect().left + shift);
}

TEST_F(AxisDrawFixture, GridVariantsAndPrinting) {
    chart.BottomAxis().SetGridCentered(true);
    chart.BottomAxis().Grid().SetColor(clDefault);
    chart.LeftAxis().LabelsFont().SetColor(clWhite);
    chart.SetPrinting(true);
    chart.SetBufferedDisplay(false);
    paint();
    TChartAxis& b = chart.BottomAxis();
    const int x1 = b.ValueToPixel(10), x2 = b.ValueToPixel(100);
    const int mid = static_cast<int>(std::nearbyint((x1 + x2) * 0.5));
    const Op* g = findLine(c, {mid, 32}, {mid, 202});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->pen.color, 0x808080u); // automatic colour drawn grey
    EXPECT_EQ(g->pen.width, 0);         // thinnest line while printing
    EXPECT_EQ(countLines(c, {x1, 32}, {x1, 202}), 0);
    // White labels come out black on paper.
    const auto one = c.textsEqual("1");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].font.color, clBlack);
}

TEST_F(AxisDrawFixture, LinearMinorTicks) {
    TChartAxis& b = chart.BottomAxis();
    b.SetLogarithmic(false);
    b.SetIncrement(25);
    b.SetLabelsSeparation(0);
    b.SetMinMaxRange(-10, 100);
    paint();
    EXPECT_TRUE(b.TickList().empty()); // released after the draw
    // Ticks run top down: 100, 75, 50, 25, 0.
    std::vector<int> t;
    for (double v : {100.0, 75.0, 50.0, 25.0, 0.0})
        t.push_back(b.ValueToPixel(v));
    auto round = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    std::vector<int> expected;
    auto mark = [&](int p) {
        if (p > b.ScaleMap().StartPixel() && p < b.ScaleMap().EndPixel())
            expected.push_back(p);
    };
    for (size_t i = 1; i < t.size(); ++i)
        for (int j = 1; j <= 3; ++j)
            mark(t[i] - round(j * (t[i] - t[i - 1]) / 4.0));
    const double d = (t[1] - t[0]) / 4.0;
    for (int j = 1; j <= 3; ++j) {
        mark(t[0] - round(j * d));
        mark(t[4] + round(j * d));
    }
    std::vector<int> drawn;
    for (const Op& op : c.ops)
        if (op.kind == OpKind::Line && op.pts[0].y == 203 && op.pts[1].y == 205)
            drawn.push_back(op.pts[0].x);
    std::sort(expected.begin(), expected.end());
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, expected);
    // 12 between the ticks, one continued past 0 towards -10, none past 100.
    EXPECT_EQ(drawn.size(), 13u);
}

TEST_F(AxisDrawFixture, ThreeDimensionalGrid) {
    chart.SetView3D(true);
    paint();
    const int d = chart.TotalDepth;
    ASSERT_GT(d, 0);
    TChartAxis& b = chart.BottomAxis();
    TChartAxis& l = chart.LeftAxis();
    const TRect r = chart.ChartRect();
    // Bottom grid: along the floor from the front to the back, then up the back wall.
    const int x = b.ValueToPixel(1000);
    const TPoint front = c.Calc3DPoint(x, b.AxisLinePos(), 0);
    const TPoint back = c.Calc3DPoint(x, b.AxisLinePos(), d);
    EXPECT_EQ(back, (TPoint{front.x + d, front.y - d}));
    EXPECT_NE(findLine(c, front, back), nullptr);
    EXPECT_NE(findLine(c, back, c.Calc3DPoint(x, r.top, d)), nullptr);
    // Left grid: along the left wall, then across the back wall.
    const int y = l.ValueToPixel(1);
    const TPoint lf = c.Calc3DPoint(l.AxisLinePos(), y, 0),
                 lb = c.Calc3DPoint(l.AxisLinePos(), y, d);
    EXPECT_NE(findLine(c, lf, lb), nullptr);
    EXPECT_NE(findLine(c, lb, c.Calc3DPoint(r.right, y, d)), nullptr);
    // Labels stay on the front plane.
    const auto t = c.textsEqual("1,000");
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t[0].pts[0], c.Calc3DPoint(x, b.LabelsPos(), 0));
    // Walls: left and bottom planes are polygons from depth 0 to the total depth.
    EXPECT_EQ(c.of(OpKind::Polygon).size(), 2u);
}

// A logarithmic axis from 0 to just above 1 maps the label 0.5 some 10^13
// pixels off its end: on the inverted bottom axis that is the largest
// integer. Its 3D grid line runs from the front straight to the back there,
// its far end held to the integer range instead of wrapping to the other side.
TEST_F(AxisDrawFixture, ThreeDimensionalGridOfALabelFarOffTheAxis) {
    chart.SetView3D(true);
    TChartAxis& b = chart.BottomAxis();
    b.SetMinMaxRange(0, 1.0000001);
    b.SetInverted(true);
    chart.OnGetNextAxisLabel = [](TChartAxis& a, int index, double& value, bool& stop) {
        if (!a.Horizontal)
            return;
        value = 0.5;
        stop = index > 0;
    };
    paint();
    const int d = chart.TotalDepth;
    ASSERT_GT(d, 0);
    EXPECT_EQ(b.ValueToPixel(0.5), INT_MAX);
    const int y = b.AxisLinePos();
    EXPECT_NE(findLine(c, {INT_MAX, y}, {INT_MAX, y - d}), nullptr);
    EXPECT_EQ(c.Calc3DPoint(INT_MAX, y, d), (TPoint{INT_MAX, y - d}));
    EXPECT_EQ(c.Calc3DPoint(0, INT_MIN + 1, d), (TPoint{d, INT_MIN}));
}

// Two labels at the end of the integer range (as above, in 2D): the centred
// grid line between them and an upright label text stay there too.
TEST_F(AxisDrawFixture, CentredGridAndRotatedTextOfLabelsFarOffTheAxis) {
    TChartAxis& b = chart.BottomAxis();
    b.SetMinMaxRange(0, 1.0000001);
    b.SetInverted(true);
    b.SetGridCentered(true);
    b.SetLabelsAngle(270);
    chart.OnGetNextAxisLabel = [](TChartAxis& a, int index, double& value, bool& stop) {
        if (!a.Horizontal)
            return;
        value = index == 0 ? 0.5 : 0.4;
        stop = index > 1;
    };
    paint();
    const TRect r = chart.ChartRect();
    EXPECT_EQ(b.ValueToPixel(0.5), INT_MAX);
    EXPECT_EQ(b.ValueToPixel(0.4), INT_MAX);
    EXPECT_NE(findLine(c, {INT_MAX, r.top + 1}, {INT_MAX, r.bottom}), nullptr);
    EXPECT_EQ(c.textsEqual("0.4").size(), 1u);
    const auto t = c.textsEqual("0.5");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].kind, OpKind::RotatedText);
    EXPECT_EQ(t[0].pts[0], (TPoint{INT_MAX, b.LabelsPos()}));
}

TEST(AxisDrawBare, AllFourAxesWithoutSeries) {
    TChart chart;
    chart.SetView3D(false);
    chart.TopAxis().Title().SetCaption("top");
    RecordingCanvas c;
    chart.DrawChart(c, {0, 0, 400, 250});
    for (TChartAxis* a :
         {&chart.BottomAxis(), &chart.TopAxis(), &chart.LeftAxis(), &chart.RightAxis()})
        EXPECT_TRUE(chart.IsAxisDrawn(*a));
    EXPECT_FALSE(chart.IsAxisDrawn(chart.DepthAxis()));
    const TRect r = chart.ChartRect();
    // Lines on all four sides, no ticks, no grid, no labels.
    EXPECT_NE(findLine(c, {r.left, r.bottom}, {r.right, r.bottom}), nullptr);
    EXPECT_NE(findLine(c, {r.left, r.top}, {r.right, r.top}), nullptr);
    EXPECT_NE(findLine(c, {r.left, r.top}, {r.left, r.bottom}), nullptr);
    EXPECT_NE(findLine(c, {r.right, r.top}, {r.right, r.bottom}), nullptr);
    int lines = 0;
    for (const Op& op : c.ops)
        if (op.kind == OpKind::Line)
            ++lines;
    EXPECT_EQ(lines, 4);
    // Top title: its bottom on the edge of its band.
    const auto t = c.textsEqual("top");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].va, vtaBottom);
    EXPECT_EQ(t[0].pts[0].y, chart.TopAxis().TitlePos());
    // Horizontal axes keep a label band of one line; vertical ones none.
    EXPECT_EQ(chart.BottomAxis().LabelsPos(), 240 - 16);
    EXPECT_EQ(r.left, 12 + 6);
}

TEST(AxisDrawText, MultiLineAndRotatedAnchors) {
    TChart chart;
    chart.SetView3D(false);
    RecordingCanvas c;
    chart.SetAxisVisible(false);
    chart.OnAfterDraw = [&](TCustomChartPanel&) {
        // h = 16 on the recording surface.
        chart.BottomAxis().DrawLabelText(100, 50, "a\nb", 0);
        chart.TopAxis().DrawLabelText(100, 50, "a\nb", 0);
        chart.LeftAxis().DrawLabelText(100, 50, "a\nb\nc", 0);
        chart.BottomAxis().DrawLabelText(100, 50, "r", 90);
        chart.BottomAxis().DrawLabelText(100, 50, "s", 270);
        chart.LeftAxis().DrawLabelText(100, 50, "t", 180);
        chart.RightAxis().DrawLabelText(100, 50, "u", 45);
    };
    chart.DrawChart(c, {0, 0, 400, 250});
    auto at = [&](const std::string& s) {
        std::vector<TPoint> out;
        for (const Op& op : c.textsEqual(s))
            out.push_back(op.pts[0]);
        return out;
    };
    // Bottom: first line at the anchor; top: last line ends at it.
    EXPECT_EQ(at("a")[0], (TPoint{100, 50}));
    EXPECT_EQ(at("b")[0], (TPoint{100, 66}));
    EXPECT_EQ(at("a")[1], (TPoint{100, 34}));
    EXPECT_EQ(at("b")[1], (TPoint{100, 50}));
    // Left: the block of three lines centred on y (first line top 50 - 24).
    EXPECT_EQ(at("a")[2], (TPoint{100, 50 - 8 - 16}));
    EXPECT_EQ(at("c")[0], (TPoint{100, 50 - 8 + 16}));
    EXPECT_EQ(at("r")[0], (TPoint{92, 50}));
    EXPECT_EQ(c.textsEqual("r")[0].ha, htaRight);
    EXPECT_EQ(at("s")[0], (TPoint{108, 50}));
    EXPECT_EQ(c.textsEqual("s")[0].ha, htaLeft);
    EXPECT_EQ(at("t")[0], (TPoint{100, 58}));
    EXPECT_EQ(c.textsEqual("t")[0].ha, htaLeft);
    EXPECT_EQ(c.textsEqual("u")[0].angle, 45);
    EXPECT_EQ(c.textsEqual("u")[0].ha, htaLeft);
}

TEST_F(AxisDrawFixture, MinorGridLikeGridLines) {
    chart.BottomAxis().MinorGrid().SetVisible(true);
    chart.BottomAxis().MinorGrid().SetColor(clSilver);
    chart.BottomAxis().MinorTicks().SetVisible(false);
    paint();
    TChartAxis& b = chart.BottomAxis();
    const double v100 = b.PixelToValue(b.ValueToPixel(100)); // minor ticks start from the tick
    for (double v : {32.5, 55.0, 77.5, v100 + (10 * v100 - v100) / 4}) {
        const int x = b.ValueToPixel(v);
        const Op* g = findLine(c, {x, 32}, {x, 202});
        ASSERT_NE(g, nullptr) << v;
        EXPECT_EQ(g->pen.color, clSilver);
        EXPECT_EQ(countLines(c, {x, 203}, {x, 205}), 0) << v;
    }
}

TEST(AxisDrawOtherSide, TopAndRightAxesAtTheBackIn3D) {
    TChart chart;
    chart.Legend().SetVisible(false);
    auto* s = &chart.AddSeries(std::make_unique<TChartSeries>());
    s->SetHorizAxis(aTopAxis);
    s->SetVertAxis(aRightAxis);
    s->AddPoint(0, 0);
    s->AddPoint(10, 10);
    chart.TopAxis().SetMinMaxRange(0, 10);
    chart.TopAxis().SetIncrement(5);
    chart.TopAxis().SetLabelsSeparation(0);
    RecordingCanvas c;
    chart.DrawChart(c, {0, 0, 400, 250});
    EXPECT_TRUE(chart.IsAxisDrawn(chart.TopAxis()));
    EXPECT_FALSE(chart.IsAxisDrawn(chart.BottomAxis()));
    const int d = chart.TotalDepth;
    ASSERT_GT(d, 0);
    TChartAxis& t = chart.TopAxis();
    const TRect r = chart.ChartRect();
    // The line, the labels and the grid of the top axis lie on the back plane.
    EXPECT_NE(findLine(c, c.Calc3DPoint(t.ScaleMap().StartPixel(), r.top, d),
                       c.Calc3DPoint(t.ScaleMap().EndPixel(), r.top, d)),
              nullptr);
    const auto five = c.textsEqual("5");
    ASSERT_FALSE(five.empty());
    EXPECT_EQ(five[0].pts[0], c.Calc3DPoint(t.ValueToPixel(5), t.LabelsPos(), d));
    EXPECT_EQ(five[0].va, vtaBottom);
    const int x = t.ValueToPixel(5);
    EXPECT_NE(findLine(c, c.Calc3DPoint(x, r.top, d), c.Calc3DPoint(x, r.bottom, d)), nullptr);
    // Outward ticks go up, away from the plot.
    EXPECT_NE(findLine(c, c.Calc3DPoint(x, r.top - 1, d), c.Calc3DPoint(x, r.top - 5, d)), nullptr);
}
