#pragma once
// Value labels (marks) of a series: settings. Drawing is done by the series.
#include "chart/chart_pen.h"

#include <functional>
#include <string>

namespace telvara {

enum TSeriesMarksStyle {
    smsValue,
    smsPercent,
    smsLabel,
    smsLabelPercent,
    smsLabelValue,
    smsLegend,
    smsPercentTotal,
    smsLabelPercentTotal,
    smsXValue
};

class TSeriesMarks {
public:
    TSeriesMarks();
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    TSeriesMarksStyle Style() const { return style_; }
    void SetStyle(TSeriesMarksStyle v);
    int ArrowLength() const { return arrowLength_; }
    void SetArrowLength(int v);
    TChartPen& Arrow() { return arrow_; }
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor v);
    TChartPen& Frame() { return frame_; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool Clip() const { return clip_; }
    void SetClip(bool v);
    TChartFont& Font() { return font_; }

    TNotifyChange OnChange;

private:
    void Changed();
    bool visible_ = false;
    TSeriesMarksStyle style_ = smsLabel;
    int arrowLength_ = 8;
    TChartPen arrow_{clWhite, 1, psSolid};
    TColor backColor_ = 0x80FFFF;
    TChartPen frame_{clBlack, 1, psSolid};
    bool transparent_ = false;
    bool clip_ = false;
    TChartFont font_;
};

} // namespace telvara
