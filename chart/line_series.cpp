#include "chart/line_series.h"

#include "chart/axis_panel.h"

#include <algorithm>
#include <cmath>

namespace telvara {

namespace {
// The drawing surface keeps 16-bit coordinates; points beyond are skipped.
constexpr int kMaxPixel = 32766;
bool drawable(int p) {
    return p >= -kMaxPixel && p <= kMaxPixel;
}

// Where the segment from the plot edge (ex, ey) to the drawable point (x, y)
// comes within the surface's coordinates: an edge point too far above or
// below is moved along the segment, so its visible part is still drawn.
TPoint edgeStart(int ex, int ey, int x, int y) {
    if (drawable(ey))
        return {ex, ey};
    const double limit = ey < 0 ? -kMaxPixel : kMaxPixel;
    const double t = (limit - ey) / (static_cast<double>(y) - ey);
    return {static_cast<int>(std::lround(ex + (x - ex) * t)), static_cast<int>(limit)};
}
} // namespace

TCustomSeries::TCustomSeries() {
    linePen_.OnChange = [this] { Repaint(); };
    pointer_.OnChange = [this] { Repaint(); };
}

TCustomSeries::~TCustomSeries() {
    Marks().ClearPositions();
    function_.reset();
}

void TCustomSeries::SetLineBrush(TBrushStyle v) {
    if (StoreChanged(lineBrush_, v))
        Repaint();
}
void TCustomSeries::SetLineHeight(int v) {
    if (StoreChanged(lineHeight_, v))
        Repaint();
}
void TCustomSeries::SetStairs(bool v) {
    if (StoreChanged(stairs_, v))
        Repaint();
}
void TCustomSeries::SetInvertedStairs(bool v) {
    if (StoreChanged(invertedStairs_, v))
        Repaint();
}
void TCustomSeries::SetDark3D(bool v) {
    if (StoreChanged(dark3D_, v))
        Repaint();
}

void TCustomSeries::SetFunction(std::unique_ptr<TSeriesFunction> f) {
    function_ = std::move(f);
    if (function_)
        function_->SetParentSeries(this);
    Repaint();
}

int TCustomSeries::AddPoint(double x, double y, const std::string& label, TColor color) {
    const int index = TChartSeries::AddPoint(x, y, label, color);
    if (index >= 0)
        Marks().InsertPositionSlot(index);
    return index;
}

void TCustomSeries::ClearPoints() {
    Marks().ClearPositions();
    TChartSeries::ClearPoints();
}

void TCustomSeries::DeletePoint(int index) {
    if (index < 0 || index >= Count())
        return;
    Marks().DeletePosition(index);
    TChartSeries::DeletePoint(index);
}

void TCustomSeries::DrawAllValues() {
    havePrev_ = false;
    TChartSeries::DrawAllValues();
}

void TCustomSeries::DrawPoint(int i) {
    TCustomAxisPanel* chart = ParentChart();
    const TScaleMap h = GetHorizAxis()->ScaleMap();
    const TScaleMap v = GetVertAxis()->ScaleMap();
    const TColor c = ValueColor(i);
    const int x = h.ValueToPixel(XValues().Value(i));
    const int y = v.ValueToPixel(YValues().Value(i));
    if (!drawable(x) || !drawable(y)) {
        // Bridged: the next drawn point joins the last drawn one.
        PrevColor = c;
        return;
    }
    if (PrevColor == clNone) {
        PrevX = x;
        PrevY = y;
    }
    if (i == FirstValueIndex) {
        // Nothing of an earlier paint may be joined.
        havePrev_ = false;
        if (i > 0) {
            const int ex = h.Inverted() ? chart->ChartRect().right : chart->ChartRect().left;
            const double x0 = XValues().Value(i - 1), x1 = XValues().Value(i);
            const double y0 = YValues().Value(i - 1), y1 = YValues().Value(i);
            double ye = y0;
            if (!stairs_ && x1 != x0) {
                // Linear in values, also on logarithmic axes.
                const double xe = h.PixelToValue(ex);
                ye = y0 + (y1 - y0) * (xe - x0) / (x1 - x0);
            }
            const TPoint start = edgeStart(ex, v.ValueToPixel(ye), x, y);
            PrevX = start.x;
            PrevY = start.y;
            havePrev_ = true;
            if (!IsNull(i - 1))
                DrawSegment(x, y, c);
        }
        if (i == LastValueIndex && pointer_.Visible())
            DrawPointer(x, y, i, c);
    } else {
        if (havePrev_)
            DrawSegment(x, y, c);
        if (pointer_.Visible()) {
            if (havePrev_ && PrevColor != clNone)
                DrawPointer(PrevX, PrevY, i - 1, PrevColor);
            if (i == LastValueIndex)
                DrawPointer(x, y, i, c);
        }
    }
    PrevX = x;
    PrevY = y;
    PrevColor = c;
    havePrev_ = true;
}

void TCustomSeries::DrawSegment(int x, int y, TColor c) {
    if (c == clNone || (x == PrevX && y == PrevY))
        return;
    TCanvas3D& cv = *Canvas();
    if (!cv.Is3D()) {
        if (!linePen_.Visible())
            return;
        TPenState pen = linePen_.State();
        pen.color = c;
        // A styled hairline keeps its pattern on the printer.
        if (ParentChart()->Printing() && pen.style != psSolid && pen.width == 1)
            pen.width = 0;
        cv.AssignPen(pen);
        cv.SetBrushStyle(bsClear);
        cv.MoveTo(PrevX, PrevY);
        if (stairs_) {
            if (invertedStairs_)
                cv.LineTo(PrevX, y);
            else
                cv.LineTo(x, PrevY);
        }
        cv.LineTo(x, y);
        return;
    }
    // Steep rising segments are shaded darker; the slope ratio is 1.
    TColor fill = c;
    if (dark3D_ && x != PrevX && static_cast<double>(PrevY - y) / (x - PrevX) > 1.0)
        fill = DarkenColor(c, 64);
    cv.AssignPen(linePen_.State());
    cv.AssignBrush({fill, lineBrush_});
    if (stairs_) {
        const TPoint corner = invertedStairs_ ? TPoint{PrevX, y} : TPoint{x, PrevY};
        cv.Plane3D({PrevX, PrevY}, corner, StartZ, EndZ);
        cv.Plane3D(corner, {x, y}, StartZ, EndZ);
    } else {
        cv.Plane3D({PrevX, PrevY}, {x, y}, StartZ, EndZ);
    }
}

void TCustomSeries::DrawPointer(int x, int y, int /*index*/, TColor color) {
    pointer_.Draw(*Canvas(), x, y, MiddleZ, color);
}

void TCustomSeries::DrawLegendSymbol(int index, const TRect& box) {
    TCanvas3D& cv = *Canvas();
    const TColor color = index < 0 ? SeriesColor() : ValueColor(index);
    if (color == clNone)
        return;
    cv.SetBrushColor(color);
    const int mid = (box.top + box.bottom) / 2;
    if (cv.Is3D() && !pointer_.Visible()) {
        cv.AssignPen(linePen_.State());
        cv.AssignBrush({color, lineBrush_});
        cv.Rectangle(box);
        return;
    }
    if (linePen_.Visible()) {
        TPenState pen = linePen_.State();
        pen.color = color;
        cv.AssignPen(pen);
        cv.SetBrushStyle(bsClear);
        cv.Line(box.left, mid, box.right, mid);
    }
    if (pointer_.Visible()) {
        // At most a third of the box.
        const int hs = std::max(1, std::min(pointer_.HorizSize(), box.Width() / 6));
        const int vs = std::max(1, std::min(pointer_.VertSize(), box.Height() / 6));
        const bool was3D = cv.Is3D();
        cv.Set3D(false);
        pointer_.DrawSized(cv, (box.left + box.right) / 2, mid, 0, hs, vs, color);
        cv.Set3D(was3D);
    }
}

void TCustomSeries::CalcHorizMargins(int& left, int& right) const {
    left = right = 0;
    if (pointer_.Visible() && pointer_.InflateMargins())
        left = right = pointer_.HorizSize() + 1;
    if (stairs_)
        left = right = std::max(left, linePen_.Width());
}

void TCustomSeries::CalcVerticalMargins(int& top, int& bottom) const {
    top = bottom = 0;
    if (pointer_.Visible() && pointer_.InflateMargins())
        top = bottom = pointer_.VertSize() + 1;
    if (stairs_)
        top = bottom = std::max(top, linePen_.Width());
}

TLineSeries::TLineSeries() {
    Pointer().SetVisible(false);
}

} // namespace telvara
