// Label increment, label pass and label texts.
#include "chart/axis.h"

#include "base/numbers.h"
#include "chart/axis_panel.h"
#include "chart/math_util.h"

#include <algorithm>
#include <cmath>

namespace telvara {

namespace {
int lineCount(const std::string& text) {
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// The step after inc in the sequence 1, 2, 5, 10, 20, 50, ...
double nextStep(double inc) {
    const double e = IntegerPower(10.0, std::floor(std::log10(inc)));
    const double m = inc / e;
    for (double s : {1.0, 2.0, 5.0, 10.0, 20.0})
        if (s > m * (1 + 1e-9))
            return s * e;
    return 10 * e;
}
} // namespace

std::string TCustomChartAxis::FormatAxisLabel(double v) {
    std::string text;
    if (IsDateTime) {
        if (v >= 0)
            text = formatGeneral(v);
    } else {
        text = formatFloatPattern(v, valuesFormat_);
    }
    if (chart_ && chart_->OnGetAxisLabel)
        chart_->OnGetAxisLabel(static_cast<TChartAxis&>(*this), nullptr, -1, text);
    if (labelsMultiLine_)
        std::replace(text.begin(), text.end(), ' ', '\n');
    return text;
}

// Size of one label along the axis, at angle 0.
int TCustomChartAxis::LabelTextSize(double v) {
    return TextSizeAlong(FormatAxisLabel(v));
}

int TCustomChartAxis::TextSizeAlong(const std::string& text) {
    TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr;
    if (!c)
        return 0;
    if (Horizontal) {
        int w = 0;
        size_t start = 0;
        for (;;) {
            const size_t end = text.find('\n', start);
            w = std::max(w, c->TextWidth(text.substr(start, end - start)));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        return w;
    }
    return c->TextHeight("W") * lineCount(text);
}

double TCustomChartAxis::CalcLabelIncrement() {
    if (TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr)
        c->AssignFont(labelsFont_.State());
    const int size = std::max(LabelTextSize(L().minimum), LabelTextSize(L().maximum));
    double fit = 1;
    if (size > 0)
        fit = std::nearbyint(static_cast<double>(L().axisLength) /
                             (size + RoundEven(labelsSeparation_ * 0.01 * size)));
    double inc = increment_ > 0 ? increment_ : (std::fabs(L().range) < 1 ? 1e-12 : 1);
    if (labelsSeparation_ > 0)
        while (std::nearbyint(L().range / inc) > fit && std::isfinite(inc) && inc < 1e300)
            inc = nextStep(inc);
    return std::max(inc, 1e-12);
}

TAxisLabelStyle TCustomChartAxis::CalcLabelStyle() const {
    if (labelStyle_ != talAuto)
        return labelStyle_;
    if (!IsAttachedToActiveSeries())
        return talNone;
    for (const auto& s : chart_->SeriesList())
        if (s->Active() && SeriesUsesAxis(*s) && s->HasPointLabels())
            return talText;
    return talValue;
}

void TCustomChartAxis::AddTick(int p) {
    // The list holds at most TickListCapacity positions; later ones are dropped.
    if (static_cast<int>(L().ticks.size()) < TickListCapacity)
        L().ticks.push_back(p);
}

void TCustomChartAxis::ProcessLabel(double v, const std::string* text) {
    const int p = ValueToPixel(v);
    if (!labelsOnAxis_ && !(p > L().startPixel && p < L().endPixel))
        return;
    if (!tickOnLabelsOnly_)
        AddTick(p);
    if (labels_) {
        const std::string shown = text ? *text : FormatAxisLabel(v);
        DrawValueLabel(p, shown);
        if (!shown.empty() && chart_->Canvas())
            drawnLabels_.emplace_back(p, shown);
        if (tickOnLabelsOnly_)
            AddTick(p);
    }
}

void TCustomChartAxis::DefaultLabels() {
    if (logarithmic_ && increment_ == 0) {
        // An infinite minimum leaves no power to label (nor to round to).
        if (L().minimum == L().maximum || std::isinf(L().minimum))
            return;
        const double base = logBase_;
        double v;
        if (L().minimum > 0) {
            const double k = static_cast<double>(RoundEven(std::log(L().minimum) / std::log(base)));
            v = IntegerPower(base, k);
            // A power rounded down below the smallest double would stay 0 for
            // ever; the next one up still lies above the minimum.
            if (!(v > 0))
                v = IntegerPower(base, k + 1);
        } else {
            L().minimum = L().minimum == 0 ? 0.1 : 1e-10;
            v = L().minimum;
        }
        while (v <= L().maximum && std::isfinite(v)) {
            if (v >= L().minimum)
                ProcessLabel(v);
            v *= base;
        }
        return;
    }
    const double inc = labelIncrement_;
    if (std::fabs(L().range / inc) >= 10000)
        return;
    double v =
        (L().range == 0 || !roundFirstLabel_) ? L().maximum : std::trunc(L().maximum / inc) * inc;
    while (v > L().maximum) {
        const double lower = v - inc;
        if (!(lower < v)) // the step is lost in the value's precision: no label fits
            return;
        v = lower;
    }
    const double low = (L().minimum - 1e-12) / 1.000000000001;
    while (v >= low) {
        ProcessLabel(v);
        const double next = v - inc;
        if (!(next < v)) // a step lost in the value's precision
            break;
        v = next;
    }
}

// Values supplied one by one by the chart's handler; both variables keep
// what the handler left in them between calls. A handler that holds its value
// (below the axis minimum, past its last value) hands the same label again:
// it is drawn once, not written over itself as a bold text and a heavy tick.
void TCustomChartAxis::CustomLabels() {
    double value = L().minimum;
    bool stop = true;
    bool processed = false;
    double last = 0;
    for (int index = 0;; ++index) {
        chart_->OnGetNextAxisLabel(static_cast<TChartAxis&>(*this), index, value, stop);
        if (stop) {
            if (index == 0)
                DefaultLabels();
            return;
        }
        const bool inRange = value >= L().minimum - 1e-7 && value <= L().maximum + 1e-7;
        if (inRange && !(processed && value == last)) {
            ProcessLabel(value);
            processed = true;
            last = value;
        }
        if (!inRange || index + 1 > 2000)
            return;
    }
}

void TCustomChartAxis::PointLabels() {
    for (const auto& s : chart_->SeriesList()) {
        if (!s->Active() || !SeriesUsesAxis(*s))
            continue;
        const TChartValueList& list = Horizontal ? s->XValues() : s->YValues();
        for (int i = 0; i < s->Count(); ++i) {
            std::string text = s->PointLabel(i);
            if (chart_->OnGetAxisLabel)
                chart_->OnGetAxisLabel(static_cast<TChartAxis&>(*this), s.get(), i, text);
            if (labelsMultiLine_)
                std::replace(text.begin(), text.end(), ' ', '\n');
            ProcessLabel(list.Value(i), &text);
        }
        return;
    }
}

void TCustomChartAxis::RunLabelPass() {
    L().ticks.clear();
    drawnLabels_.clear();
    IsDateTime = CalcIsDateTime();
    labelIncrement_ = CalcLabelIncrement();
    if (!(labelIncrement_ > 0) || L().maximum < L().minimum || !chart_)
        return;
    L().ticks.reserve(TickListCapacity);
    switch (CalcLabelStyle()) {
    case talValue:
        if (chart_->OnGetNextAxisLabel)
            CustomLabels();
        else
            DefaultLabels();
        LabelSparseAxis();
        break;
    case talMark:
    case talText:
        PointLabels();
        break;
    default:
        break;
    }
}

} // namespace telvara
