#include "chart/series_marks.h"

namespace telvara {

TSeriesMarks::TSeriesMarks() {
    arrow_.OnChange = [this] { Changed(); };
    frame_.OnChange = [this] { Changed(); };
    font_.OnChange = [this] { Changed(); };
}

void TSeriesMarks::Changed() {
    if (OnChange)
        OnChange();
}

void TSeriesMarks::SetVisible(bool v) {
    if (visible_ != v) {
        visible_ = v;
        Changed();
    }
}
void TSeriesMarks::SetStyle(TSeriesMarksStyle v) {
    if (style_ != v) {
        style_ = v;
        Changed();
    }
}
void TSeriesMarks::SetArrowLength(int v) {
    if (arrowLength_ != v) {
        arrowLength_ = v;
        Changed();
    }
}
void TSeriesMarks::SetBackColor(TColor v) {
    if (backColor_ != v) {
        backColor_ = v;
        Changed();
    }
}
void TSeriesMarks::SetTransparent(bool v) {
    if (transparent_ != v) {
        transparent_ = v;
        Changed();
    }
}
void TSeriesMarks::SetClip(bool v) {
    if (clip_ != v) {
        clip_ = v;
        Changed();
    }
}

} // namespace telvara
