#include "chart/chart_renderer.h"

#include "chart/math_util.h"
#include "chart/panel.h"

#include <algorithm>
#include <utility>

namespace telvara {

namespace {

// Runs a clean-up when the scope ends, whether by return or by a failure.
template <class F> class Finally {
public:
    explicit Finally(F f) : f_(std::move(f)) {}
    ~Finally() { f_(); }
    Finally(const Finally&) = delete;
    Finally& operator=(const Finally&) = delete;

private:
    F f_;
};

// Margins that keep the screen's aspect ratio: the picture is narrowed (or
// shortened) inside the current margins and centred. Sizes in inches, so a
// printer with different horizontal and vertical resolutions keeps it too.
TRect proportionalMargins(const TRect& m, int pw, int ph, int dpiX, int dpiY, int cw, int ch) {
    if (pw <= 0 || ph <= 0 || dpiX <= 0 || dpiY <= 0 || cw <= 0 || ch <= 0)
        return m;
    const double aw = pw * (100 - m.left - m.right) * 0.01 / dpiX;
    const double ah = ph * (100 - m.top - m.bottom) * 0.01 / dpiY;
    if (aw <= 0 || ah <= 0)
        return m;
    const double aspect = static_cast<double>(cw) / ch;
    TRect out = m;
    if (aw > ah * aspect) {
        const int extra = RoundEvenInt((aw - ah * aspect) * dpiX * 100.0 / pw);
        out.left += extra / 2;
        out.right += extra - extra / 2;
    } else {
        const int extra = RoundEvenInt((ah - aw / aspect) * dpiY * 100.0 / ph);
        out.top += extra / 2;
        out.bottom += extra - extra / 2;
    }
    return out;
}

} // namespace

// Written as the margins are defined (percent of the printable size, through
// the resolution); in floating point this is Round(PW * margin / 100). A
// margin of millions of percent is held to 2^29 pixels, so the page rectangle
// and its width and height stay integers.
TRect TChartRenderer::PageRect(int pw, int ph, int dpiX, int dpiY) const {
    const TRect& m = options_.marginPercent;
    // The resolution cancels out; a printer reporting none must not make it 0 * inf.
    const double dx = dpiX > 0 ? dpiX : 1, dy = dpiY > 0 ? dpiY : 1;
    auto pixels = [](double v) {
        constexpr double limit = 1 << 29;
        return RoundEvenInt(std::clamp(v, -limit, limit));
    };
    return {pixels(dx * (m.left * (pw * 0.01 / dx))), pixels(dy * (m.top * (ph * 0.01 / dy))),
            pw - pixels(dx * (m.right * (pw * 0.01 / dx))),
            ph - pixels(dy * (m.bottom * (ph * 0.01 / dy)))};
}

TRect TChartRenderer::ExportRect() const {
    return {0, 0, chart_.Width(), chart_.Height()};
}

TRect TChartRenderer::PageRect(TChartPrinter& p) {
    const int pw = p.PageWidth(), ph = p.PageHeight();
    const int dpiX = p.DpiX(), dpiY = p.DpiY();
    if (options_.proportional) {
        const TRect e = ExportRect();
        options_.marginPercent =
            proportionalMargins(options_.marginPercent, pw, ph, dpiX, dpiY, e.Width(), e.Height());
    }
    return PageRect(pw, ph, dpiX, dpiY);
}

void TChartRenderer::PrintOriented(TChartPrinter& p, TPrinterOrientation o) {
    const TPrinterOrientation before = p.Orientation();
    try {
        p.SetOrientation(o);
        Print(p);
    } catch (...) {
        // The print's own failure is the one the caller hears of.
        try {
            p.SetOrientation(before);
        } catch (...) {
        }
        throw;
    }
    p.SetOrientation(before);
}

void TChartRenderer::Print(TChartPrinter& p) {
    const TRect r = PageRect(p);
    PrintInRect(p, r);
}

void TChartRenderer::PrintInRect(TChartPrinter& p, const TRect& r) {
    try {
        p.SetTitle(chart_.Name());
        p.BeginDoc();
        DrawOnCanvasRect(p.Canvas(), r);
        p.EndDoc();
    } catch (...) {
        try {
            p.Abort();
            if (p.Printing())
                p.EndDoc();
        } catch (...) {
        }
        throw;
    }
}

// The screen-sized layout stretched independently in X and Y onto r. A page
// rectangle without width or height (margins of 50 on both sides) leaves the
// page empty.
void TChartRenderer::DrawOnCanvasRect(TCanvas3D& canvas, TRect r) {
    if (r.right < r.left)
        std::swap(r.left, r.right);
    if (r.bottom < r.top)
        std::swap(r.top, r.bottom);
    const int rw = r.Width(), rh = r.Height();
    const TRect e = ExportRect();
    const int cw = e.Width(), ch = e.Height();
    const int lw = cw - MulDiv(cw, options_.resolution, 100);
    const int lh = ch - MulDiv(ch, options_.resolution, 100);
    if (rw <= 0 || rh <= 0 || lw <= 0 || lh <= 0)
        return;
    const TRect logical{MulDiv(r.left, lw, rw), MulDiv(r.top, lh, rh), MulDiv(r.right, lw, rw),
                        MulDiv(r.bottom, lh, rh)};

    const TMapping saved = canvas.GetMapping();
    TMapping m;
    m.anisotropic = true;
    m.winExtX = lw;
    m.winExtY = lh;
    m.viewExtX = rw;
    m.viewExtY = rh;
    canvas.SetMapping(m);
    Finally restore([&] { canvas.SetMapping(saved); });

    canvas.ClipRectangle(logical);
    Finally unclip([&] { canvas.UnClipRectangle(); });
    TChartLayout page;
    page.printing = true;
    chart_.DrawChartInLayout(canvas, logical, page);
}

void TChartRenderer::SaveBitmap(TChartBitmapFactory& f, const std::string& fileName) {
    const TRect r = ExportRect();
    const std::unique_ptr<TChartBitmap> bitmap = MakeBitmap(f, clWhite, r);
    bitmap->SaveToFile(fileName);
}

std::unique_ptr<TChartBitmap> TChartRenderer::MakeBitmap(TChartBitmapFactory& f, TColor backColour,
                                                         const TRect& r) {
    std::unique_ptr<TChartBitmap> bitmap = f.Create(r.Width(), r.Height());
    TCanvas3D& c = bitmap->Canvas();
    const TColor back = colorToRGB(backColour);
    if (back != clWhite) {
        c.AssignBrush({back, bsSolid});
        c.FillRect({0, 0, bitmap->Width(), bitmap->Height()});
    }
    TChartLayout page;
    chart_.DrawChartInLayout(c, r, page);
    return bitmap;
}

} // namespace telvara
