#include "study/study_check.h"

#include "study/equipment_check.h"

#include <algorithm>
#include <map>

namespace telvara {

namespace {

// A device's values that cannot be drawn fail naming the device.
template <typename F> auto namedFailure(const TDevice& d, F get) {
    try {
        return get();
    } catch (const ConvertError& e) {
        throw ConvertError(d.id + ": " + e.what());
    } catch (const TelvaraError& e) {
        throw TelvaraError(d.id + ": " + e.what());
    }
}

// Each device's referred curve of a role, built once per check.
class TCurveCache {
public:
    explicit TCurveCache(const TStudy& study) : study_(study) {}

    const TOperatingCurve& Curve(const TDevice& d, CurveRole role) {
        const auto key = std::make_pair(d.id, role);
        auto it = curves_.find(key);
        if (it == curves_.end()) {
            std::vector<CurvePoint> points;
            for (DeviceCurve& c : namedFailure(d, [&] { return referredCurves(study_, d); }))
                if (c.role == role)
                    points = std::move(c.points);
            it = curves_.emplace(key, TOperatingCurve(std::move(points))).first;
        }
        return it->second;
    }

    // What the equipment asks of its protection, referred.
    std::vector<TProtectionDemand> Demands(const TDevice& d) const {
        std::vector<TProtectionDemand> out;
        const double f = referralFactor(study_, d);
        const auto demands = [&] {
            checkDeviceVoltage(study_, d);
            return d.kind->Demands();
        };
        for (TProtectionDemand& demand : namedFailure(d, demands))
            out.push_back(referredDemand(std::move(demand), f));
        return out;
    }

private:
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

// Each demand of the equipment against the device protecting it.
void addEquipmentLines(const TStudy& study, TCurveCache& cache, const std::string& path,
                       const TDevice& equipment, const TDevice& device,
                       std::vector<TStudyCheckLine>& lines) {
    std::optional<double> maxFault;
    if (const TBus* bus = study.FindBus(equipment.bus))
        maxFault = referredFaultMax(study, *bus);
    for (const TProtectionDemand& demand : cache.Demands(equipment)) {
        const TEquipmentMargin m =
            equipmentMargin(demand, cache.Curve(device, device.kind->GradingRole(true)),
                            cache.Curve(device, device.kind->GradingRole(false)), maxFault);
        TStudyCheckLine line;
        line.path = path;
        line.kind = demand.kind;
        line.firstId = equipment.id;
        line.secondId = device.id;
        line.margin = m.margin;
        line.current = m.current;
        line.pass = m.pass;
        line.caption = demand.caption;
        line.detail = m.detail;
        lines.push_back(std::move(line));
    }
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
        std::vector<const TDevice*> devices;
        for (const std::string& id : path.devices)
            if (const TDevice* d = study.FindDevice(id))
                devices.push_back(d);
        for (std::size_t k = 0; k < devices.size(); ++k) {
            const auto next = std::find_if(devices.begin() + k + 1, devices.end(),
                                           [](const TDevice* d) { return d->kind->Protective(); });
            if (next == devices.end())
                continue;
            if (devices[k]->kind->Protective())
                lines.push_back(coordLine(study, cache, path.name, *devices[k], **next, options));
            else
                addEquipmentLines(study, cache, path.name, *devices[k], **next, lines);
        }
    }
    return lines;
}

} // namespace telvara
