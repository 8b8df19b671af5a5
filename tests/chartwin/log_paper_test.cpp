// Log-paper labels: the label values handed to the engine, the texts that
// keep their numbers, and what a whole paint of the axes shows.
#include "base/numbers.h"
#include "chartwin/coordination_chart.h"
#include "chartwin/log_paper.h"
#include "text_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace telvara {
namespace {

class LogPaperTest : public ::testing::Test {
protected:
    void SetUp() override { setNumberLocale({".", ","}); }

    // One paint (1024 x 768 unless given); records per axis the label values after each
    // handler call, and every numeric text drawn in the labels' font.
    void paint(int width = 1024, int height = 768) {
        TChart& chart = coord.Chart();
        auto inner = chart.OnGetNextAxisLabel;
        values.clear();
        chart.OnGetNextAxisLabel = [&, inner](TChartAxis& a, int i, double& v, bool& s) {
            inner(a, i, v, s);
            values[&a].push_back(v);
        };
        chart.SetBounds(width, height);
        canvas = test::TextCanvas();
        chart.DrawChart(canvas, {0, 0, width, height});
        chart.OnGetNextAxisLabel = inner;
    }

    // The label texts drawn, in drawing order (bottom axis first, then left).
    std::vector<std::string> numbers() const {
        std::vector<std::string> out;
        for (const auto& t : canvas.texts)
            if (!t.text.empty() && (std::isdigit(static_cast<unsigned char>(t.text[0]))))
                out.push_back(t.text);
        return out;
    }

