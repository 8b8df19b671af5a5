#include "chartwin/coordination_check.h"

#include "base/numbers.h"
#include "study/equipment_check.h"

#include <algorithm>

namespace telvara {

namespace {

constexpr TColor kFaultLineColor = clBlue;
constexpr TColor kMarkColor = clRed;
constexpr int kMarkHalf = 3;

// The chart's curves a series each; typed curves and equipment stay empty
// and take no part.
std::vector<std::vector<CurvePoint>> relayCurves(TCoordinationChart& chart) {
    TChart& c = chart.Chart();
    std::vector<std::vector<CurvePoint>> curves(std::size_t(c.NumSeries()));
    for (int i = 0; i < c.NumSeries(); ++i) {
        if (const CurveOrigin o = chart.Origin(i); o.manual || o.equipment)
            continue;
        TChartSeries& s = *c.SeriesAt(i);
        for (int k = 0; k < s.Count(); ++k)
            curves[std::size_t(i)].push_back({s.XValues().Value(k), s.YValues().Value(k)});
    }
    return curves;
}

MarginOptions marginOptions(const CheckSettings& settings) {
    return {settings.cti, settings.maxFaultCurrent};
}

} // namespace

// Failing lines without a margin first, then margins from the smallest,
// then what has no common range.
static int rank(const CheckRow& r) {
    if (r.result.commonRange)
        return 1;
    return r.equipment && !r.result.pass ? 0 : 2;
}

static void worstFirst(std::vector<CheckRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const CheckRow& a, const CheckRow& b) {
        if (rank(a) != rank(b))
            return rank(a) < rank(b);
        return a.result.commonRange && a.result.margin < b.result.margin;
    });
}

std::vector<CheckRow> checkChart(TCoordinationChart& chart, const CheckSettings& settings) {
    std::vector<CheckRow> rows;
    for (const PairMargin& p : checkMargins(relayCurves(chart), marginOptions(settings)))
        rows.push_back({originName(chart.Origin(int(p.downstream))),
                        originName(chart.Origin(int(p.upstream))), p});
    worstFirst(rows);
    return rows;
}

std::vector<CheckRow> checkStudyRows(const TStudy& study, double ctiRelayRelay,
                                     std::vector<TStudyCheckLine>* lines) {
    const std::vector<TStudyCheckLine> checked = checkStudy(study, {ctiRelayRelay});
    auto name = [&](const std::string& id) {
        const TDevice* d = study.FindDevice(id);
        return d && !d->label.empty() ? d->label : id;
    };
    std::vector<CheckRow> rows;
    for (const TStudyCheckLine& l : checked) {
        CheckRow row{name(l.firstId), name(l.secondId), l.detail, l.path};
        row.kind = checkKindCaption(l.kind) + (l.caption.empty() ? "" : " " + l.caption);
        row.result.commonRange = l.margin.has_value();
        if (l.kind != kCheckCoord) {
            row.equipment = true;
            row.current = l.current;
            row.result.margin = l.margin.value_or(0);
            row.result.pass = l.pass;
        }
        rows.push_back(std::move(row));
    }
    worstFirst(rows);
    if (lines)
        *lines = checked;
    return rows;
}

std::array<std::string, 7> checkRowCells(const CheckRow& row) {
    const PairMargin& r = row.result;
    if (row.equipment)
        return {row.path,
                row.kind,
                row.downstream,
                row.upstream,
                r.commonRange ? formatFloatPattern(r.margin, "0.000") : "－",
                row.current ? formatFloatPattern(*row.current, "#,##0.0") : "－",
                r.pass ? "合格" : "不合格"};
    if (!r.commonRange)
        return {row.path, row.kind, row.downstream, row.upstream, "－", "－", "共通範囲なし"};
    return {row.path,
            row.kind,
            row.downstream,
            row.upstream,
            formatFloatPattern(r.margin, "0.000"),
            formatFloatPattern(r.current, "#,##0.0"),
            r.pass ? "合格" : "不合格"};
}

