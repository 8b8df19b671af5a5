// What each curve of the coordination chart was drawn from, and the legend
// text that follows from it.
#include "chartwin/coordination_chart.h"

namespace telvara {

std::string originName(const CurveOrigin& origin) {
    return origin.company.empty() ? origin.device : origin.company + " " + origin.device;
}

CurveOrigin TCoordinationChart::Origin(int index) const {
    if (index < 0 || std::size_t(index) >= origins_.size())
        return {};
    return origins_[std::size_t(index)];
}

void TCoordinationChart::setOrigin(const CurveOrigin& origin) {
    setOriginAt(counter_, origin);
}

void TCoordinationChart::setOriginAt(int index, const CurveOrigin& origin) {
    const auto at = std::size_t(index);
    if (origins_.size() <= at)
        origins_.resize(at + 1);
    // Typed points make the whole curve a typed one.
    const bool manual = origin.manual || (origins_[at].manual && chart_.SeriesAt(index)->Count());
    origins_[at] = origin;
    origins_[at].manual = manual;
}

void TCoordinationChart::trimOrigins() {
    if (std::size_t(counter_) < origins_.size())
        origins_.resize(std::size_t(counter_));
}

std::string TCoordinationChart::curveTitle(const CurveOrigin& origin) const {
    return !legendWithCompany_ || origin.manual ? origin.device : originName(origin);
}

void TCoordinationChart::SetLegendWithCompany(bool on) {
    legendWithCompany_ = on;
    const int n = std::min<int>(chart_.NumSeries(), int(origins_.size()));
    for (int i = 0; i < n; ++i) {
        const CurveOrigin& o = origins_[std::size_t(i)];
        // Curves never drawn from a relay keep their own title ("51" of Series1).
        if (!o.manual && !o.equipment && (!o.device.empty() || !o.company.empty()))
            chart_.SeriesAt(i)->SetTitle(curveTitle(o));
    }
}

} // namespace telvara
