#include "study/study_check.h"

#include <algorithm>
#include <map>

namespace telvara {

namespace {

// Each device's referred curve of a role, built once per check.
class TCurveCache {
public:
    explicit TCurveCache(const TStudy& study) : study_(study) {}

    const TOperatingCurve& Curve(const TDevice& d, CurveRole role) {
        const auto key = std::make_pair(d.id, role);
        auto it = curves_.find(key);
        if (it == curves_.end()) {
            std::vector<CurvePoint> points;
            for (DeviceCurve& c : referred(d))
                if (c.role == role)
                    points = std::move(c.points);
            it = curves_.emplace(key, TOperatingCurve(std::move(points))).first;
        }
        return it->second;
    }

private:
    std::vector<DeviceCurve> referred(const TDevice& d) {
        try {
            return referredCurves(study_, d);
        } catch (const ConvertError& e) {
            throw ConvertError(d.id + ": " + e.what());
        } catch (const TelvaraError& e) {
            throw TelvaraError(d.id + ": " + e.what());
        }
    }

    const TStudy& study_;
    std::map<std::pair<std::string, CurveRole>, TOperatingCurve> curves_;
};

double pairCti(const TStudy& study, const TDevice& down, const TDevice& up,
               const TStudyCheckOptions& options) {
    const std::string key = gradingKey(*down.kind, *up.kind);
    if (key == kCtiRelayRelay && options.ctiRelayRelay)
        return *options.ctiRelayRelay;
    return studyCti(study, key);
}

TStudyCheckLine coordLine(const TStudy& study, TCurveCache& cache, const std::string& path,
                          const TDevice& down, const TDevice& up,
                          const TStudyCheckOptions& options) {
    TStudyCheckLine line;
    line.path = path;
    line.firstId = down.id;
    line.secondId = up.id;
    const TOperatingCurve& d = cache.Curve(down, down.kind->GradingRole(true));
    const TOperatingCurve& u = cache.Curve(up, up.kind->GradingRole(false));
    if (!d.Checkable() || !u.Checkable())
        return line;
    MarginOptions m;
    m.cti = pairCti(study, down, up, options);
    if (const TBus* bus = study.FindBus(down.bus))
        m.maxFaultCurrent = referredFaultMax(study, *bus);
    line.detail = pairMargin(d, u, m);
    if (line.detail.commonRange) {
        line.margin = line.detail.margin;
        line.current = line.detail.current;
        line.pass = line.detail.pass;
    }
    return line;
}

// Without paths: every relay against the next by first pick-up current.
std::vector<const TDevice*> relaysByPickUp(const TStudy& study, TCurveCache& cache) {
    std::vector<const TDevice*> relays;
    for (const TDevice& d : study.devices)
        if (d.kind->Name() == "relay" && cache.Curve(d, CurveRole::Operating).Checkable())
            relays.push_back(&d);
    std::stable_sort(relays.begin(), relays.end(), [&](const TDevice* a, const TDevice* b) {
        return cache.Curve(*a, CurveRole::Operating).FirstCurrent() <
               cache.Curve(*b, CurveRole::Operating).FirstCurrent();
    });
    return relays;
}

} // namespace

std::vector<TStudyCheckLine> checkStudy(const TStudy& study, const TStudyCheckOptions& options) {
    TCurveCache cache(study);
    std::vector<TStudyCheckLine> lines;
    if (study.paths.empty()) {
        const std::vector<const TDevice*> relays = relaysByPickUp(study, cache);
        for (std::size_t k = 0; k + 1 < relays.size(); ++k)
            lines.push_back(coordLine(study, cache, "-", *relays[k], *relays[k + 1], options));
        return lines;
    }
    for (const TPath& path : study.paths) {
        std::vector<const TDevice*> protective;
        for (const std::string& id : path.devices)
            if (const TDevice* d = study.FindDevice(id); d && d->kind->Protective())
                protective.push_back(d);
        for (std::size_t k = 0; k + 1 < protective.size(); ++k)
            lines.push_back(
                coordLine(study, cache, path.name, *protective[k], *protective[k + 1], options));
    }
    return lines;
}

} // namespace telvara
