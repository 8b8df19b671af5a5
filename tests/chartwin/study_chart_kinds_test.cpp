// Fuses and equipment drawn from a study: one series per line, each kind
// told apart on the chart, currents referred.
#include "chart/line_series.h"
#include "chartwin/study_chart.h"
#include "study/study_file.h"

#include <gtest/gtest.h>

#include <cmath>

namespace telvara {
namespace {

TEST(StudyChartKinds, EachLineASeriesOfItsOwn) {
    const TStudy study = parseStudy(R"({"format": "telvara-study", "version": 1,
      "reference_kv": 6.6, "buses": [{"name": "3.3kV", "kv": 3.3}],
      "devices": [
        {"id": "F", "kind": "fuse", "label": "PF", "min_curve": [[100, 10], [1000, 0.01]],
         "total_curve": [[150, 10], [1500, 0.01]]},
        {"id": "T", "kind": "transformer", "label": "TR", "kva": 500, "kv_primary": 6.6,
         "kv_secondary": 0.44, "z_percent": 4, "shift58": true},
        {"id": "M", "kind": "motor", "label": "M", "bus": "3.3kV", "fla_a": 40, "accel_s": 5},
        {"id": "C", "kind": "cable", "label": "C", "mm2": 50, "visible": false}]})",
                                    "s.tvstudy");
    TChart chart;
    std::vector<TStudySeries> drawn;
    EXPECT_TRUE(drawStudy(chart, study, &drawn).empty());
    std::vector<std::string> titles;
    for (const TStudySeries& s : drawn)
        titles.push_back(s.deviceId + ":" + s.series->Title());
    EXPECT_EQ((std::vector<std::string>{"F:PF", "F:PF 全遮断特性", "T:TR", "T:TR 励磁突入",
                                        "T:TR 58%", "M:M"}),
              titles);

    // The transformer's 1800 s corner asks for the 1000 s axis.
    EXPECT_EQ(1000, chart.LeftAxis().Maximum());
    const auto line = [&](std::size_t k) { return static_cast<TLineSeries*>(drawn[k].series); };
    // A device's lines share the colour its first line took from the palette.
    EXPECT_EQ(drawn[0].series->SeriesColor(), drawn[1].series->SeriesColor());
    EXPECT_EQ(drawn[2].series->SeriesColor(), drawn[4].series->SeriesColor());
    EXPECT_NE(drawn[0].series->SeriesColor(), drawn[2].series->SeriesColor());
    EXPECT_EQ(psSolid, line(1)->LinePen().Style());
    EXPECT_EQ(psDash, line(2)->LinePen().Style());
    EXPECT_EQ(psDash, line(4)->LinePen().Style());
    EXPECT_EQ(psDashDot, line(5)->LinePen().Style());
    // The inrush: one labelled point at 12 x 500 / (√3 x 6.6) A, 0.1 s.
    ASSERT_EQ(1, line(3)->Count());
    EXPECT_TRUE(line(3)->Pointer().Visible());
    EXPECT_TRUE(line(3)->Marks().Visible());
    EXPECT_EQ("励磁突入", line(3)->PointLabel(0));
    EXPECT_NEAR(12 * 500 / (std::sqrt(3.0) * 6.6), line(3)->XValues().Value(0), 1e-9);
    // The motor at 3.3 kV drawn at 6.6 kV: 20 A up to the top, across at 5 s
    // to 6 x 20 A, down to 0.01 s.
    const TLineSeries& m = *line(5);
    ASSERT_EQ(4, m.Count());
    const double expected[4][2] = {{20, 1000}, {20, 5}, {120, 5}, {120, 0.01}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_DOUBLE_EQ(expected[k][0], m.XValues().Value(k)) << k;
        EXPECT_DOUBLE_EQ(expected[k][1], m.YValues().Value(k)) << k;
    }
}

TEST(StudyChartKinds, AStartingProfileKeepsTheShortTimeAxis) {
    // Up to 1000 s at 20 A, but the relay-like fuse stays below 10 s.
    const TStudy study = parseStudy(R"({"format": "telvara-study", "version": 1, "devices": [
        {"id": "F", "kind": "fuse", "min_curve": [[100, 9], [1000, 0.01]]},
        {"id": "M", "kind": "motor", "fla_a": 20, "accel_s": 5}]})",
                                    "s.tvstudy");
    TChart chart;
    drawStudy(chart, study);
    EXPECT_EQ(10, chart.LeftAxis().Maximum());
}

} // namespace
} // namespace telvara
