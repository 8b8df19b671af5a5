#pragma once
// The chart panel: margins, colours, bevels, the drawing surface, the plot
// rectangle, repaint requests and the background gradient.
#include "base/errors.h"
#include "chart/canvas3d.h"
#include "chart/layout.h"

#include <functional>
#include <memory>
#include <string>

namespace telvara {

enum TPanelBevel { bvNone, bvLowered, bvRaised };
enum TCursor { crDefault, crArrow, crCross, crHandPoint, crSizeAll };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftBits { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TGradientDirection {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft
};

// An invalid chart property value; nothing is stored.
class ChartException : public TelvaraError {
public:
    using TelvaraError::TelvaraError;
};

// What the window hosting a chart does for it.
class TChartHost {
public:
    virtual ~TChartHost() = default;
    // Queue a paint request.
    virtual void InvalidateChart() = 0;
    // Paint now, before returning.
    virtual void RepaintChartNow() = 0;
    virtual void SetChartCursor(TCursor c) = 0;
    // The kept off-screen bitmap is no longer needed.
    virtual void ReleaseBuffer() {}
    // A surface drawing straight onto what the window shows, for marks that
    // follow the mouse between paints (the zoom frame); nullptr when there is
    // nothing shown yet. Each BeginDirectDraw that returns a surface is
    // followed by one EndDirectDraw.
    virtual TCanvas3D* BeginDirectDraw() { return nullptr; }
    virtual void EndDirectDraw() {}
};

class TCustomChartPanel;
using TNotifyEvent = std::function<void(TCustomChartPanel& sender)>;

struct TView3DOptions {
    bool Orthogonal = true; // oblique parallel projection
    int Zoom = 100;
    bool ZoomText = true;
    int Rotation = 345;
    int Elevation = 345;
    int Perspective = 15;
    int Tilt = 0;
    int HorizOffset = 0;
    int VertOffset = 0;
};

class TChartGradient {
public:
    explicit TChartGradient(TCustomChartPanel* owner) : owner_(owner) {}
    TGradientDirection Direction() const { return direction_; }
    TColor StartColor() const { return startColor_; }
    TColor EndColor() const { return endColor_; }
    bool Visible() const { return visible_; }
    void SetDirection(TGradientDirection v);
    void SetStartColor(TColor v);
    void SetEndColor(TColor v);
    void SetVisible(bool v);

private:
    TCustomChartPanel* owner_;
    TGradientDirection direction_ = gdTopBottom;
    TColor startColor_ = clWhite;
    TColor endColor_ = clYellow;
    bool visible_ = false;
};

class TCustomChartPanel {
public:
    TCustomChartPanel();
    virtual ~TCustomChartPanel();
    TCustomChartPanel(const TCustomChartPanel&) = delete;
    TCustomChartPanel& operator=(const TCustomChartPanel&) = delete;

    // ---- component ----
    const std::string& Name() const { return name_; }
    void SetName(const std::string& v) { name_ = v; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Size change of the panel's window: repaint at the new size.
    void SetBounds(int width, int height);
    void SetHost(TChartHost* host) { host_ = host; }
    TChartHost* Host() const { return host_; }

    // ---- properties ----
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel v);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel v);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);
    int MarginLeft() const { return marginLeft_; }
    int MarginTop() const { return marginTop_; }
    int MarginRight() const { return marginRight_; }
    int MarginBottom() const { return marginBottom_; }
    void SetMarginLeft(int v);
    void SetMarginTop(int v);
    void SetMarginRight(int v);
    void SetMarginBottom(int v);
    bool View3D() const { return view3D_; }
    void SetView3D(bool v);
    const TView3DOptions& View3DOptions() const { return view3DOptions_; }
    void SetView3DOptions(const TView3DOptions& v);
    int Chart3DPercent() const { return chart3DPercent_; }
    void SetChart3DPercent(int v);
    bool Monochrome() const { return monochrome_; }
    void SetMonochrome(bool v);

    // ---- painting ----
    void RequestRepaint();
    // The host's paint request: false when the kept bitmap is still valid and
    // only needs to be copied.
    bool NeedsFullPaint() const { return dirty_ && !Printing(); }
    bool Dirty() const { return dirty_; }
    // Whether the paint in progress (or the screen's) is laid out for paper.
    bool Printing() const { return layout_->printing; }
    void SetPrinting(bool v) { layout_->printing = v; }
    bool BufferedDisplay() const { return buffered_; }
    void SetBufferedDisplay(bool v);
    bool AutoRepaint() const { return autoRepaint_; }
    void SetAutoRepaint(bool v) { autoRepaint_ = v; }
    // The screen's paint, in the chart's own layout and through its kept
    // bitmap when buffered.
    void DrawChart(TCanvas3D& canvas, const TRect& rect);
    // A paint onto another surface, laid out in page; the screen's layout and
    // kept picture stay as they were.
    void DrawChartInLayout(TCanvas3D& canvas, const TRect& rect, TChartLayout& page);
    virtual void DrawChartContents(const TRect& panelRect) = 0;
    virtual void FillPanelBackground(const TRect& r);
    void DrawPanelFrame(const TRect& r);
    void PaintPanelBackground(const TRect& r);
    // The surface of the current paint (nullptr outside a paint).
    TCanvas3D* Canvas() const { return canvas_; }

    // The layout of the paint in progress; between paints the screen's.
    TChartLayout& Layout() const { return *layout_; }
    // Plot rectangle and panel rectangle of that layout, with the plot's
    // size and centre; the layout steps of the paint write the rectangles.
    const TRect& ChartRect() const { return layout_->chartRect; }
    const TRect& ChartBounds() const { return layout_->chartBounds; }
    int ChartWidth() const { return ChartRect().Width(); }
    int ChartHeight() const { return ChartRect().Height(); }
    int ChartXCenter() const { return (ChartRect().left + ChartRect().right) / 2; }
    int ChartYCenter() const { return (ChartRect().top + ChartRect().bottom) / 2; }

    TNotifyEvent OnAfterDraw;

protected:
    // A layout step narrows the plot; RecalcWidthHeight then keeps it inside
    // the panel.
    void SetChartRect(const TRect& r) { layout_->chartRect = r; }
    void RecalcWidthHeight();
    void GradientFill(const TRect& r, TColor first, TColor last);

private:
    // One paint in layout, through a kept bitmap when buffered.
    void Paint(TCanvas3D& canvas, const TRect& rect, TChartLayout& layout, bool buffered);

    std::string name_;
    int width_ = 400, height_ = 250;
    TChartHost* host_ = nullptr;
    TColor color_ = clBtnFace;
    TPanelBevel bevelOuter_ = bvRaised, bevelInner_ = bvNone;
    int bevelWidth_ = 1, borderWidth_ = 0;
    int marginLeft_ = 3, marginTop_ = 4, marginRight_ = 3, marginBottom_ = 4;
    bool view3D_ = true;
    TView3DOptions view3DOptions_;
    int chart3DPercent_ = 15;
    bool monochrome_ = false;
    bool buffered_ = true;
    bool dirty_ = true;
    bool autoRepaint_ = false;
    TCanvas3D* canvas_ = nullptr;
    TChartLayout screenLayout_;
    TChartLayout* layout_ = &screenLayout_;
};

class TCustomChartPanelExtended : public TCustomChartPanel {
public:
    TCustomChartPanelExtended() : gradient_(this) {}
    TChartGradient& Gradient() { return gradient_; }

    void FillPanelBackground(const TRect& r) override;

private:
    TChartGradient gradient_;
};

} // namespace telvara
