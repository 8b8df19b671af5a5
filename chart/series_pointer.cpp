#include "chart/series_pointer.h"

namespace telvara {

TSeriesPointer::TSeriesPointer() {
    pen_.OnChange = [this] { Changed(); };
}

void TSeriesPointer::Changed() {
    if (OnChange)
        OnChange();
}

void TSeriesPointer::SetVisible(bool v) {
    if (StoreChanged(visible_, v))
        Changed();
}
void TSeriesPointer::SetStyle(TSeriesPointerStyle v) {
    if (StoreChanged(style_, v))
        Changed();
}
void TSeriesPointer::SetHorizSize(int v) {
    if (StoreChanged(horizSize_, v))
        Changed();
}
void TSeriesPointer::SetVertSize(int v) {
    if (StoreChanged(vertSize_, v))
        Changed();
}
void TSeriesPointer::SetInflateMargins(bool v) {
    if (StoreChanged(inflateMargins_, v))
        Changed();
}

void TSeriesPointer::Draw(TCanvas3D& c, int x, int y, int z, TColor color) const {
    DrawSized(c, x, y, z, horizSize_, vertSize_, color);
}

void TSeriesPointer::DrawSized(TCanvas3D& c, int x, int y, int z, int hs, int vs,
                               TColor color) const {
    c.AssignPen(pen_.State());
    c.AssignBrush({color, bsSolid});
    const TPoint p = c.Calc3DPoint(x, y, z);
    const int l = p.x - hs, r = p.x + hs, t = p.y - vs, b = p.y + vs;
    switch (style_) {
    case psTriangle:
        c.Polygon({{l, b}, {p.x, t}, {r, b}});
        break;
    case psDownTriangle:
        c.Polygon({{l, t}, {r, t}, {p.x, b}});
        break;
    case psDiamond:
        c.Polygon({{l, p.y}, {p.x, t}, {r, p.y}, {p.x, b}});
        break;
    case psCross:
        c.SetPenColor(pen_.Visible() ? pen_.Color() : color);
        c.Line(l, p.y, r + 1, p.y);
        c.Line(p.x, t, p.x, b + 1);
        break;
    case psDiagCross:
    case psStar:
        c.SetPenColor(pen_.Visible() ? pen_.Color() : color);
        c.Line(l, t, r + 1, b + 1);
        c.Line(l, b, r + 1, t - 1);
        if (style_ == psStar) {
            c.Line(l, p.y, r + 1, p.y);
            c.Line(p.x, t, p.x, b + 1);
        }
        break;
    case psSmallDot:
        c.Rectangle(p.x - 1, p.y - 1, p.x + 2, p.y + 2);
        break;
    case psCircle: // an octagon is close enough at symbol sizes
    {
        const int dx = hs / 2, dy = vs / 2;
        c.Polygon({{l, p.y - dy},
                   {p.x - dx, t},
                   {p.x + dx, t},
                   {r, p.y - dy},
                   {r, p.y + dy},
                   {p.x + dx, b},
                   {p.x - dx, b},
                   {l, p.y + dy}});
        break;
    }
    case psRectangle:
        c.Rectangle(l, t, r + 1, b + 1);
        break;
    }
}

} // namespace telvara
