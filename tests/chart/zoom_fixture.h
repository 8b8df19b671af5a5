#pragma once
// A chart in a test window for the mouse tests: immediate repaints paint the
// whole chart on a recording surface and note the ranges of each frame.
#include "chart/chart.h"
#include "recording_canvas.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace telvara::test::mouse {

struct Range {
    double min, max;
};

// Top, left, right, bottom.
using Ranges = std::array<Range, 4>;

// A window for the chart: immediate repaints paint the whole chart on a
// recording surface and note the ranges each frame shows.
struct TestHost : TChartHost {
    TCustomChart* chart = nullptr;
    RecordingCanvas screen;
    RecordingCanvas direct; // what the window shows between paints
    int invalidations = 0;
    int repaints = 0;
    int directDraws = 0;
    std::vector<Ranges> frames;
    std::vector<TCursor> cursors;

    void InvalidateChart() override { ++invalidations; }
    void RepaintChartNow() override {
        ++repaints;
        paint();
    }
    void SetChartCursor(TCursor c) override { cursors.push_back(c); }
    TCanvas3D* BeginDirectDraw() override {
        ++directDraws;
        return &direct;
    }

    void paint() {
        screen.clear();
        chart->DrawChart(screen, {0, 0, chart->Width(), chart->Height()});
        Ranges r;
        TChartAxis* axes[] = {&chart->TopAxis(), &chart->LeftAxis(), &chart->RightAxis(),
                              &chart->BottomAxis()};
        for (int i = 0; i < 4; ++i)
            r[i] = {axes[i]->Minimum(), axes[i]->Maximum()};
        frames.push_back(r);
    }
};

inline Ranges rangesOf(TCustomChart& c) {
    return {Range{c.TopAxis().Minimum(), c.TopAxis().Maximum()},
            Range{c.LeftAxis().Minimum(), c.LeftAxis().Maximum()},
            Range{c.RightAxis().Minimum(), c.RightAxis().Maximum()},
            Range{c.BottomAxis().Minimum(), c.BottomAxis().Maximum()}};
}

struct Flags {
    bool a, lo, hi;
    friend bool operator==(const Flags&, const Flags&) = default;
};
inline Flags flagsOf(const TChartAxis& a) {
    return {a.Automatic(), a.AutomaticMinimum(), a.AutomaticMaximum()};
}

class ZoomTest : public ::testing::Test {
protected:
    TChart chart;
    TestHost host;
    TChartSeries* series = nullptr;
    int zooms = 0, undos = 0, scrolls = 0;

    void SetUp() override {
        host.chart = &chart;
        chart.SetHost(&host);
        chart.SetBounds(600, 400);
        chart.SetView3D(false);
        chart.Legend().SetVisible(false);
        series = &chart.AddSeries(std::make_unique<TChartSeries>());
        for (double x : {10.0, 20.0, 40.0, 80.0})
            series->AddPoint(x, x / 2);
        chart.BottomAxis().SetMinMaxRange(0, 1000);
        chart.LeftAxis().SetMinMaxRange(-50, 150);
        chart.TopAxis().SetMinMaxRange(5, 25);
        chart.RightAxis().SetMinMaxRange(1, 2);
        chart.OnZoom = [this](TCustomChartPanel&) { ++zooms; };
        chart.OnUndoZoom = [this](TCustomChartPanel&) { ++undos; };
        chart.OnScroll = [this](TCustomChartPanel&) { ++scrolls; };
        paint();
    }

    void paint() {
        host.paint();
        host.frames.clear();
        host.repaints = 0;
    }

    void drag(int x0, int y0, int x1, int y1, TMouseButton b = mbLeft) {
        chart.MouseDown(x0, y0, b, 0);
        chart.MouseMove((x0 + x1) / 2, (y0 + y1) / 2, 0);
        chart.MouseMove(x1, y1, 0);
        chart.MouseUp(x1, y1, b);
    }

    // Values under the rectangle's edges, in the order of rangesOf.
    Ranges underRect(int x0, int y0, int x1, int y1) {
        auto h = [&](TChartAxis& a) { return Range{a.PixelToValue(x0), a.PixelToValue(x1)}; };
        auto v = [&](TChartAxis& a) { return Range{a.PixelToValue(y1), a.PixelToValue(y0)}; };
        return {h(chart.TopAxis()), v(chart.LeftAxis()), v(chart.RightAxis()),
                h(chart.BottomAxis())};
    }
};

inline void expectRanges(const Ranges& got, const Ranges& want) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(got[i].min, want[i].min) << "axis " << i;
        EXPECT_EQ(got[i].max, want[i].max) << "axis " << i;
    }
}

// Each frame moves both ends of every axis a third of the way that is left.
inline void expectThirds(const Ranges& from, const Ranges& to, const std::vector<Ranges>& frames) {
    Ranges cur = from;
    for (size_t f = 0; f < frames.size(); ++f) {
        for (int i = 0; i < 4; ++i) {
            cur[i] = {cur[i].min + (to[i].min - cur[i].min) / 3,
                      cur[i].max - (cur[i].max - to[i].max) / 3};
            EXPECT_EQ(frames[f][i].min, cur[i].min) << "frame " << f << " axis " << i;
            EXPECT_EQ(frames[f][i].max, cur[i].max) << "frame " << f << " axis " << i;
        }
    }
}

} // namespace telvara::test::mouse
