#pragma once
// The chart: title, foot, legend, walls, and the mouse: clicks, then its zoomer
// and panner.
#include "chart/axis_panel.h"
#include "chart/click.h"
#include "chart/furniture.h"
#include "chart/panner.h"
#include "chart/zoomer.h"

#include <functional>

namespace telvara {

using TAllowScrollEvent =
    std::function<void(TChartAxis& axis, double& newMin, double& newMax, bool& allow)>;

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

    // ---- mouse (panel pixels): clicks, then the zoomer and the panner ----
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
    TChartZoomer& Zoomer() { return zoomer_; }
    const TChartZoomer& Zoomer() const { return zoomer_; }
    TChartPanner& Panner() { return panner_; }
    const TChartPanner& Panner() const { return panner_; }
    void DrawZoomRectangle() override;

    TNotifyEvent OnZoom;
    TNotifyEvent OnUndoZoom;
    TNotifyEvent OnScroll;
    TAllowScrollEvent OnAllowScroll;

protected:
    void DrawTitle(TChartTitle& t, bool isFoot);
    void DrawLegend();

    TCursor cursor_ = crDefault;

private:
    TChartTitle title_;
    TChartTitle foot_;
    TChartWall backWall_{clDefault, bsClear};
    TChartWall leftWall_{0x80FFFF, bsSolid};
    TChartLegend legend_;
    TChartWall bottomWall_{clWhite, bsSolid};
    TChartZoomer zoomer_{*this};
    TChartPanner panner_{*this};
};

class TChart : public TCustomChart {
public:
    TChart() = default;
};

} // namespace telvara
