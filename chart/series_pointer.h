#pragma once
// The point symbol of a series. Every series of the program keeps it hidden;
// the shapes are kept simple.
#include "chart/chart_pen.h"

namespace telvara {

enum TSeriesPointerStyle {
    psRectangle,
    psCircle,
    psTriangle,
    psDownTriangle,
    psCross,
    psDiagCross,
    psStar,
    psDiamond,
    psSmallDot
};

class TSeriesPointer {
public:
    TSeriesPointer();
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    TSeriesPointerStyle Style() const { return style_; }
    void SetStyle(TSeriesPointerStyle v);
    int HorizSize() const { return horizSize_; }
    void SetHorizSize(int v);
    int VertSize() const { return vertSize_; }
    void SetVertSize(int v);
    bool InflateMargins() const { return inflateMargins_; }
    void SetInflateMargins(bool v);
    TChartPen& Pen() { return pen_; }
    const TChartPen& Pen() const { return pen_; }

    // Draws the shape centred on (x, y) filled with color; at depth z in 3D.
    void Draw(TCanvas3D& c, int x, int y, int z, TColor color) const;
    // Same shape with the half sizes given (legend symbols).
    void DrawSized(TCanvas3D& c, int x, int y, int z, int hs, int vs, TColor color) const;

    TNotifyChange OnChange;

private:
    void Changed();
    bool visible_ = true;
    TSeriesPointerStyle style_ = psRectangle;
    int horizSize_ = 4;
    int vertSize_ = 4;
    bool inflateMargins_ = true;
    TChartPen pen_{clBlack, 1, psSolid};
};

} // namespace telvara
