// Value lists, the series data model and attaching series to a chart.
#include "chart/chart.h"

#include <gtest/gtest.h>

#include <vector>

using namespace telvara;

namespace {

struct CountingHost : TChartHost {
    int invalidations = 0;
    TCursor cursor = crArrow;
    void InvalidateChart() override { ++invalidations; }
    void RepaintChartNow() override {}
    void SetChartCursor(TCursor c) override { cursor = c; }
};

std::vector<double> values(const TChartValueList& l) {
    std::vector<double> out;
    for (int i = 0; i < l.Count(); ++i)
        out.push_back(l[i]);
    return out;
}

} // namespace

TEST(ValueList, OrderedInsertion) {
    TChartValueList asc("X", loAscending);
    EXPECT_EQ(asc.AddOrdered(5), 0);
    EXPECT_EQ(asc.AddOrdered(7), 1);
    EXPECT_EQ(asc.AddOrdered(6), 1);
    EXPECT_EQ(asc.AddOrdered(1), 0);
    EXPECT_EQ(asc.AddOrdered(6), 3); // after the equal value already there
    EXPECT_EQ(asc.AddOrdered(7), 5);
    EXPECT_EQ(values(asc), (std::vector<double>{1, 5, 6, 6, 7, 7}));

    TChartValueList desc("X", loDescending);
    desc.AddOrdered(5);
    EXPECT_EQ(desc.AddOrdered(3), 1);
    EXPECT_EQ(desc.AddOrdered(9), 0);
    EXPECT_EQ(desc.AddOrdered(5), 2);
    EXPECT_EQ(desc.AddOrdered(4), 3);
    EXPECT_EQ(values(desc), (std::vector<double>{9, 5, 5, 4, 3}));

    TChartValueList none("Y", loNone);
    none.AddOrdered(3);
    EXPECT_EQ(none.AddOrdered(1), 1);
}

TEST(ValueList, LazyStatisticsAndMultiplier) {
    TChartValueList l("Y", loNone);
    EXPECT_EQ(l.MinValue(), 0);
    EXPECT_EQ(l.MaxValue(), 0);
    EXPECT_EQ(l.Total(), 0);
    EXPECT_EQ(l.TotalABS(), 0);
    l.AddOrdered(3);
    l.AddOrdered(-4);
    l.AddOrdered(2);
    EXPECT_EQ(l.MinValue(), -4);
    EXPECT_EQ(l.MaxValue(), 3);
    EXPECT_EQ(l.Total(), 1);
    EXPECT_EQ(l.TotalABS(), 9);
    l.Delete(1);
    EXPECT_EQ(l.MinValue(), 2);
    l.SetMultiplier(10);
    EXPECT_EQ(l.MaxValue(), 30);
    EXPECT_EQ(l[0], 30);
    EXPECT_EQ(l.Stored(0), 3);
    l.InsertAt(0, -1);
    EXPECT_EQ(l.MinValue(), -10);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.MaxValue(), 0);
}

TEST(SeriesData, Defaults) {
    TChartSeries s;
    EXPECT_TRUE(s.Active());
    EXPECT_EQ(s.SeriesColor(), clDefault);
    EXPECT_EQ(s.Title(), "");
    EXPECT_FALSE(s.ColorEachPoint());
    EXPECT_TRUE(s.ShowInLegend());
    EXPECT_EQ(s.HorizAxis(), aBottomAxis);
    EXPECT_EQ(s.VertAxis(), aLeftAxis);
    EXPECT_EQ(s.ValueFormat(), "#,##0.###");
    EXPECT_EQ(s.PercentFormat(), "##0.## %");
    EXPECT_EQ(s.XValues().Name(), "X");
    EXPECT_EQ(s.XValues().Order(), loAscending);
    EXPECT_EQ(s.YValues().Name(), "Y");
    EXPECT_EQ(s.YValues().Order(), loNone);
    EXPECT_EQ(s.XValues().Multiplier(), 1.0);
    EXPECT_FALSE(s.XValues().DateTime());
    EXPECT_FALSE(s.Marks().Visible());
    EXPECT_EQ(s.Marks().Style(), smsLabel);
    EXPECT_EQ(s.Marks().ArrowLength(), 8);
    EXPECT_EQ(s.Marks().BackColor(), 0x80FFFFu);
    EXPECT_EQ(s.ParentChart(), nullptr);
}

TEST(SeriesData, AddPointKeepsPointsInParallel) {
    TChartSeries s;
    // The relay curve of the example: corner and foot at the same current.
    const double pts[][2] = {{120, 10},  {160, 5},   {240, 3},    {320, 2.2},
                             {400, 1.8}, {560, 1.5}, {4000, 1.5}, {4000, 0.05}};
    for (auto& p : pts)
        s.AddPoint(p[0], p[1]);
    ASSERT_EQ(s.Count(), 8);
    EXPECT_EQ(s.YValues()[6], 1.5);
    EXPECT_EQ(s.YValues()[7], 0.05);
    // Out of order: inserted by X, Y, colour and label follow.
    EXPECT_EQ(s.AddPoint(200, 4, "mid", clRed), 2);
    EXPECT_EQ(s.XValues()[2], 200);
    EXPECT_EQ(s.YValues()[2], 4);
    EXPECT_EQ(s.ColorList()[2], clRed);
    EXPECT_EQ(s.PointLabel(2), "mid");
    EXPECT_FALSE(s.LabelList()[3].has_value());
    EXPECT_EQ(s.AddPoint(4000, 7), 9); // after both points at 4000
    // A refusing OnBeforeAdd adds nothing.
    s.OnBeforeAdd = [](TChartSeries&) { return false; };
    EXPECT_EQ(s.AddPoint(1, 1), -1);
    EXPECT_EQ(s.Count(), 10);
    s.OnBeforeAdd = nullptr;
    int added = -2;
    s.OnAfterAdd = [&](TChartSeries&, int index) { added = index; };
    s.AddPoint(1, 1);
    EXPECT_EQ(added, 0);
}

