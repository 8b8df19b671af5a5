#pragma once
// A chart laid out without axes, title or legend: on a 400 x 250 panel the
// plot is (12, 10) - (388, 240), so the axes map values straight to pixels.
#include "chart/chart.h"
#include "chart/line_series.h"
#include "recording_canvas.h"

#include <algorithm>
#include <vector>

namespace telvara::test {

struct PlainChart {
    TChart chart;
    RecordingCanvas c;
    PlainChart() {
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        chart.SetAxisVisible(false);
        chart.Legend().SetVisible(false);
    }
    TLineSeries* add(TColor color = clDefault) {
        auto s = std::make_unique<TLineSeries>();
        if (color != clDefault)
            s->SetSeriesColor(color);
        return &chart.AddSeries(std::move(s));
    }
    void paint(int w = 400, int h = 250) {
        c.clear();
        chart.DrawChart(c, {0, 0, w, h});
    }
    // Linear axes: bottom pixel = 12 + (x - x0), left pixel = 240 - (y - y0).
    void unitAxes(double x0 = 0, double y0 = 0) {
        chart.BottomAxis().SetMinMaxRange(x0, x0 + 376);
        chart.LeftAxis().SetMinMaxRange(y0, y0 + 230);
    }
    // Ops drawn between the series clip and its release.
    std::vector<Op> clipped() const {
        std::vector<Op> out;
        bool in = false;
        for (const Op& op : c.ops) {
            if (op.kind == OpKind::ClipRect || op.kind == OpKind::ClipPolygon)
                in = true;
            else if (op.kind == OpKind::UnClip)
                in = false;
            else if (in)
                out.push_back(op);
        }
        return out;
    }
    std::vector<Op> clippedOf(OpKind k) const {
        std::vector<Op> out;
        for (const Op& op : clipped())
            if (op.kind == k)
                out.push_back(op);
        return out;
    }
};

} // namespace telvara::test
