#pragma once
// Pens, brushes and fonts of chart objects. A change is stored and reported
// to the owner, which repaints later; nothing draws from a setter.
#include "chart/canvas3d.h"

#include <functional>
#include <string>

namespace telvara {

using TNotifyChange = std::function<void()>;

// Stores v in slot; true when the value changed (the caller then reports it).
template <class T> bool StoreChanged(T& slot, const T& v) {
    if (slot == v)
        return false;
    slot = v;
    return true;
}

class TChartPen {
public:
    TChartPen() = default;
    TChartPen(TColor color, int width, TPenStyle style, bool visible = true);
    virtual ~TChartPen() = default;

    TColor Color() const { return color_; }
    int Width() const { return width_; }
    TPenStyle Style() const { return style_; }
    TPenMode Mode() const { return mode_; }
    bool Visible() const { return visible_; }
    bool SmallDots() const { return smallDots_; }
    void SetColor(TColor v);
    void SetWidth(int v);
    void SetStyle(TPenStyle v);
    void SetMode(TPenMode v);
    void SetVisible(bool v);
    void SetSmallDots(bool v);

    // The surface pen for this pen (a hidden pen gives a clear pen).
    TPenState State() const;

    TNotifyChange OnChange;

protected:
    void Changed();

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    bool visible_ = true;
    bool smallDots_ = false;
};

// Axis line: black, width 2.
class TChartAxisPen : public TChartPen {
public:
    TChartAxisPen() : TChartPen(clBlack, 2, psSolid) {}
};

// Grid: grey, dotted.
class TDottedGrayPen : public TChartPen {
public:
    TDottedGrayPen() : TChartPen(clGray, 1, psDot) {}
};

// Ticks: grey, solid.
class TDarkGrayPen : public TChartPen {
public:
    TDarkGrayPen() : TChartPen(clGray, 1, psSolid) {}
};

// Created hidden (minor grid, frames).
class TChartHiddenPen : public TChartPen {
public:
    TChartHiddenPen() : TChartPen(clBlack, 1, psSolid, false) {}
};

class TChartBrush {
public:
    TChartBrush() = default;
    TChartBrush(TColor color, TBrushStyle style) : color_(color), style_(style) {}
    TColor Color() const { return color_; }
    TBrushStyle Style() const { return style_; }
    void SetColor(TColor v);
    void SetStyle(TBrushStyle v);
    TNotifyChange OnChange;

private:
    TColor color_ = clDefault;
    TBrushStyle style_ = bsSolid;
};

// Height is the character height in pixels; 9 points at 96 dpi is 12 pixels.
class TChartFont {
public:
    TChartFont() = default;
    TChartFont(std::string name, int height, TColor color)
        : name_(std::move(name)), height_(height), color_(color) {}
    const std::string& Name() const { return name_; }
    int Height() const { return height_; }
    TColor Color() const { return color_; }
    int Style() const { return style_; }
    void SetName(const std::string& v);
    void SetHeight(int v);
    void SetColor(TColor v);
    void SetStyle(int v);
    TFontState State() const { return {name_, height_, color_, style_}; }
    TNotifyChange OnChange;

private:
    void Changed();
    std::string name_ = "ＭＳ Ｐ明朝";
    int height_ = 12;
    TColor color_ = clBlack;
    int style_ = 0;
};

} // namespace telvara
