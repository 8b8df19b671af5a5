// Axis properties, range rules and the value/pixel mapping.
#include "chart/chart.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

using namespace telvara;

namespace {

// Counts repaint requests of a chart.
struct CountingHost : TChartHost {
    int invalidations = 0;
    void InvalidateChart() override { ++invalidations; }
    void RepaintChartNow() override {}
    void SetChartCursor(TCursor) override {}
};

void layOut(TChartAxis& a, const TRect& plot) {
    a.ComputeEffectiveRange();
    a.ComputeAxisPixels(plot);
}

} // namespace

TEST(AxisModel, DefaultsAndListOrder) {
    TChart chart;
    const auto& axes = chart.AxesList();
    ASSERT_EQ(axes.size(), 5u);
    EXPECT_EQ(axes[0], &chart.BottomAxis());
    EXPECT_EQ(axes[1], &chart.TopAxis());
    EXPECT_EQ(axes[2], &chart.LeftAxis());
    EXPECT_EQ(axes[3], &chart.RightAxis());
    EXPECT_EQ(axes[4], &chart.DepthAxis());
    EXPECT_TRUE(chart.BottomAxis().Horizontal && !chart.BottomAxis().OtherSide);
    EXPECT_TRUE(chart.TopAxis().Horizontal && chart.TopAxis().OtherSide);
    EXPECT_TRUE(!chart.LeftAxis().Horizontal && !chart.LeftAxis().OtherSide);
    EXPECT_TRUE(!chart.RightAxis().Horizontal && chart.RightAxis().OtherSide);
    EXPECT_TRUE(chart.DepthAxis().IsDepthAxis);
    EXPECT_FALSE(chart.DepthAxis().Visible());
    EXPECT_EQ(chart.BottomAxis().Title().Angle(), 0);
    EXPECT_EQ(chart.TopAxis().Title().Angle(), 0);
    EXPECT_EQ(chart.LeftAxis().Title().Angle(), 90);
    EXPECT_EQ(chart.RightAxis().Title().Angle(), 270);
    EXPECT_EQ(chart.DepthAxis().Title().Angle(), 0);

    TChartAxis& a = chart.BottomAxis();
    EXPECT_TRUE(a.Automatic() && a.AutomaticMaximum() && a.AutomaticMinimum());
    EXPECT_EQ(a.Axis().Color(), clBlack);
    EXPECT_EQ(a.Axis().Width(), 2);
    EXPECT_EQ(a.AxisValuesFormat(), "#,##0.###");
    EXPECT_EQ(a.DateTimeFormat(), "");
    EXPECT_TRUE(a.ExactDateTime());
    EXPECT_EQ(a.Grid().Color(), 0x808080u);
    EXPECT_EQ(a.Grid().Style(), psDot);
    EXPECT_TRUE(a.Grid().Visible());
    EXPECT_FALSE(a.GridCentered());
    EXPECT_EQ(a.Increment(), 0);
    EXPECT_FALSE(a.Inverted());
    EXPECT_TRUE(a.Labels());
    EXPECT_EQ(a.LabelsAngle(), 0);
    EXPECT_FALSE(a.LabelsMultiLine());
    EXPECT_TRUE(a.LabelsOnAxis());
    EXPECT_EQ(a.LabelsSeparation(), 10);
    EXPECT_EQ(a.LabelsSize(), 0);
    EXPECT_EQ(a.LabelStyle(), talAuto);
    EXPECT_FALSE(a.Logarithmic());
    EXPECT_EQ(a.LogarithmicBase(), 10);
    EXPECT_EQ(a.Maximum(), 0);
    EXPECT_EQ(a.Minimum(), 0);
    EXPECT_FALSE(a.MinorGrid().Visible());
    EXPECT_EQ(a.MinorTickCount(), 3);
    EXPECT_EQ(a.MinorTickLength(), 2);
    EXPECT_TRUE(a.MinorTicks().Visible());
    EXPECT_EQ(a.MinorTicks().Color(), 0x808080u);
    EXPECT_EQ(a.StartPosition(), 0);
    EXPECT_EQ(a.EndPosition(), 100);
    EXPECT_EQ(a.PositionPercent(), 0);
    EXPECT_TRUE(a.RoundFirstLabel());
    EXPECT_EQ(a.TickInnerLength(), 0);
    EXPECT_EQ(a.TickLength(), 4);
    EXPECT_TRUE(a.TickOnLabelsOnly());
    EXPECT_EQ(a.Ticks().Color(), 0x808080u);
    EXPECT_TRUE(a.TicksInner().Visible());
    EXPECT_EQ(a.Title().Caption(), "");
    EXPECT_EQ(a.TitleSize(), 0);
    EXPECT_TRUE(a.Visible());
    EXPECT_EQ(a.LabelsFont().Name(), "ＭＳ Ｐ明朝");
    EXPECT_EQ(a.LabelsFont().Height(), 12);
}

