// Back, left and bottom walls around the plot.
#include "chart/chart.h"

namespace telvara {

namespace {
void prepareWall(TCanvas3D& c, TChartWall& w) {
    c.AssignPen(w.Pen().State());
    const TColor color = w.Color();
    const TBrushStyle style = w.Brush().Style();
    if (style == bsClear || (color == clDefault && style == bsSolid)) {
        c.AssignBrush({clWhite, bsClear});
        return;
    }
    TColor fill = color == clDefault ? w.Brush().Color() : color;
    if (fill == clDefault)
        fill = clBlack;
    // A hatch in the colour of its own background would vanish.
    if (style != bsSolid && color == w.Brush().Color())
        fill = colorToRGB(color) == clBlack ? clWhite : clBlack;
    c.AssignBrush({colorToRGB(fill), style});
}
} // namespace

void TCustomChart::DrawChartWalls() {
    TCanvas3D& c = *Canvas();
    const TRect& r = ChartRect();
    if (!View3D()) {
        prepareWall(c, BackWall());
        c.Rectangle(r.left, r.top, r.right + 1, r.bottom + 1);
        return;
    }
    const int d = TotalDepth;
    TChartWall& back = BackWall();
    prepareWall(c, back);
    if (back.Size() >= 1)
        c.Cube(r.left + 1, r.right, r.top - 1, r.bottom, d, d + back.Size(), back.Dark3D());
    else
        c.RectangleWithZ({r.left + 1, r.top - 1, r.right, r.bottom}, d);
    if (!View3DWalls())
        return;
    TChartWall& left = LeftWall();
    prepareWall(c, left);
    if (left.Size() >= 1)
        c.Cube(r.left - left.Size(), r.left, r.top, r.bottom, 0, d, left.Dark3D());
    else
        c.RectangleZ(r.left, r.top, r.bottom, 0, d);
    TChartWall& bottom = BottomWall();
    prepareWall(c, bottom);
    if (bottom.Size() >= 1)
        c.Cube(r.left, r.right, r.bottom, r.bottom + bottom.Size(), 0, d, bottom.Dark3D());
    else
        c.RectangleY(r.left, r.bottom, r.right, 0, d);
}

} // namespace telvara
