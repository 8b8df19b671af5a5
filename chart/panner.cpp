// Panning with the right mouse button.
#include "chart/panner.h"

#include "chart/chart.h"

namespace telvara {

void TChartPanner::MouseDown(int x, int y, TMouseButton button) {
    if (allowPanning_ == pmNone || button != mbRight)
        return;
    if (chart_.Host())
        chart_.Host()->SetChartCursor(crDefault);
    drag_.BeginDrag(x, y);
}

bool TChartPanner::MouseMove(int x, int y) {
    if (!drag_.DragActive)
        return false;
    if (!chart_.ChartRect().Contains(x, y)) {
        drag_.DragActive = false;
        return true;
    }
    if (x == drag_.LastX && y == drag_.LastY)
        return true;
    chart_.Zoomer().SaveScales();
    bool moved = false;
    for (TChartAxis* a : chart_.AxesList()) {
        if (a->IsDepthAxis)
            continue;
        if (a->Horizontal)
            moved = PanAxis(*a, drag_.LastX, x) || moved;
        else
            moved = PanAxis(*a, drag_.LastY, y) || moved;
    }
    drag_.LastX = x;
    drag_.LastY = y;
    if (moved) {
        if (chart_.OnScroll)
            chart_.OnScroll(chart_);
        chart_.RequestRepaint();
    }
    return true;
}

bool TChartPanner::PanAxis(TChartAxis& axis, int p0, int p1) {
    if (p0 == p1)
        return false;
    const TPanningMode mode = allowPanning_;
    if (mode != pmBoth && mode != (axis.Horizontal ? pmHorizontal : pmVertical))
        return false;
    const TScaleMap map = axis.ScaleMap();
    const double v0 = map.PixelToValue(p0), v1 = map.PixelToValue(p1);
    double newMin = 0, newMax = 0;
    if (MovesByRatio(axis) && v0 > 0 && v1 > 0) {
        newMin = axis.Minimum() * (v0 / v1);
        newMax = axis.Maximum() * (v0 / v1);
    } else {
        newMin = axis.Minimum() + (v0 - v1);
        newMax = axis.Maximum() + (v0 - v1);
    }
    bool allow = true;
    if (chart_.OnAllowScroll)
        chart_.OnAllowScroll(axis, newMin, newMax, allow);
    if (!allow)
        return false;
    axis.SetMinMaxRange(newMin, newMax);
    // Later steps before the next paint map pixels through the new range.
    axis.ComputeEffectiveRange();
    return true;
}

} // namespace telvara
