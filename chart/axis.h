#pragma once
// Chart axes: range, value/pixel mapping, label pass and drawing.
#include "base/errors.h"
#include "chart/chart_pen.h"
#include "chart/layout.h"
#include "chart/scale_map.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace telvara {

class TCustomAxisPanel;
class TChartSeries;
class TChartAxis;

// An invalid axis property value; nothing is stored.
class AxisException : public TelvaraError {
public:
    using TelvaraError::TelvaraError;
};

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

using TAxisOnGetNextLabel =
    std::function<void(TChartAxis& sender, int labelIndex, double& labelValue, bool& stop)>;
using TAxisOnGetLabel = std::function<void(TChartAxis& sender, TChartSeries* series, int valueIndex,
                                           std::string& labelText)>;

class TChartAxisTitle {
public:
    int Angle() const { return angle_; }
    const std::string& Caption() const { return caption_; }
    TChartFont& Font() { return font_; }
    const TChartFont& Font() const { return font_; }
    void SetAngle(int v);
    void SetCaption(const std::string& v);
    TNotifyChange OnChange;

private:
    friend class TCustomChartAxis;
    int angle_ = 0;
    std::string caption_;
    TChartFont font_;
};

class TCustomChartAxis {
public:
    virtual ~TCustomChartAxis() = default;
    TCustomChartAxis(const TCustomChartAxis&) = delete;
    TCustomChartAxis& operator=(const TCustomChartAxis&) = delete;

    TCustomAxisPanel* ParentChart() const { return chart_; }

    // ---- published properties ----
    bool Automatic() const { return automatic_; }
    bool AutomaticMaximum() const { return autoMax_; }
    bool AutomaticMinimum() const { return autoMin_; }
    TChartAxisPen& Axis() { return axisPen_; }
    const std::string& AxisValuesFormat() const { return valuesFormat_; }
    const std::string& DateTimeFormat() const { return dateTimeFormat_; }
    bool ExactDateTime() const { return exactDateTime_; }
    TDottedGrayPen& Grid() { return grid_; }
    bool GridCentered() const { return gridCentered_; }
    double Increment() const { return increment_; }
    bool Inverted() const { return inverted_; }
    bool Labels() const { return labels_; }
    int LabelsAngle() const { return labelsAngle_; }
    TChartFont& LabelsFont() { return labelsFont_; }
    bool LabelsMultiLine() const { return labelsMultiLine_; }
    bool LabelsOnAxis() const { return labelsOnAxis_; }
    int LabelsSeparation() const { return labelsSeparation_; }
    int LabelsSize() const { return labelsSize_; }
    TAxisLabelStyle LabelStyle() const { return labelStyle_; }
    bool Logarithmic() const { return logarithmic_; }
    int LogarithmicBase() const { return logBase_; }
    double Maximum() const { return maximum_; }
    double Minimum() const { return minimum_; }
    TChartHiddenPen& MinorGrid() { return minorGrid_; }
    int MinorTickCount() const { return minorTickCount_; }
    int MinorTickLength() const { return minorTickLength_; }
    TDarkGrayPen& MinorTicks() { return minorTicks_; }
    double StartPosition() const { return startPosition_; }
    double EndPosition() const { return endPosition_; }
    double PositionPercent() const { return positionPercent_; }
    bool RoundFirstLabel() const { return roundFirstLabel_; }
    int TickInnerLength() const { return tickInnerLength_; }
    int TickLength() const { return tickLength_; }
    bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
    TDarkGrayPen& Ticks() { return ticks_; }
    TDarkGrayPen& TicksInner() { return ticksInner_; }
    TChartAxisTitle& Title() { return title_; }
    int TitleSize() const { return titleSize_; }
    bool Visible() const { return visible_; }
    // A logarithmic axis whose label pass shows fewer than two numbers
    // numbers its minor values that fit (2..9 times a power, then finer), in
    // AxisValuesFormat; the text handler does not see these numbers.
    bool MinorLabelsWhenSparse() const { return minorLabelsWhenSparse_; }

    void SetAutomatic(bool v);
    void SetAutomaticMaximum(bool v);
    void SetAutomaticMinimum(bool v);
    void SetAxisValuesFormat(const std::string& v);
    void SetDateTimeFormat(const std::string& v);
    void SetExactDateTime(bool v);
    void SetGridCentered(bool v);
    void SetIncrement(double v);
    void SetInverted(bool v);
    void SetLabels(bool v);
    void SetLabelsAngle(int v);
    void SetLabelsMultiLine(bool v);
    void SetLabelsOnAxis(bool v);
    void SetLabelsSeparation(int v);
    void SetLabelsSize(int v);
    void SetLabelStyle(TAxisLabelStyle v);
    void SetLogarithmic(bool v);
    void SetLogarithmicBase(int v);
    void SetMaximum(double v);
    void SetMinimum(double v);
    void SetMinorTickCount(int v);
    void SetMinorTickLength(int v);
    void SetStartPosition(double v);
    void SetEndPosition(double v);
    void SetPositionPercent(double v);
    void SetRoundFirstLabel(bool v);
    void SetTickInnerLength(int v);
    void SetTickLength(int v);
    void SetTickOnLabelsOnly(bool v);
    void SetTitleSize(int v);
    void SetVisible(bool v);
    void SetMinorLabelsWhenSparse(bool v);

