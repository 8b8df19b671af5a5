// Label increment, label iteration through the chart's handlers, default
// labels and label texts.
#include "base/numbers.h"
#include "chart/chart.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace telvara;

namespace {

// A chart whose bottom axis carries one active series (value labels) and
// spans pixels 0 .. 1000.
struct LabelFixture : ::testing::Test {
    TChart chart;
    TChartAxis& axis = chart.BottomAxis();
    void SetUp() override {
        setNumberLocale({".", ","});
        auto* s = &chart.AddSeries(std::make_unique<TChartSeries>());
        s->AddPoint(1, 1);
    }
    void range(double lo, double hi, bool log) {
        axis.SetMinMaxRange(lo, hi);
        axis.SetLogarithmic(log);
        axis.ComputeEffectiveRange();
        axis.ComputeAxisPixels({0, 0, 1000, 500});
    }
    std::vector<int> pixels(std::initializer_list<double> values) {
        std::vector<int> out;
        for (double v : values)
            out.push_back(axis.ValueToPixel(v));
        return out;
    }
};

} // namespace

TEST_F(LabelFixture, HandlerStoppingAtFirstCallGivesDefaultLabels) {
    range(10, 100000, true);
    int calls = 0;
    chart.OnGetNextAxisLabel = [&](TChartAxis& sender, int index, double& value, bool& stop) {
        EXPECT_EQ(&sender, &axis);
        EXPECT_EQ(index, 0);
        EXPECT_EQ(value, 10); // the effective minimum
        EXPECT_TRUE(stop);
        ++calls;
    };
    axis.RunLabelPass();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(axis.TickList(), pixels({10, 100, 1000, 10000, 100000}));
}

TEST_F(LabelFixture, HandlerStoppingLaterKeepsEarlierLabels) {
    range(10, 100000, true);
    int calls = 0;
    chart.OnGetNextAxisLabel = [&](TChartAxis&, int index, double& value, bool& stop) {
        ++calls;
        value = 10.0 * (index + 1);
        stop = index == 5;
    };
    axis.RunLabelPass();
    EXPECT_EQ(calls, 6);
    EXPECT_EQ(axis.TickList(), pixels({10, 20, 30, 40, 50}));
}

TEST_F(LabelFixture, SameValueForeverEndsAfter2001Calls) {
    range(10, 100000, true);
    int calls = 0, texts = 0;
    std::vector<int> indexes;
    chart.OnGetNextAxisLabel = [&](TChartAxis&, int index, double&, bool& stop) {
        ++calls;
        indexes.push_back(index);
        stop = false;
    };
    chart.OnGetAxisLabel = [&](TChartAxis&, TChartSeries* series, int valueIndex, std::string&) {
        EXPECT_EQ(series, nullptr);
        EXPECT_EQ(valueIndex, -1);
        ++texts;
    };
    axis.RunLabelPass();
    EXPECT_EQ(calls, 2001);
    EXPECT_EQ(indexes.front(), 0);
    EXPECT_EQ(indexes.back(), 2000);
    // Two texts for the increment; the value held is one label, drawn once.
    EXPECT_EQ(texts, 2 + 1);
    EXPECT_EQ(axis.TickList().size(), 1u);

    // 2001 different values: the list holds 2000 positions, the 2001st is dropped.
    chart.OnGetNextAxisLabel = [&](TChartAxis&, int index, double& value, bool& stop) {
        value = 10 + index;
        stop = false;
    };
    texts = 0;
    axis.RunLabelPass();
    EXPECT_EQ(texts, 2 + 2001);
    ASSERT_EQ(axis.TickList().size(), 2000u);
    EXPECT_EQ(axis.TickList().back(), axis.ValueToPixel(10 + 1999));
}

TEST_F(LabelFixture, RangeBoundariesOfTheIteration) {
    range(10, 1000, false);
    std::vector<double> script = {10 - 1e-7, 1000 + 1e-7, 1000 + 1e-6, 500};
    int calls = 0;
    chart.OnGetNextAxisLabel = [&](TChartAxis&, int index, double& value, bool& stop) {
        ++calls;
        value = script[index];
        stop = false;
    };
    axis.RunLabelPass();
    EXPECT_EQ(calls, 3); // the value 1e-6 beyond the end ends the pass
    EXPECT_EQ(axis.TickList(), pixels({10, 1000}));

    // A value below the minimum ends it at once, without a label.
    script = {9.99, 500};
    calls = 0;
    axis.RunLabelPass();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(axis.TickList().empty());
}

