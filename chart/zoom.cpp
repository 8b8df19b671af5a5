// Mouse zoom, panning and the wheel.
#include "chart/chart.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace telvara {

namespace {
bool inside(const TRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

double distanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// On a logarithmic axis a move is a ratio: both ends move by the same number
// of decades, so the view keeps its span. Ends at or below 0 move by values.
bool movesByRatio(const TChartAxis& a) {
    return a.Logarithmic() && a.Minimum() > 0 && a.Maximum() > 0;
}
} // namespace

bool SeriesHitTest(const TChartSeries& s, int x, int y, int& pointIndex) {
    const TChartAxis* h = s.GetHorizAxis();
    const TChartAxis* v = s.GetVertAxis();
    if (!h || !v)
        return false;
    bool havePrev = false;
    double prevX = 0, prevY = 0;
    for (int i = 0; i < s.Count(); ++i) {
        if (s.IsNull(i)) {
            havePrev = false;
            continue;
        }
        const double px = h->ValueToPixel(s.XValues().Value(i));
        const double py = v->ValueToPixel(s.YValues().Value(i));
        if (std::fabs(px - x) <= kClickTolerance && std::fabs(py - y) <= kClickTolerance) {
            pointIndex = i;
            return true;
        }
        if (havePrev && distanceToSegment(x, y, prevX, prevY, px, py) <= kClickTolerance) {
            pointIndex = -1;
            return true;
        }
        havePrev = true;
        prevX = px;
        prevY = py;
    }
    return false;
}

void TCustomChart::SetCursor(TCursor c) {
    cursor_ = c;
    if (Host())
        Host()->SetChartCursor(c);
}

// Series (last to first), axis, title, foot, plot area, legend. Title and
// foot keep no rectangle of their own; they lie outside the plot and the axes,
// so a press on them finds nothing.
TChartClickedPart TCustomChart::CalcClickedPart(int x, int y) {
    TChartClickedPart part;
    if (!View3D()) {
        const auto& list = SeriesList();
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            TChartSeries* s = *it;
            int index = -1;
            if (s->Active() && s->UseAxis() && SeriesHitTest(*s, x, y, index)) {
                part.Part = cpSeries;
                part.Series = s;
                part.PointIndex = index;
                return part;
            }
        }
    }
    for (TChartAxis* a : AxesList()) {
        if (a->IsDepthAxis || !IsAxisDrawn(*a))
            continue;
        const int along = a->Horizontal ? x : y;
        const int across = a->Horizontal ? y : x;
        if (along >= a->StartPixel && along <= a->EndPixel &&
            std::abs(across - a->AxisLinePos) <= kClickTolerance) {
            part.Part = cpAxis;
            part.Axis = a;
            return part;
        }
    }
    if (inside(ChartRect, x, y) && CountActiveSeries() > 0) {
        part.Part = cpChartRect;
        return part;
    }
    const TRect& lr = Legend().RectLegend;
    if (Legend().Visible() && lr.Width() > 0 && lr.Height() > 0 && inside(lr, x, y))
        part.Part = cpLegend;
    return part;
}

void TCustomChart::MouseDown(int x, int y, TMouseButton button, int shift) {
    if (Zoom.DragActive || Panning.DragActive || CancelMouse) {
        CancelMouse = false;
        return;
    }
    const TChartClickedPart part = CalcClickedPart(x, y);
    switch (part.Part) {
    case cpSeries:
        if (OnClickSeries)
            OnClickSeries(*this, *part.Series, part.PointIndex, button, shift, x, y);
        break;
    case cpAxis:
        if (OnClickAxis)
            OnClickAxis(*this, *part.Axis, button, shift, x, y);
        break;
    case cpChartRect:
        if (OnClickBackground)
            OnClickBackground(*this, button, shift, x, y);
        break;
    case cpLegend:
        if (OnClickLegend)
            OnClickLegend(*this, button, shift, x, y);
        break;
    default:
        break;
    }
    if (CancelMouse) {
        CancelMouse = false;
        return;
    }
    if (part.Part != cpSeries && part.Part != cpAxis && part.Part != cpChartRect)
        return;
    if (AllowZoom() && button == mbLeft) {
        if (Host())
            Host()->SetChartCursor(crDefault);
        Zoom.BeginDrag(x, y);
        DrawZoomRectangle();
    } else if (AllowPanning() != pmNone && button == mbRight) {
        if (Host())
            Host()->SetChartCursor(crDefault);
        Panning.BeginDrag(x, y);
    }
}

