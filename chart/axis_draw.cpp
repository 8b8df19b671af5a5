// Axis space reservation and drawing: title, labels, ticks, grid, axis line.
#include "chart/axis.h"

#include "chart/axis_panel.h"
#include "chart/math_util.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace telvara {

namespace {
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 1;
    }
}

int blockWidth(TCanvas3D& c, const std::string& text) {
    int w = 0;
    for (const std::string& line : splitLines(text))
        w = std::max(w, c.TextWidth(line));
    return w;
}

bool runsAlong(bool horizontal, int angle) {
    return horizontal ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
}

// The text handler is detached while a label band is measured.
class DetachLabelHandler {
public:
    explicit DetachLabelHandler(TCustomAxisPanel& chart)
        : chart_(chart), saved_(std::move(chart.OnGetAxisLabel)) {
        chart_.OnGetAxisLabel = nullptr;
    }
    ~DetachLabelHandler() { chart_.OnGetAxisLabel = std::move(saved_); }
    DetachLabelHandler(const DetachLabelHandler&) = delete;
    DetachLabelHandler& operator=(const DetachLabelHandler&) = delete;

private:
    TCustomAxisPanel& chart_;
    TAxisOnGetLabel saved_;
};
} // namespace

int TCustomChartAxis::WallThickness() const {
    return chart_ ? chart_->AxisWallSize(static_cast<const TChartAxis&>(*this)) : 0;
}

int TCustomChartAxis::AxisDepth() const {
    return OtherSide && chart_ ? chart_->TotalDepth : 0;
}

// While printing, white text comes out black on the white paper.
void TCustomChartAxis::SelectTextFont(const TChartFont& f) {
    TFontState s = f.State();
    if (chart_->Printing() && colorToRGB(s.color) == clWhite)
        s.color = clBlack;
    chart_->Canvas()->AssignFont(s);
}

int TCustomChartAxis::TitleBandSize() {
    if (titleSize_ != 0)
        return titleSize_;
    TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr;
    if (!c)
        return 0;
    c->AssignFont(title_.Font().State());
    if (runsAlong(Horizontal, title_.Angle()))
        return c->TextHeight("W");
    return c->TextWidth(title_.Caption());
}

int TCustomChartAxis::LabelBandSize() {
    if (labelsSize_ != 0)
        return labelsSize_;
    TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr;
    if (!c)
        return 0;
    c->AssignFont(labelsFont_.State());
    if (runsAlong(Horizontal, labelsAngle_))
        return c->TextHeight("W");
    const TAxisLabelStyle style = CalcLabelStyle();
    if (style == talNone)
        return 0;
    if (style == talMark || style == talText) {
        int w = 0;
        for (const auto& s : chart_->SeriesList())
            if (s->Active() && SeriesUsesAxis(*s))
                for (int i = 0; i < s->Count(); ++i)
                    w = std::max(w, blockWidth(*c, s->PointLabel(i)));
        return w;
    }
    DetachLabelHandler detach(*chart_);
    IsDateTime = CalcIsDateTime();
    double lo = L().minimum, hi = L().maximum;
    if (roundFirstLabel_) {
        const double inc = CalcLabelIncrement();
        lo = std::trunc(lo / inc) * inc;
        hi = std::trunc(hi / inc) * inc;
    }
    const std::string loText = FormatAxisLabel(lo), hiText = FormatAxisLabel(hi);
    c->AssignFont(labelsFont_.State());
    return std::max(blockWidth(*c, loText), blockWidth(*c, hiText)) + c->TextWidth(" ");
}

int TCustomChartAxis::TickBandSize() {
    int size = (axisPen_.Visible() ? axisPen_.Width() : 0) + (ticks_.Visible() ? tickLength_ : 0);
    if (minorTicks_.Visible())
        size = std::max(size, minorTickLength_);
    return size;
}

// From the outer edge inwards: title band, label band, tick band.
void TCustomChartAxis::ReserveAxisSpace(TRect& r) {
    auto shrink = [&](int s) {
        if (Horizontal)
            return OtherSide ? (r.top += s) : (r.bottom -= s);
        return OtherSide ? (r.right -= s) : (r.left += s);
    };
    if (!title_.Caption().empty())
        L().titlePos = shrink(TitleBandSize());
    if (labels_)
        L().labelsPos = shrink(LabelBandSize());
    const int t = TickBandSize() + WallThickness();
    if (t > 0)
        shrink(t);
    const TRect& plot = chart_->ChartRect();
    int p = RoundEvenInt(positionPercent_ * 0.01 * (Horizontal ? plot.Height() : plot.Width()));
    if (OtherSide)
        p = -p;
    L().titlePos += Horizontal ? -p : p;
    L().labelsPos += Horizontal ? -p : p;
}

