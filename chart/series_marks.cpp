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
    if (StoreChanged(visible_, v))
        Changed();
}
void TSeriesMarks::SetStyle(TSeriesMarksStyle v) {
    if (StoreChanged(style_, v))
        Changed();
}
void TSeriesMarks::SetArrowLength(int v) {
    if (StoreChanged(arrowLength_, v))
        Changed();
}
void TSeriesMarks::SetBackColor(TColor v) {
    if (StoreChanged(backColor_, v))
        Changed();
}
void TSeriesMarks::SetTransparent(bool v) {
    if (StoreChanged(transparent_, v))
        Changed();
}
void TSeriesMarks::SetClip(bool v) {
    if (StoreChanged(clip_, v))
        Changed();
}

} // namespace telvara

namespace telvara {

const std::optional<TSeriesMarkPosition>& TSeriesMarks::Position(int index) const {
    static const std::optional<TSeriesMarkPosition> none;
    if (index < 0 || index >= static_cast<int>(positions_.size()))
        return none;
    return positions_[index];
}

void TSeriesMarks::SetPosition(int index, const TSeriesMarkPosition& p) {
    if (index < 0)
        return;
    if (index >= static_cast<int>(positions_.size()))
        positions_.resize(index + 1);
    positions_[index] = p;
}

// A point inserted before remembered marks moves them along with their points.
void TSeriesMarks::InsertPositionSlot(int index) {
    if (index >= 0 && index < static_cast<int>(positions_.size()))
        positions_.insert(positions_.begin() + index, std::nullopt);
}

void TSeriesMarks::DeletePosition(int index) {
    if (index >= 0 && index < static_cast<int>(positions_.size()))
        positions_.erase(positions_.begin() + index);
}

void TSeriesMarks::ClearPositions() {
    std::vector<std::optional<TSeriesMarkPosition>>().swap(positions_);
}

} // namespace telvara