void TCustomChart::MouseMove(int x, int y, int) {
    if (Zoom.DragActive) {
        if (x == Zoom.LastX && y == Zoom.LastY)
            return;
        DrawZoomRectangle();
        Zoom.LastX = x;
        Zoom.LastY = y;
        DrawZoomRectangle();
        return;
    }
    if (Panning.DragActive) {
        if (!inside(ChartRect, x, y)) {
            Panning.DragActive = false;
            return;
        }
        if (x == Panning.LastX && y == Panning.LastY)
            return;
        if (scalesRestored_)
            SaveScales();
        bool moved = false;
        for (TChartAxis* a : AxesList()) {
            if (a->IsDepthAxis)
                continue;
            if (a->Horizontal)
                moved = PanAxis(*a, Panning.LastX, x) || moved;
            else
                moved = PanAxis(*a, Panning.LastY, y) || moved;
        }
        Panning.LastX = x;
        Panning.LastY = y;
        if (moved) {
            if (OnScroll)
                OnScroll(*this);
            RequestRepaint();
        }
        return;
    }
    // Series keep no cursor of their own: the panel's applies everywhere.
    if (Host())
        Host()->SetChartCursor(cursor_);
}

bool TCustomChart::PanAxis(TChartAxis& axis, int p0, int p1) {
    if (p0 == p1)
        return false;
    const TPanningMode mode = AllowPanning();
    if (mode != pmBoth && mode != (axis.Horizontal ? pmHorizontal : pmVertical))
        return false;
    const double v0 = axis.PixelToValue(p0), v1 = axis.PixelToValue(p1);
    double newMin = 0, newMax = 0;
    if (movesByRatio(axis) && v0 > 0 && v1 > 0) {
        newMin = axis.Minimum() * (v0 / v1);
        newMax = axis.Maximum() * (v0 / v1);
    } else {
        newMin = axis.Minimum() + (v0 - v1);
        newMax = axis.Maximum() + (v0 - v1);
    }
    bool allow = true;
    if (OnAllowScroll)
        OnAllowScroll(axis, newMin, newMax, allow);
    if (!allow)
        return false;
    axis.SetMinMaxRange(newMin, newMax);
    // Later steps before the next paint map pixels through the new range.
    axis.ComputeEffectiveRange();
    return true;
}

void TCustomChart::MouseUp(int x, int y, TMouseButton button) {
    if (Zoom.DragActive && button == mbLeft) {
        Zoom.DragActive = false;
        DrawZoomRectangle();
        Zoom.LastX = x;
        Zoom.LastY = y;
        if (std::abs(x - Zoom.StartX) > kZoomMinDrag && std::abs(y - Zoom.StartY) > kZoomMinDrag) {
            if (Zoom.StartX < x && Zoom.StartY < y)
                ZoomToDragRect();
            else
                UndoZoom();
            RequestRepaint();
        }
    }
    Panning.DragActive = false;
}

void TCustomChart::MouseLeave() {
    if (Host())
        Host()->SetChartCursor(cursor_);
    Panning.DragActive = false;
}

void TCustomChart::MouseWheel(int delta) {
    if (delta == 0)
        return;
    // The undo drag brings back the view from before the first turn.
    if (scalesRestored_)
        SaveScales();
    const int notches = std::abs(delta);
    for (TChartAxis* a : AxesList()) {
        if (a->Horizontal)
            continue;
        a->SetAutomatic(false);
        for (int i = 0; i < notches; ++i)
            WheelNotch(*a, delta > 0);
    }
    RequestRepaint();
    if (Host())
        Host()->RepaintChartNow();
}

