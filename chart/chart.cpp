#include "chart/chart.h"

namespace telvara {

TCustomChart::TCustomChart() {
    auto repaint = [this] { RequestRepaint(); };
    title_.SetOnChange(repaint);
    foot_.SetOnChange(repaint);
    backWall_.SetOnChange(repaint);
    leftWall_.SetOnChange(repaint);
    legend_.SetOnChange(repaint);
    bottomWall_.SetOnChange(repaint);
    SetAutoRepaint(true);
}

TCustomChart::~TCustomChart() = default;

bool TCustomChart::IsColorFree(TColor c, bool checkBackground) const {
    if (!TCustomAxisPanel::IsColorFree(c, checkBackground))
        return false;
    return !checkBackground || c != backWall_.Color();
}

int TCustomChart::AxisWallSize(const TChartAxis& a) const {
    if (!View3D() || !View3DWalls())
        return 0;
    if (&a == &LeftAxis())
        return leftWall_.Size();
    if (&a == &BottomAxis())
        return bottomWall_.Size();
    return 0;
}

} // namespace telvara
