#include "study/study.h"

#include <set>

namespace telvara {

namespace {

std::string bracketed(std::string_view text) {
    return "「" + std::string(text) + "」";
}

std::string at(const char* list, std::size_t i, const char* field) {
    return std::string("/") + list + "/" + std::to_string(i) + "/" + field;
}

void positive(const std::optional<double>& v, const std::string& pointer, const std::string& what) {
    if (v && !(*v > 0))
        throw TStudyFieldError(pointer, what + "は 0 より大きくなければなりません");
}

void validateBuses(const TStudy& study) {
    std::set<std::string> names;
    for (std::size_t i = 0; i < study.buses.size(); ++i) {
        const TBus& b = study.buses[i];
        if (b.name.empty())
            throw TStudyFieldError(at("buses", i, "name"), "母線の名前がありません");
        if (!names.insert(b.name).second)
            throw TStudyFieldError(at("buses", i, "name"),
                                   "母線" + bracketed(b.name) + "が二つあります");
        const std::string bus = "母線" + bracketed(b.name);
        positive(b.kv, at("buses", i, "kv"), bus + "の電圧");
        positive(b.faultMaxA, at("buses", i, "fault_max_a"), bus + "の最大故障電流");
        positive(b.faultMinA, at("buses", i, "fault_min_a"), bus + "の最小故障電流");
        if (b.faultMaxA && b.faultMinA && *b.faultMinA > *b.faultMaxA)
            throw TStudyFieldError(at("buses", i, "fault_min_a"),
                                   bus + "の最小故障電流が最大故障電流より大きくなっています");
    }
}

void validateDevices(const TStudy& study) {
    std::set<std::string> ids;
    for (std::size_t i = 0; i < study.devices.size(); ++i) {
        const TDevice& d = study.devices[i];
        if (d.id.empty())
            throw TStudyFieldError(at("devices", i, "id"), "装置の ID がありません");
        if (!ids.insert(d.id).second)
            throw TStudyFieldError(at("devices", i, "id"),
                                   "装置 ID" + bracketed(d.id) + "が二つあります");
        if (!d.kind)
            throw TStudyFieldError(at("devices", i, "kind"),
                                   "装置" + bracketed(d.id) + "の種類がありません");
        if (!d.bus.empty() && !study.FindBus(d.bus))
            throw TStudyFieldError(at("devices", i, "bus"), "装置" + bracketed(d.id) + "の母線" +
                                                                bracketed(d.bus) + "がありません");
    }
}

void validatePaths(const TStudy& study) {
    for (std::size_t i = 0; i < study.paths.size(); ++i) {
        const TPath& p = study.paths[i];
        std::set<std::string> seen;
        for (std::size_t k = 0; k < p.devices.size(); ++k) {
            const std::string pointer = at("paths", i, "devices") + "/" + std::to_string(k);
            const std::string& id = p.devices[k];
            if (!study.FindDevice(id))
                throw TStudyFieldError(pointer, "経路" + bracketed(p.name) + "の装置" +
                                                    bracketed(id) + "がありません");
            if (!seen.insert(id).second)
                throw TStudyFieldError(pointer, "経路" + bracketed(p.name) + "に装置" +
                                                    bracketed(id) + "が二度あります");
        }
    }
}

} // namespace

TDevice::TDevice(std::string id_, std::unique_ptr<TDeviceKind> kind_)
    : id(std::move(id_)), kind(std::move(kind_)) {}

TDevice::TDevice(const TDevice& o)
    : id(o.id), label(o.label), bus(o.bus), color(o.color), visible(o.visible),
      kind(o.kind ? o.kind->Clone() : nullptr), rest(o.rest) {}

TDevice& TDevice::operator=(const TDevice& o) {
    if (this != &o)
        *this = TDevice(o);
    return *this;
}

bool operator==(const TDevice& a, const TDevice& b) {
    if (a.id != b.id || a.label != b.label || a.bus != b.bus || a.color != b.color ||
        a.visible != b.visible || a.rest != b.rest || !a.kind != !b.kind)
        return false;
    return !a.kind || a.kind->Equals(*b.kind);
}

const TBus* TStudy::FindBus(std::string_view name) const {
    for (const TBus& b : buses)
        if (b.name == name)
            return &b;
    return nullptr;
}

const TDevice* TStudy::FindDevice(std::string_view id) const {
    for (const TDevice& d : devices)
        if (d.id == id)
            return &d;
    return nullptr;
}

TDevice* TStudy::FindDevice(std::string_view id) {
    return const_cast<TDevice*>(std::as_const(*this).FindDevice(id));
}

double defaultCti(std::string_view key) {
    if (key == "relay_point")
        return 0.2;
    if (key == "point_point")
        return 0;
    return 0.3;
}

double studyCti(const TStudy& study, std::string_view key) {
    for (const auto& [k, v] : study.cti)
        if (k == key)
            return v;
    return defaultCti(key);
}

void validateStudy(const TStudy& study) {
    positive(study.referenceKv, "/reference_kv", "基準電圧");
    for (const auto& [key, v] : study.cti)
        if (!(v >= 0))
            throw TStudyFieldError("/cti/" + key, "協調時間間隔は 0 以上でなければなりません");
    validateBuses(study);
    validateDevices(study);
    validatePaths(study);
}

double referralFactor(const TStudy& study, const TBus* bus) {
    if (!study.referenceKv || !bus || !bus->kv)
        return 1;
    return *bus->kv / *study.referenceKv;
}

double referralFactor(const TStudy& study, const TDevice& device) {
    return referralFactor(study, study.FindBus(device.bus));
}

std::vector<DeviceCurve> referredCurves(const TStudy& study, const TDevice& device) {
    std::vector<DeviceCurve> curves = device.kind->Curves();
    const double f = referralFactor(study, device);
    for (DeviceCurve& c : curves)
        for (CurvePoint& p : c.points)
            p.current *= f;
    return curves;
}

std::optional<double> referredFaultMax(const TStudy& study, const TBus& bus) {
    if (!bus.faultMaxA)
        return std::nullopt;
    return *bus.faultMaxA * referralFactor(study, &bus);
}

std::optional<double> referredFaultMin(const TStudy& study, const TBus& bus) {
    if (!bus.faultMinA)
        return std::nullopt;
    return *bus.faultMinA * referralFactor(study, &bus);
}

} // namespace telvara