TEST(AxisModel, SettersInvalidateOnlyOnChange) {
    TChart chart;
    CountingHost host;
    chart.SetHost(&host);
    TChartAxis& a = chart.LeftAxis();
    a.SetTickLength(4);
    a.SetInverted(false);
    a.Grid().SetColor(0x808080);
    EXPECT_EQ(host.invalidations, 0);
    a.SetTickLength(6);
    EXPECT_EQ(host.invalidations, 1);
    EXPECT_TRUE(chart.Dirty());
    a.Grid().SetStyle(psSolid);
    a.Title().SetCaption("時間（秒）");
    a.LabelsFont().SetHeight(14);
    EXPECT_EQ(host.invalidations, 4);
}

TEST(AxisModel, AutomaticFlagsCouple) {
    TChart chart;
    TChartAxis& a = chart.LeftAxis();
    a.SetAutomatic(false);
    EXPECT_FALSE(a.AutomaticMinimum());
    EXPECT_FALSE(a.AutomaticMaximum());
    a.SetAutomaticMinimum(true); // the other end is manual: Automatic stays False
    EXPECT_TRUE(a.AutomaticMinimum());
    EXPECT_FALSE(a.Automatic());
    a.SetAutomaticMaximum(true); // both ends automatic again
    EXPECT_TRUE(a.Automatic());
    a.SetAutomaticMaximum(false);
    EXPECT_FALSE(a.Automatic());
    EXPECT_TRUE(a.AutomaticMinimum());
    // While the stored form is read, Automatic leaves the ends alone.
    a.Loading = true;
    a.SetAutomatic(true);
    EXPECT_FALSE(a.AutomaticMaximum());
    a.Loading = false;
}

TEST(AxisModel, InvalidValuesThrowAndStoreNothing) {
    TChart chart;
    TChartAxis& a = chart.BottomAxis();
    auto expectThrow = [](auto fn, const char* text) {
        try {
            fn();
            FAIL() << "no exception for " << text;
        } catch (const AxisException& e) {
            EXPECT_STREQ(e.what(), text);
        }
    };
    a.SetMinMaxRange(10, 100);
    expectThrow([&] { a.SetMinimum(200); }, "軸の最小値は最大値以下でなければなりません");
    EXPECT_EQ(a.Minimum(), 10);
    expectThrow([&] { a.SetMaximum(5); }, "軸の最大値は最小値以上でなければなりません");
    EXPECT_EQ(a.Maximum(), 100);
    expectThrow([&] { a.SetIncrement(-1); }, "軸の増加単位は 0 以上でなければなりません");
    EXPECT_EQ(a.Increment(), 0);
    expectThrow([&] { a.SetLabelsSeparation(-1); }, "ラベルの間隔は 0 以上でなければなりません");
    EXPECT_EQ(a.LabelsSeparation(), 10);
    expectThrow([&] { a.SetLogarithmicBase(1); },
                "対数軸の LogarithmicBase プロパティは 2 より大きい値が必要です。");
    EXPECT_EQ(a.LogarithmicBase(), 10);
    a.SetLogarithmicBase(2);
    EXPECT_EQ(a.LogarithmicBase(), 2);
    // Equal ends are accepted; the stored form skips the cross checks.
    a.SetMinimum(100);
    EXPECT_EQ(a.Minimum(), 100);
    a.Loading = true;
    a.SetMinimum(500);
    EXPECT_EQ(a.Minimum(), 500);
}

