#include "chart/furniture.h"

namespace telvara {

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
    if (StoreChanged(text_, v))
        Changed();
}
void TChartTitle::SetAlignment(TAlignment v) {
    if (StoreChanged(alignment_, v))
        Changed();
}
void TChartTitle::SetColor(TColor v) {
    if (StoreChanged(color_, v))
        Changed();
}
void TChartTitle::SetAdjustFrame(bool v) {
    if (StoreChanged(adjustFrame_, v))
        Changed();
}
void TChartTitle::SetVisible(bool v) {
    if (StoreChanged(visible_, v))
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
    if (StoreChanged(visible_, v))
        Changed();
}
void TChartLegend::SetAlignment(TLegendAlignment v) {
    if (StoreChanged(alignment_, v))
        Changed();
}
void TChartLegend::SetLegendStyle(TLegendStyle v) {
    if (StoreChanged(legendStyle_, v))
        Changed();
}
void TChartLegend::SetTextStyle(TLegendTextStyle v) {
    if (StoreChanged(textStyle_, v))
        Changed();
}
void TChartLegend::SetColor(TColor v) {
    if (StoreChanged(color_, v))
        Changed();
}
void TChartLegend::SetColorWidth(int v) {
    if (StoreChanged(colorWidth_, v))
        Changed();
}
void TChartLegend::SetTopPos(int v) {
    if (StoreChanged(topPos_, v))
        Changed();
}
void TChartLegend::SetMaxNumRows(int v) {
    if (StoreChanged(maxNumRows_, v))
        Changed();
}
void TChartLegend::SetResizeChart(bool v) {
    if (StoreChanged(resizeChart_, v))
        Changed();
}
void TChartLegend::SetShadowColor(TColor v) {
    if (StoreChanged(shadowColor_, v))
        Changed();
}
void TChartLegend::SetShadowSize(int v) {
    if (StoreChanged(shadowSize_, v))
        Changed();
}
void TChartLegend::SetFirstValue(int v) {
    if (StoreChanged(firstValue_, v))
        Changed();
}
void TChartLegend::SetInverted(bool v) {
    if (StoreChanged(inverted_, v))
        Changed();
}
void TChartLegend::SetHorizMargin(int v) {
    if (StoreChanged(horizMargin_, v))
        Changed();
}
void TChartLegend::SetVertMargin(int v) {
    if (StoreChanged(vertMargin_, v))
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
    if (StoreChanged(color_, v))
        Changed();
}
void TChartWall::SetSize(int v) {
    if (StoreChanged(size_, v))
        Changed();
}
void TChartWall::SetDark3D(bool v) {
    if (StoreChanged(dark3D_, v))
        Changed();
}

} // namespace telvara