// One notch moves the axis by 3 % of its span (in decades on a logarithmic
// axis): up towards smaller values. The end moving away from the other goes
// first, so Minimum <= Maximum holds.
void TCustomChart::WheelNotch(TChartAxis& a, bool up) {
    if (movesByRatio(a)) {
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

void TCustomChart::ZoomToDragRect() {
    Zoom.SortCorners();
    TChartAxis& t = TopAxis();
    TChartAxis& b = BottomAxis();
    TChartAxis& l = LeftAxis();
    TChartAxis& r = RightAxis();
    ApplyZoom(l.PixelToValue(Zoom.LastY), l.PixelToValue(Zoom.StartY), r.PixelToValue(Zoom.LastY),
              r.PixelToValue(Zoom.StartY), t.PixelToValue(Zoom.StartX), t.PixelToValue(Zoom.LastX),
              b.PixelToValue(Zoom.StartX), b.PixelToValue(Zoom.LastX));
}

void TCustomChart::ApplyZoom(double leftMin, double leftMax, double rightMin, double rightMax,
                             double topMin, double topMax, double bottomMin, double bottomMax) {
    if (scalesRestored_)
        SaveScales();
    struct Target {
        TChartAxis& axis;
        double min, max;
    };
    const Target targets[] = {{LeftAxis(), leftMin, leftMax},
                              {RightAxis(), rightMin, rightMax},
                              {TopAxis(), topMin, topMax},
                              {BottomAxis(), bottomMin, bottomMax}};
    if (AnimatedZoom()) {
        for (int step = 1; step < AnimatedZoomSteps(); ++step) {
            for (const Target& t : targets) {
                const double m = t.axis.Minimum(), M = t.axis.Maximum();
                t.axis.SetMinMaxRange(m + (t.min - m) / kZoomAnimationFactor,
                                      M - (M - t.max) / kZoomAnimationFactor);
            }
            RequestRepaint();
            if (Host())
                Host()->RepaintChartNow();
        }
    }
    for (const Target& t : targets) {
        t.axis.SetMinMaxRange(t.min, t.max);
        t.axis.ComputeEffectiveRange();
    }
    SetZoomed(true);
    if (OnZoom)
        OnZoom(*this);
}

void TCustomChart::UndoZoom() {
    if (!scalesRestored_)
        RestoreScales();
    scalesRestored_ = true;
    if (OnUndoZoom)
        OnUndoZoom(*this);
    RequestRepaint();
    SetZoomed(false);
}

namespace {
// Top, left, right, bottom: the order of the saved scales.
std::array<TChartAxis*, 4> savedAxes(TCustomChart& c) {
    return {&c.TopAxis(), &c.LeftAxis(), &c.RightAxis(), &c.BottomAxis()};
}
} // namespace

void TCustomChart::SaveScales() {
    const auto axes = savedAxes(*this);
    for (size_t i = 0; i < axes.size(); ++i) {
        const TChartAxis& a = *axes[i];
        savedScales_[i] = {a.Automatic(), a.AutomaticMinimum(), a.AutomaticMaximum(), a.Minimum(),
                           a.Maximum()};
    }
    scalesRestored_ = false;
}

// Top, bottom, left, right. The automatic flags are set again after the range,
// which would otherwise clear an automatic end of a partly automatic axis.
void TCustomChart::RestoreScales() {
    const auto axes = savedAxes(*this);
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

// Panel colour, black on a white panel; drawn twice at one place it is gone.
void TCustomChart::PaintZoomFrame(TCanvas3D& c) const {
    TColor color = colorToRGB(Color());
    if (color == clWhite)
        color = clBlack;
    c.AssignPen({color, 1, psSolid, pmNotXor});
    c.AssignBrush({clWhite, bsClear});
    const int left = std::min(Zoom.StartX, Zoom.LastX), right = std::max(Zoom.StartX, Zoom.LastX);
    const int top = std::min(Zoom.StartY, Zoom.LastY), bottom = std::max(Zoom.StartY, Zoom.LastY);
    c.Rectangle(left, top, right, bottom);
}

// Inside a paint on the paint's surface; between paints straight onto the
// window's picture through the host.
void TCustomChart::DrawZoomRectangle() {
    if (TCanvas3D* c = Canvas()) {
        PaintZoomFrame(*c);
        return;
    }
    TChartHost* host = Host();
    TCanvas3D* direct = host ? host->BeginDirectDraw() : nullptr;
    if (!direct)
        return;
    PaintZoomFrame(*direct);
    direct->SetPenMode(pmCopy);
    host->EndDirectDraw();
}

} // namespace telvara