TEST(AxisModel, LogarithmicSwitchChecks) {
    TChart chart;
    auto* s = &chart.AddSeries(std::make_unique<TChartSeries>());
    s->AddPoint(1, -3);
    s->AddPoint(2, 5);
    // Automatic left axis over a negative value: refused, scale stays linear.
    try {
        chart.LeftAxis().SetLogarithmic(true);
        FAIL();
    } catch (const AxisException& e) {
        EXPECT_STREQ(e.what(), "対数軸の最大/最小値は 0 以上でなければなりません");
    }
    EXPECT_FALSE(chart.LeftAxis().Logarithmic());
    // A manual axis with minimum 0 is accepted.
    chart.LeftAxis().SetMinMaxRange(0, 10);
    chart.LeftAxis().SetLogarithmic(true);
    EXPECT_TRUE(chart.LeftAxis().Logarithmic());
    // Date-time values cannot be put on a logarithmic axis.
    s->XValues().SetDateTime(true);
    try {
        chart.BottomAxis().SetLogarithmic(true);
        FAIL();
    } catch (const AxisException& e) {
        EXPECT_STREQ(e.what(), "日付時刻軸を対数軸にすることはできません");
    }
    EXPECT_FALSE(chart.BottomAxis().Logarithmic());
    // Switching off is never checked.
    chart.LeftAxis().SetMinMaxRange(-5, 10);
    chart.LeftAxis().SetLogarithmic(false);
    EXPECT_FALSE(chart.LeftAxis().Logarithmic());
}

TEST(AxisModel, SetMinMaxRangeSwapsWidensAndGoesManual) {
    TChart chart;
    TChartAxis& a = chart.BottomAxis();
    a.SetMinMaxRange(100000, 10);
    EXPECT_EQ(a.Minimum(), 10);
    EXPECT_EQ(a.Maximum(), 100000);
    EXPECT_FALSE(a.Automatic());
    EXPECT_FALSE(a.AutomaticMinimum());
    EXPECT_FALSE(a.AutomaticMaximum());
    a.SetMinMaxRange(5, 5);
    EXPECT_EQ(a.Minimum(), 5);
    EXPECT_EQ(a.Maximum(), 5 + 1e-10);
    // No cross check against the old ends, no logarithmic check.
    a.SetLogarithmic(true);
    a.SetMinMaxRange(-20, -10);
    EXPECT_EQ(a.Minimum(), -20);
    EXPECT_EQ(a.Maximum(), -10);
}

TEST(AxisModel, EffectiveRangeFollowsSeries) {
    TChart chart;
    auto* s1 = &chart.AddSeries(std::make_unique<TChartSeries>());
    auto* s2 = &chart.AddSeries(std::make_unique<TChartSeries>());
    s1->AddPoint(5, 50);
    s1->AddPoint(7, 20);
    s2->AddPoint(-2, 80);
    s2->SetVertAxis(aRightAxis);
    chart.BottomAxis().ComputeEffectiveRange();
    EXPECT_EQ(chart.BottomAxis().ScaleMap().Minimum(), -2);
    EXPECT_EQ(chart.BottomAxis().ScaleMap().Maximum(), 7);
    EXPECT_EQ(chart.BottomAxis().ScaleMap().Range(), 9);
    EXPECT_EQ(chart.BottomAxis().Minimum(), -2); // written back
    chart.LeftAxis().ComputeEffectiveRange();
    EXPECT_EQ(chart.LeftAxis().ScaleMap().Minimum(), 20);
    EXPECT_EQ(chart.LeftAxis().ScaleMap().Maximum(), 50);
    chart.RightAxis().ComputeEffectiveRange();
    EXPECT_EQ(chart.RightAxis().ScaleMap().Maximum(), 80);
    // The top axis has no series: 0 .. 0.
    chart.TopAxis().ComputeEffectiveRange();
    EXPECT_EQ(chart.TopAxis().ScaleMap().Maximum(), 0);
    // An inactive series stops counting while an active one is attached.
    s2->SetActive(false);
    chart.BottomAxis().ComputeEffectiveRange();
    EXPECT_EQ(chart.BottomAxis().ScaleMap().Minimum(), 5);
    // With no active series on the axis, inactive ones count.
    chart.RightAxis().ComputeEffectiveRange();
    EXPECT_EQ(chart.RightAxis().ScaleMap().Maximum(), 80);
    // A manual maximum is kept, the automatic minimum still follows.
    chart.BottomAxis().SetAutomaticMaximum(false);
    chart.BottomAxis().SetMaximum(100);
    chart.BottomAxis().ComputeEffectiveRange();
    EXPECT_EQ(chart.BottomAxis().ScaleMap().Maximum(), 100);
    EXPECT_EQ(chart.BottomAxis().ScaleMap().Minimum(), 5);
    // Both-axes series count for top and bottom.
    s1->SetHorizAxis(aBothHorizAxis);
    chart.TopAxis().ComputeEffectiveRange();
    EXPECT_EQ(chart.TopAxis().ScaleMap().Maximum(), 7);
}

