#pragma once
// The chart: title, foot, legend, walls, mouse zoom and panning.
#include "chart/axis_panel.h"
#include "chart/furniture.h"

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

    // Top, left, right, bottom.
    std::array<TSavedScale, 4> savedScales_;
    bool scalesRestored_ = true;

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
