#pragma once
// Base of every series: the point data and the interface the chart and its
// axes use. Line drawing lives in the derived classes.
#include "chart/canvas3d.h"
#include "chart/series_marks.h"
#include "chart/value_list.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace telvara {

class TCustomAxisPanel;
class TChartAxis;

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis };

class TChartSeries;
using TSeriesNotify = std::function<void(TChartSeries& sender)>;
using TSeriesOnBeforeAdd = std::function<bool(TChartSeries& sender)>;
using TSeriesOnAfterAdd = std::function<void(TChartSeries& sender, int valueIndex)>;

class TChartSeries {
public:
    TChartSeries();
    // A series on a chart is destroyed by the chart (see
    // TCustomAxisPanel::AddSeries).
    virtual ~TChartSeries();
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    // ---- properties ----
    bool Active() const { return active_; }
    void SetActive(bool v);
    TColor SeriesColor() const { return color_; }
    void SetSeriesColor(TColor v);
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& v);
    // Component name.
    const std::string& Name() const { return name_; }
    void SetName(const std::string& v) { name_ = v; }
    bool ShowInLegend() const { return showInLegend_; }
    void SetShowInLegend(bool v);
    bool ColorEachPoint() const { return colorEachPoint_; }
    void SetColorEachPoint(bool v);
    THorizAxis HorizAxis() const { return horizAxis_; }
    void SetHorizAxis(THorizAxis v);
    TVertAxis VertAxis() const { return vertAxis_; }
    void SetVertAxis(TVertAxis v);
    const std::string& ValueFormat() const { return valueFormat_; }
    void SetValueFormat(const std::string& v);
    const std::string& PercentFormat() const { return percentFormat_; }
    void SetPercentFormat(const std::string& v);
    TSeriesMarks& Marks() { return marks_; }

    TChartValueList& XValues() { return xValues_; }
    TChartValueList& YValues() { return yValues_; }
    const TChartValueList& XValues() const { return xValues_; }
    const TChartValueList& YValues() const { return yValues_; }
    // Point colours (clDefault: the series colour; clNone: a null point).
    const std::vector<TColor>& ColorList() const { return colors_; }
    // Point labels (an empty optional for no label).
    const std::vector<std::optional<std::string>>& LabelList() const { return labels_; }
    std::string PointLabel(int index) const;

    TCustomAxisPanel* ParentChart() const { return chart_; }

    // Axes the series is drawn on (the bottom/left one for the "both" choices).
    TChartAxis* GetHorizAxis() const;
    TChartAxis* GetVertAxis() const;
    // True for series drawn against the side axes.
    virtual bool UseAxis() const { return true; }

    // ---- points ----
    // Ordered insertion by X; equal X keeps arrival order. Index, or -1.
    virtual int AddPoint(double x, double y, const std::string& label = {},
                         TColor color = clDefault);
    virtual void ClearPoints();
    virtual void DeletePoint(int index);
    int Count() const { return xValues_.Count(); }
    TColor ValueColor(int index) const;
    bool IsNull(int index) const { return ValueColor(index) == clNone; }

    // ---- drawing hooks, called by the chart's paint ----
    // Visible range, clipping, points, marks (in that order).
    void DrawSeries();
    void CalcFirstLastVisibleIndex();
    virtual void DrawAllValues();
    virtual void DrawPoint(int /*index*/) {}
    virtual void DrawMarks() {}
    virtual void DrawLegendSymbol(int /*index*/, const TRect& /*box*/) {}
    virtual void CalcHorizMargins(int& left, int& right) const;
    virtual void CalcVerticalMargins(int& top, int& bottom) const;
    // Whether point i has a text label for axis labelling.
    bool HasPointLabels() const { return !PointLabel(0).empty(); }

    // Drawing state.
    int FirstValueIndex = -1;
    int LastValueIndex = -1;
    int StartZ = 0, MiddleZ = 0, EndZ = 0;
    int ZOrder = -1;        // fixed z-slot, -1 for automatic
    int ComputedZOrder = 0; // slot of the current paint

    // Events.
    TSeriesOnBeforeAdd OnBeforeAdd;
    TSeriesOnAfterAdd OnAfterAdd;
    TSeriesNotify OnClearValues;
    TSeriesNotify BeforeDrawValues;
    TSeriesNotify AfterDrawValues;

protected:
    // Chart repaint on a change (when attached).
    void Repaint();
    TCanvas3D* Canvas() const;

private:
    friend class TCustomAxisPanel;
    bool active_ = true;
    TColor color_ = clDefault;
    std::string title_;
    std::string name_;
    bool showInLegend_ = true;
    bool colorEachPoint_ = false;
    THorizAxis horizAxis_ = aBottomAxis;
    TVertAxis vertAxis_ = aLeftAxis;
    std::string valueFormat_ = "#,##0.###";
    std::string percentFormat_ = "##0.## %";
    TSeriesMarks marks_;
    TChartValueList xValues_{"X", loAscending};
    TChartValueList yValues_{"Y", loNone};
    std::vector<TColor> colors_;
    std::vector<std::optional<std::string>> labels_;
    TCustomAxisPanel* chart_ = nullptr;
};

} // namespace telvara
