#include "chart/chart_pen.h"

namespace telvara {

TChartPen::TChartPen(TColor color, int width, TPenStyle style, bool visible)
    : color_(color), width_(width), style_(style), visible_(visible) {}

void TChartPen::Changed() {
    if (OnChange)
        OnChange();
}

void TChartPen::SetColor(TColor v) {
    if (StoreChanged(color_, v))
        Changed();
}
void TChartPen::SetWidth(int v) {
    if (StoreChanged(width_, v))
        Changed();
}
void TChartPen::SetStyle(TPenStyle v) {
    if (StoreChanged(style_, v))
        Changed();
}
void TChartPen::SetMode(TPenMode v) {
    if (StoreChanged(mode_, v))
        Changed();
}
void TChartPen::SetVisible(bool v) {
    if (StoreChanged(visible_, v))
        Changed();
}
void TChartPen::SetSmallDots(bool v) {
    if (StoreChanged(smallDots_, v))
        Changed();
}

TPenState TChartPen::State() const {
    TPenState s;
    s.color = color_;
    s.width = width_;
    s.style = visible_ ? style_ : psClear;
    s.mode = mode_;
    s.smallDots = smallDots_;
    return s;
}

void TChartBrush::SetColor(TColor v) {
    if (StoreChanged(color_, v) && OnChange)
        OnChange();
}
void TChartBrush::SetStyle(TBrushStyle v) {
    if (StoreChanged(style_, v) && OnChange)
        OnChange();
}

void TChartFont::Changed() {
    if (OnChange)
        OnChange();
}
void TChartFont::SetName(const std::string& v) {
    if (StoreChanged(name_, v))
        Changed();
}
void TChartFont::SetHeight(int v) {
    if (StoreChanged(height_, v))
        Changed();
}
void TChartFont::SetColor(TColor v) {
    if (StoreChanged(color_, v))
        Changed();
}
void TChartFont::SetStyle(int v) {
    if (StoreChanged(style_, v))
        Changed();
}

} // namespace telvara
