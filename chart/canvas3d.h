#pragma once
// The chart engine's drawing surface. The engine draws only through this class;
// the platform implements the 2D primitives, the 3D projection lives here.
#include "base/colors.h"

#include <string>
#include <vector>

namespace telvara {

struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom are exclusive, as for filled rectangles.
struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Right and bottom edges are outside.
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmCopy, pmNotXor, pmXor, pmNot };
enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};
enum TCanvasBackMode { cbmTransparent, cbmOpaque };
enum TTextHorizAlign { htaLeft, htaCenter, htaRight };
enum TTextVertAlign { vtaTop, vtaBottom };

enum TFontStyleBits { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TPenState {
    TColor color = clBlack;
    int width = 1;
    TPenStyle style = psSolid;
    TPenMode mode = pmCopy;
    bool smallDots = false; // every other pixel instead of the plain dotted pattern
    friend bool operator==(const TPenState&, const TPenState&) = default;
};

struct TBrushState {
    TColor color = clWhite;
    TBrushStyle style = bsSolid;
    friend bool operator==(const TBrushState&, const TBrushState&) = default;
};

// Height is the character height in pixels (logical units while printing).
struct TFontState {
    std::string name = "ＭＳ Ｐ明朝";
    int height = 12;
    TColor color = clBlack;
    int style = 0; // TFontStyleBits
    friend bool operator==(const TFontState&, const TFontState&) = default;
};

// Logical-to-device mapping for the printed page: logical (winExtX, winExtY)
// units from (winOrgX, winOrgY) map onto (viewExtX, viewExtY) device pixels at
// (viewOrgX, viewOrgY). Identity when not anisotropic.
struct TMapping {
    bool anisotropic = false;
    int winOrgX = 0, winOrgY = 0, winExtX = 1, winExtY = 1;
    int viewOrgX = 0, viewOrgY = 0, viewExtX = 1, viewExtY = 1;
    friend bool operator==(const TMapping&, const TMapping&) = default;
};

class TCanvas3D {
public:
    virtual ~TCanvas3D() = default;

    // ---- state ----
    const TPenState& Pen() const { return pen_; }
    const TBrushState& Brush() const { return brush_; }
    const TFontState& Font() const { return font_; }
    TCanvasBackMode BackMode() const { return backMode_; }
    TColor BackColor() const { return backColor_; }
    TTextHorizAlign TextHorizAlign() const { return hAlign_; }
    TTextVertAlign TextVertAlign() const { return vAlign_; }

    void AssignPen(const TPenState& p);
    void AssignBrush(const TBrushState& b);
    void AssignFont(const TFontState& f);
    void SetPenColor(TColor c);
    void SetPenWidth(int w);
    void SetPenStyle(TPenStyle s);
    void SetPenMode(TPenMode m);
    void SetBrushColor(TColor c);
    void SetBrushStyle(TBrushStyle s);
    void SetFontColor(TColor c);
    void SetBackMode(TCanvasBackMode m);
    void SetBackColor(TColor c);
    void SetTextAlign(TTextHorizAlign h, TTextVertAlign v);
    // Solid black pen, white solid brush, default font, opaque, left/top text.
    void ResetState();

    // ---- 2D primitives (logical coordinates) ----
    virtual void MoveTo(int x, int y) = 0;
    // Line from the pen position to (x, y), the end pixel excluded.
    virtual void LineTo(int x, int y) = 0;
    void Line(int x0, int y0, int x1, int y1);
    // Outline with the pen, inside with the brush; right/bottom exclusive.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    // Brush only, right/bottom exclusive.
    virtual void FillRect(const TRect& r) = 0;
    virtual void Polyline(const std::vector<TPoint>& pts) = 0;
    virtual void Polygon(const std::vector<TPoint>& pts) = 0;
    // Text anchored at (x, y) with the current alignment.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    // Text rotated counter-clockwise by angle degrees around (x, y); the
    // alignment applies in the text's own rotated frame.
    virtual void RotatedTextOut(int x, int y, const std::string& text, int angle) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;

    // ---- clipping (intersected with the current clip) ----
    virtual void ClipRectangle(const TRect& r) = 0;
    virtual void ClipPolygon(const std::vector<TPoint>& pts) = 0;
    virtual void UnClipRectangle() = 0;

    // ---- logical-to-device mapping (printing) ----
    virtual TMapping GetMapping() const = 0;
    virtual void SetMapping(const TMapping& m) = 0;

    // ---- off-screen buffer ----
    // Drawing between BeginBuffer and EndBuffer goes to a kept bitmap of the
    // given size at (0, 0); EndBuffer copies it to the target at (x, y).
    // False when the surface has no bitmap: drawing then goes straight to it.
    virtual bool BeginBuffer(int width, int height, bool monochrome);
    virtual void EndBuffer(int x, int y);

    // ---- 3D projection ----
    void Set3D(bool is3D) { is3D_ = is3D; }
    bool Is3D() const { return is3D_; }
    void SetZoom(double factor) { zoom_ = factor; }
    double Zoom() const { return zoom_; }
    // Projection centre (cx, cy), depth centre and the offsets added to the centre.
    void SetProjection(int cx, int cy, int cz, int horizOffset, int vertOffset);
    TPoint Center() const { return {cx_, cy_}; }
    int DepthCenter() const { return cz_; }
    TPoint Calc3DPoint(int x, int y, int z) const;

    void MoveTo3D(int x, int y, int z);
    void LineTo3D(int x, int y, int z);
    void LineWithZ(int x0, int y0, int x1, int y1, int z);
    // Rectangle in the plane at depth z.
    void RectangleWithZ(const TRect& r, int z);
    // Horizontal plane at height y from (left, z0) to (right, z1).
    void RectangleY(int left, int y, int right, int z0, int z1);
    // Vertical plane at x from (top, z0) to (bottom, z1).
    void RectangleZ(int x, int top, int bottom, int z0, int z1);
    // Quadrilateral between (x0, y0) and (x1, y1) extruded from z0 to z1.
    void Plane3D(TPoint p0, TPoint p1, int z0, int z1);
    // Box from (left, top, z0) to (right, bottom, z1): front face, top and right sides.
    void Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides);
    void TextOut3D(int x, int y, int z, const std::string& text);
    void RotatedTextOut3D(int x, int y, int z, const std::string& text, int angle);

protected:
    // Called after every state assignment, also when nothing changed.
    virtual void PenChanged() {}
    virtual void BrushChanged() {}
    virtual void FontChanged() {}
    virtual void BackModeChanged() {}

private:
    TPenState pen_;
    TBrushState brush_;
    TFontState font_;
    TCanvasBackMode backMode_ = cbmOpaque;
    TColor backColor_ = clWhite;
    TTextHorizAlign hAlign_ = htaLeft;
    TTextVertAlign vAlign_ = vtaTop;

    bool is3D_ = false;
    double zoom_ = 1.0;
    int cx_ = 0, cy_ = 0, cz_ = 0;
    int cxOff_ = 0, cyOff_ = 0;
};

// Darker shade for 3D sides: each of red, green, blue reduced by quantity, not below 0.
TColor DarkenColor(TColor c, int quantity);

} // namespace telvara