TEST_F(LabelFixture, HandlerKeepsItsVariablesBetweenCalls) {
    range(10, 100000, true);
    std::vector<double> seen;
    chart.OnGetNextAxisLabel = [&](TChartAxis&, int, double& value, bool& stop) {
        seen.push_back(value);
        value *= 10;
        stop = false;
    };
    axis.RunLabelPass();
    // 10 .. 100000 processed, 1000000 ends the pass.
    EXPECT_EQ(seen, (std::vector<double>{10, 100, 1000, 10000, 100000}));
    EXPECT_EQ(axis.TickList(), pixels({100, 1000, 10000, 100000}));
}

TEST_F(LabelFixture, TickOnLabelsOnlyAndLabelsFlags) {
    range(10, 100000, true);
    axis.SetLabels(false);
    axis.RunLabelPass();
    EXPECT_TRUE(axis.TickList().empty());
    axis.SetTickOnLabelsOnly(false);
    axis.RunLabelPass();
    EXPECT_EQ(axis.TickList().size(), 5u);
    // With LabelsOnAxis False, positions outside the span are skipped,
    // and so are the ends themselves.
    axis.SetLabelsOnAxis(false);
    axis.RunLabelPass();
    EXPECT_EQ(axis.TickList(), pixels({100, 1000, 10000}));
}

TEST_F(LabelFixture, DefaultLogarithmicLabels) {
    range(0.06, 5, true);
    axis.RunLabelPass();
    EXPECT_EQ(axis.TickList(), pixels({0.1, 1}));
    range(3.5, 5000, true);
    axis.RunLabelPass();
    EXPECT_EQ(axis.TickList(), pixels({10, 100, 1000}));
    range(3, 5000, true);
    axis.RunLabelPass();
    EXPECT_EQ(axis.TickList(), pixels({10, 100, 1000}));
    // A minimum of 0 is replaced by 0.1 for the rest of the draw.
    range(0, 100, true);
    axis.RunLabelPass();
    EXPECT_EQ(axis.ScaleMap().Minimum(), 0.1);
    EXPECT_EQ(axis.TickList(), pixels({0.1, 1, 10, 100}));
    EXPECT_EQ(axis.TickList().front(), 0);
    // Equal ends: none.
    range(50, 50, true);
    axis.SetMaximum(50);
    axis.ComputeEffectiveRange();
    axis.RunLabelPass();
    EXPECT_TRUE(axis.TickList().empty());
    // Base 2.
    range(1, 20, true);
    axis.SetLogarithmicBase(2);
    axis.RunLabelPass();
    EXPECT_EQ(axis.TickList(), pixels({1, 2, 4, 8, 16}));
}

TEST_F(LabelFixture, DefaultLinearLabelsRunTopDown) {
    range(0, 10, false);
    axis.SetLabelsSeparation(0); // keep the given step
    axis.SetIncrement(2);
    axis.RunLabelPass();
    EXPECT_EQ(axis.TickList(), pixels({10, 8, 6, 4, 2, 0}));
    // The first label is a multiple of the increment unless RoundFirstLabel is off.
    range(0.5, 9.5, false);
    axis.RunLabelPass();
    EXPECT_EQ(axis.TickList(), pixels({8, 6, 4, 2}));
    axis.SetRoundFirstLabel(false);
    axis.RunLabelPass();
    EXPECT_EQ(axis.TickList(), pixels({9.5, 7.5, 5.5, 3.5, 1.5}));
    // Too many labels for the range: none.
    axis.SetIncrement(0.0001);
    axis.RunLabelPass();
    EXPECT_TRUE(axis.TickList().empty());
}

