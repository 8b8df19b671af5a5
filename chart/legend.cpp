// The legend at the side of the plot.
#include "chart/legend.h"

#include "chart/chart.h"
#include "chart/math_util.h"

#include <algorithm>

namespace telvara {

TLegendStyle ResolvedLegendStyle(TCustomChart& chart) {
    const TLegendStyle style = chart.Legend().LegendStyle();
    if (style != lsAuto)
        return style;
    return chart.CountActiveSeries() < 2 ? lsValues : lsSeries;
}

std::vector<TLegendItem> LegendItems(TCustomChart& chart) {
    std::vector<TLegendItem> items;
    const TLegendStyle style = ResolvedLegendStyle(chart);
    if (style == lsSeries) {
        for (const auto& s : chart.SeriesList()) {
            if (!s->Active() || !s->ShowInLegend())
                continue;
            std::string text = s->Title();
            if (text.empty())
                text = s->Name();
            if (text.empty())
                text = "Series " + std::to_string(items.size());
            items.push_back({s.get(), -1, text});
        }
        return items;
    }
    TChartSeries* s = chart.FirstActiveSeries();
    if (!s || !s->ShowInLegend())
        return items;
    if (style == lsLastValues) {
        // The last point of every active series.
        for (const auto& t : chart.SeriesList())
            if (t->Active() && t->ShowInLegend() && t->Count() > 0)
                items.push_back(
                    {t.get(), t->Count() - 1, chart.ValueLegendText(*t, t->Count() - 1)});
        return items;
    }
    for (int i = 0; i < s->Count(); ++i)
        items.push_back({s, i, chart.ValueLegendText(*s, i)});
    return items;
}

std::optional<TRect> DrawChartLegend(TCustomChart& chart) {
    TChartLegend& lg = chart.Legend();
    // Top and bottom legends are not drawn.
    if (lg.Alignment() != laRight && lg.Alignment() != laLeft)
        return std::nullopt;
    std::vector<TLegendItem> items = LegendItems(chart);
    const int skip = std::clamp(lg.FirstValue(), 0, static_cast<int>(items.size()));
    items.erase(items.begin(), items.begin() + skip);
    if (lg.Inverted())
        std::reverse(items.begin(), items.end());

    TCanvas3D& c = *chart.Canvas();
    chart.SelectCanvasFont(lg.Font());
    const int h = c.TextHeight("W");
    const bool framed = lg.Frame().Visible();
    const int fw = framed ? lg.Frame().Width() : 0;
    const int top =
        chart.ChartBounds().top + RoundEvenInt(lg.TopPos() * chart.ChartBounds().Height() / 100.0);
    int rows = 0;
    if (top < chart.ChartRect().bottom && h > 0)
        rows =
            std::min(static_cast<int>(items.size()), (chart.ChartRect().bottom - 2 * fw - top) / h);
    lg.NumRows = std::max(rows, 0);
    lg.NumCols = 1;
    if (rows <= 0)
        return std::nullopt;
    items.resize(rows);

    int w = 0;
    for (const TLegendItem& it : items)
        w = std::max(w, c.TextWidth(it.Text));
    const int bottom = top + rows * h + 2;
    const int colorW = RoundEvenInt((w + 10) * lg.ColorWidth() / 100.0);
    const int inset = framed ? fw + 1 : 0;
    int left, right, textX;
    if (lg.Alignment() == laRight) {
        right = chart.ChartRect().right - inset - lg.ShadowSize();
        textX = right - w - 2;
        left = textX - colorW - 8;
    } else {
        left = chart.ChartRect().left + inset;
        textX = left + colorW + 8;
        right = textX + w + 2;
    }
    chart.Layout().legendRect = {left, top, right, bottom};
    lg.ColorWidthPixels = colorW;

    const int s = lg.ShadowSize();
    if (s > 0) {
        const int d = framed ? s + fw + (fw - 1) / 2 : s - 1;
        c.AssignBrush({colorToRGB(lg.ShadowColor()), bsSolid});
        c.FillRect({left + s, top + s, right + d, bottom + d});
    }
    c.AssignPen(lg.Frame().State());
    c.AssignBrush({colorToRGB(lg.Color()), bsSolid});
    c.Rectangle(left - fw, top - fw, right + fw, bottom + fw);

    for (int i = 0; i < rows; ++i) {
        const int y = top + 1 + i * h;
        if (i > 0 && lg.DividingLines().Visible()) {
            c.AssignPen(lg.DividingLines().State());
            c.Line(left, y, right, y);
        }
        chart.SelectCanvasFont(lg.Font());
        c.SetBackMode(cbmTransparent);
        c.AssignBrush({clWhite, bsClear});
        c.SetTextAlign(htaLeft, vtaTop);
        c.TextOut(textX, y, items[i].Text);
        items[i].Series->DrawLegendSymbol(items[i].ValueIndex,
                                          {textX - 4 - colorW, y + 2, textX - 4, y + h - 2});
    }
    c.SetBackMode(cbmOpaque);

    if (!lg.ResizeChart())
        return std::nullopt;
    const int margin =
        lg.HorizMargin() != 0 ? lg.HorizMargin() : MulDiv(3, chart.ChartWidth(), 100);
    TRect plot = chart.ChartRect();
    if (lg.Alignment() == laRight)
        plot.right = left - margin;
    else
        plot.left = right + margin;
    return plot;
}

} // namespace telvara