    TChart chart_;
    TCoordinationChart coord{chart_};
    std::map<const TChartAxis*, std::vector<double>> values;
    test::TextCanvas canvas;
};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(LogPaperTable, EntriesAreTheDoublesNearestTheirDecimalValues) {
    const auto& t = axisLabelValues();
    const double expected[] = {
        0.01, 0.02, 0.03,  0.04,  0.05,  0.06,  0.07,  0.08,  0.09,  0.1,   0.2,   0.3,    0.4,
        0.5,  0.6,  0.7,   0.8,   0.9,   1,     2,     3,     4,     5,     6,     7,      8,
        9,    10,   20,    30,    40,    50,    60,    70,    80,    90,    100,   200,    300,
        400,  500,  600,   700,   800,   900,   1000,  2000,  3000,  4000,  5000,  6000,   7000,
        8000, 9000, 10000, 20000, 30000, 40000, 50000, 60000, 70000, 80000, 90000, 100000, 1000000};
    ASSERT_EQ(std::size(expected), t.size());
    for (std::size_t i = 0; i < t.size(); ++i)
        EXPECT_EQ(expected[i], t[i]) << "entry " << i;
    // Repeated multiplication would miss some of them.
    EXPECT_NE(3 * 0.1, t[11]);
    const auto& d = decadeLabelValues();
    EXPECT_EQ(
        (std::array<double, 12>{0.01, 0.05, 0.1, 0.5, 1, 5, 10, 100, 1000, 10000, 100000, 1000000}),
        d);
}

TEST_F(LogPaperTest, HandlersLeaveOtherAxesAlone) {
    TChart& chart = coord.Chart();
    double v = 0.5;
    bool stop = true;
    nextLogPaperLabel(chart, chart.TopAxis(), 0, v, stop);
    EXPECT_EQ(0.5, v);
    EXPECT_TRUE(stop);
    nextLogPaperLabel(chart, chart.RightAxis(), 70, v, stop);
    EXPECT_EQ(0.5, v);
    EXPECT_TRUE(stop);
    std::string text = "20";
    logPaperLabelText(chart, chart.RightAxis(), text);
    EXPECT_EQ("20", text);
    logPaperLabelText(chart, chart.LeftAxis(), text);
    EXPECT_EQ("", text);
}

TEST_F(LogPaperTest, NextValueIsTheLargerOfTheCurrentAndTheTableEntry) {
    TChart& chart = coord.Chart();
    double v = 10;
    bool stop = true;
    nextLogPaperLabel(chart, chart.BottomAxis(), 0, v, stop);
    EXPECT_EQ(10, v);
    EXPECT_FALSE(stop);
    nextLogPaperLabel(chart, chart.BottomAxis(), 27, v, stop);
    EXPECT_EQ(10, v);
    nextLogPaperLabel(chart, chart.BottomAxis(), 28, v, stop);
    EXPECT_EQ(20, v);
    // Past the table the value stays where it is.
    v = 123.25;
    stop = true;
    nextLogPaperLabel(chart, chart.LeftAxis(), 65, v, stop);
    EXPECT_EQ(123.25, v);
    EXPECT_FALSE(stop);
    nextLogPaperLabel(chart, chart.LeftAxis(), 2000, v, stop);
    EXPECT_EQ(123.25, v);
}

TEST_F(LogPaperTest, TextsAreComparedAsFormattedTexts) {
    TChart& chart = coord.Chart();
    for (const char* kept : {"0.01", "0.05", "0.1", "0.5", "1", "5", "10", "100", "1,000", "10,000",
                             "100,000", "1,000,000"}) {
        std::string text = kept;
        logPaperLabelText(chart, chart.BottomAxis(), text);
        EXPECT_EQ(kept, text);
    }
    for (const char* blank : {"20", "50", "500", "5,000", "50,000", "37.5", "0.02", "1000"}) {
        std::string text = blank;
        logPaperLabelText(chart, chart.LeftAxis(), text);
        EXPECT_EQ("", text) << blank;
    }
    // The axis' own pattern decides: with a comma decimal separator the
    // texts of the decade values change with it.
    setNumberLocale({",", "."});
    std::string text = "0,05";
    logPaperLabelText(chart, chart.LeftAxis(), text);
    EXPECT_EQ("0,05", text);
    text = "1.000";
    logPaperLabelText(chart, chart.LeftAxis(), text);
    EXPECT_EQ("1.000", text);
    text = "0.05";
    logPaperLabelText(chart, chart.LeftAxis(), text);
    EXPECT_EQ("", text);
}

TEST_F(LogPaperTest, WindowRangesGiveTheirCallCountsAndNumbers) {
    TChart& chart = coord.Chart();
    chart.Legend().SetVisible(false);
    struct Case {
        double bottomMin;
        double leftMax;
        int bottomCalls;
        int leftCalls;
        std::vector<std::string> shown;
    };
    const std::vector<std::string> leftTo10 = {"0.01", "0.05", "0.1", "0.5", "1", "5", "10"};
    const std::vector<Case> cases = {
        {10, 10, 65, 29, concat(concat({"10"}, {"100", "1,000", "10,000", "100,000"}), leftTo10)},
        {1, 1000, 65, 47,
         concat(concat({"1"}, {"5", "10", "100", "1,000", "10,000", "100,000"}),
                concat(leftTo10, {"100", "1,000"}))},
    };
    for (const Case& c : cases) {
        chart.BottomAxis().SetMinMaxRange(c.bottomMin, 100000);
        chart.LeftAxis().SetMinMaxRange(0.01, c.leftMax);
        paint();
        const auto& bottom = values[&chart.BottomAxis()];
        const auto& left = values[&chart.LeftAxis()];
        EXPECT_EQ(c.bottomCalls, int(bottom.size()));
        EXPECT_EQ(c.leftCalls, int(left.size()));
        EXPECT_EQ(c.shown, numbers());
        // The call that ends each pass is the first value beyond the axis.
        ASSERT_FALSE(bottom.empty());
        EXPECT_EQ(1000000, bottom.back());
        EXPECT_EQ(c.leftMax * 2, left.back());
        EXPECT_EQ(0u, values.count(&chart.TopAxis()));
        EXPECT_EQ(0u, values.count(&chart.RightAxis()));
    }
}

TEST_F(LogPaperTest, ZoomedAxesLabelTheirOddEnds) {
    TChart& chart = coord.Chart();
    chart.Legend().SetVisible(false);
    chart.BottomAxis().SetMinMaxRange(37.5, 420);
    chart.LeftAxis().SetMinMaxRange(0.004, 10);
    paint();
    std::vector<double> expectBottom(30, 37.5);
    for (double v : {40, 50, 60, 70, 80, 90, 100, 200, 300, 400, 500})
        expectBottom.push_back(v);
    EXPECT_EQ(expectBottom, values[&chart.BottomAxis()]);
    const auto& left = values[&chart.LeftAxis()];
    ASSERT_EQ(29u, left.size());
    EXPECT_EQ(0.01, left.front()); // no label at 0.004
    const std::vector<std::string> bottomNumbers = {"100", "40", "50",  "60",  "70",
                                                    "80",  "90", "200", "300", "400"};
    EXPECT_EQ(concat(bottomNumbers, {"0.01", "0.05", "0.1", "0.5", "1", "5", "10"}), numbers());

    chart.LeftAxis().SetMinMaxRange(0.0501, 10);
    paint();
    const auto& l2 = values[&chart.LeftAxis()];
    ASSERT_GE(l2.size(), 6u);
    EXPECT_EQ(std::vector<double>(5, 0.0501), std::vector<double>(l2.begin(), l2.begin() + 5));
    EXPECT_EQ(0.06, l2[5]);
    EXPECT_EQ(concat(bottomNumbers, concat({"0.05"}, {"0.1", "0.5", "1", "5", "10"})), numbers());
}

TEST_F(LogPaperTest, MaximumAtOrAboveOneMillionRunsTheWholePass) {
    TChart& chart = coord.Chart();
    chart.Legend().SetVisible(false);
    chart.BottomAxis().SetMinMaxRange(10, 1000000);
    chart.LeftAxis().SetMinMaxRange(0.01, 10);
    paint();
    const auto& bottom = values[&chart.BottomAxis()];
    ASSERT_EQ(2001u, bottom.size());
    EXPECT_EQ(100000, bottom[63]);
    for (std::size_t i = 64; i < bottom.size(); ++i)
        ASSERT_EQ(1000000, bottom[i]) << i;
    const auto shown = numbers();
    // The handler holds 10 for indexes 0 to 27 and 1,000,000 from 64 on:
    // each is drawn once.
    EXPECT_EQ(concat({"10", "100", "1,000", "10,000", "100,000", "1,000,000"},
                     {"0.01", "0.05", "0.1", "0.5", "1", "5", "10"}),
              shown);
}

// Fewer than two numbers on an axis: its minor values that fit are numbered,
// in ascending order, after the numbers of the pass.
TEST_F(LogPaperTest, ZoomBetweenPrintedNumbersNumbersTheMinorValues) {
    TChart& chart = coord.Chart();
    chart.Legend().SetVisible(false);
    chart.BottomAxis().SetMinMaxRange(734, 1195);
    chart.LeftAxis().SetMinMaxRange(0.22, 0.42);
    paint();
    EXPECT_EQ((std::vector<std::string>{"1,000", "800", "900", "0.3", "0.4"}), numbers());

    chart.BottomAxis().SetMinMaxRange(161, 4642);
    chart.LeftAxis().SetMinMaxRange(0.01, 10);
    paint();
    EXPECT_EQ((std::vector<std::string>{"1,000", "200", "300", "400", "500", "600", "700", "800",
                                        "900", "2,000", "3,000", "4,000", "0.01", "0.05", "0.1",
                                        "0.5", "1", "5", "10"}),
              numbers());

    // Narrow: the axis runs from pixel 52 to 388; a number needs half its own
    // width, half its neighbour's and a tenth of the wider one clear of it.
    // 600 (at 183) is 18 from 500, 800 and 900 crowd 700 and 1,000, and
    // 4,000 (at 373) is 29 from 3,000.
    paint(400, 300);
    EXPECT_EQ(52, chart.BottomAxis().ScaleMap().StartPixel());
    EXPECT_EQ(388, chart.BottomAxis().ScaleMap().EndPixel());
    EXPECT_EQ((std::vector<std::string>{"1,000", "200", "300", "400", "500", "700", "2,000",
                                        "3,000", "0.01", "0.05", "0.1", "0.5", "1", "5", "10"}),
              numbers());

    // Between 0.3 and 0.4 only the next finer step is left; each gets a tick.
    chart.LeftAxis().SetMinMaxRange(0.31, 0.39);
    paint();
    const auto shown = numbers();
    EXPECT_EQ((std::vector<std::string>{"0.31", "0.32", "0.33", "0.34", "0.35", "0.36", "0.37",
                                        "0.38", "0.39"}),
              std::vector<std::string>(shown.end() - 9, shown.end()));
    const TChartAxis& left = chart.LeftAxis();
    const int at = left.ValueToPixel(0.35);
    const int tickStart = left.AxisLinePos() - 1; // a 4-pixel tick left of the axis line
    EXPECT_EQ(1, std::count_if(canvas.lines.begin(), canvas.lines.end(), [&](const auto& l) {
                  return l.from.y == at && l.to.y == at && l.to.x == tickStart - 4;
              }));
}

} // namespace
} // namespace telvara
