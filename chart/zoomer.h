#pragma once
// The mouse zoom over a chart: the drag rectangle and its frame, the undo
// drag, the animated approach, the wheel, and the ranges kept from before the
// first zoom or pan.
#include "chart/panel.h"

#include <array>

namespace telvara {

class TChartAxis;
class TCustomChart;

// A zoom drag must exceed this in both directions.
constexpr int kZoomMinDrag = 16;
// Each animation step covers this fraction of the remaining distance.
constexpr double kZoomAnimationFactor = 3.0;
// One wheel notch scrolls the vertical axes by this fraction of their range.
constexpr double kWheelScrollFraction = 0.03;

// One mouse drag in panel pixels.
struct TZoomPanningRecord {
    bool DragActive = false;
    int StartX = 0, StartY = 0, LastX = 0, LastY = 0;
    void BeginDrag(int x, int y);
    void SortCorners();
};

// Range of one axis as it was before the first zoom or pan.
struct TSavedScale {
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Minimum = 0;
    double Maximum = 0;
};

// On a logarithmic axis a move is a ratio: both ends move by the same number
// of decades, so the view keeps its span. Ends at or below 0 move by values.
bool MovesByRatio(const TChartAxis& a);

class TChartZoomer {
public:
    explicit TChartZoomer(TCustomChart& chart) : chart_(chart) {}
    TChartZoomer(const TChartZoomer&) = delete;
    TChartZoomer& operator=(const TChartZoomer&) = delete;

    bool AllowZoom() const { return allowZoom_; }
    void SetAllowZoom(bool v) { allowZoom_ = v; }
    // An animated zoom approaches the new ranges in steps, each painted.
    bool AnimatedZoom() const { return animatedZoom_; }
    void SetAnimatedZoom(bool v) { animatedZoom_ = v; }
    int AnimatedZoomSteps() const { return animatedZoomSteps_; }
    void SetAnimatedZoomSteps(int v) { animatedZoomSteps_ = v; }
    // Set by a zoom, cleared by the undo drag.
    bool Zoomed() const { return zoomed_; }

    bool DragActive() const { return drag_.DragActive; }
    // A left press on the plot or an axis starts a drag when zooming is
    // allowed; true when it did.
    bool MouseDown(int x, int y, TMouseButton button);
    // Moves the frame of an active drag; false when no drag is active.
    bool MouseMove(int x, int y);
    // Ends a left drag: right and down zooms, any other way undoes, a short
    // drag does nothing.
    void MouseUp(int x, int y, TMouseButton button);
    // delta in notches, positive away from the user.
    void Wheel(int delta);

    void ZoomToDragRect();
    void ApplyZoom(double leftMin, double leftMax, double rightMin, double rightMax, double topMin,
                   double topMax, double bottomMin, double bottomMax);
    void UndoZoom();
    // Keeps the four axes' ranges unless a zoom or pan since the last undo has.
    void SaveScales();
    bool ScalesRestored() const { return scalesRestored_; }
    // Drawn twice at one place the frame is gone.
    void DrawFrame();

private:
    void RestoreScales();
    void WheelNotch(TChartAxis& a, bool up);
    void PaintFrame(TCanvas3D& c) const;

    TCustomChart& chart_;
    bool allowZoom_ = true;
    bool animatedZoom_ = false;
    int animatedZoomSteps_ = 8;
    bool zoomed_ = false;
    TZoomPanningRecord drag_;
    // Top, left, right, bottom.
    std::array<TSavedScale, 4> savedScales_;
    bool scalesRestored_ = true;
};

} // namespace telvara
