// Axis properties, range and the value/pixel mapping.
#include "chart/axis.h"

#include "chart/axis_panel.h"
#include "chart/math_util.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace telvara {

void TChartAxisTitle::SetAngle(int v) {
    if (StoreChanged(angle_, v) && OnChange)
        OnChange();
}
void TChartAxisTitle::SetCaption(const std::string& v) {
    if (StoreChanged(caption_, v) && OnChange)
        OnChange();
}

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide)
    : Horizontal(horizontal), OtherSide(otherSide),
      slot_((horizontal ? 0 : 2) + (otherSide ? 1 : 0)), chart_(chart) {
    WirePens();
}

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart) : TChartAxis(chart, false, true) {
    IsDepthAxis = true;
    slot_ = kChartAxisCount - 1;
    SetVisible(false);
}

void TCustomChartAxis::WirePens() {
    auto changed = [this] { Changed(); };
    for (TChartPen* p : std::initializer_list<TChartPen*>{&axisPen_, &grid_, &minorGrid_,
                                                          &minorTicks_, &ticks_, &ticksInner_})
        p->OnChange = changed;
    labelsFont_.OnChange = changed;
    title_.OnChange = changed;
    title_.font_.OnChange = changed;
}

TAxisLayout& TCustomChartAxis::L() const {
    return chart_->Layout().axes[slot_];
}

void TCustomChartAxis::Changed() {
    if (chart_)
        chart_->RequestRepaint();
}

#define TELVARA_AXIS_SETTER(Name, member, Type)                                                    \
    void TCustomChartAxis::Set##Name(Type v) {                                                     \
        if (StoreChanged(member, v))                                                               \
            Changed();                                                                             \
    }

TELVARA_AXIS_SETTER(AxisValuesFormat, valuesFormat_, const std::string&)
TELVARA_AXIS_SETTER(DateTimeFormat, dateTimeFormat_, const std::string&)
TELVARA_AXIS_SETTER(ExactDateTime, exactDateTime_, bool)
TELVARA_AXIS_SETTER(GridCentered, gridCentered_, bool)
TELVARA_AXIS_SETTER(Inverted, inverted_, bool)
TELVARA_AXIS_SETTER(Labels, labels_, bool)
TELVARA_AXIS_SETTER(LabelsAngle, labelsAngle_, int)
TELVARA_AXIS_SETTER(LabelsMultiLine, labelsMultiLine_, bool)
TELVARA_AXIS_SETTER(LabelsOnAxis, labelsOnAxis_, bool)
TELVARA_AXIS_SETTER(LabelsSize, labelsSize_, int)
TELVARA_AXIS_SETTER(LabelStyle, labelStyle_, TAxisLabelStyle)
TELVARA_AXIS_SETTER(MinorTickCount, minorTickCount_, int)
TELVARA_AXIS_SETTER(MinorTickLength, minorTickLength_, int)
TELVARA_AXIS_SETTER(StartPosition, startPosition_, double)
TELVARA_AXIS_SETTER(EndPosition, endPosition_, double)
TELVARA_AXIS_SETTER(PositionPercent, positionPercent_, double)
TELVARA_AXIS_SETTER(RoundFirstLabel, roundFirstLabel_, bool)
TELVARA_AXIS_SETTER(TickInnerLength, tickInnerLength_, int)
TELVARA_AXIS_SETTER(TickLength, tickLength_, int)
TELVARA_AXIS_SETTER(TickOnLabelsOnly, tickOnLabelsOnly_, bool)
TELVARA_AXIS_SETTER(TitleSize, titleSize_, int)
TELVARA_AXIS_SETTER(Visible, visible_, bool)
TELVARA_AXIS_SETTER(MinorLabelsWhenSparse, minorLabelsWhenSparse_, bool)

#undef TELVARA_AXIS_SETTER

void TCustomChartAxis::SetAutomatic(bool v) {
    bool changed = StoreChanged(automatic_, v);
    if (!Loading) {
        changed = StoreChanged(autoMin_, v) || changed;
        changed = StoreChanged(autoMax_, v) || changed;
    }
    if (changed)
        Changed();
}

void TCustomChartAxis::SetAutomaticMaximum(bool v) {
    bool changed = StoreChanged(autoMax_, v);
    if (!v || autoMin_)
        changed = StoreChanged(automatic_, v) || changed;
    if (changed)
        Changed();
}

void TCustomChartAxis::SetAutomaticMinimum(bool v) {
    bool changed = StoreChanged(autoMin_, v);
    if (!v || autoMax_)
        changed = StoreChanged(automatic_, v) || changed;
    if (changed)
        Changed();
}

void TCustomChartAxis::SetIncrement(double v) {
    if (v < 0)
        throw AxisException("軸の増加単位は 0 以上でなければなりません");
    if (StoreChanged(increment_, v))
        Changed();
}

void TCustomChartAxis::SetLabelsSeparation(int v) {
    if (v < 0)
        throw AxisException("ラベルの間隔は 0 以上でなければなりません");
    if (StoreChanged(labelsSeparation_, v))
        Changed();
}

void TCustomChartAxis::SetLogarithmicBase(int v) {
    if (v < 2)
        throw AxisException("対数軸の LogarithmicBase プロパティは 2 より大きい値が必要です。");
    if (StoreChanged(logBase_, v))
        Changed();
}

