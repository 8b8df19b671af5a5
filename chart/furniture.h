#pragma once
// Text blocks, legend and walls around the plot: their settings.
// Drawing is done by the chart (title_legend.cpp, walls.cpp).
#include "chart/chart_pen.h"

#include <string>
#include <vector>

namespace telvara {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TChartTitle {
public:
    TChartTitle();
    const std::vector<std::string>& Text() const { return text_; }
    void SetText(const std::vector<std::string>& v);
    TChartFont& Font() { return font_; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TChartBrush& Brush() { return brush_; }
    TChartHiddenPen& Frame() { return frame_; }
    bool AdjustFrame() const { return adjustFrame_; }
    void SetAdjustFrame(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);

    // Wires every part's change to one notification.
    void SetOnChange(TNotifyChange f);

private:
    void Changed();
    TNotifyChange onChange_;
    std::vector<std::string> text_;
    TChartFont font_{"ＭＳ Ｐ明朝", 12, clBlue};
    TAlignment alignment_ = taCenter;
    TColor color_ = clDefault;
    TChartBrush brush_{clDefault, bsSolid};
    TChartHiddenPen frame_;
    bool adjustFrame_ = true;
    bool visible_ = true;
};

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum TLegendTextStyle {
    ltsPlain,
    ltsLeftValue,
    ltsRightValue,
    ltsLeftPercent,
    ltsRightPercent,
    ltsXValue
};

class TChartLegend {
public:
    TChartLegend();
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    TLegendAlignment Alignment() const { return alignment_; }
    void SetAlignment(TLegendAlignment v);
    TLegendStyle LegendStyle() const { return legendStyle_; }
    void SetLegendStyle(TLegendStyle v);
    TLegendTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TLegendTextStyle v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    int ColorWidth() const { return colorWidth_; }
    void SetColorWidth(int v);
    int TopPos() const { return topPos_; }
    void SetTopPos(int v);
    int MaxNumRows() const { return maxNumRows_; }
    void SetMaxNumRows(int v);
    bool ResizeChart() const { return resizeChart_; }
    void SetResizeChart(bool v);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor v);
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int v);
    TChartPen& Frame() { return frame_; }
    TChartHiddenPen& DividingLines() { return dividingLines_; }
    TChartBrush& Brush() { return brush_; }
    int FirstValue() const { return firstValue_; }
    void SetFirstValue(int v);
    bool Inverted() const { return inverted_; }
    void SetInverted(bool v);
    int HorizMargin() const { return horizMargin_; }
    void SetHorizMargin(int v);
    int VertMargin() const { return vertMargin_; }
    void SetVertMargin(int v);
    TChartFont& Font() { return font_; }

    void SetOnChange(TNotifyChange f);

    // Kept while drawing (the legend's rectangle is in the chart's layout).
    int NumRows = 0;
    int NumCols = 0;
    int ColorWidthPixels = 0;

private:
    void Changed();
    TNotifyChange onChange_;
    bool visible_ = true;
    TLegendAlignment alignment_ = laRight;
    TLegendStyle legendStyle_ = lsAuto;
    TLegendTextStyle textStyle_ = ltsLeftValue;
    TColor color_ = clWhite;
    int colorWidth_ = 12;
    int topPos_ = 10;
    int maxNumRows_ = 10;
    bool resizeChart_ = true;
    TColor shadowColor_ = clBlack;
    int shadowSize_ = 3;
    TChartPen frame_{clBlack, 1, psSolid};
    TChartHiddenPen dividingLines_;
    TChartBrush brush_{clDefault, bsSolid};
    int firstValue_ = 0;
    bool inverted_ = false;
    int horizMargin_ = 0;
    int vertMargin_ = 0;
    TChartFont font_;
};

class TChartWall {
public:
    explicit TChartWall(TColor color = clDefault, TBrushStyle brushStyle = bsSolid);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TChartBrush& Brush() { return brush_; }
    TChartPen& Pen() { return pen_; }
    int Size() const { return size_; }
    void SetSize(int v);
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool v);

    void SetOnChange(TNotifyChange f);

private:
    void Changed();
    TNotifyChange onChange_;
    TColor color_;
    TChartBrush brush_;
    TChartPen pen_{clBlack, 1, psSolid};
    int size_ = 0;
    bool dark3D_ = true;
};

} // namespace telvara
