#pragma once
// The chart: title, foot, legend, walls, mouse zoom and panning.
#include "chart/axis_panel.h"
#include "chart/furniture.h"
#include "chart/zoom.h"

#include <array>
#include <functional>

namespace telvara {

using TAllowScrollEvent =
    std::function<void(TChartAxis& axis, double& newMin, double& newMax, bool& allow)>;

// Range of one axis as it was before the first zoom or pan.
struct TSavedScale {
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Minimum = 0;
    double Maximum = 0;
};

class TCustomChart : public TCustomAxisPanel {
public:
    TCustomChart();
    ~TCustomChart() override;

    TChartTitle& Title() { return title_; }
    TChartTitle& Foot() { return foot_; }
    TChartLegend& Legend() { return legend_; }
    TChartWall& BackWall() { return backWall_; }
    TChartWall& LeftWall() { return leftWall_; }
    TChartWall& BottomWall() { return bottomWall_; }

    bool IsColorFree(TColor c, bool checkBackground) const override;
    int AxisWallSize(const TChartAxis& a) const override;
    int BackWallSize() const override { return backWall_.Size(); }
    void DrawTitleFootLegend() override;
    void DrawChartWalls() override;
    std::string ValueLegendText(TChartSeries& s, int index) override;

    // ---- mouse (panel pixels) ----
    void MouseDown(int x, int y, TMouseButton button, int shift);
    void MouseMove(int x, int y, int shift);
    void MouseUp(int x, int y, TMouseButton button);
    void MouseLeave();
    // delta in notches, positive away from the user.
    void MouseWheel(int delta);
    // The part of the chart at (x, y), from the last paint's layout.
    TChartClickedPart CalcClickedPart(int x, int y);
    // The panel's own mouse cursor.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    // Set by a click handler (or the plain mouse-down handling) to stop the
    // press from starting a drag.
    bool CancelMouse = false;

    TChartClickSeriesEvent OnClickSeries;
    TChartClickAxisEvent OnClickAxis;
    TChartClickEvent OnClickLegend;
    TChartClickEvent OnClickBackground;

    // ---- zoom and panning ----
    void ZoomToDragRect();
    void ApplyZoom(double leftMin, double leftMax, double rightMin, double rightMax, double topMin,
                   double topMax, double bottomMin, double bottomMax);
    void UndoZoom();
    void DrawZoomRectangle() override;
    bool ScalesRestored() const { return scalesRestored_; }

    TNotifyEvent OnZoom;
    TNotifyEvent OnUndoZoom;
    TNotifyEvent OnScroll;
    TAllowScrollEvent OnAllowScroll;

protected:
    void DrawTitle(TChartTitle& t, bool isFoot);
    void SaveScales();
    void RestoreScales();
    // Moves the axis' range by the values between two pixels (their ratio on a
    // logarithmic axis); true when it moved.
    bool PanAxis(TChartAxis& axis, int p0, int p1);
    void WheelNotch(TChartAxis& axis, bool up);
    void PaintZoomFrame(TCanvas3D& c) const;

    // Top, left, right, bottom.
    std::array<TSavedScale, 4> savedScales_;
    bool scalesRestored_ = true;
    TCursor cursor_ = crDefault;

private:
    TChartTitle title_;
    TChartTitle foot_;
    TChartWall backWall_{clDefault, bsClear};
    TChartWall leftWall_{0x80FFFF, bsSolid};
    TChartLegend legend_;
    TChartWall bottomWall_{clWhite, bsSolid};
};

class TChart : public TCustomChart {
public:
    TChart() = default;
};

} // namespace telvara
