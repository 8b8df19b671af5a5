#include "chart/chart_pen.h"

namespace telvara {

namespace {
template <class T> bool store(T& slot, const T& v) {
    if (slot == v)
        return false;
    slot = v;
    return true;
}
} // namespace

TChartPen::TChartPen(TColor color, int width, TPenStyle style, bool visible)
    : color_(color), width_(width), style_(style), visible_(visible) {}

void TChartPen::Changed() {
    if (OnChange)
        OnChange();
}

void TChartPen::SetColor(TColor v) {
    if (store(color_, v))
        Changed();
}
void TChartPen::SetWidth(int v) {
    if (store(width_, v))
        Changed();
}
void TChartPen::SetStyle(TPenStyle v) {
    if (store(style_, v))
        Changed();
}
void TChartPen::SetMode(TPenMode v) {
    if (store(mode_, v))
        Changed();
}
void TChartPen::SetVisible(bool v) {
    if (store(visible_, v))
        Changed();
}
void TChartPen::SetSmallDots(bool v) {
    if (store(smallDots_, v))
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
    if (store(color_, v) && OnChange)
        OnChange();
}
void TChartBrush::SetStyle(TBrushStyle v) {
    if (store(style_, v) && OnChange)
        OnChange();
}

void TChartFont::Changed() {
    if (OnChange)
        OnChange();
}
void TChartFont::SetName(const std::string& v) {
    if (store(name_, v))
        Changed();
}
void TChartFont::SetHeight(int v) {
    if (store(height_, v))
        Changed();
}
void TChartFont::SetColor(TColor v) {
    if (store(color_, v))
        Changed();
}
void TChartFont::SetStyle(int v) {
    if (store(style_, v))
        Changed();
}

} // namespace telvara
