// Title and foot text blocks (legend to come).
#include "chart/chart.h"

namespace telvara {

void TCustomChart::DrawTitle(TChartTitle& t, bool isFoot) {
    if (!t.Visible() || t.Text().empty())
        return;
    TCanvas3D& c = *Canvas();
    SelectCanvasFont(t.Font());
    const int h = c.TextHeight("W");
    const bool transparent =
        t.Color() == clDefault && t.Brush().Color() == clDefault && t.Brush().Style() == bsSolid;
    c.SetBackMode(transparent ? cbmTransparent : cbmOpaque);
    c.AssignBrush({t.Color() == clDefault ? t.Brush().Color() : t.Color(),
                   transparent ? bsClear : t.Brush().Style()});
    const int f = t.Frame().Visible() && t.Frame().Color() != clDefault ? t.Frame().Width() : 0;
    const int left = ChartRect.left + f, right = ChartRect.right - f;
    const int n = static_cast<int>(t.Text().size());
    int y = isFoot ? ChartRect.bottom - f - n * h : ChartRect.top + f;
    const int firstTop = y;
    const int halfW = c.TextWidth("W") / 2;
    c.SetTextAlign(htaLeft, vtaTop);
    for (const std::string& line : t.Text()) {
        const int w = c.TextWidth(line);
        int x;
        switch (t.Alignment()) {
        case taLeftJustify:
            x = left + halfW;
            break;
        case taRightJustify:
            x = right - w - halfW;
            break;
        default:
            x = (left + right) / 2 - w / 2;
            break;
        }
        c.TextOut(x, y, line);
        y += h;
    }
    c.SetBackMode(cbmOpaque);
    if (isFoot)
        ChartRect.bottom = firstTop - f - 5;
    else
        ChartRect.top = y + f + 5;
    RecalcWidthHeight();
}

void TCustomChart::DrawTitleFootLegend() {
    DrawTitle(Title(), false);
    DrawTitle(Foot(), true);
}

} // namespace telvara
