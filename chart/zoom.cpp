#include "chart/chart.h"

namespace telvara {

void TCustomChart::MouseDown(int, int, TMouseButton, int) {}
void TCustomChart::MouseMove(int, int, int) {}
void TCustomChart::MouseUp(int, int, TMouseButton) {}
void TCustomChart::MouseLeave() {}
void TCustomChart::MouseWheel(int) {}
void TCustomChart::ZoomToDragRect() {}
void TCustomChart::ApplyZoom(double, double, double, double, double, double, double, double) {}
void TCustomChart::UndoZoom() {}
void TCustomChart::DrawZoomRectangle() {}
void TCustomChart::SaveScales() {}
void TCustomChart::RestoreScales() {}

} // namespace telvara
