// The chart of the chart window without the window: its design state, the
// curve an activation draws, and how curves are started and removed.
#include "base/errors.h"
#include "base/numbers.h"
#include "chartwin/coordination_chart.h"

#include <gtest/gtest.h>

namespace telvara {
namespace {

using Points = std::vector<CurvePoint>;

RelayCurrents exampleCurrents() {
    RelayCurrents v;
    deriveRecordCurrents("100", "4", "40", v);
    return v;
}

CurveEntries entries(std::array<std::string, 7> times, std::string device = "51R",
                     bool timeCheck = false) {
    CurveEntries e;
    e.times = std::move(times);
    e.device = std::move(device);
    e.timeCheck = timeCheck;
    return e;
}

Points seriesPoints(const TChartSeries& s) {
    Points out;
    for (int i = 0; i < s.Count(); ++i)
        out.push_back({s.XValues()[i], s.YValues()[i]});
    return out;
}

class CoordinationChartTest : public ::testing::Test {
protected:
    void SetUp() override { setNumberLocale({".", ","}); }
    TChart chart_;
    TCoordinationChart coord{chart_};
};

TEST(RecordCurrents, FollowTheTapAndTheInstTap) {
    RelayCurrents v = exampleCurrents();
    EXPECT_EQ(80, v.TapCurrent);
    EXPECT_EQ(120, v.Current150);
    EXPECT_EQ(160, v.Current200);
    EXPECT_EQ(240, v.Current300);
    EXPECT_EQ(320, v.Current400);
    EXPECT_EQ(400, v.Current500);
    EXPECT_EQ(560, v.Current700);
    EXPECT_EQ(4000, v.InstCurrent);
    // An INST tap of 0 keeps the previous INST current.
    deriveRecordCurrents("200", "2.5", "0", v);
    EXPECT_EQ(100, v.TapCurrent);
    EXPECT_EQ(700, v.Current700);
    EXPECT_EQ(4000, v.InstCurrent);
    // A tap of 0 is taken as it is: every current 0.
    deriveRecordCurrents("200", "0", "10", v);
    EXPECT_EQ(0, v.Current150);
    EXPECT_EQ(2000, v.InstCurrent);
    try {
        deriveRecordCurrents("1OO", "4", "40", v);
        FAIL() << "no failure";
    } catch (const ConvertError& e) {
        EXPECT_STREQ("'1OO' は浮動小数点数ではありません", e.what());
    }
}

TEST(CurvePoints, ExampleRelayAndEveryCornerRule) {
    const RelayCurrents c = exampleCurrents();
    EXPECT_EQ((Points{{120, 10},
                      {160, 5},
                      {240, 3},
                      {320, 2.2},
                      {400, 1.8},
                      {560, 1.5},
                      {4000, 1.5},
                      {4000, 0.05}}),
              curvePoints({"10", "5", "3", "2.2", "1.8", "1.5", "0.05"}, c));
    // Only the INST time: the foot alone, no corner.
    EXPECT_EQ((Points{{4000, 0.05}}), curvePoints({"0", "0", "0", "0", "0", "0", "0.05"}, c));
    // 150 % and INST: straight from one to the other.
    EXPECT_EQ((Points{{120, 10}, {4000, 0.05}}),
              curvePoints({"10", "0", "0", "0", "0", "0", "0.05"}, c));
    // 200 % and 400 % with INST: the corner at the 400 % time.
    EXPECT_EQ((Points{{160, 5}, {320, 2.2}, {4000, 2.2}, {4000, 0.05}}),
              curvePoints({"0", "5", "0", "2.2", "0", "0", " 0.05 "}, c));
    // The corner at each highest multiple in turn.
    EXPECT_EQ((Points{{400, 1.8}, {4000, 1.8}, {4000, 0.1}}),
              curvePoints({"0", "0", "0", "0", "1.8", "0", "0.1"}, c));
    EXPECT_EQ((Points{{240, 3}, {4000, 3}, {4000, 0.1}}),
              curvePoints({"0", "0", "3", "0", "0", "0", "0.1"}, c));
    EXPECT_EQ((Points{{160, 5}, {4000, 5}, {4000, 0.1}}),
              curvePoints({"0", "5", "0", "0", "0", "0", "0.1"}, c));
    // No INST time: no step at all.
    EXPECT_EQ((Points{{120, 10}, {560, 1.5}}),
              curvePoints({"10", "0", "0", "0", "0", "1.5", "0"}, c));
    // All zero: nothing; negative times are kept as they are.
    EXPECT_EQ(Points{}, curvePoints({"0", "0", "0", "0", "0", "0", "0"}, c));
    EXPECT_EQ((Points{{120, -1}}), curvePoints({"-1", "0", "0", "0", "0", "0", "0"}, c));
}

TEST_F(CoordinationChartTest, DesignState) {
    TChart& chart = coord.Chart();
    EXPECT_EQ("Chart1", chart.Name());
    EXPECT_FALSE(chart.View3D());
    EXPECT_TRUE(chart.Gradient().Visible());
    EXPECT_EQ(clWhite, chart.Gradient().StartColor());
    EXPECT_EQ(TColor(8454016), chart.Gradient().EndColor());
    EXPECT_EQ(gdTopBottom, chart.Gradient().Direction());
    EXPECT_EQ(std::vector<std::string>{"保護協調曲線"}, chart.Title().Text());
    EXPECT_EQ(clWhite, chart.Color());
    EXPECT_EQ(bvLowered, chart.BevelInner());
    EXPECT_EQ(clWhite, chart.BackWall().Brush().Color());
    EXPECT_EQ(bsClear, chart.BackWall().Brush().Style());
    EXPECT_TRUE(chart.Zoomer().AnimatedZoom());
    EXPECT_FALSE(chartPrintOptions().proportional);
    EXPECT_EQ("ＭＳ Ｐ明朝", chart.Legend().Font().Name());
    EXPECT_EQ(12, chart.Legend().Font().Height());

    TChartAxis& bottom = chart.BottomAxis();
    TChartAxis& left = chart.LeftAxis();
    EXPECT_TRUE(bottom.Logarithmic());
    EXPECT_TRUE(bottom.Automatic());
    EXPECT_EQ("過電流値（Ａ）", bottom.Title().Caption());
    EXPECT_TRUE(left.Logarithmic());
    EXPECT_FALSE(left.Automatic());
    EXPECT_FALSE(left.AutomaticMinimum());
    EXPECT_FALSE(left.AutomaticMaximum());
    EXPECT_FALSE(left.ExactDateTime());
    EXPECT_EQ(1000, left.Maximum());
    EXPECT_EQ("時間（秒）", left.Title().Caption());
    for (TChartAxis* a : {&bottom, &left}) {
        for (TChartFont* f : {&a->LabelsFont(), &a->Title().Font()}) {
            EXPECT_EQ("ＭＳ Ｐ明朝", f->Name());
            EXPECT_EQ(12, f->Height());
            EXPECT_EQ(clBlack, f->Color());
        }
        EXPECT_EQ("#,##0.###", a->AxisValuesFormat());
    }
    EXPECT_TRUE(chart.OnGetNextAxisLabel);
    EXPECT_TRUE(chart.OnGetAxisLabel);

    ASSERT_EQ(1, chart.NumSeries());
    auto* s1 = dynamic_cast<TLineSeries*>(chart.SeriesAt(0));
    ASSERT_NE(nullptr, s1);
    EXPECT_EQ("Series1", s1->Name());
    EXPECT_EQ(clRed, s1->SeriesColor());
    EXPECT_EQ("51", s1->Title());
    EXPECT_EQ(smsValue, s1->Marks().Style());
    EXPECT_FALSE(s1->Marks().Visible());
    EXPECT_EQ(8, s1->Marks().ArrowLength());
    EXPECT_EQ("ＭＳ Ｐ明朝", s1->Marks().Font().Name());
    EXPECT_EQ(12, s1->Marks().Font().Height());
    EXPECT_FALSE(s1->Pointer().Visible());
    EXPECT_NE(nullptr, dynamic_cast<TAverageFunction*>(s1->Function()));
    EXPECT_EQ(loAscending, s1->XValues().Order());
    EXPECT_EQ(loNone, s1->YValues().Order());
    EXPECT_EQ(0, coord.SeriesCounter());
}

TEST_F(CoordinationChartTest, DrawingSetsAxesTitleAndAppendsPoints) {
    const RelayCurrents c = exampleCurrents();
    TChart& chart = coord.Chart();
    chart.BottomAxis().SetMinMaxRange(1, 100000); // "電流軸最小値" checked before
    chart.LeftAxis().SetLogarithmic(false);
    coord.DrawEntries(entries({"10", "5", "3", "2.2", "1.8", "1.5", "0.05"}), c);
    EXPECT_EQ(10, chart.BottomAxis().Minimum());
    EXPECT_EQ(100000, chart.BottomAxis().Maximum());
    EXPECT_FALSE(chart.BottomAxis().Automatic());
    EXPECT_TRUE(chart.BottomAxis().Logarithmic());
    EXPECT_TRUE(chart.BottomAxis().TickOnLabelsOnly());
    EXPECT_EQ(0.01, chart.LeftAxis().Minimum());
    EXPECT_EQ(10, chart.LeftAxis().Maximum());
    EXPECT_TRUE(chart.LeftAxis().Logarithmic());
    EXPECT_EQ(10, coord.TimeAxisMaximum());
    TChartSeries& s = *coord.CurrentSeries();
    EXPECT_EQ("51R", s.Title());
    EXPECT_EQ(clRed, s.SeriesColor());
    const Points once = {{120, 10},  {160, 5},   {240, 3},    {320, 2.2},
                         {400, 1.8}, {560, 1.5}, {4000, 1.5}, {4000, 0.05}};
    EXPECT_EQ(once, seriesPoints(s));
    for (int i = 0; i < s.Count(); ++i) {
        EXPECT_EQ(clDefault, s.ColorList()[std::size_t(i)]);
        EXPECT_FALSE(s.LabelList()[std::size_t(i)].has_value());
    }

    // Again: one curve per relay, replaced and never extended.
    coord.DrawEntries(entries({"10", "5", "3", "2.2", "1.8", "1.5", "0.05"}, "51R", true), c);
    EXPECT_EQ(1000, chart.LeftAxis().Maximum());
    EXPECT_EQ(1000, coord.TimeAxisMaximum());
    EXPECT_EQ(once, seriesPoints(s));
    EXPECT_EQ(1, chart.NumSeries());
    // Another relay without a new curve first gets a curve of its own.
    coord.DrawEntries(entries({"1", "0", "0", "0", "0", "0", "0"}, "67", true), c);
    ASSERT_EQ(2, chart.NumSeries());
    EXPECT_EQ(once, seriesPoints(s));
    EXPECT_EQ((Points{{120, 1}}), seriesPoints(*chart.SeriesAt(1)));
    EXPECT_EQ("67", chart.SeriesAt(1)->Title());
}

TEST_F(CoordinationChartTest, TimeThatIsNotANumberChangesNothing) {
    TChart& chart = coord.Chart();
    chart.BottomAxis().SetMinMaxRange(1, 100000);
    try {
        coord.DrawEntries(entries({"10", "5", "3x", "0", "0", "0", "0"}, "67"), exampleCurrents());
        FAIL() << "no failure";
    } catch (const ConvertError& e) {
        EXPECT_STREQ("'3x' は浮動小数点数ではありません", e.what());
    }
    EXPECT_EQ(1, chart.BottomAxis().Minimum());
    EXPECT_EQ("51", coord.CurrentSeries()->Title());
    EXPECT_EQ(0, coord.CurrentSeries()->Count());
}

TEST_F(CoordinationChartTest, NewCurvesTakeFreePaletteColoursAndRemovalGoesBackwards) {
    TChart& chart = coord.Chart();
    for (int i = 0; i < 3; ++i)
        coord.StartNewCurve();
    EXPECT_EQ(3, coord.SeriesCounter());
    ASSERT_EQ(4, chart.NumSeries());
    EXPECT_EQ(clRed, chart.SeriesAt(0)->SeriesColor());
    EXPECT_EQ(clGreen, chart.SeriesAt(1)->SeriesColor());
    EXPECT_EQ(clYellow, chart.SeriesAt(2)->SeriesColor());
    EXPECT_EQ(clBlue, chart.SeriesAt(3)->SeriesColor());
    EXPECT_EQ(chart.SeriesAt(3), coord.CurrentSeries());
    // White is the panel's colour: the fifth curve skips it.
    coord.StartNewCurve();
    EXPECT_EQ(clGray, chart.SeriesAt(4)->SeriesColor());

    for (int expected = 3; expected >= -1; --expected) {
        coord.RemoveCurrentCurve();
        EXPECT_EQ(expected, coord.SeriesCounter());
        EXPECT_EQ(expected + 1, chart.NumSeries());
    }
    EXPECT_EQ(nullptr, coord.CurrentSeries());
    // Past the last one: nothing happens.
    coord.RemoveCurrentCurve();
    EXPECT_EQ(-1, coord.SeriesCounter());
    EXPECT_EQ(0, chart.NumSeries());

    // Drawing with no curve left starts one first.
    coord.DrawEntries(entries({"0", "0", "0", "0", "0", "0", "0.05"}, "50"), exampleCurrents());
    EXPECT_EQ(0, coord.SeriesCounter());
    ASSERT_EQ(1, chart.NumSeries());
    EXPECT_EQ("50", chart.SeriesAt(0)->Title());
    EXPECT_EQ(clRed, chart.SeriesAt(0)->SeriesColor());
    EXPECT_EQ((Points{{4000, 0.05}}), seriesPoints(*chart.SeriesAt(0)));
}

TEST_F(CoordinationChartTest, ManualPointsSwitchesAndClearing) {
    TChart& chart = coord.Chart();
    coord.StartManualCurve();
    coord.AddManualPoint("M1", "300", "2");
    coord.AddManualPoint("M1", " 100 ", "5");
    coord.AddManualPoint("M1", "200", "3");
    TChartSeries& s = *coord.CurrentSeries();
    EXPECT_EQ("M1", s.Title());
    EXPECT_EQ((Points{{100, 5}, {200, 3}, {300, 2}}), seriesPoints(s));
    // The title is set before the texts are read.
    EXPECT_THROW(coord.AddManualPoint("M2", "電流値", "1"), ConvertError);
    EXPECT_EQ("M2", s.Title());
    EXPECT_EQ(3, s.Count());
    EXPECT_THROW(coord.AddManualPoint("M3", "50", "時間"), ConvertError);
    EXPECT_EQ(3, s.Count());
    const TColor colour = s.SeriesColor();
    coord.ClearCurrentPoints();
    EXPECT_EQ(0, s.Count());
    EXPECT_EQ("M3", s.Title());
    EXPECT_EQ(colour, s.SeriesColor());

    coord.SetCurrentAxisFromOne(true);
    EXPECT_EQ(1, chart.BottomAxis().Minimum());
    EXPECT_EQ(100000, chart.BottomAxis().Maximum());
    coord.SetCurrentAxisFromOne(false);
    EXPECT_EQ(10, chart.BottomAxis().Minimum());

    coord.SetMarksVisible(true);
    EXPECT_TRUE(chart.SeriesAt(0)->Marks().Visible());
    EXPECT_TRUE(chart.SeriesAt(1)->Marks().Visible());
    coord.StartNewCurve();
    EXPECT_TRUE(chart.SeriesAt(2)->Marks().Visible());
    coord.SetMarksVisible(false);
    coord.StartNewCurve();
    EXPECT_FALSE(chart.SeriesAt(3)->Marks().Visible());
}

TEST_F(CoordinationChartTest, ManualPointsNeverGoIntoARelaysCurve) {
    TChart& chart = coord.Chart();
    CurveEntries entries;
    entries.times = {"10", "0", "0", "0", "0", "0", "0"};
    entries.device = "51R";
    coord.DrawEntries(entries, exampleCurrents());
    // "入力", then "ｸﾞﾗﾌの削除": the relay's curve is current again.
    coord.StartManualCurve();
    coord.RemoveCurrentCurve();
    coord.AddManualPoint("X", "100", "1");
    ASSERT_EQ(2, chart.NumSeries());
    EXPECT_EQ("51R", chart.SeriesAt(0)->Title());
    EXPECT_EQ((Points{{120, 10}}), seriesPoints(*chart.SeriesAt(0)));
    EXPECT_EQ("X", chart.SeriesAt(1)->Title());
    EXPECT_EQ((Points{{100, 1}}), seriesPoints(*chart.SeriesAt(1)));
    // The relay drawn again while the typed curve is current: its own curve
    // is replaced, the typed points stay where they are.
    entries.times = {"20", "0", "0", "0", "0", "0", "0"};
    coord.DrawEntries(entries, exampleCurrents());
    coord.AddManualPoint("Y", "200", "2");
    ASSERT_EQ(2, chart.NumSeries());
    EXPECT_EQ((Points{{120, 20}}), seriesPoints(*chart.SeriesAt(0)));
    EXPECT_EQ("Y", chart.SeriesAt(1)->Title());
    EXPECT_EQ((Points{{100, 1}, {200, 2}}), seriesPoints(*chart.SeriesAt(1)));
}

TEST_F(CoordinationChartTest, AllRelaysDrawnInTurnAsTheListWindowDoes) {
    const RelaySettings a{"51R", "100", "4", "40", {"10", "5", "3", "2.2", "1.8", "1.5", "0.05"}};
    // INST tap 0: the INST current of the relay before stays.
    const RelaySettings b{"67", "200", "2.", "0", {"0", "2", "0", "0", "0", "0", "0.1"}};
    RelayCurrents values;
    drawAllRelays(coord, {a, b}, true, values);
    TChart& chart = coord.Chart();
    ASSERT_EQ(2, chart.NumSeries());
    EXPECT_EQ(1, coord.SeriesCounter());
    EXPECT_EQ("51R", chart.SeriesAt(0)->Title());
    EXPECT_EQ(clRed, chart.SeriesAt(0)->SeriesColor());
    EXPECT_EQ(8, chart.SeriesAt(0)->Count());
    EXPECT_EQ("67", chart.SeriesAt(1)->Title());
    EXPECT_EQ(clGreen, chart.SeriesAt(1)->SeriesColor());
    // Shown at the end: the last relay's curve drawn once more, not twice.
    EXPECT_EQ((Points{{160, 2}, {4000, 2}, {4000, 0.1}}), seriesPoints(*chart.SeriesAt(1)));
    EXPECT_EQ(1000, chart.LeftAxis().Maximum());

    // A relay the chart cannot draw is named and skipped; the others are drawn.
    const RelaySettings bad{"X", "1OO", "4", "40", {"1", "0", "0", "0", "0", "0", "0"}, "B電力"};
    const RelaySettings negative{"Y", "100", "4", "40", {"-1", "0", "0", "0", "0", "0", "0"}};
    EXPECT_EQ(
        drawAllRelays(coord, {bad, a, negative}, false, values),
        (std::vector<std::string>{
            "B電力,X: CT比には 0 より大きい数を入れてください：「1OO」",
            ",Y: 150%の時間には 0（点を描かない）か 0 より大きい数を入れてください：「-1」"}));
    // "51R" drawn again replaces its own curve; "67" keeps its curve.
    ASSERT_EQ(2, chart.NumSeries());
    EXPECT_EQ(1, coord.SeriesCounter());
    EXPECT_EQ(8, chart.SeriesAt(0)->Count());
    EXPECT_EQ(3, chart.SeriesAt(1)->Count());
    EXPECT_EQ(10, chart.LeftAxis().Maximum());

    // The same relay twice: one curve, and no empty one left behind for it.
    TChart other;
    TCoordinationChart again(other);
    std::vector<std::string> drawn;
    drawAllRelays(again, {a, a, b}, false, values, [&](const RelaySettings& r, TChartSeries& s) {
        drawn.push_back(r.device + "/" + s.Title());
    });
    EXPECT_EQ(drawn, (std::vector<std::string>{"51R/51R", "51R/51R", "67/67"}));
    ASSERT_EQ(2, other.NumSeries());
    EXPECT_EQ("51R", other.SeriesAt(0)->Title());
    EXPECT_EQ("67", other.SeriesAt(1)->Title());
    EXPECT_EQ(clGreen, other.SeriesAt(1)->SeriesColor());
}

} // namespace
} // namespace telvara
