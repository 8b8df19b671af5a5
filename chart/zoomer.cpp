// Mouse zoom, the undo drag, the wheel and the kept ranges.
#include "chart/zoomer.h"

#include "chart/chart.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace telvara {

void TZoomPanningRecord::BeginDrag(int x, int y) {
    StartX = LastX = x;
    StartY = LastY = y;
    DragActive = true;
}

void TZoomPanningRecord::SortCorners() {
    if (StartX > LastX)
        std::swap(StartX, LastX);
    if (StartY > LastY)
        std::swap(StartY, LastY);
}

bool MovesByRatio(const TChartAxis& a) {
    return a.Logarithmic() && a.Minimum() > 0 && a.Maximum() > 0;
}

bool TChartZoomer::MouseDown(int x, int y, TMouseButton button) {
    if (!allowZoom_ || button != mbLeft)
        return false;
    if (chart_.Host())
        chart_.Host()->SetChartCursor(crDefault);
    drag_.BeginDrag(x, y);
    DrawFrame();
    return true;
}

bool TChartZoomer::MouseMove(int x, int y) {
    if (!drag_.DragActive)
        return false;
    if (x == drag_.LastX && y == drag_.LastY)
        return true;
    DrawFrame();
    drag_.LastX = x;
    drag_.LastY = y;
    DrawFrame();
    return true;
}

void TChartZoomer::MouseUp(int x, int y, TMouseButton button) {
    if (!drag_.DragActive || button != mbLeft)
        return;
    drag_.DragActive = false;
    DrawFrame();
    drag_.LastX = x;
    drag_.LastY = y;
    if (std::abs(x - drag_.StartX) > kZoomMinDrag && std::abs(y - drag_.StartY) > kZoomMinDrag) {
        if (drag_.StartX < x && drag_.StartY < y)
            ZoomToDragRect();
        else
            UndoZoom();
        chart_.RequestRepaint();
    }
}

void TChartZoomer::Wheel(int delta) {
    if (delta == 0)
        return;
    // The undo drag brings back the view from before the first turn.
    SaveScales();
    const int notches = std::abs(delta);
    for (TChartAxis* a : chart_.AxesList()) {
        if (a->Horizontal)
            continue;
        a->SetAutomatic(false);
        for (int i = 0; i < notches; ++i)
            WheelNotch(*a, delta > 0);
    }
    chart_.RequestRepaint();
    if (chart_.Host())
        chart_.Host()->RepaintChartNow();
}

// One notch moves the axis by 3 % of its span (in decades on a logarithmic
// axis): up towards smaller values. The end moving away from the other goes
// first, so Minimum <= Maximum holds.
void TChartZoomer::WheelNotch(TChartAxis& a, bool up) {
    if (MovesByRatio(a)) {
        const double f = std::pow(a.Maximum() / a.Minimum(), kWheelScrollFraction);
        if (up) {
            a.SetMinimum(a.Minimum() / f);
            a.SetMaximum(a.Maximum() / f);
        } else {
            a.SetMaximum(a.Maximum() * f);
            a.SetMinimum(a.Minimum() * f);
        }
        return;
    }
    const double d = (a.Maximum() - a.Minimum()) * kWheelScrollFraction;
    if (up) {
        a.SetMinimum(a.Minimum() - d);
        a.SetMaximum(a.Maximum() - d);
    } else {
        a.SetMaximum(a.Maximum() + d);
        a.SetMinimum(a.Minimum() + d);
    }
}

void TChartZoomer::ZoomToDragRect() {
    drag_.SortCorners();
    const TScaleMap t = chart_.TopAxis().ScaleMap();
    const TScaleMap b = chart_.BottomAxis().ScaleMap();
    const TScaleMap l = chart_.LeftAxis().ScaleMap();
    const TScaleMap r = chart_.RightAxis().ScaleMap();
    ApplyZoom(l.PixelToValue(drag_.LastY), l.PixelToValue(drag_.StartY),
              r.PixelToValue(drag_.LastY), r.PixelToValue(drag_.StartY),
              t.PixelToValue(drag_.StartX), t.PixelToValue(drag_.LastX),
              b.PixelToValue(drag_.StartX), b.PixelToValue(drag_.LastX));
}