TEST_F(LabelFixture, IncrementFollowsTheOneTwoFiveSequence) {
    range(0, 1000, false);
    // No surface: the label size is 0, one label fits.
    EXPECT_EQ(axis.CalcLabelIncrement(), 1000);
    range(0, 0.5, false);
    EXPECT_DOUBLE_EQ(axis.CalcLabelIncrement(), 0.5);
    axis.SetIncrement(3);
    range(0, 1000, false);
    EXPECT_EQ(axis.CalcLabelIncrement(), 1000); // 3, 5, 10, ... 1000
    axis.SetLabelsSeparation(0);
    EXPECT_EQ(axis.CalcLabelIncrement(), 3); // no search without a separation
    axis.SetIncrement(0);
    axis.SetLabelsSeparation(10);
    range(7, 7, false); // widened by 1e-10
    EXPECT_DOUBLE_EQ(axis.CalcLabelIncrement(), 1e-10);
    axis.SetMaximum(7);
    axis.ComputeEffectiveRange();
    EXPECT_EQ(axis.CalcLabelIncrement(), 1e-12);
}

TEST_F(LabelFixture, LabelStyleFromTheSeries) {
    EXPECT_EQ(axis.CalcLabelStyle(), talValue);
    EXPECT_EQ(chart.TopAxis().CalcLabelStyle(), talNone);
    chart.SeriesAt(0)->AddPoint(0.5, 3, "first");
    EXPECT_EQ(axis.CalcLabelStyle(), talText);
    axis.SetLabelStyle(talValue);
    EXPECT_EQ(axis.CalcLabelStyle(), talValue);
    chart.SeriesAt(0)->SetActive(false);
    axis.SetLabelStyle(talAuto);
    EXPECT_EQ(axis.CalcLabelStyle(), talNone);
}

TEST_F(LabelFixture, LabelTexts) {
    EXPECT_EQ(axis.FormatAxisLabel(0.05), "0.05");
    EXPECT_EQ(axis.FormatAxisLabel(0.01), "0.01");
    EXPECT_EQ(axis.FormatAxisLabel(1000), "1,000");
    EXPECT_EQ(axis.FormatAxisLabel(10000), "10,000");
    EXPECT_EQ(axis.FormatAxisLabel(100000), "100,000");
    EXPECT_EQ(axis.FormatAxisLabel(1000000), "1,000,000");
    EXPECT_EQ(axis.FormatAxisLabel(0.0004), "0");
    EXPECT_EQ(axis.FormatAxisLabel(37.5), "37.5");
    axis.SetAxisValuesFormat("0.00");
    EXPECT_EQ(axis.FormatAxisLabel(2), "2.00");
    axis.SetAxisValuesFormat("#,##0.###");
    // The text handler may rewrite it; multi-line splits at blanks.
    chart.OnGetAxisLabel = [](TChartAxis&, TChartSeries*, int, std::string& text) {
        text = "[" + text + "] A";
    };
    EXPECT_EQ(axis.FormatAxisLabel(5), "[5] A");
    axis.SetLabelsMultiLine(true);
    EXPECT_EQ(axis.FormatAxisLabel(5), "[5]\nA");
    setNumberLocale({",", "."});
    chart.OnGetAxisLabel = nullptr;
    axis.SetLabelsMultiLine(false);
    EXPECT_EQ(axis.FormatAxisLabel(1234.5), "1.234,5");
    setNumberLocale({".", ","});
}

TEST_F(LabelFixture, DefaultLabelsEndWhereDoublesRunOut) {
    // Around -1e17 doubles lie 16 apart: a first label one step of 5 above the
    // maximum can never be lowered, and no label fits.
    range(-1.0000000000000005e17 - 32, -1.0000000000000005e17, false);
    axis.SetLabelsSeparation(0);
    axis.SetIncrement(5);
    axis.RunLabelPass();
    EXPECT_TRUE(axis.TickList().empty());
    // Base 100 from the smallest double: 100^-162 is 0 in doubles, so the
    // labels start one power higher, at 1e-322, and run up to 1.
    axis.SetIncrement(0);
    range(5e-324, 1, true);
    axis.SetLogarithmicBase(100);
    axis.RunLabelPass();
    ASSERT_EQ(axis.TickList().size(), 162u);
    EXPECT_EQ(axis.TickList().front(), axis.ValueToPixel(1e-322));
    EXPECT_EQ(axis.TickList().back(), 1000);
    // An infinite minimum (with a maximum that is not a number) labels nothing.
    axis.SetLogarithmicBase(10);
    range(std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(), true);
    axis.RunLabelPass();
    EXPECT_TRUE(axis.TickList().empty());
}
