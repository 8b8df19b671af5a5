#pragma once
// Line series: the points joined by a line (a ribbon in 3D), with an
// optional point symbol, value marks and the legend symbol.
#include "chart/series.h"
#include "chart/series_function.h"
#include "chart/series_pointer.h"

#include <functional>
#include <memory>
#include <string>

namespace telvara {

using TSeriesOnGetMarkText =
    std::function<void(TChartSeries& sender, int valueIndex, std::string& markText)>;

class TCustomSeries : public TChartSeries {
public:
    TCustomSeries();
    ~TCustomSeries() override;

    // ---- properties ----
    TChartPen& LinePen() { return linePen_; }
    const TChartPen& LinePen() const { return linePen_; }
    TBrushStyle LineBrush() const { return lineBrush_; }
    void SetLineBrush(TBrushStyle v);
    int LineHeight() const { return lineHeight_; }
    void SetLineHeight(int v);
    bool Stairs() const { return stairs_; }
    void SetStairs(bool v);
    bool InvertedStairs() const { return invertedStairs_; }
    void SetInvertedStairs(bool v);
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool v);
    TSeriesPointer& Pointer() { return pointer_; }
    const TSeriesPointer& Pointer() const { return pointer_; }

    // The function object the series carries (none by default); owned.
    TSeriesFunction* Function() const { return function_.get(); }
    void SetFunction(std::unique_ptr<TSeriesFunction> f);

    TSeriesOnGetMarkText OnGetMarkText;

    // ---- points ----
    int AddPoint(double x, double y, const std::string& label = {},
                 TColor color = clDefault) override;
    void ClearPoints() override;
    void DeletePoint(int index) override;

    // ---- drawing ----
    void DrawAllValues() override;
    void DrawPoint(int index) override;
    void DrawMarks() override;
    void DrawLegendSymbol(int index, const TRect& box) override;
    void CalcHorizMargins(int& left, int& right) const override;
    void CalcVerticalMargins(int& top, int& bottom) const override;
    // Text of the mark of point index (before OnGetMarkText).
    std::string MarkText(int index);
    void DrawPointer(int x, int y, int index, TColor color);

    // Drawing state of the current paint.
    int PrevX = 0, PrevY = 0;
    TColor PrevColor = 0;

private:
    void DrawSegment(int x, int y, TColor c);
    void DrawMark(int index, const std::string& text, TSeriesMarkPosition& pos);
    TSeriesMarkPosition CalcMarkPosition(int x, int y, int width, int height);

    TChartPen linePen_{clBlack, 1, psSolid};
    TBrushStyle lineBrush_ = bsSolid;
    int lineHeight_ = 0;
    bool stairs_ = false;
    bool invertedStairs_ = false;
    bool dark3D_ = true;
    TSeriesPointer pointer_;
    std::unique_ptr<TSeriesFunction> function_;
    // Whether PrevX/PrevY hold a point of this paint.
    bool havePrev_ = false;
};

class TLineSeries : public TCustomSeries {
public:
    TLineSeries();
};

} // namespace telvara