// Reference point of a text in its own rotated frame, per side and angle.
void TCustomChartAxis::DrawLabelText(int x, int y, const std::string& text, int angle) {
    TCanvas3D& c = *chart_->Canvas();
    const int h = c.TextHeight("W");
    const int h2 = h / 2;
    // side: 0 bottom, 1 top, 2 left, 3 right
    const int side = Horizontal ? (OtherSide ? 1 : 0) : (OtherSide ? 3 : 2);
    struct Ref {
        TTextHorizAlign h;
        TTextVertAlign v;
    };
    static constexpr Ref table[4][4] = {
        // bottom, top, left, right
        {{htaCenter, vtaTop}, {htaCenter, vtaBottom}, {htaRight, vtaTop}, {htaLeft, vtaTop}},
        {{htaRight, vtaTop}, {htaLeft, vtaTop}, {htaCenter, vtaBottom}, {htaCenter, vtaTop}},
        {{htaCenter, vtaBottom}, {htaCenter, vtaTop}, {htaLeft, vtaTop}, {htaRight, vtaTop}},
        {{htaLeft, vtaTop}, {htaRight, vtaTop}, {htaCenter, vtaTop}, {htaCenter, vtaBottom}},
    };
    const int row = angle == 0 ? 0 : angle == 90 ? 1 : angle == 180 ? 2 : angle == 270 ? 3 : -1;
    const Ref ref = row < 0 ? Ref{htaLeft, vtaTop} : table[row][side];
    double ax = x, ay = y;
    if (Horizontal) {
        if (angle == 90)
            ax -= h2;
        else if (angle == 270)
            ax += h2;
    } else {
        if (angle == 0)
            ay -= h2;
        else if (angle == 180)
            ay += h2;
    }
    c.SetTextAlign(ref.h, ref.v);
    const std::vector<std::string> lines = splitLines(text);
    const int n = static_cast<int>(lines.size());
    // The text's own downward direction on the screen.
    const double rad = angle * 3.14159265358979323846 / 180.0;
    const double dx = std::sin(rad), dy = std::cos(rad);
    const int z = AxisDepth();
    for (int i = 0; i < n; ++i) {
        int k; // offset of line i along the downward direction
        if (!Horizontal)
            k = i * h - ((n - 1) * h) / 2;
        else if (OtherSide)
            k = -(n - 1 - i) * h;
        else
            k = i * h;
        // A label far off the axis may lie at the end of the integer range.
        auto along = [](double a, double offset) {
            return RoundEvenInt(
                std::clamp(a + offset, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
        };
        const int px = along(ax, RoundEven(k * dx)), py = along(ay, RoundEven(k * dy));
        if (angle == 0)
            c.TextOut3D(px, py, z, lines[i]);
        else
            c.RotatedTextOut3D(px, py, z, lines[i], angle);
    }
    c.SetTextAlign(htaLeft, vtaTop);
}

void TCustomChartAxis::DrawValueLabel(int p, const std::string& text) {
    TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr;
    if (!c || text.empty())
        return;
    SelectTextFont(labelsFont_);
    c->AssignBrush({chart_->Color(), bsClear});
    if (Horizontal)
        DrawLabelText(p, L().labelsPos, text, labelsAngle_);
    else
        DrawLabelText(L().labelsPos, p, text, labelsAngle_);
}

void TCustomChartAxis::DrawAxis() {
    TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr;
    if (!c)
        return;
    const TRect& r = chart_->ChartRect();
    SelectTextFont(labelsFont_);
    const int edge = Horizontal ? (OtherSide ? r.top : r.bottom) : (OtherSide ? r.right : r.left);
    int p = RoundEvenInt(positionPercent_ * 0.01 * (Horizontal ? r.Height() : r.Width()));
    if (OtherSide)
        p = -p;
    L().axisLinePos = Horizontal ? edge - p : edge + p;
    if (!title_.Caption().empty()) {
        SelectTextFont(title_.Font());
        c->AssignBrush({chart_->Color(), bsClear});
        if (Horizontal)
            DrawLabelText(L().centerPixel, L().titlePos, title_.Caption(), title_.Angle());
        else
            DrawLabelText(L().titlePos, L().centerPixel, title_.Caption(), title_.Angle());
    }
    RunLabelPass();
    DrawTicksGrid();
    std::vector<int>().swap(L().ticks);
}

} // namespace telvara
