#pragma once
// The panel with series and axes: series list, palette, layout and the
// paint sequence of the chart's contents.
#include "chart/axis.h"
#include "chart/panel.h"
#include "chart/series.h"

#include <array>
#include <memory>
#include <vector>

namespace telvara {

class TCustomAxisPanel : public TCustomChartPanelExtended {
public:
    TCustomAxisPanel();
    ~TCustomAxisPanel() override;

    // ---- series ----
    // The chart owns a series from the moment it is added until it is removed;
    // the reference stays valid as long.
    template <class S> S& AddSeries(std::unique_ptr<S> s) {
        S& added = *s;
        AdoptSeries(std::move(s));
        return added;
    }
    // Takes s off the chart (which repaints) and hands it back; nullptr when s
    // is not on this chart. Dropping the result destroys the series.
    std::unique_ptr<TChartSeries> RemoveSeries(TChartSeries* s);
    TChartSeries* SeriesAt(int index) const { return seriesList_.at(index).get(); }
    int NumSeries() const { return static_cast<int>(seriesList_.size()); }
    const std::vector<std::unique_ptr<TChartSeries>>& SeriesList() const { return seriesList_; }
    int CountActiveSeries() const;
    // First active series, or nullptr.
    TChartSeries* FirstActiveSeries() const;
    // Whether no series has colour c and it is neither the panel's nor
    // (with checkBackground) the back wall's colour.
    virtual bool IsColorFree(TColor c, bool checkBackground) const;
    TColor FreeSeriesColor(bool checkBackground) const;
    static constexpr int PaletteSize = 16;
    static TColor PaletteColor(int index);

    // ---- axes ----
    TChartAxis& BottomAxis() { return *bottom_; }
    TChartAxis& TopAxis() { return *top_; }
    TChartAxis& LeftAxis() { return *left_; }
    TChartAxis& RightAxis() { return *right_; }
    TChartDepthAxis& DepthAxis() { return *depth_; }
    const TChartAxis& BottomAxis() const { return *bottom_; }
    const TChartAxis& TopAxis() const { return *top_; }
    const TChartAxis& LeftAxis() const { return *left_; }
    const TChartAxis& RightAxis() const { return *right_; }
    const TChartDepthAxis& DepthAxis() const { return *depth_; }
    // Bottom, top, left, right, depth.
    const std::vector<TChartAxis*>& AxesList() const { return axes_; }
    bool AxisVisible() const { return axisVisible_; }
    void SetAxisVisible(bool v);
    bool ClipPoints() const { return clipPoints_; }
    void SetClipPoints(bool v);
    bool View3DWalls() const { return view3DWalls_; }
    void SetView3DWalls(bool v);
    // Whether the axis is drawn in this paint.
    bool IsAxisDrawn(const TChartAxis& a) const;

    TAxisOnGetNextLabel OnGetNextAxisLabel;
    TAxisOnGetLabel OnGetAxisLabel;
    TNotifyEvent OnBeforeDrawAxes;
    TNotifyEvent OnBeforeDrawSeries;

    // 3D values of the current paint (0 in 2D).
    int SeriesDepth = 0;
    int TotalDepth = 0;
    int MaxZOrder = 0;

    // ---- paint ----
    void DrawChartContents(const TRect& panelRect) override;
    void LayoutAxes();
    void ApplySeriesMargins();
    // Wall thickness on the side of an axis (0 in 2D).
    virtual int AxisWallSize(const TChartAxis&) const { return 0; }
    // Back wall thickness taken from the plot in 3D.
    virtual int BackWallSize() const { return 0; }
    virtual void DrawTitleFootLegend() {}
    virtual void DrawChartWalls() {}
    // The frame of a zoom drag in progress, over the finished paint.
    virtual void DrawZoomRectangle() {}
    virtual std::string ValueLegendText(TChartSeries& s, int index);
    void CalcSeriesZOrder();
    void CalcDepth();
    void SelectCanvasFont(const TChartFont& f);

protected:
    bool destroying_ = false;

private:
    void AdoptSeries(std::unique_ptr<TChartSeries> s);

    std::vector<std::unique_ptr<TChartSeries>> seriesList_;
    std::unique_ptr<TChartAxis> bottom_, top_, left_, right_;
    std::unique_ptr<TChartDepthAxis> depth_;
    std::vector<TChartAxis*> axes_;
    bool axisVisible_ = true;
    bool clipPoints_ = true;
    bool view3DWalls_ = true;
};

} // namespace telvara