void TChartZoomer::ApplyZoom(double leftMin, double leftMax, double rightMin, double rightMax,
                             double topMin, double topMax, double bottomMin, double bottomMax) {
    SaveScales();
    struct Target {
        TChartAxis& axis;
        double min, max;
    };
    const Target targets[] = {{chart_.LeftAxis(), leftMin, leftMax},
                              {chart_.RightAxis(), rightMin, rightMax},
                              {chart_.TopAxis(), topMin, topMax},
                              {chart_.BottomAxis(), bottomMin, bottomMax}};
    if (animatedZoom_) {
        for (int step = 1; step < animatedZoomSteps_; ++step) {
            for (const Target& t : targets) {
                const double m = t.axis.Minimum(), M = t.axis.Maximum();
                t.axis.SetMinMaxRange(m + (t.min - m) / kZoomAnimationFactor,
                                      M - (M - t.max) / kZoomAnimationFactor);
            }
            chart_.RequestRepaint();
            if (chart_.Host())
                chart_.Host()->RepaintChartNow();
        }
    }
    for (const Target& t : targets) {
        t.axis.SetMinMaxRange(t.min, t.max);
        t.axis.ComputeEffectiveRange();
    }
    zoomed_ = true;
    if (chart_.OnZoom)
        chart_.OnZoom(chart_);
}

void TChartZoomer::UndoZoom() {
    if (!scalesRestored_)
        RestoreScales();
    scalesRestored_ = true;
    if (chart_.OnUndoZoom)
        chart_.OnUndoZoom(chart_);
    chart_.RequestRepaint();
    zoomed_ = false;
}

namespace {
// Top, left, right, bottom: the order of the saved scales.
std::array<TChartAxis*, 4> savedAxes(TCustomChart& c) {
    return {&c.TopAxis(), &c.LeftAxis(), &c.RightAxis(), &c.BottomAxis()};
}
} // namespace

void TChartZoomer::SaveScales() {
    if (!scalesRestored_)
        return;
    const auto axes = savedAxes(chart_);
    for (size_t i = 0; i < axes.size(); ++i) {
        const TChartAxis& a = *axes[i];
        savedScales_[i] = {a.Automatic(), a.AutomaticMinimum(), a.AutomaticMaximum(), a.Minimum(),
                           a.Maximum()};
    }
    scalesRestored_ = false;
}

// Top, bottom, left, right. The automatic flags are set again after the range,
// which would otherwise clear an automatic end of a partly automatic axis.
void TChartZoomer::RestoreScales() {
    const auto axes = savedAxes(chart_);
    for (size_t i : {0u, 3u, 1u, 2u}) {
        TChartAxis& a = *axes[i];
        const TSavedScale& s = savedScales_[i];
        a.SetAutomatic(s.Automatic);
        a.SetAutomaticMinimum(s.AutomaticMinimum);
        a.SetAutomaticMaximum(s.AutomaticMaximum);
        if (!a.Automatic()) {
            a.SetMinMaxRange(s.Minimum, s.Maximum);
            a.SetAutomaticMinimum(s.AutomaticMinimum);
            a.SetAutomaticMaximum(s.AutomaticMaximum);
        }
    }
}

// Panel colour, black on a white panel, drawn so that a second frame at the
// same place clears the first.
void TChartZoomer::PaintFrame(TCanvas3D& c) const {
    TColor color = colorToRGB(chart_.Color());
    if (color == clWhite)
        color = clBlack;
    c.AssignPen({color, 1, psSolid, pmNotXor});
    c.AssignBrush({clWhite, bsClear});
    const int left = std::min(drag_.StartX, drag_.LastX);
    const int right = std::max(drag_.StartX, drag_.LastX);
    const int top = std::min(drag_.StartY, drag_.LastY);
    const int bottom = std::max(drag_.StartY, drag_.LastY);
    c.Rectangle(left, top, right, bottom);
}

// Inside a paint on the paint's surface; between paints straight onto the
// window's picture through the host.
void TChartZoomer::DrawFrame() {
    if (TCanvas3D* c = chart_.Canvas()) {
        PaintFrame(*c);
        return;
    }
    TChartHost* host = chart_.Host();
    TCanvas3D* direct = host ? host->BeginDirectDraw() : nullptr;
    if (!direct)
        return;
    PaintFrame(*direct);
    direct->SetPenMode(pmCopy);
    host->EndDirectDraw();
}

} // namespace telvara
