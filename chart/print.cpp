// Printing and export geometry.
#include "chart/panel.h"

#include "chart/math_util.h"

#include <utility>

namespace telvara {

TRect TCustomChartPanel::GetExportRect() const {
    return {0, 0, width_, height_};
}

TRect TCustomChartPanel::CalcPrintPageRect(int pw, int ph, int dpiX, int dpiY) {
    const TRect& m = printMargins_;
    const double dx = dpiX, dy = dpiY;
    return {RoundEvenInt(dx * (m.left * (pw * 0.01 / dx))),
            RoundEvenInt(dy * (m.top * (ph * 0.01 / dy))),
            pw - RoundEvenInt(dx * (m.right * (pw * 0.01 / dx))),
            ph - RoundEvenInt(dy * (m.bottom * (ph * 0.01 / dy)))};
}

void TCustomChartPanel::DrawChartOnCanvasRect(TCanvas3D& canvas, TRect r) {
    if (r.right < r.left)
        std::swap(r.left, r.right);
    if (r.bottom < r.top)
        std::swap(r.top, r.bottom);
    const int rw = r.Width(), rh = r.Height();
    const TRect e = GetExportRect();
    const int cw = e.Width(), ch = e.Height();
    const int lw = cw - MulDiv(cw, printResolution_, 100);
    const int lh = ch - MulDiv(ch, printResolution_, 100);
    const TRect logical{MulDiv(r.left, lw, rw), MulDiv(r.top, lh, rh), MulDiv(r.right, lw, rw),
                        MulDiv(r.bottom, lh, rh)};
    const TMapping saved = canvas.GetMapping();
    TMapping m;
    m.anisotropic = true;
    m.winExtX = lw;
    m.winExtY = lh;
    m.viewExtX = rw;
    m.viewExtY = rh;
    const bool wasBuffered = buffered_;
    try {
        canvas.SetMapping(m);
        printing_ = true;
        canvas.ClipRectangle(logical);
        SetBufferedDisplay(false);
        DrawChart(canvas, logical);
        SetBufferedDisplay(wasBuffered);
        canvas.UnClipRectangle();
    } catch (...) {
        SetBufferedDisplay(wasBuffered);
        printing_ = false;
        canvas.UnClipRectangle();
        canvas.SetMapping(saved);
        throw;
    }
    printing_ = false;
    canvas.SetMapping(saved);
}

} // namespace telvara
