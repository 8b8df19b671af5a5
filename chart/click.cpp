// What a press hits, and the chart's mouse events: clicks first, then the
// zoomer and the panner.
#include "chart/chart.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace telvara {

namespace {
double distanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}
} // namespace

bool SeriesHitTest(const TChartSeries& s, int x, int y, int& pointIndex) {
    if (!s.GetHorizAxis() || !s.GetVertAxis())
        return false;
    const TScaleMap h = s.GetHorizAxis()->ScaleMap();
    const TScaleMap v = s.GetVertAxis()->ScaleMap();
    bool havePrev = false;
    double prevX = 0, prevY = 0;
    for (int i = 0; i < s.Count(); ++i) {
        if (s.IsNull(i)) {
            havePrev = false;
            continue;
        }
        const double px = h.ValueToPixel(s.XValues().Value(i));
        const double py = v.ValueToPixel(s.YValues().Value(i));
        if (std::fabs(px - x) <= kClickTolerance && std::fabs(py - y) <= kClickTolerance) {
            pointIndex = i;
            return true;
        }
        if (havePrev && distanceToSegment(x, y, prevX, prevY, px, py) <= kClickTolerance) {
            pointIndex = -1;
            return true;
        }
        havePrev = true;
        prevX = px;
        prevY = py;
    }
    return false;
}

void TCustomChart::SetCursor(TCursor c) {
    cursor_ = c;
    if (Host())
        Host()->SetChartCursor(c);
}

// Series (last to first), axis, title, foot, plot area, legend. Title and
// foot keep no rectangle of their own; they lie outside the plot and the axes,
// so a press on them finds nothing.
TChartClickedPart TCustomChart::CalcClickedPart(int x, int y) {
    TChartClickedPart part;
    if (!View3D()) {
        const auto& list = SeriesList();
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            TChartSeries* s = it->get();
            int index = -1;
            if (s->Active() && s->UseAxis() && SeriesHitTest(*s, x, y, index)) {
                part.Part = cpSeries;
                part.Series = s;
                part.PointIndex = index;
                return part;
            }
        }
    }
    for (TChartAxis* a : AxesList()) {
        if (a->IsDepthAxis || !IsAxisDrawn(*a))
            continue;
        const int along = a->Horizontal ? x : y;
        const int across = a->Horizontal ? y : x;
        if (along >= a->ScaleMap().StartPixel() && along <= a->ScaleMap().EndPixel() &&
            std::abs(across - a->AxisLinePos()) <= kClickTolerance) {
            part.Part = cpAxis;
            part.Axis = a;
            return part;
        }
    }
    if (ChartRect().Contains(x, y) && CountActiveSeries() > 0) {
        part.Part = cpChartRect;
        return part;
    }
    const TRect& lr = Layout().legendRect;
    if (Legend().Visible() && lr.Width() > 0 && lr.Height() > 0 && lr.Contains(x, y))
        part.Part = cpLegend;
    return part;
}

void TCustomChart::MouseDown(int x, int y, TMouseButton button, int shift) {
    if (zoomer_.DragActive() || panner_.DragActive() || CancelMouse) {
        CancelMouse = false;
        return;
    }
    const TChartClickedPart part = CalcClickedPart(x, y);
    switch (part.Part) {
    case cpSeries:
        if (OnClickSeries)
            OnClickSeries(*this, *part.Series, part.PointIndex, button, shift, x, y);
        break;
    case cpAxis:
        if (OnClickAxis)
            OnClickAxis(*this, *part.Axis, button, shift, x, y);
        break;
    case cpChartRect:
        if (OnClickBackground)
            OnClickBackground(*this, button, shift, x, y);
        break;
    case cpLegend:
        if (OnClickLegend)
            OnClickLegend(*this, button, shift, x, y);
        break;
    default:
        break;
    }
    if (CancelMouse) {
        CancelMouse = false;
        return;
    }
    if (part.Part != cpSeries && part.Part != cpAxis && part.Part != cpChartRect)
        return;
    if (!zoomer_.MouseDown(x, y, button))
        panner_.MouseDown(x, y, button);
}

void TCustomChart::MouseMove(int x, int y, int) {
    if (zoomer_.MouseMove(x, y) || panner_.MouseMove(x, y))
        return;
    // Series keep no cursor of their own: the panel's applies everywhere.
    if (Host())
        Host()->SetChartCursor(cursor_);
}

void TCustomChart::MouseUp(int x, int y, TMouseButton button) {
    zoomer_.MouseUp(x, y, button);
    panner_.EndDrag();
}

void TCustomChart::MouseLeave() {
    if (Host())
        Host()->SetChartCursor(cursor_);
    panner_.EndDrag();
}

void TCustomChart::MouseWheel(int delta) {
    zoomer_.Wheel(delta);
}

// The frame of a drag in progress is drawn again over each paint.
void TCustomChart::DrawZoomRectangle() {
    if (zoomer_.DragActive())
        zoomer_.DrawFrame();
}

} // namespace telvara