TEST(AxisModel, AxisPixelsRoundHalfToEven) {
    TChart chart;
    TChartAxis& a = chart.BottomAxis();
    a.SetStartPosition(12.5); // 20 * 0.125 = 2.5 -> 2
    a.SetEndPosition(87.5);   // 20 * 0.875 = 17.5 -> 18
    a.ComputeAxisPixels({100, 0, 120, 50});
    EXPECT_EQ(a.ScaleMap().StartPixel(), 102);
    EXPECT_EQ(a.ScaleMap().EndPixel(), 118);
    EXPECT_EQ(a.ScaleMap().AxisLength(), 16);
    EXPECT_EQ(a.ScaleMap().CenterPixel(), 110);
    TChartAxis& v = chart.LeftAxis();
    v.ComputeAxisPixels({0, -7, 10, 0});
    EXPECT_EQ(v.ScaleMap().StartPixel(), -7);
    EXPECT_EQ(v.ScaleMap().EndPixel(), 0);
    EXPECT_EQ(v.ScaleMap().CenterPixel(), -3); // truncated toward zero
}

TEST(AxisModel, LogarithmicMapping) {
    TChart chart;
    TChartAxis& h = chart.BottomAxis();
    h.SetMinMaxRange(10, 100000);
    h.SetLogarithmic(true);
    layOut(h, {100, 0, 900, 500});
    EXPECT_EQ(h.ValueToPixel(10), 100);
    EXPECT_EQ(h.ValueToPixel(100), 300);
    EXPECT_EQ(h.ValueToPixel(1000), 500);
    EXPECT_EQ(h.ValueToPixel(100000), 900);
    EXPECT_EQ(h.ValueToPixel(0), 100);
    EXPECT_EQ(h.ValueToPixel(-5), 100);
    EXPECT_EQ(h.PixelToValue(100), 10);
    EXPECT_EQ(h.PixelToValue(900), 100000);
    EXPECT_NEAR(h.PixelToValue(500), 1000, 1e-9);
    h.SetInverted(true);
    EXPECT_EQ(h.ValueToPixel(100), 700);
    EXPECT_EQ(h.ValueToPixel(0), 900);
    EXPECT_EQ(h.PixelToValue(100), 100000);
    EXPECT_NEAR(h.PixelToValue(700), 100, 1e-9);

    TChartAxis& v = chart.LeftAxis();
    v.SetMinMaxRange(10, 100000);
    v.SetLogarithmic(true);
    layOut(v, {0, 50, 100, 450});
    EXPECT_EQ(v.ValueToPixel(10), 450);
    EXPECT_EQ(v.ValueToPixel(100000), 50);
    EXPECT_EQ(v.ValueToPixel(1000), 250);
    EXPECT_EQ(v.ValueToPixel(-1), 450);
    EXPECT_EQ(v.PixelToValue(50), 100000);
    EXPECT_EQ(v.PixelToValue(450), 10);
    EXPECT_NEAR(v.PixelToValue(150), 10000, 1e-8);
    v.SetInverted(true);
    EXPECT_EQ(v.ValueToPixel(10), 50);
    EXPECT_EQ(v.ValueToPixel(0), 50);
    EXPECT_EQ(v.PixelToValue(50), 10);
}

TEST(AxisModel, LogarithmicMappingDegenerateEnds) {
    TChart chart;
    TChartAxis& h = chart.BottomAxis();
    // Minimum 0: ln counts as 0, so 1 sits at the low end and 0.1 beyond it.
    h.SetMinMaxRange(0, 100);
    h.SetLogarithmic(true);
    layOut(h, {0, 0, 200, 10});
    EXPECT_EQ(h.ValueToPixel(1), 0);
    EXPECT_EQ(h.ValueToPixel(10), 100);
    EXPECT_EQ(h.ValueToPixel(0.1), -100);
    // Equal ends: every value at the centre, every inner pixel the minimum.
    h.SetMinMaxRange(50, 50);
    h.SetMaximum(50);
    layOut(h, {0, 0, 200, 10});
    EXPECT_EQ(h.ValueToPixel(50), 100);
    EXPECT_EQ(h.ValueToPixel(7), 100);
    EXPECT_EQ(h.PixelToValue(37), 50);
    // Both ends <= 0 behave the same way.
    h.SetMinMaxRange(-10, 0);
    layOut(h, {0, 0, 200, 10});
    EXPECT_EQ(h.ValueToPixel(3), 100);
    EXPECT_EQ(h.PixelToValue(150), -10);
}

