// The coordination check on the chart's curves: its table, the legend
// option and what it draws.
#include "chartwin/coordination_check.h"

#include "base/numbers.h"
#include "text_canvas.h"

#include <gtest/gtest.h>

namespace telvara {
namespace {

RelaySettings flatRelay(std::string company, std::string device, std::string ct, std::string time) {
    // Tap 5: pick-up CT / 5 x 5 x 150 %, the same time to 700 %.
    RelaySettings r{
        std::move(device), std::move(ct), "5", "0", {time, "0", "0", "0", "0", time, "0"}};
    r.company = std::move(company);
    return r;
}

class CoordinationCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        setNumberLocale({".", ","});
        // 0.5 s from 150 A, 0.9 s from 300 A, 1.1 s from 600 A.
        drawAllRelays(coord,
                      {flatRelay("A電力", "51R", "100", "0.5"),
                       flatRelay("B電力", "51S", "200", "0.9"),
                       flatRelay("C電力", "51T", "400", "1.1")},
                      false, values);
        // Typed points below them all take no part.
        coord.StartManualCurve();
        coord.AddManualPoint("手入力", "20", "0.1");
        coord.AddManualPoint("手入力", "2000", "0.1");
    }
    TChart chart;
    RelayCurrents values;
    TCoordinationChart coord{chart};
};

TEST_F(CoordinationCheckTest, TableWorstFirst) {
    EXPECT_EQ("経路\t種類\t下位側\t上位側\t最小時間差(秒)\t電流(A)\t判定\n"
              "-\t協調\tB電力 51S\tC電力 51T\t0.200\t600.0\t不合格\n"
              "-\t協調\tA電力 51R\tB電力 51S\t0.400\t300.0\t合格\n",
              checkTableText(checkChart(coord, {})));

    CheckSettings settings;
    settings.cti = 0.45;
    settings.maxFaultCurrent = 500;
    EXPECT_EQ("経路\t種類\t下位側\t上位側\t最小時間差(秒)\t電流(A)\t判定\n"
              "-\t協調\tA電力 51R\tB電力 51S\t0.400\t300.0\t不合格\n"
              "-\t協調\tB電力 51S\tC電力 51T\t－\t－\t共通範囲なし\n",
              checkTableText(checkChart(coord, settings)));
}

TEST_F(CoordinationCheckTest, LegendWithCompanyNames) {
    auto titles = [&] {
        std::vector<std::string> t;
        for (int i = 0; i < chart.NumSeries(); ++i)
            t.push_back(chart.SeriesAt(i)->Title());
        return t;
    };
    coord.SetLegendWithCompany(true);
    EXPECT_EQ((std::vector<std::string>{"A電力 51R", "B電力 51S", "C電力 51T", "手入力"}),
              titles());
    // A curve drawn while the option is on takes it too.
    coord.StartNewCurve();
    CurveEntries entries;
    entries.company = "D電力";
    entries.device = "51U";
    coord.DrawEntries(entries, values);
    EXPECT_EQ("D電力 51U", chart.SeriesAt(4)->Title());
    coord.SetLegendWithCompany(false);
    EXPECT_EQ((std::vector<std::string>{"51R", "51S", "51T", "手入力", "51U"}), titles());
}

TEST_F(CoordinationCheckTest, DrawsFaultLinesAndFailingMarksWithTheChart) {
    TCheckOverlay overlay(coord);
    CheckSettings settings;
    settings.maxFaultCurrent = 2000;
    settings.minFaultCurrent = 250;
    overlay.Show(settings);
    test::TextCanvas canvas;
    chart.DrawChart(canvas, {0, 0, 1024, 768});

    const TRect plot = chart.ChartRect();
    const int x250 = chart.BottomAxis().ValueToPixel(250);
    const int x2000 = chart.BottomAxis().ValueToPixel(2000);
    const int x600 = chart.BottomAxis().ValueToPixel(600);
    ASSERT_LT(plot.left, x250);
    ASSERT_LT(x2000, plot.right);
    // The dashed blue lines, then the mark in a wide red pen.
    auto overlayLines = [&] {
        std::vector<test::DrawnLine> ours;
        for (const auto& l : canvas.lines)
            if ((l.pen.color == clBlue && l.pen.style == psDash) ||
                (l.pen.color == clRed && l.pen.width == 2))
                ours.push_back(l);
        return ours;
    };
    const std::vector<test::DrawnLine> ours = overlayLines();
    ASSERT_EQ(3u, ours.size());
    EXPECT_EQ((TPoint{x250, plot.top}), ours[0].from);
    EXPECT_EQ((TPoint{x250, plot.bottom}), ours[0].to);
    EXPECT_EQ(psDash, ours[0].pen.style);
    EXPECT_EQ((TPoint{x2000, plot.top}), ours[1].from);
    EXPECT_EQ((TPoint{x600, chart.LeftAxis().ValueToPixel(0.9)}), ours[2].from);
    EXPECT_EQ((TPoint{x600, chart.LeftAxis().ValueToPixel(1.1)}), ours[2].to);
    int labels = 0;
    for (const auto& t : canvas.texts)
        labels += (t.text == "最小故障電流 250A" && t.x == x250 + 2 && t.y == plot.top + 2) ||
                  (t.text == "最大故障電流 2,000A" && t.x == x2000 + 2);
    EXPECT_EQ(2, labels);

    // Without the upper relay its failing pair and the mark are gone.
    coord.RemoveCurrentCurve(); // the typed points
    coord.RemoveCurrentCurve(); // C電力
    canvas = test::TextCanvas();
    chart.DrawChart(canvas, {0, 0, 1024, 768});
    EXPECT_EQ(2u, overlayLines().size());

    // Cleared, the chart draws its own lines only.
    const std::size_t withFaultLines = canvas.lines.size();
    overlay.Clear();
    canvas = test::TextCanvas();
    chart.DrawChart(canvas, {0, 0, 1024, 768});
    EXPECT_EQ(withFaultLines - 2, canvas.lines.size());
}

} // namespace
} // namespace telvara
