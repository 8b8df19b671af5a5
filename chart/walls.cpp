// Back, left and bottom walls around the plot.
#include "chart/chart.h"

namespace telvara {

namespace {
void prepareWall(TCanvas3D& c, TChartWall& w) {
    c.AssignPen(w.Pen().State());
    const TColor color = w.Color();
    const TBrushStyle style = w.Brush().Style();
    if (color == clDefault && style == bsSolid) {
        c.AssignBrush({clWhite, bsClear});
        return;
    }
    TColor fill = color;
    if (style != bsSolid && color == w.Brush().Color())
        fill = colorToRGB(color) == clBlack ? clWhite : clBlack;
    c.AssignBrush({fill, style});
}
} // namespace

void TCustomChart::DrawChartWalls() {
    TCanvas3D& c = *Canvas();
    const TRect& r = ChartRect;
    if (!View3D()) {
        prepareWall(c, BackWall());
        c.Rectangle(r.left, r.top, r.right + 1, r.bottom + 1);
        return;
    }
    const int d = TotalDepth;
    prepareWall(c, BackWall());
    c.RectangleWithZ({r.left + 1, r.top - 1, r.right, r.bottom}, d);
    if (!View3DWalls())
        return;
    prepareWall(c, LeftWall());
    c.RectangleZ(r.left, r.top, r.bottom, 0, d);
    prepareWall(c, BottomWall());
    c.RectangleY(r.left, r.bottom, r.right, 0, d);
}

} // namespace telvara
