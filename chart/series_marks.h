#pragma once
// Value labels (marks) of a series: settings. Drawing is done by the series.
#include "chart/chart_pen.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// Where the mark of one point was drawn: the arrow and the box. A custom
// position replaces the computed one.
struct TSeriesMarkPosition {
    TPoint ArrowFrom;
    TPoint ArrowTo;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Custom = false;
    TRect Bounds() const { return {Left, Top, Left + Width, Top + Height}; }
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

    // Remembered positions, one slot per point index (an empty slot when
    // the point's mark was never drawn).
    std::vector<std::optional<TSeriesMarkPosition>>& Positions() { return positions_; }
    const std::optional<TSeriesMarkPosition>& Position(int index) const;
    void SetPosition(int index, const TSeriesMarkPosition& p);
    void InsertPositionSlot(int index);
    void DeletePosition(int index);
    void ClearPositions();

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
    std::vector<std::optional<TSeriesMarkPosition>> positions_;
};

} // namespace telvara
