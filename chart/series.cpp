#include "chart/series.h"

#include "chart/axis_panel.h"

namespace telvara {

TChartSeries::TChartSeries() {
    marks_.OnChange = [this] { Repaint(); };
}

TChartSeries::~TChartSeries() = default;

void TChartSeries::Repaint() {
    if (chart_)
        chart_->RequestRepaint();
}

TCanvas3D* TChartSeries::Canvas() const {
    return chart_ ? chart_->Canvas() : nullptr;
}

void TChartSeries::SetActive(bool v) {
    if (StoreChanged(active_, v))
        Repaint();
}
void TChartSeries::SetSeriesColor(TColor v) {
    if (StoreChanged(color_, v))
        Repaint();
}
void TChartSeries::SetTitle(const std::string& v) {
    if (StoreChanged(title_, v))
        Repaint();
}
void TChartSeries::SetShowInLegend(bool v) {
    if (StoreChanged(showInLegend_, v))
        Repaint();
}
void TChartSeries::SetColorEachPoint(bool v) {
    if (StoreChanged(colorEachPoint_, v))
        Repaint();
}
void TChartSeries::SetHorizAxis(THorizAxis v) {
    if (StoreChanged(horizAxis_, v))
        Repaint();
}
void TChartSeries::SetVertAxis(TVertAxis v) {
    if (StoreChanged(vertAxis_, v))
        Repaint();
}
void TChartSeries::SetValueFormat(const std::string& v) {
    if (StoreChanged(valueFormat_, v))
        Repaint();
}
void TChartSeries::SetPercentFormat(const std::string& v) {
    if (StoreChanged(percentFormat_, v))
        Repaint();
}

std::string TChartSeries::PointLabel(int index) const {
    if (index < 0 || index >= static_cast<int>(labels_.size()) || !labels_[index])
        return {};
    return *labels_[index];
}

TChartAxis* TChartSeries::GetHorizAxis() const {
    if (!chart_)
        return nullptr;
    return horizAxis_ == aTopAxis ? &chart_->TopAxis() : &chart_->BottomAxis();
}

TChartAxis* TChartSeries::GetVertAxis() const {
    if (!chart_)
        return nullptr;
    return vertAxis_ == aRightAxis ? &chart_->RightAxis() : &chart_->LeftAxis();
}

int TChartSeries::AddPoint(double x, double y, const std::string& label, TColor color) {
    if (OnBeforeAdd && !OnBeforeAdd(*this))
        return -1;
    const int index = xValues_.AddOrdered(x);
    yValues_.InsertAt(index, y);
    colors_.insert(colors_.begin() + index, color);
    labels_.insert(labels_.begin() + index,
                   label.empty() ? std::optional<std::string>{} : std::optional{label});
    if (OnAfterAdd)
        OnAfterAdd(*this, index);
    if (active_)
        Repaint();
    return index;
}

void TChartSeries::ClearPoints() {
    xValues_.Clear();
    yValues_.Clear();
    std::vector<TColor>().swap(colors_);
    std::vector<std::optional<std::string>>().swap(labels_);
    if (OnClearValues)
        OnClearValues(*this);
    if (active_)
        Repaint();
}

void TChartSeries::DeletePoint(int index) {
    if (index < 0 || index >= Count())
        return;
    xValues_.Delete(index);
    yValues_.Delete(index);
    if (index < static_cast<int>(colors_.size()))
        colors_.erase(colors_.begin() + index);
    if (index < static_cast<int>(labels_.size()))
        labels_.erase(labels_.begin() + index);
    if (active_)
        Repaint();
}

TColor TChartSeries::ValueColor(int index) const {
    if (index < 0 || index >= static_cast<int>(colors_.size()))
        return color_;
    const TColor c = colors_[index];
    if (c != clDefault)
        return c;
    if (colorEachPoint_)
        return TCustomAxisPanel::PaletteColor(index % TCustomAxisPanel::PaletteSize);
    return color_;
}

void TChartSeries::CalcHorizMargins(int& left, int& right) const {
    left = right = 0;
}
void TChartSeries::CalcVerticalMargins(int& top, int& bottom) const {
    top = bottom = 0;
}

void TChartSeries::CalcFirstLastVisibleIndex() {
    const int n = Count();
    FirstValueIndex = LastValueIndex = -1;
    if (n == 0 || !chart_)
        return;
    if (xValues_.Order() == loNone) {
        FirstValueIndex = 0;
        LastValueIndex = n - 1;
        return;
    }
    const TScaleMap h = GetHorizAxis()->ScaleMap();
    const TRect& r = chart_->ChartRect();
    const double lo = h.PixelToValue(h.Inverted() ? r.right : r.left);
    for (int i = 0; i < n; ++i)
        if (xValues_.Value(i) >= lo) {
            FirstValueIndex = i;
            break;
        }
    if (FirstValueIndex < 0)
        return;
    const double hi = h.PixelToValue(h.Inverted() ? r.left : r.right);
    if (xValues_.Value(n - 1) <= hi) {
        LastValueIndex = n - 1;
        return;
    }
    LastValueIndex = n - 1;
    for (int i = FirstValueIndex; i < n; ++i)
        if (xValues_.Value(i) >= hi) {
            LastValueIndex = i;
            break;
        }
}

void TChartSeries::DrawAllValues() {
    if (FirstValueIndex < 0)
        return;
    for (int i = FirstValueIndex; i <= LastValueIndex; ++i)
        DrawPoint(i);
}

void TChartSeries::DrawSeries() {
    CalcFirstLastVisibleIndex();
    if (FirstValueIndex < 0 || !chart_)
        return;
    if (BeforeDrawValues)
        BeforeDrawValues(*this);
    TCanvas3D& c = *chart_->Canvas();
    const TRect& r = chart_->ChartRect();
    if (chart_->ClipPoints()) {
        if (c.Is3D() && chart_->View3D()) {
            const int d = chart_->TotalDepth;
            c.ClipPolygon({c.Calc3DPoint(r.left, r.bottom, 0), c.Calc3DPoint(r.left, r.top, 0),
                           c.Calc3DPoint(r.left, r.top, d), c.Calc3DPoint(r.right, r.top, d),
                           c.Calc3DPoint(r.right, r.bottom, d),
                           c.Calc3DPoint(r.right, r.bottom, 0)});
        } else {
            c.ClipRectangle({r.left + 1, r.top + 1, r.right, r.bottom - 1});
        }
    }
    DrawAllValues();
    c.UnClipRectangle();
    DrawMarks();
    if (AfterDrawValues)
        AfterDrawValues(*this);
}

} // namespace telvara
