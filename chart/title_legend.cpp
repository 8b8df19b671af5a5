// Title and foot text blocks, and the order of title, foot and legend.
#include "chart/chart.h"
#include "chart/legend.h"

#include <algorithm>
#include <optional>

namespace telvara {

void TCustomChart::DrawTitle(TChartTitle& t, bool isFoot) {
    if (!t.Visible() || t.Text().empty())
        return;
    TCanvas3D& c = *Canvas();
    SelectCanvasFont(t.Font());
    const int h = c.TextHeight("W");
    const int wW = c.TextWidth("W");
    // The defaults leave the text on a transparent background.
    const bool transparent =
        t.Color() == clDefault && t.Brush().Color() == clDefault && t.Brush().Style() == bsSolid;
    const TBrushState brush{t.Color() == clDefault ? t.Brush().Color() : t.Color(),
                            transparent ? bsClear : t.Brush().Style()};
    const int f = t.Frame().Visible() && t.Frame().Color() != clDefault ? t.Frame().Width() : 0;
    const int left = ChartRect().left + f, right = ChartRect().right - f;
    const int n = static_cast<int>(t.Text().size());
    const int firstTop = isFoot ? ChartRect().bottom - f - n * h : ChartRect().top + f;

    if (t.Frame().Visible() || brush.style != bsClear) {
        int bl = left - f, br = right + f;
        if (t.AdjustFrame()) {
            int widest = 0;
            for (const std::string& line : t.Text())
                widest = std::max(widest, c.TextWidth(line));
            const int w = widest + wW;
            if (t.Alignment() == taLeftJustify)
                br = bl + w + 2 * f;
            else if (t.Alignment() == taRightJustify)
                bl = br - w - 2 * f;
            else {
                bl = (left + right) / 2 - w / 2 - f;
                br = bl + w + 2 * f;
            }
        }
        c.AssignPen(t.Frame().State());
        c.AssignBrush({colorToRGB(brush.color == clDefault ? clWhite : brush.color), brush.style});
        c.Rectangle(bl, firstTop - f, br, firstTop + n * h + f);
    }

    c.SetBackMode(cbmTransparent);
    c.AssignBrush({clWhite, bsClear});
    SelectCanvasFont(t.Font());
    c.SetTextAlign(htaLeft, vtaTop);
    int y = firstTop;
    for (const std::string& line : t.Text()) {
        const int w = c.TextWidth(line);
        int x;
        switch (t.Alignment()) {
        case taLeftJustify:
            x = left + wW / 2;
            break;
        case taRightJustify:
            x = right - w - wW / 2;
            break;
        default:
            x = (left + right) / 2 - w / 2;
            break;
        }
        c.TextOut(x, y, line);
        y += h;
    }
    c.SetBackMode(cbmOpaque);
    TRect plot = ChartRect();
    if (isFoot)
        plot.bottom = firstTop - f - 5;
    else
        plot.top = y + f + 5;
    SetChartRect(plot);
    RecalcWidthHeight();
}

void TCustomChart::DrawTitleFootLegend() {
    TChartLegend& legend = Legend();
    if (!legend.Visible() || CountActiveSeries() == 0) {
        DrawTitle(Title(), false);
        DrawTitle(Foot(), true);
        return;
    }
    if (legend.Alignment() == laLeft || legend.Alignment() == laRight) {
        DrawLegend();
        DrawTitle(Title(), false);
        DrawTitle(Foot(), true);
        return;
    }
    DrawTitle(Title(), false);
    DrawTitle(Foot(), true);
    DrawLegend();
}

void TCustomChart::DrawLegend() {
    if (const std::optional<TRect> plot = DrawChartLegend(*this)) {
        SetChartRect(*plot);
        RecalcWidthHeight();
    }
}

} // namespace telvara
