#include "chart/panel.h"

#include "chart/chart_pen.h"
#include "chart/math_util.h"

#include <algorithm>
#include <string>

namespace telvara {

void TChartGradient::SetDirection(TGradientDirection v) {
    if (StoreChanged(direction_, v))
        owner_->RequestRepaint();
}
void TChartGradient::SetStartColor(TColor v) {
    if (StoreChanged(startColor_, v))
        owner_->RequestRepaint();
}
void TChartGradient::SetEndColor(TColor v) {
    if (StoreChanged(endColor_, v))
        owner_->RequestRepaint();
}
void TChartGradient::SetVisible(bool v) {
    if (StoreChanged(visible_, v))
        owner_->RequestRepaint();
}

TCustomChartPanel::TCustomChartPanel() = default;
TCustomChartPanel::~TCustomChartPanel() = default;

void TCustomChartPanel::SetBounds(int width, int height) {
    if (width_ == width && height_ == height)
        return;
    width_ = width;
    height_ = height;
    RequestRepaint();
}

void TCustomChartPanel::SetColor(TColor v) {
    if (StoreChanged(color_, v))
        RequestRepaint();
}
void TCustomChartPanel::SetBevelOuter(TPanelBevel v) {
    if (StoreChanged(bevelOuter_, v))
        RequestRepaint();
}
void TCustomChartPanel::SetBevelInner(TPanelBevel v) {
    if (StoreChanged(bevelInner_, v))
        RequestRepaint();
}
void TCustomChartPanel::SetBevelWidth(int v) {
    if (StoreChanged(bevelWidth_, v))
        RequestRepaint();
}
void TCustomChartPanel::SetBorderWidth(int v) {
    if (StoreChanged(borderWidth_, v))
        RequestRepaint();
}
void TCustomChartPanel::SetMarginLeft(int v) {
    if (StoreChanged(marginLeft_, v))
        RequestRepaint();
}
void TCustomChartPanel::SetMarginTop(int v) {
    if (StoreChanged(marginTop_, v))
        RequestRepaint();
}
void TCustomChartPanel::SetMarginRight(int v) {
    if (StoreChanged(marginRight_, v))
        RequestRepaint();
}
void TCustomChartPanel::SetMarginBottom(int v) {
    if (StoreChanged(marginBottom_, v))
        RequestRepaint();
}
void TCustomChartPanel::SetView3D(bool v) {
    if (StoreChanged(view3D_, v))
        RequestRepaint();
}
void TCustomChartPanel::SetMonochrome(bool v) {
    if (StoreChanged(monochrome_, v))
        RequestRepaint();
}

void TCustomChartPanel::SetView3DOptions(const TView3DOptions& v) {
    const TView3DOptions& o = view3DOptions_;
    const bool same =
        o.Orthogonal == v.Orthogonal && o.Zoom == v.Zoom && o.ZoomText == v.ZoomText &&
        o.Rotation == v.Rotation && o.Elevation == v.Elevation && o.Perspective == v.Perspective &&
        o.Tilt == v.Tilt && o.HorizOffset == v.HorizOffset && o.VertOffset == v.VertOffset;
    view3DOptions_ = v;
    if (!same)
        RequestRepaint();
}

void TCustomChartPanel::SetChart3DPercent(int v) {
    constexpr int lo = 1, hi = 100;
    if (v < lo || v > hi)
        throw ChartException("３次元効果の割合は " + std::to_string(lo) + " から " +
                             std::to_string(hi) + " の間でなければなりません");
    if (StoreChanged(chart3DPercent_, v))
        RequestRepaint();
}

void TCustomChartPanel::RequestRepaint() {
    if (!autoRepaint_)
        return;
    dirty_ = true;
    if (host_)
        host_->InvalidateChart();
}

void TCustomChartPanel::SetBufferedDisplay(bool v) {
    if (!v && buffered_) {
        if (host_)
            host_->ReleaseBuffer();
        dirty_ = true;
    }
    buffered_ = v;
}

void TCustomChartPanel::RecalcWidthHeight() {
    const TRect& bounds = layout_->chartBounds;
    TRect& r = layout_->chartRect;
    if (r.left < bounds.left)
        r.left = bounds.left;
    if (r.top < bounds.top)
        r.top = bounds.top;
    if (r.right < r.left)
        r.right = r.left + 1;
    else if (r.right == r.left)
        r.right = r.left + bounds.Width();
    if (r.bottom < r.top)
        r.bottom = r.top + 1;
    else if (r.bottom == r.top)
        r.bottom = r.top + bounds.Height();
}

void TCustomChartPanel::DrawChart(TCanvas3D& canvas, const TRect& rect) {
    Paint(canvas, rect, screenLayout_, buffered_);
    if (buffered_)
        dirty_ = false;
}

void TCustomChartPanel::DrawChartInLayout(TCanvas3D& canvas, const TRect& rect,
                                          TChartLayout& page) {
    Paint(canvas, rect, page, false);
}

void TCustomChartPanel::Paint(TCanvas3D& canvas, const TRect& rect, TChartLayout& layout,
                              bool buffered) {
    const int w = rect.Width(), h = rect.Height();
    const bool toBitmap = buffered && canvas.BeginBuffer(w, h, monochrome_);
    const TRect panel = toBitmap ? TRect{0, 0, w, h} : rect;
    TChartLayout* const before = layout_;
    layout_ = &layout;
    canvas_ = &canvas;
    try {
        canvas.Set3D(view3D_);
        canvas.SetZoom(view3DOptions_.Zoom * 0.01);
        layout.chartBounds = panel;
        const int b = borderWidth_;
        const int pw = panel.Width(), ph = panel.Height();
        layout.chartRect = {panel.left + b + MulDiv(marginLeft_, pw, 100),
                            panel.top + b + MulDiv(marginTop_, ph, 100),
                            panel.right - b - MulDiv(marginRight_, pw, 100),
                            panel.bottom - b - MulDiv(marginBottom_, ph, 100)};
        RecalcWidthHeight();
        DrawChartContents(panel);
    } catch (...) {
        if (toBitmap)
            canvas.EndBuffer(rect.left, rect.top);
        canvas_ = nullptr;
        layout_ = before;
        throw;
    }
    if (toBitmap)
        canvas.EndBuffer(rect.left, rect.top);
    canvas_ = nullptr;
    layout_ = before;
}

void TCustomChartPanel::PaintPanelBackground(const TRect& r) {
    FillPanelBackground(r);
    DrawPanelFrame(r);
}

void TCustomChartPanel::FillPanelBackground(const TRect& r) {
    if (Printing())
        return;
    canvas_->AssignBrush({colorToRGB(color_), bsSolid});
    canvas_->FillRect(r);
}

// Band k of N: rows bottom - MulDiv(k + 1, H, N) .. bottom - MulDiv(k, H, N),
// colour first + MulDiv(k, last - first, N - 1) per channel; band 0 at the bottom.
void TCustomChartPanel::GradientFill(const TRect& r, TColor first, TColor last) {
    const int h = r.Height();
    if (h <= 0)
        return;
    const int n = std::min(h, 256);
    const TColor a = colorToRGB(first), z = colorToRGB(last);
    auto channel = [n](int from, int to, int k) {
        return from + (n > 1 ? MulDiv(k, to - from, n - 1) : 0);
    };
    bool haveBrush = false;
    TColor current = 0;
    for (int k = 0; k < n; ++k) {
        const TColor c = rgb(static_cast<std::uint8_t>(channel(redOf(a), redOf(z), k)),
                             static_cast<std::uint8_t>(channel(greenOf(a), greenOf(z), k)),
                             static_cast<std::uint8_t>(channel(blueOf(a), blueOf(z), k)));
        if (!haveBrush || c != current) {
            canvas_->AssignBrush({c, bsSolid});
            current = c;
            haveBrush = true;
        }
        canvas_->FillRect(
            {r.left, r.bottom - MulDiv(k + 1, h, n), r.right, r.bottom - MulDiv(k, h, n)});
    }
}

void TCustomChartPanelExtended::FillPanelBackground(const TRect& r) {
    if (!gradient_.Visible()) {
        TCustomChartPanel::FillPanelBackground(r);
        return;
    }
    if (gradient_.Direction() == gdBottomTop)
        GradientFill(r, gradient_.EndColor(), gradient_.StartColor());
    else
        GradientFill(r, gradient_.StartColor(), gradient_.EndColor());
}

// Rings from the outside in: outer bevel, border in Color, inner bevel.
void TCustomChartPanel::DrawPanelFrame(const TRect& rect) {
    if (Printing())
        return;
    TCanvas3D& c = *canvas_;
    c.AssignBrush({clWhite, bsClear});
    TRect r{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
    auto ring = [&](TColor topLeft, TColor bottomRight) {
        c.AssignPen({topLeft, 1, psSolid, pmCopy});
        c.Polyline({{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}});
        c.AssignPen({bottomRight, 1, psSolid, pmCopy});
        c.Polyline({{r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}});
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    };
    auto bevel = [&](TPanelBevel b) {
        if (b == bvNone)
            return;
        const TColor hi = colorToRGB(clBtnHighlight), sh = colorToRGB(clBtnShadow);
        for (int i = 0; i < bevelWidth_; ++i) {
            if (b == bvRaised)
                ring(hi, sh);
            else
                ring(sh, hi);
        }
    };
    bevel(bevelOuter_);
    const TColor col = colorToRGB(color_);
    for (int i = 0; i < borderWidth_; ++i)
        ring(col, col);
    bevel(bevelInner_);
}

} // namespace telvara