TEST(AxisModel, LinearMapping) {
    TChart chart;
    TChartAxis& h = chart.BottomAxis();
    h.SetMinMaxRange(0, 100);
    layOut(h, {10, 0, 210, 100});
    EXPECT_EQ(h.ValueToPixel(0), 10);
    EXPECT_EQ(h.ValueToPixel(50), 110);
    EXPECT_EQ(h.ValueToPixel(0.25), 10);   // 0.5 -> 0
    EXPECT_EQ(h.ValueToPixel(0.75), 12);   // 1.5 -> 2
    EXPECT_EQ(h.ValueToPixel(1e300), 110); // out of integer range: centre
    EXPECT_DOUBLE_EQ(h.PixelToValue(110), 50);
    h.SetInverted(true);
    EXPECT_EQ(h.ValueToPixel(0), 210);
    EXPECT_DOUBLE_EQ(h.PixelToValue(60), 75);

    TChartAxis& v = chart.LeftAxis();
    v.SetMinMaxRange(-10, 10);
    layOut(v, {0, 0, 10, 100});
    EXPECT_EQ(v.ValueToPixel(-10), 100);
    EXPECT_EQ(v.ValueToPixel(10), 0);
    EXPECT_DOUBLE_EQ(v.PixelToValue(25), 5);
    v.SetInverted(true);
    EXPECT_EQ(v.ValueToPixel(-10), 0);
    EXPECT_DOUBLE_EQ(v.PixelToValue(25), -5);
    // An empty range maps to the centre; a zero-length axis reads 0.
    v.SetInverted(false);
    v.SetMinMaxRange(3, 3);
    v.SetMaximum(3);
    layOut(v, {0, 0, 10, 100});
    EXPECT_EQ(v.ValueToPixel(3), 50);
    layOut(v, {0, 40, 10, 40});
    EXPECT_EQ(v.PixelToValue(40), 0);
}

TEST(AxisModel, SeriesMarginsOnlyAtAutomaticEnds) {
    TChart chart;
    TChartAxis& h = chart.BottomAxis();
    auto* s = &chart.AddSeries(std::make_unique<TChartSeries>());
    s->AddPoint(0, 1);
    s->AddPoint(100, 2);
    layOut(h, {0, 0, 100, 100});
    h.AdjustForMargins(10, 10);
    // 10 pixels of margin on an 80-pixel span of 0..100 is 12.5 units.
    EXPECT_DOUBLE_EQ(h.ScaleMap().Minimum(), -12.5);
    EXPECT_DOUBLE_EQ(h.ScaleMap().Maximum(), 112.5);
    EXPECT_EQ(h.ScaleMap().StartPixel(), 0);
    EXPECT_EQ(h.ScaleMap().EndPixel(), 100);
    EXPECT_DOUBLE_EQ(h.ScaleMap().Range(), 125);
    // A manual maximum keeps its end.
    h.SetAutomaticMaximum(false);
    h.SetMaximum(100);
    layOut(h, {0, 0, 100, 100});
    h.AdjustForMargins(10, 10);
    EXPECT_DOUBLE_EQ(h.ScaleMap().Maximum(), 100);
    EXPECT_NEAR(h.ScaleMap().Minimum(), -100.0 / 9, 1e-12);
}

TEST(AxisModel, MappingFarOutsideStaysDefined) {
    TChart chart;
    TChartAxis& h = chart.BottomAxis();
    h.SetMinMaxRange(0, 1);
    layOut(h, {100000, 0, 100800, 10});
    // 2147483000 pixels past a start of 100000: clamped to the integer range.
    EXPECT_EQ(h.ValueToPixel(2684353.75), INT_MAX);
    EXPECT_EQ(h.ValueToPixel(-2684353.75), 100000 - 2147483000);
    h.SetMinMaxRange(10, 100000);
    h.SetLogarithmic(true);
    layOut(h, {100, 0, 900, 10});
    EXPECT_EQ(h.ValueToPixel(std::numeric_limits<double>::infinity()), INT_MAX);
    EXPECT_EQ(h.ValueToPixel(1e-300),
              100 + static_cast<int>(std::nearbyint(800 * (std::log(1e-300) - std::log(10.0)) /
                                                    (std::log(100000.0) - std::log(10.0)))));
    // Default labels up to an infinite maximum end.
    auto* s = &chart.AddSeries(std::make_unique<TChartSeries>());
    s->AddPoint(5, 5);
    h.SetMinMaxRange(1, std::numeric_limits<double>::infinity());
    layOut(h, {100, 0, 900, 10});
    h.RunLabelPass();
    EXPECT_EQ(h.TickList().size(), 309u); // 1e0 .. 1e308
}
