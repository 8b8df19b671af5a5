#pragma once
// Panning a chart with the right mouse button: every step moves the view by
// the mouse's movement since the previous one.
#include "chart/zoomer.h"

namespace telvara {

class TChartPanner {
public:
    explicit TChartPanner(TCustomChart& chart) : chart_(chart) {}
    TChartPanner(const TChartPanner&) = delete;
    TChartPanner& operator=(const TChartPanner&) = delete;

    TPanningMode AllowPanning() const { return allowPanning_; }
    void SetAllowPanning(TPanningMode v) { allowPanning_ = v; }

    bool DragActive() const { return drag_.DragActive; }
    // A right press on the plot or an axis starts a drag when panning is
    // allowed.
    void MouseDown(int x, int y, TMouseButton button);
    // One step of an active drag, which ends on leaving the plot; false when
    // no drag is active.
    bool MouseMove(int x, int y);
    void EndDrag() { drag_.DragActive = false; }

private:
    // Moves the axis' range by the values between two pixels (their ratio on a
    // logarithmic axis); true when it moved.
    bool PanAxis(TChartAxis& axis, int p0, int p1);

    TCustomChart& chart_;
    TPanningMode allowPanning_ = pmBoth;
    TZoomPanningRecord drag_;
};

} // namespace telvara
