#include "chart/canvas3d.h"

#include "chart/math_util.h"

#include <algorithm>
#include <climits>

namespace telvara {

void TCanvas3D::AssignPen(const TPenState& p) {
    pen_ = p;
    PenChanged();
}
void TCanvas3D::AssignBrush(const TBrushState& b) {
    brush_ = b;
    BrushChanged();
}
void TCanvas3D::AssignFont(const TFontState& f) {
    font_ = f;
    FontChanged();
}
void TCanvas3D::SetPenColor(TColor c) {
    TPenState p = pen_;
    p.color = c;
    AssignPen(p);
}
void TCanvas3D::SetPenWidth(int w) {
    TPenState p = pen_;
    p.width = w;
    AssignPen(p);
}
void TCanvas3D::SetPenStyle(TPenStyle s) {
    TPenState p = pen_;
    p.style = s;
    AssignPen(p);
}
void TCanvas3D::SetPenMode(TPenMode m) {
    TPenState p = pen_;
    p.mode = m;
    AssignPen(p);
}
void TCanvas3D::SetBrushColor(TColor c) {
    TBrushState b = brush_;
    b.color = c;
    AssignBrush(b);
}
void TCanvas3D::SetBrushStyle(TBrushStyle s) {
    TBrushState b = brush_;
    b.style = s;
    AssignBrush(b);
}
void TCanvas3D::SetFontColor(TColor c) {
    TFontState f = font_;
    f.color = c;
    AssignFont(f);
}
void TCanvas3D::SetBackMode(TCanvasBackMode m) {
    backMode_ = m;
    BackModeChanged();
}
void TCanvas3D::SetBackColor(TColor c) {
    backColor_ = c;
    BackModeChanged();
}
void TCanvas3D::SetTextAlign(TTextHorizAlign h, TTextVertAlign v) {
    hAlign_ = h;
    vAlign_ = v;
    TextAlignChanged();
}

void TCanvas3D::ResetState() {
    AssignPen(TPenState{});
    AssignBrush(TBrushState{});
    AssignFont(TFontState{});
    SetBackMode(cbmOpaque);
    SetTextAlign(htaLeft, vtaTop);
}

void TCanvas3D::Line(int x0, int y0, int x1, int y1) {
    MoveTo(x0, y0);
    LineTo(x1, y1);
}

bool TCanvas3D::BeginBuffer(int, int, bool) {
    return false;
}
void TCanvas3D::EndBuffer(int, int) {}

void TCanvas3D::SetProjection(int cx, int cy, int cz, int horizOffset, int vertOffset) {
    cx_ = cx;
    cy_ = cy;
    cz_ = cz;
    cxOff_ = cx + horizOffset;
    cyOff_ = cy + vertOffset;
}

// Oblique parallel projection: deeper points move right and up. Worked in
// doubles and held to the integer range: a label far off the axis may sit at
// the largest pixel the mapping gives.
TPoint TCanvas3D::Calc3DPoint(int x, int y, int z) const {
    if (!is3D_)
        return {x, y};
    auto pixel = [](double v) {
        return RoundEvenInt(
            std::clamp(v, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
    };
    return {pixel(zoom_ * (static_cast<double>(x) + z - cx_) + cxOff_),
            pixel(zoom_ * (static_cast<double>(y) - z - cy_) + cyOff_)};
}

void TCanvas3D::MoveTo3D(int x, int y, int z) {
    const TPoint p = Calc3DPoint(x, y, z);
    MoveTo(p.x, p.y);
}

void TCanvas3D::LineTo3D(int x, int y, int z) {
    const TPoint p = Calc3DPoint(x, y, z);
    LineTo(p.x, p.y);
}

void TCanvas3D::LineWithZ(int x0, int y0, int x1, int y1, int z) {
    MoveTo3D(x0, y0, z);
    LineTo3D(x1, y1, z);
}

void TCanvas3D::RectangleWithZ(const TRect& r, int z) {
    if (!is3D_) {
        Rectangle(r);
        return;
    }
    const TPoint a = Calc3DPoint(r.left, r.top, z);
    const TPoint b = Calc3DPoint(r.right, r.bottom, z);
    Rectangle(a.x, a.y, b.x, b.y);
}

void TCanvas3D::RectangleY(int left, int y, int right, int z0, int z1) {
    Polygon({Calc3DPoint(left, y, z0), Calc3DPoint(right, y, z0), Calc3DPoint(right, y, z1),
             Calc3DPoint(left, y, z1)});
}

void TCanvas3D::RectangleZ(int x, int top, int bottom, int z0, int z1) {
    Polygon({Calc3DPoint(x, top, z0), Calc3DPoint(x, top, z1), Calc3DPoint(x, bottom, z1),
             Calc3DPoint(x, bottom, z0)});
}

void TCanvas3D::Plane3D(TPoint p0, TPoint p1, int z0, int z1) {
    Polygon({Calc3DPoint(p0.x, p0.y, z0), Calc3DPoint(p1.x, p1.y, z0), Calc3DPoint(p1.x, p1.y, z1),
             Calc3DPoint(p0.x, p0.y, z1)});
}

void TCanvas3D::Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) {
    const TBrushState front = Brush();
    // Right side and top in the darker shade when asked, front face last.
    if (darkSides && front.style != bsClear)
        SetBrushColor(DarkenColor(front.color, 64));
    RectangleZ(right, top, bottom, z0, z1);
    RectangleY(left, top, right, z0, z1);
    AssignBrush(front);
    RectangleWithZ({left, top, right, bottom}, z0);
}

void TCanvas3D::TextOut3D(int x, int y, int z, const std::string& text) {
    const TPoint p = Calc3DPoint(x, y, z);
    TextOut(p.x, p.y, text);
}

void TCanvas3D::RotatedTextOut3D(int x, int y, int z, const std::string& text, int angle) {
    const TPoint p = Calc3DPoint(x, y, z);
    RotatedTextOut(p.x, p.y, text, angle);
}

TColor DarkenColor(TColor c, int quantity) {
    const TColor rgbColor = colorToRGB(c);
    auto dark = [quantity](int v) {
        return static_cast<std::uint8_t>(v <= quantity ? 0 : v - quantity);
    };
    return rgb(dark(redOf(rgbColor)), dark(greenOf(rgbColor)), dark(blueOf(rgbColor)));
}

} // namespace telvara