std::string checkTableText(const std::vector<CheckRow>& rows) {
    std::string text = "経路\t種類\t下位側\t上位側\t最小時間差(秒)\t電流(A)\t判定\n";
    for (const CheckRow& row : rows) {
        const auto cells = checkRowCells(row);
        for (std::size_t i = 0; i < cells.size(); ++i)
            text += cells[i] + (i + 1 < cells.size() ? "\t" : "\n");
    }
    return text;
}

TCheckOverlay::TCheckOverlay(TCoordinationChart& chart)
    : coordination_(chart), chart_(chart.Chart()), previous_(chart_.OnBeforeDrawSeries) {
    chart_.OnBeforeDrawSeries = [this](TCustomChartPanel& sender) {
        if (previous_)
            previous_(sender);
        draw();
        if (OnPaint)
            OnPaint();
    };
}

TCheckOverlay::~TCheckOverlay() {
    chart_.OnBeforeDrawSeries = previous_;
}

void TCheckOverlay::Show(const CheckSettings& settings) {
    settings_ = settings;
    chart_.RequestRepaint();
}

void TCheckOverlay::Clear() {
    settings_.reset();
    chart_.RequestRepaint();
}

void TCheckOverlay::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    chart_.RequestRepaint();
}

void TCheckOverlay::draw() {
    if (!settings_ || !visible_)
        return;
    std::vector<std::pair<double, std::string>> lines;
    for (const auto& [current, name] : {std::pair{settings_->minFaultCurrent, "最小故障電流 "},
                                        std::pair{settings_->maxFaultCurrent, "最大故障電流 "}})
        if (current)
            lines.emplace_back(*current, name + formatFloatPattern(*current, "#,##0.###") + "A");
    TCanvas3D& c = *chart_.Canvas();
    const TRect plot = chart_.ChartRect();
    TChartAxis& currents = chart_.BottomAxis();
    TChartAxis& times = chart_.LeftAxis();
    c.ClipRectangle(plot);
    c.SetBackMode(cbmTransparent);
    c.SetBrushStyle(bsClear);
    chart_.SelectCanvasFont(chart_.Legend().Font());
    for (const auto& [current, label] : lines)
        drawFaultCurrentLine(c, plot, currents.ValueToPixel(current), label, plot.top + 2, false);
    std::vector<PairMargin> failing;
    for (const PairMargin& m : checkMargins(relayCurves(coordination_), marginOptions(*settings_)))
        if (m.commonRange && !m.pass)
            failing.push_back(m);
    drawMarginMarks(c, currents, times, failing);
    c.UnClipRectangle();
    c.ResetState();
}

void drawFaultCurrentLine(TCanvas3D& c, const TRect& plot, int x, const std::string& label,
                          int labelY, bool keepInside) {
    c.AssignPen({kFaultLineColor, 1, psDash});
    c.MoveTo(x, plot.top);
    c.LineTo(x, plot.bottom);
    c.SetFontColor(kFaultLineColor);
    const bool left = keepInside && x + 2 + c.TextWidth(label) > plot.right;
    c.SetTextAlign(left ? htaRight : htaLeft, vtaTop);
    c.TextOut(left ? x - 2 : x + 2, labelY, label);
}

void drawMarginMarks(TCanvas3D& c, TChartAxis& currents, TChartAxis& times,
                     const std::vector<PairMargin>& failing) {
    // One pen for all marks: their order does not change the pixels.
    c.AssignPen({kMarkColor, 2, psSolid});
    for (const PairMargin& m : failing) {
        const int x = currents.ValueToPixel(m.current);
        const int down = times.ValueToPixel(m.downstreamTime);
        const int up = times.ValueToPixel(m.upstreamTime);
        c.MoveTo(x, down);
        c.LineTo(x, up);
        for (int y : {down, up})
            c.Rectangle(x - kMarkHalf, y - kMarkHalf, x + kMarkHalf + 1, y + kMarkHalf + 1);
    }
}

} // namespace telvara
