// Value marks of a series: text, box, arrow.
#include "base/numbers.h"
#include "chart/axis_panel.h"
#include "chart/line_series.h"
#include "chart/text_lines.h"

#include <algorithm>
#include <vector>

namespace telvara {

namespace {
constexpr int kMaxPixel = 32766;

std::string joined(const std::string& a, const std::string& b) {
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return a + " " + b;
}
} // namespace

std::string TCustomSeries::MarkText(int index) {
    const double y = YValues().Value(index);
    const std::string value = formatFloatPattern(y, ValueFormat());
    const std::string label = PointLabel(index);
    auto percent = [&] {
        const double total = YValues().TotalABS();
        return total == 0 ? std::string() : formatFloatPattern(y * 100.0 / total, PercentFormat());
    };
    switch (Marks().Style()) {
    case smsValue:
        return value;
    case smsXValue:
        return formatFloatPattern(XValues().Value(index), ValueFormat());
    case smsPercent:
    case smsPercentTotal:
        return percent();
    case smsLabelPercent:
    case smsLabelPercentTotal:
        return joined(label, percent());
    case smsLabelValue:
        return joined(label, value);
    case smsLegend:
        if (ParentChart())
            return ParentChart()->ValueLegendText(*this, index);
        return value;
    case smsLabel:
        break;
    }
    return label.empty() ? value : label;
}

TSeriesMarkPosition TCustomSeries::CalcMarkPosition(int x, int y, int width, int height) {
    const TSeriesMarks& m = Marks();
    TSeriesMarkPosition p;
    p.ArrowFrom = {x, y};
    p.ArrowTo = {x, y - m.ArrowLength()};
    p.Width = width;
    p.Height = height;
    p.Left = x - width / 2;
    p.Top = y - height + 1 - m.ArrowLength();
    return p;
}

void TCustomSeries::DrawMarks() {
    TSeriesMarks& m = Marks();
    TCustomAxisPanel* chart = ParentChart();
    if (!m.Visible() || !chart || FirstValueIndex < 0)
        return;
    TCanvas3D& cv = *Canvas();
    const TRect& r = chart->ChartRect();
    if (m.Clip())
        cv.ClipRectangle({r.left + 1, r.top + 1, r.right, r.bottom - 1});
    const TScaleMap h = GetHorizAxis()->ScaleMap();
    const TScaleMap v = GetVertAxis()->ScaleMap();
    for (int i = FirstValueIndex; i <= LastValueIndex; ++i) {
        if (IsNull(i))
            continue;
        std::string text = MarkText(i);
        if (OnGetMarkText)
            OnGetMarkText(*this, i, text);
        if (text.empty())
            continue;
        const int x = h.ValueToPixel(XValues().Value(i));
        const int y = v.ValueToPixel(YValues().Value(i));
        if (x < -kMaxPixel || x > kMaxPixel || y < -kMaxPixel || y > kMaxPixel)
            continue;
        chart->SelectCanvasFont(m.Font());
        const std::vector<std::string> lines = SplitTextLines(text);
        int width = 0;
        for (const std::string& line : lines)
            width = std::max(width, cv.TextWidth(line));
        width += cv.TextWidth("W");
        int height = static_cast<int>(lines.size()) * cv.TextHeight("W");
        if (m.Frame().Visible()) {
            width += 2 * m.Frame().Width();
            height += 2 * m.Frame().Width();
        }
        const std::optional<TSeriesMarkPosition>& kept = m.Position(i);
        TSeriesMarkPosition pos =
            kept && kept->Custom ? *kept : CalcMarkPosition(x, y, width, height);
        m.SetPosition(i, pos);
        DrawMark(i, text, pos);
    }
    if (m.Clip())
        cv.UnClipRectangle();
}

void TCustomSeries::DrawMark(int index, const std::string& text, TSeriesMarkPosition& pos) {
    TSeriesMarks& m = Marks();
    TCanvas3D& cv = *Canvas();
    const int z = StartZ;
    if (m.Arrow().Visible()) {
        // An arrow in the point's or the panel's colour would not be seen.
        const TColor panel = colorToRGB(ParentChart()->Color());
        TPenState pen = m.Arrow().State();
        const TColor ac = colorToRGB(pen.color);
        if (ac == colorToRGB(ValueColor(index)) || ac == panel)
            pen.color = panel == clBlack ? clWhite : clBlack;
        cv.AssignPen(pen);
        cv.MoveTo3D(pos.ArrowFrom.x, pos.ArrowFrom.y, z);
        cv.LineTo3D(pos.ArrowTo.x, pos.ArrowTo.y, z);
    }
    int textTop = pos.Top;
    if (m.Frame().Visible() || !m.Transparent()) {
        cv.AssignBrush({m.BackColor(), m.Transparent() ? bsClear : bsSolid});
        cv.AssignPen(m.Frame().State());
        cv.RectangleWithZ(pos.Bounds(), z);
        if (m.Frame().Visible())
            textTop += m.Frame().Width();
    }
    ParentChart()->SelectCanvasFont(m.Font());
    cv.SetBrushStyle(bsClear);
    cv.SetBackMode(cbmTransparent);
    cv.SetTextAlign(htaCenter, vtaTop);
    const int h = cv.TextHeight("W");
    const int cx = pos.Left + pos.Width / 2;
    for (const std::string& line : SplitTextLines(text)) {
        cv.TextOut3D(cx, textTop, z, line);
        textTop += h;
    }
    cv.SetTextAlign(htaLeft, vtaTop);
    cv.SetBackMode(cbmOpaque);
}

} // namespace telvara