void TCustomChartAxis::SetMinimum(double v) {
    if (!Loading && v > maximum_)
        throw AxisException("軸の最小値は最大値以下でなければなりません");
    if (StoreChanged(minimum_, v))
        Changed();
}

void TCustomChartAxis::SetMaximum(double v) {
    if (!Loading && v < minimum_)
        throw AxisException("軸の最大値は最小値以上でなければなりません");
    if (StoreChanged(maximum_, v))
        Changed();
}

void TCustomChartAxis::SetLogarithmic(bool v) {
    if (v && !logarithmic_) {
        IsDateTime = CalcIsDateTime();
        if (IsDateTime)
            throw AxisException("日付時刻軸を対数軸にすることはできません");
        ComputeEffectiveRange();
        if (L().minimum < 0 || L().maximum < 0)
            throw AxisException("対数軸の最大/最小値は 0 以上でなければなりません");
    }
    if (StoreChanged(logarithmic_, v))
        Changed();
}

void TCustomChartAxis::SetMinMaxRange(double aMin, double aMax) {
    automatic_ = autoMin_ = autoMax_ = false;
    if (aMin > aMax)
        std::swap(aMin, aMax);
    if (StoreChanged(minimum_, aMin))
        Changed();
    if (StoreChanged(maximum_, aMax))
        Changed();
    if (maximum_ - minimum_ < 1e-10 && StoreChanged(maximum_, minimum_ + 1e-10))
        Changed();
}

bool TCustomChartAxis::SeriesUsesAxis(const TChartSeries& s) const {
    if (IsDepthAxis || !s.UseAxis() || s.ParentChart() != chart_)
        return false;
    if (Horizontal)
        return s.HorizAxis() == aBothHorizAxis || s.GetHorizAxis() == this;
    return s.VertAxis() == aBothVertAxis || s.GetVertAxis() == this;
}

bool TCustomChartAxis::IsAttachedToActiveSeries() const {
    if (!chart_)
        return false;
    for (const auto& s : chart_->SeriesList())
        if (s->Active() && SeriesUsesAxis(*s))
            return true;
    return false;
}

bool TCustomChartAxis::CalcIsDateTime() const {
    if (!chart_)
        return false;
    for (const auto& s : chart_->SeriesList())
        if (s->Active() && SeriesUsesAxis(*s))
            return Horizontal ? s->XValues().DateTime() : s->YValues().DateTime();
    return false;
}

void TCustomChartAxis::CalcMinMax(double& aMin, double& aMax) const {
    aMin = aMax = 0;
    if (!chart_)
        return;
    const bool anyActive = IsAttachedToActiveSeries();
    bool first = true;
    for (const auto& s : chart_->SeriesList()) {
        if ((anyActive && !s->Active()) || s->Count() == 0 || !SeriesUsesAxis(*s))
            continue;
        const TChartValueList& list = Horizontal ? s->XValues() : s->YValues();
        const double lo = list.MinValue(), hi = list.MaxValue();
        if (first || lo < aMin)
            aMin = lo;
        if (first || hi > aMax)
            aMax = hi;
        first = false;
    }
}

void TCustomChartAxis::ComputeEffectiveRange() {
    if (automatic_ || autoMax_ || autoMin_) {
        double lo = 0, hi = 0;
        CalcMinMax(lo, hi);
        if (automatic_ || autoMax_)
            maximum_ = hi;
        if (automatic_ || autoMin_)
            minimum_ = lo;
    }
    L().maximum = maximum_;
    L().minimum = minimum_;
    L().range = L().maximum - L().minimum;
}

void TCustomChartAxis::ComputeAxisPixels(const TRect& plot) {
    const int origin = Horizontal ? plot.left : plot.top;
    const int size = Horizontal ? plot.Width() : plot.Height();
    L().startPixel = origin + RoundEvenInt(size * 0.01 * startPosition_);
    L().endPixel = origin + RoundEvenInt(size * 0.01 * endPosition_);
    L().axisLength = L().endPixel - L().startPixel;
    L().centerPixel = (L().startPixel + L().endPixel) / 2;
}

TScaleMap TCustomChartAxis::ScaleMap() const {
    return {Horizontal,   inverted_,   logarithmic_, L().startPixel,
            L().endPixel, L().minimum, L().maximum,  L().range};
}

void TCustomChartAxis::AdjustForMargins(int startMargin, int endMargin) {
    const bool minAuto = automatic_ || autoMin_;
    const bool maxAuto = automatic_ || autoMax_;
    const bool minAtStart = Horizontal != inverted_;
    const int sm = (minAtStart ? minAuto : maxAuto) ? startMargin : 0;
    const int em = (minAtStart ? maxAuto : minAuto) ? endMargin : 0;
    if (sm == 0 && em == 0)
        return;
    const int s0 = L().startPixel, e0 = L().endPixel, c0 = L().centerPixel, l0 = L().axisLength;
    L().startPixel += sm;
    L().endPixel -= em;
    L().axisLength = L().endPixel - L().startPixel;
    L().centerPixel = (L().startPixel + L().endPixel) / 2;
    double a = PixelToValue(s0), b = PixelToValue(e0);
    if (a > b)
        std::swap(a, b);
    L().minimum = a;
    L().maximum = b;
    L().startPixel = s0;
    L().endPixel = e0;
    L().centerPixel = c0;
    L().axisLength = l0;
    L().range = L().maximum - L().minimum;
}

} // namespace telvara
