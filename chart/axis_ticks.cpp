// Axis line, ticks, grid lines and minor ticks from the positions of the label pass.
#include "chart/axis.h"

#include "chart/axis_panel.h"
#include "chart/math_util.h"

namespace telvara {

namespace {
// Pen for a grid line: the automatic colour is grey; while printing a thin
// non-solid pen becomes the device's thinnest line.
TPenState gridPen(const TChartPen& pen, bool printing) {
    TPenState s = pen.State();
    if (s.color == clDefault)
        s.color = clGray;
    if (printing && s.style != psSolid && s.width == 1)
        s.width = 0;
    return s;
}
} // namespace

// Outward stroke across the axis at p, starting at 'from' and running
// 'length' pixels away from the plot (negative length: into the plot).
void TCustomChartAxis::TickStroke(int p, int from, int length) {
    TCanvas3D& c = *chart_->Canvas();
    const int out = Horizontal ? (OtherSide ? -1 : 1) : (OtherSide ? 1 : -1);
    const int to = from + out * length;
    const int z = AxisDepth();
    if (Horizontal)
        c.LineWithZ(p, from, p, to, z);
    else
        c.LineWithZ(from, p, to, p, z);
}

void TCustomChartAxis::GridLine(int p, bool /*minor*/) {
    TCanvas3D& c = *chart_->Canvas();
    const TRect& r = chart_->ChartRect();
    const int depth = chart_->TotalDepth;
    if (!chart_->View3D()) {
        // Inside the back wall's frame.
        if (Horizontal)
            c.Line(p, r.top + 1, p, r.bottom);
        else
            c.Line(r.left + 1, p, r.right, p);
        return;
    }
    if (OtherSide) {
        if (Horizontal)
            c.LineWithZ(p, r.top, p, r.bottom, depth);
        else
            c.LineWithZ(r.left, p, r.right, p, depth);
        return;
    }
    // Along the floor or the left wall, then across the back wall.
    if (Horizontal) {
        c.MoveTo3D(p, L().axisLinePos, 0);
        c.LineTo3D(p, L().axisLinePos, depth);
        c.LineTo3D(p, r.top, depth);
    } else {
        c.MoveTo3D(L().axisLinePos, p, 0);
        c.LineTo3D(L().axisLinePos, p, depth);
        c.LineTo3D(r.right, p, depth);
    }
}

void TCustomChartAxis::DrawTicksGrid() {
    TCanvas3D& c = *chart_->Canvas();
    const int w = WallThickness();
    const int out = Horizontal ? (OtherSide ? -1 : 1) : (OtherSide ? 1 : -1);
    const int lineAt = L().axisLinePos + out * w;
    const int z = AxisDepth();

    if (axisPen_.Visible()) {
        c.AssignPen(axisPen_.State());
        if (OtherSide)
            c.LineWithZ(Horizontal ? L().startPixel : L().axisLinePos,
                        Horizontal ? L().axisLinePos : L().startPixel,
                        Horizontal ? L().endPixel : L().axisLinePos,
                        Horizontal ? L().axisLinePos : L().endPixel, z);
        else if (Horizontal)
            c.LineWithZ(L().startPixel - chart_->AxisWallSize(chart_->LeftAxis()), lineAt,
                        L().endPixel, lineAt, 0);
        else
            c.LineWithZ(lineAt, L().startPixel, lineAt,
                        L().endPixel + chart_->AxisWallSize(chart_->BottomAxis()), 0);
    }
    if (ticks_.Visible() && tickLength_ != 0) {
        c.AssignPen(ticks_.State());
        for (int p : L().ticks)
            TickStroke(p, lineAt + out, tickLength_);
    }
    // Grid lines go over a clear brush and a transparent background.
    auto drawGrid = [&](const TChartPen& pen, auto lines) {
        c.AssignBrush({c.Brush().color, bsClear});
        c.SetBackMode(cbmTransparent);
        c.AssignPen(gridPen(pen, chart_->Printing()));
        lines();
        c.SetBackMode(cbmOpaque);
    };
    if (grid_.Visible()) {
        drawGrid(grid_, [&] {
            const int n = static_cast<int>(L().ticks.size());
            for (int i = 0; i < n; ++i) {
                if (!gridCentered_)
                    GridLine(L().ticks[i], false);
                else if (i > 0) // in doubles: both may lie at the end of the integer range
                    GridLine(
                        RoundEvenInt((static_cast<double>(L().ticks[i]) + L().ticks[i - 1]) * 0.5),
                        false);
            }
        });
    }
    if (ticksInner_.Visible() && tickInnerLength_ != 0) {
        c.AssignPen(ticksInner_.State());
        for (int p : L().ticks)
            TickStroke(p, lineAt - out, -tickInnerLength_);
    }
    if (L().ticks.empty() || (!minorTicks_.Visible() && !minorGrid_.Visible()))
        return;
    const std::vector<int> minor = MinorTickPositions();
    if (minorTicks_.Visible() && minorTickLength_ != 0) {
        c.AssignPen(minorTicks_.State());
        for (int p : minor)
            TickStroke(p, lineAt + out, minorTickLength_);
    }
    if (minorGrid_.Visible()) {
        drawGrid(minorGrid_, [&] {
            for (int p : minor)
                GridLine(p, true);
        });
    }
}

std::vector<int> TCustomChartAxis::MinorTickPositions() const {
    std::vector<int> out;
    const int n = static_cast<int>(L().ticks.size());
    // Positions in doubles: ticks far off the axis may lie at the ends of the
    // integer range, and only positions on the axis are kept.
    auto mark = [&](double p) {
        if (p > L().startPixel && p < L().endPixel)
            out.push_back(static_cast<int>(p));
    };
    if (logarithmic_) {
        for (int i = 1; i < n; ++i) {
            double v = PixelToValue(L().ticks[i - 1]);
            const double step = (logBase_ * v - v) / (minorTickCount_ + 1);
            for (int j = 0; j < minorTickCount_; ++j) {
                v += step;
                if (v > L().maximum)
                    break;
                mark(ValueToPixel(v));
            }
        }
        return out;
    }
    auto rounded = [](double v) { return static_cast<double>(RoundEven(v)); };
    for (int i = 1; i < n; ++i)
        for (int j = 1; j <= minorTickCount_; ++j)
            mark(L().ticks[i] - rounded(j * (static_cast<double>(L().ticks[i]) - L().ticks[i - 1]) /
                                        (minorTickCount_ + 1)));
    if (n >= 2) {
        const double d = (static_cast<double>(L().ticks[1]) - L().ticks[0]) / (minorTickCount_ + 1);
        for (int j = 1; j <= minorTickCount_; ++j) {
            mark(L().ticks[0] - rounded(j * d));
            mark(L().ticks[n - 1] + rounded(j * d));
        }
    }
    return out;
}

} // namespace telvara
