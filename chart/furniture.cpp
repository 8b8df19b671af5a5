#include "chart/furniture.h"

namespace telvara {

namespace {
template <class T> bool store(T& slot, const T& v) {
    if (slot == v)
        return false;
    slot = v;
    return true;
}
} // namespace

TChartTitle::TChartTitle() {
    SetOnChange({});
}

void TChartTitle::SetOnChange(TNotifyChange f) {
    onChange_ = std::move(f);
    font_.OnChange = [this] { Changed(); };
    brush_.OnChange = [this] { Changed(); };
    frame_.OnChange = [this] { Changed(); };
}

void TChartTitle::Changed() {
    if (onChange_)
        onChange_();
}

void TChartTitle::SetText(const std::vector<std::string>& v) {
    if (store(text_, v))
        Changed();
}
void TChartTitle::SetAlignment(TAlignment v) {
    if (store(alignment_, v))
        Changed();
}
void TChartTitle::SetColor(TColor v) {
    if (store(color_, v))
        Changed();
}
void TChartTitle::SetAdjustFrame(bool v) {
    if (store(adjustFrame_, v))
        Changed();
}
void TChartTitle::SetVisible(bool v) {
    if (store(visible_, v))
        Changed();
}

TChartLegend::TChartLegend() {
    SetOnChange({});
}

void TChartLegend::SetOnChange(TNotifyChange f) {
    onChange_ = std::move(f);
    frame_.OnChange = [this] { Changed(); };
    dividingLines_.OnChange = [this] { Changed(); };
    brush_.OnChange = [this] { Changed(); };
    font_.OnChange = [this] { Changed(); };
}

void TChartLegend::Changed() {
    if (onChange_)
        onChange_();
}

void TChartLegend::SetVisible(bool v) {
    if (store(visible_, v))
        Changed();
}
void TChartLegend::SetAlignment(TLegendAlignment v) {
    if (store(alignment_, v))
        Changed();
}
void TChartLegend::SetLegendStyle(TLegendStyle v) {
    if (store(legendStyle_, v))
        Changed();
}
void TChartLegend::SetTextStyle(TLegendTextStyle v) {
    if (store(textStyle_, v))
        Changed();
}
void TChartLegend::SetColor(TColor v) {
    if (store(color_, v))
        Changed();
}
void TChartLegend::SetColorWidth(int v) {
    if (store(colorWidth_, v))
        Changed();
}
void TChartLegend::SetTopPos(int v) {
    if (store(topPos_, v))
        Changed();
}
void TChartLegend::SetMaxNumRows(int v) {
    if (store(maxNumRows_, v))
        Changed();
}
void TChartLegend::SetResizeChart(bool v) {
    if (store(resizeChart_, v))
        Changed();
}
void TChartLegend::SetShadowColor(TColor v) {
    if (store(shadowColor_, v))
        Changed();
}
void TChartLegend::SetShadowSize(int v) {
    if (store(shadowSize_, v))
        Changed();
}
void TChartLegend::SetFirstValue(int v) {
    if (store(firstValue_, v))
        Changed();
}
void TChartLegend::SetInverted(bool v) {
    if (store(inverted_, v))
        Changed();
}
void TChartLegend::SetHorizMargin(int v) {
    if (store(horizMargin_, v))
        Changed();
}
void TChartLegend::SetVertMargin(int v) {
    if (store(vertMargin_, v))
        Changed();
}

TChartWall::TChartWall(TColor color, TBrushStyle brushStyle)
    : color_(color), brush_(clDefault, brushStyle) {
    SetOnChange({});
}

void TChartWall::SetOnChange(TNotifyChange f) {
    onChange_ = std::move(f);
    brush_.OnChange = [this] { Changed(); };
    pen_.OnChange = [this] { Changed(); };
}

void TChartWall::Changed() {
    if (onChange_)
        onChange_();
}

void TChartWall::SetColor(TColor v) {
    if (store(color_, v))
        Changed();
}
void TChartWall::SetSize(int v) {
    if (store(size_, v))
        Changed();
}
void TChartWall::SetDark3D(bool v) {
    if (store(dark3D_, v))
        Changed();
}

} // namespace telvara