    // ---- internal state ----
    bool Horizontal = false;
    bool OtherSide = false;
    bool IsDepthAxis = false;
    bool IsDateTime = false;
    // Positions across the plot of the axis line, the labels and the title,
    // in the layout of the paint in progress (between paints the screen's).
    int AxisLinePos() const { return L().axisLinePos; }
    int LabelsPos() const { return L().labelsPos; }
    int TitlePos() const { return L().titlePos; }
    // Positions collected by the label pass (at most TickListCapacity).
    const std::vector<int>& TickList() const { return L().ticks; }
    static constexpr int TickListCapacity = 2000;

    // ---- operations ----
    void SetMinMaxRange(double aMin, double aMax);
    void ComputeEffectiveRange();
    // Automatic ends from the series that count for this axis (0 when none).
    void CalcMinMax(double& aMin, double& aMax) const;
    void ComputeAxisPixels(const TRect& plot);
    // The mapping of the current layout, for whoever draws or reads values.
    // The range and pixels themselves are the axis' own; others read them here.
    TScaleMap ScaleMap() const;
    int ValueToPixel(double v) const { return ScaleMap().ValueToPixel(v); }
    double PixelToValue(int p) const { return ScaleMap().PixelToValue(p); }
    std::string FormatAxisLabel(double v);
    // Label step of the current range (never below 1e-12).
    double CalcLabelIncrement();
    TAxisLabelStyle CalcLabelStyle() const;
    // True when an active series that uses axes is attached to this axis.
    bool IsAttachedToActiveSeries() const;
    bool SeriesUsesAxis(const TChartSeries& s) const;
    // Whether the first active series on this axis keeps date-times here.
    bool CalcIsDateTime() const;
    // Pixel margins asked by a series at the StartPixel and EndPixel ends
    // (honoured at automatic ends only).
    void AdjustForMargins(int startMargin, int endMargin);

    // ---- drawing ----
    // Takes the axis' bands out of r (title, labels, ticks); r carries over.
    void ReserveAxisSpace(TRect& r);
    int TitleBandSize();
    int LabelBandSize();
    int TickBandSize();
    void DrawAxis();
    void DrawLabelText(int x, int y, const std::string& text, int angle);
    void DrawValueLabel(int p, const std::string& text);
    // Minor tick positions for the current TickList.
    std::vector<int> MinorTickPositions() const;

    // While the stored form is read, Minimum/Maximum are not cross-checked.
    bool Loading = false;

protected:
    TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide);
    void Changed(); // invalidates the owning chart
    // Bottom, top, left, right or depth: the axis' place in a chart layout.
    int slot_ = 0;

public:
    // Label pass of one draw: fills TickList and draws the labels (when a
    // surface is set).
    void RunLabelPass();

private:
    void DefaultLabels();
    void CustomLabels();
    void ProcessLabel(double v, const std::string* text = nullptr);
    void PointLabels();
    void AddTick(int p);
    void LabelSparseAxis();
    int LabelTextSize(double v);
    int TextSizeAlong(const std::string& text);
    void SelectTextFont(const TChartFont& f);
    void DrawTicksGrid();
    void GridLine(int p, bool minor);
    void TickStroke(int p, int from, int length);
    int WallThickness() const;
    int AxisDepth() const;
    void WirePens();

    // This axis' part of the layout of the paint in progress (between paints
    // the screen's): its range and pixels (see ScaleMap) and positions.
    TAxisLayout& L() const;

    TCustomAxisPanel* chart_ = nullptr;
    bool automatic_ = true, autoMax_ = true, autoMin_ = true;
    TChartAxisPen axisPen_;
    std::string valuesFormat_ = "#,##0.###";
    std::string dateTimeFormat_;
    bool exactDateTime_ = true;
    TDottedGrayPen grid_;
    bool gridCentered_ = false;
    double increment_ = 0;
    bool inverted_ = false;
    bool labels_ = true;
    int labelsAngle_ = 0;
    TChartFont labelsFont_;
    bool labelsMultiLine_ = false;
    bool labelsOnAxis_ = true;
    int labelsSeparation_ = 10;
    int labelsSize_ = 0;
    TAxisLabelStyle labelStyle_ = talAuto;
    bool logarithmic_ = false;
    int logBase_ = 10;
    double maximum_ = 0, minimum_ = 0;
    TChartHiddenPen minorGrid_;
    int minorTickCount_ = 3;
    int minorTickLength_ = 2;
    TDarkGrayPen minorTicks_;
    double startPosition_ = 0, endPosition_ = 100, positionPercent_ = 0;
    bool roundFirstLabel_ = true;
    int tickInnerLength_ = 0, tickLength_ = 4;
    bool tickOnLabelsOnly_ = true;
    TDarkGrayPen ticks_, ticksInner_;
    TChartAxisTitle title_;
    int titleSize_ = 0;
    bool visible_ = true;

    bool minorLabelsWhenSparse_ = false;

    double labelIncrement_ = 0; // of the current draw
    // Positions and texts of the numbers drawn by the current label pass.
    std::vector<std::pair<int, std::string>> drawnLabels_;
};

class TChartAxis : public TCustomChartAxis {
public:
    TChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide)
        : TCustomChartAxis(chart, horizontal, otherSide) {}
};

class TChartDepthAxis : public TChartAxis {
public:
    explicit TChartDepthAxis(TCustomAxisPanel* chart);
};

} // namespace telvara