TEST(SeriesData, DeleteAndClear) {
    TChartSeries s;
    s.AddPoint(1, 10, "a", clRed);
    s.AddPoint(2, 20, "b", clBlue);
    s.AddPoint(3, 30, "c", clLime);
    s.DeletePoint(1);
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(s.XValues()[1], 3);
    EXPECT_EQ(s.YValues()[1], 30);
    EXPECT_EQ(s.ColorList()[1], clLime);
    EXPECT_EQ(s.PointLabel(1), "c");
    s.DeletePoint(7); // out of range: nothing
    EXPECT_EQ(s.Count(), 2);
    bool cleared = false;
    s.OnClearValues = [&](TChartSeries&) { cleared = true; };
    s.ClearPoints();
    EXPECT_TRUE(cleared);
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.YValues().Count(), 0);
    EXPECT_TRUE(s.ColorList().empty());
    EXPECT_TRUE(s.LabelList().empty());
}

TEST(SeriesData, ValueColor) {
    TChartSeries s;
    s.SetSeriesColor(clTeal);
    EXPECT_EQ(s.ValueColor(0), clTeal); // no entry
    s.AddPoint(1, 1);
    s.AddPoint(2, 2, "", clRed);
    s.AddPoint(3, 3, "", clNone);
    EXPECT_EQ(s.ValueColor(0), clTeal);
    EXPECT_EQ(s.ValueColor(1), clRed);
    EXPECT_TRUE(s.IsNull(2));
    s.SetColorEachPoint(true);
    EXPECT_EQ(s.ValueColor(0), clRed); // palette 0
    s.AddPoint(0, 0);
    s.AddPoint(0.5, 0);
    EXPECT_EQ(s.ValueColor(1), clGreen);  // palette 1
    EXPECT_EQ(s.ValueColor(2), clYellow); // palette 2
    EXPECT_EQ(s.ValueColor(3), clRed);
    EXPECT_TRUE(s.IsNull(4));
}

TEST(SeriesChart, AttachGivesPaletteColoursAndRepaints) {
    TChart chart;
    chart.SetColor(clWhite);
    CountingHost host;
    chart.SetHost(&host);
    auto* a = &chart.AddSeries(std::make_unique<TChartSeries>());
    EXPECT_EQ(a->SeriesColor(), clRed);
    EXPECT_EQ(chart.NumSeries(), 1);
    EXPECT_EQ(host.invalidations, 1);
    auto* b = &chart.AddSeries(std::make_unique<TChartSeries>());
    EXPECT_EQ(b->SeriesColor(), clGreen);
    EXPECT_EQ(chart.SeriesAt(1), b);
    EXPECT_EQ(chart.NumSeries(), 2);
    EXPECT_FALSE(chart.IsColorFree(clRed, true));
    EXPECT_FALSE(chart.IsColorFree(clWhite, true)); // the panel colour
    EXPECT_TRUE(chart.IsColorFree(clBlue, true));
    chart.BackWall().SetColor(clYellow);
    EXPECT_FALSE(chart.IsColorFree(clYellow, true));
    EXPECT_TRUE(chart.IsColorFree(clYellow, false));
    auto* c = &chart.AddSeries(std::make_unique<TChartSeries>());
    EXPECT_EQ(c->SeriesColor(), clBlue); // yellow taken by the wall, white by the panel
    // A set colour is kept.
    auto owned = std::make_unique<TChartSeries>();
    owned->SetSeriesColor(clRed);
    auto* d = &chart.AddSeries(std::move(owned));
    EXPECT_EQ(d->SeriesColor(), clRed);
    // Property changes of an attached series repaint, only on change.
    const int before = host.invalidations;
    d->SetTitle("51");
    d->SetTitle("51");
    d->Marks().SetVisible(true);
    EXPECT_EQ(host.invalidations, before + 2);
}

TEST(SeriesChart, AllPaletteColoursUsedGivesRed) {
    TChart chart;
    for (int i = 0; i < TCustomAxisPanel::PaletteSize; ++i) {
        auto s = std::make_unique<TChartSeries>();
        s->SetSeriesColor(TCustomAxisPanel::PaletteColor(i));
        chart.AddSeries(std::move(s));
    }
    auto* s = &chart.AddSeries(std::make_unique<TChartSeries>());
    EXPECT_EQ(s->SeriesColor(), clRed);
    EXPECT_EQ(chart.NumSeries(), 17);
}

TEST(SeriesChart, RemovingASeriesHandsItBack) {
    TChart chart;
    CountingHost host;
    chart.SetHost(&host);
    auto* a = &chart.AddSeries(std::make_unique<TChartSeries>());
    auto* b = &chart.AddSeries(std::make_unique<TChartSeries>());
    host.invalidations = 0;
    EXPECT_EQ(chart.RemoveSeries(b).get(), b);
    EXPECT_EQ(chart.RemoveSeries(b), nullptr); // no longer on the chart
    EXPECT_EQ(chart.NumSeries(), 1);
    EXPECT_EQ(chart.SeriesAt(0), a);
    EXPECT_EQ(host.invalidations, 1);
    EXPECT_EQ(host.cursor, crDefault);
    // Moving a series to another chart removes it from the first.
    TChart other;
    other.AddSeries(chart.RemoveSeries(a));
    EXPECT_EQ(chart.NumSeries(), 0);
    EXPECT_EQ(other.NumSeries(), 1);
    EXPECT_EQ(a->ParentChart(), &other);
    // The chart destroys series still attached when it goes.
}
