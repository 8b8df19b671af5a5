#include "chart/axis_panel.h"

#include "base/numbers.h"
#include "chart/math_util.h"
#include "chart/text_lines.h"

#include <algorithm>

namespace telvara {

namespace {
constexpr TColor kPalette[TCustomAxisPanel::PaletteSize] = {
    clRed,  clGreen,  clYellow, clBlue,  clWhite,  clGray,   clFuchsia, clTeal,
    clNavy, clMaroon, clLime,   clOlive, clPurple, clSilver, clAqua,    clBlack};
}

TColor TCustomAxisPanel::PaletteColor(int index) {
    return kPalette[index % PaletteSize];
}

TCustomAxisPanel::TCustomAxisPanel() {
    bottom_ = std::make_unique<TChartAxis>(this, true, false);
    top_ = std::make_unique<TChartAxis>(this, true, true);
    left_ = std::make_unique<TChartAxis>(this, false, false);
    left_->Title().SetAngle(90);
    right_ = std::make_unique<TChartAxis>(this, false, true);
    right_->Title().SetAngle(270);
    depth_ = std::make_unique<TChartDepthAxis>(this);
    axes_ = {bottom_.get(), top_.get(), left_.get(), right_.get(), depth_.get()};
}

// The series are destroyed with the chart, the last added first.
TCustomAxisPanel::~TCustomAxisPanel() {
    destroying_ = true;
    SetAutoRepaint(false);
    while (!seriesList_.empty())
        RemoveSeries(seriesList_.back().get());
}

void TCustomAxisPanel::SetAxisVisible(bool v) {
    if (StoreChanged(axisVisible_, v))
        RequestRepaint();
}
void TCustomAxisPanel::SetClipPoints(bool v) {
    if (StoreChanged(clipPoints_, v))
        RequestRepaint();
}
void TCustomAxisPanel::SetView3DWalls(bool v) {
    if (StoreChanged(view3DWalls_, v))
        RequestRepaint();
}

int TCustomAxisPanel::CountActiveSeries() const {
    return static_cast<int>(std::count_if(seriesList_.begin(), seriesList_.end(),
                                          [](const auto& s) { return s->Active(); }));
}

TChartSeries* TCustomAxisPanel::FirstActiveSeries() const {
    for (const auto& s : seriesList_)
        if (s->Active())
            return s.get();
    return nullptr;
}

bool TCustomAxisPanel::IsColorFree(TColor c, bool) const {
    for (const auto& s : seriesList_)
        if (s->SeriesColor() == c)
            return false;
    return c != Color();
}

TColor TCustomAxisPanel::FreeSeriesColor(bool checkBackground) const {
    for (TColor c : kPalette)
        if (IsColorFree(c, checkBackground))
            return c;
    return kPalette[0];
}

void TCustomAxisPanel::AdoptSeries(std::unique_ptr<TChartSeries> s) {
    if (s->SeriesColor() == clDefault)
        s->color_ = FreeSeriesColor(true);
    s->chart_ = this;
    seriesList_.push_back(std::move(s));
    RequestRepaint();
}

std::unique_ptr<TChartSeries> TCustomAxisPanel::RemoveSeries(TChartSeries* s) {
    auto it = std::find_if(seriesList_.begin(), seriesList_.end(),
                           [s](const auto& owned) { return owned.get() == s; });
    if (it == seriesList_.end())
        return nullptr;
    std::unique_ptr<TChartSeries> removed = std::move(*it);
    seriesList_.erase(it);
    removed->chart_ = nullptr;
    if (!destroying_) {
        if (Host())
            Host()->SetChartCursor(crDefault);
        RequestRepaint();
    }
    return removed;
}

bool TCustomAxisPanel::IsAxisDrawn(const TChartAxis& a) const {
    if (!axisVisible_ || !a.Visible())
        return false;
    if (a.IsDepthAxis)
        return View3D();
    if (a.IsAttachedToActiveSeries())
        return true;
    for (const auto& s : seriesList_)
        if (s->Active() && s->UseAxis())
            return false;
    return true;
}

void TCustomAxisPanel::SelectCanvasFont(const TChartFont& f) {
    Canvas()->AssignFont(f.State());
}

// Series slots: the first series lies deepest, the last at the front.
void TCustomAxisPanel::CalcSeriesZOrder() {
    MaxZOrder = -1;
    for (const auto& s : seriesList_) {
        s->ComputedZOrder = 0;
        if (!s->Active())
            continue;
        if (View3D()) {
            s->ComputedZOrder = s->ZOrder >= 0 ? s->ZOrder : MaxZOrder + 1;
            MaxZOrder = std::max(MaxZOrder, s->ComputedZOrder);
        }
    }
    if (!View3D())
        return;
    for (const auto& s : seriesList_)
        if (s->Active() && s->ZOrder < 0)
            s->ComputedZOrder = MaxZOrder - s->ComputedZOrder;
}

void TCustomAxisPanel::CalcDepth() {
    if (!View3D()) {
        SeriesDepth = TotalDepth = 0;
        return;
    }
    SeriesDepth = RoundEvenInt(ChartWidth() * Chart3DPercent() * 0.001);
    if (!View3DOptions().Orthogonal)
        SeriesDepth *= 2;
    TotalDepth = SeriesDepth * std::max(1, MaxZOrder + 1);
}

void TCustomAxisPanel::LayoutAxes() {
    for (TChartAxis* a : axes_)
        a->ComputeEffectiveRange();
    CalcDepth();
    if (View3D() && View3DOptions().Orthogonal) {
        const int d = TotalDepth + (view3DWalls_ ? BackWallSize() : 0);
        TRect walls = ChartRect();
        walls.right -= d;
        walls.top += d;
        SetChartRect(walls);
        RecalcWidthHeight();
    }
    // Provisional spans so that the label band widths measured below use
    // this paint's axis lengths.
    for (TChartAxis* a : axes_)
        a->ComputeAxisPixels(ChartRect());
    TRect r = ChartRect();
    for (TChartAxis* a : axes_) {
        if (a->IsDepthAxis || !IsAxisDrawn(*a))
            continue;
        a->ReserveAxisSpace(r);
        if (r.Width() > 0 && r.Height() > 0)
            SetChartRect(r);
    }
    RecalcWidthHeight();
    for (TChartAxis* a : axes_)
        a->ComputeAxisPixels(ChartRect());
}

void TCustomAxisPanel::ApplySeriesMargins() {
    for (const auto& s : seriesList_) {
        if (!s->Active() || !s->UseAxis())
            continue;
        int lo = 0, hi = 0;
        s->CalcHorizMargins(lo, hi);
        if (lo || hi)
            s->GetHorizAxis()->AdjustForMargins(lo, hi);
        s->CalcVerticalMargins(lo, hi);
        if (lo || hi)
            s->GetVertAxis()->AdjustForMargins(lo, hi);
    }
}

std::string TCustomAxisPanel::ValueLegendText(TChartSeries& s, int index) {
    return OneLineText(formatFloatPattern(s.YValues().Value(index), s.ValueFormat()) + " " +
                       s.PointLabel(index));
}

void TCustomAxisPanel::DrawChartContents(const TRect& panelRect) {
    TCanvas3D& c = *Canvas();
    PaintPanelBackground(panelRect);
    DrawTitleFootLegend();
    CalcSeriesZOrder();
    LayoutAxes();
    for (const auto& s : seriesList_) {
        if (!s->Active())
            continue;
        s->StartZ = SeriesDepth * s->ComputedZOrder;
        s->EndZ = s->StartZ + SeriesDepth;
        s->MiddleZ = (s->StartZ + s->EndZ) / 2;
    }
    ApplySeriesMargins();
    c.SetProjection(ChartXCenter(), ChartYCenter(), TotalDepth / 2, View3DOptions().HorizOffset,
                    View3DOptions().VertOffset);
    DrawChartWalls();
    if (axisVisible_) {
        if (OnBeforeDrawAxes)
            OnBeforeDrawAxes(*this);
        for (TChartAxis* a : axes_)
            if (!a->IsDepthAxis && IsAxisDrawn(*a))
                a->DrawAxis();
    }
    if (OnBeforeDrawSeries)
        OnBeforeDrawSeries(*this);
    for (const auto& s : seriesList_)
        if (s->Active())
            s->DrawSeries();
    DrawZoomRectangle();
    c.ResetState();
    if (OnAfterDraw)
        OnAfterDraw(*this);
}

} // namespace telvara
