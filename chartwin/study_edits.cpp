#include "chartwin/study_edits.h"

#include "study/relay_device.h"

#include <algorithm>
#include <memory>

namespace telvara {

void setStudyCti(TStudy& study, const std::string& key, double seconds) {
    for (auto& [k, v] : study.cti)
        if (k == key) {
            v = seconds;
            return;
        }
    if (seconds != defaultCti(key))
        study.cti.emplace_back(key, seconds);
}

TStudy withBus(const TStudy& study, std::optional<std::size_t> index, TBus bus) {
    TStudy s = study;
    if (!index) {
        s.buses.push_back(std::move(bus));
        return s;
    }
    const std::string old = s.buses.at(*index).name;
    if (old != bus.name)
        for (TDevice& d : s.devices)
            if (d.bus == old)
                d.bus = bus.name;
    s.buses[*index] = std::move(bus);
    return s;
}

std::vector<std::string> devicesOnBus(const TStudy& study, const std::string& bus) {
    std::vector<std::string> ids;
    for (const TDevice& d : study.devices)
        if (d.bus == bus)
            ids.push_back(d.id);
    return ids;
}

TStudy withoutBus(const TStudy& study, std::size_t index) {
    TStudy s = study;
    const std::string name = s.buses.at(index).name;
    for (TDevice& d : s.devices)
        if (d.bus == name)
            d.bus.clear();
    s.buses.erase(s.buses.begin() + std::ptrdiff_t(index));
    return s;
}

TStudy withDevice(const TStudy& study, std::optional<std::size_t> index, TDevice device) {
    TStudy s = study;
    if (!index) {
        s.devices.push_back(std::move(device));
        return s;
    }
    const std::string old = s.devices.at(*index).id;
    if (old != device.id)
        for (TPath& p : s.paths)
            std::replace(p.devices.begin(), p.devices.end(), old, device.id);
    s.devices[*index] = std::move(device);
    return s;
}

TStudy withoutDevice(const TStudy& study, std::size_t index) {
    TStudy s = study;
    const std::string id = s.devices.at(index).id;
    for (TPath& p : s.paths)
        std::erase(p.devices, id);
    s.devices.erase(s.devices.begin() + std::ptrdiff_t(index));
    return s;
}

std::string freeDeviceId(const TStudy& study, const std::string& base) {
    std::string id = base;
    for (int n = 2; study.FindDevice(id); ++n)
        id = base + std::to_string(n);
    return id;
}

TStudy withPath(const TStudy& study, const std::string& name) {
    TStudy s = study;
    s.paths.push_back(TPath{name, {}});
    return s;
}

TStudy withPathName(const TStudy& study, std::size_t path, const std::string& name) {
    TStudy s = study;
    s.paths.at(path).name = name;
    return s;
}

TStudy withoutPath(const TStudy& study, std::size_t path) {
    TStudy s = study;
    s.paths.erase(s.paths.begin() + std::ptrdiff_t(path));
    return s;
}

TStudy withPathDevice(const TStudy& study, std::size_t path, const std::string& id) {
    TStudy s = study;
    s.paths.at(path).devices.push_back(id);
    return s;
}

TStudy withoutPathDevice(const TStudy& study, std::size_t path, std::size_t position) {
    TStudy s = study;
    auto& ids = s.paths.at(path).devices;
    ids.erase(ids.begin() + std::ptrdiff_t(position));
    return s;
}

TStudy withPathDeviceMoved(const TStudy& study, std::size_t path, std::size_t position, int step) {
    TStudy s = study;
    auto& ids = s.paths.at(path).devices;
    const std::ptrdiff_t to = std::ptrdiff_t(position) + step;
    if (position < ids.size() && to >= 0 && to < std::ptrdiff_t(ids.size()))
        std::swap(ids[position], ids[std::size_t(to)]);
    return s;
}

TStudy withStoredRelay(const TStudy& study, std::size_t index, const RelaySettings& stored) {
    TStudy s = study;
    auto* relay = dynamic_cast<TRelayDevice*>(s.devices.at(index).kind.get());
    if (relay) {
        const TRelayDevice taken = TRelayDevice::FromStored(stored);
        relay->fields = taken.fields;
        relay->storeKey = taken.storeKey;
    }
    return s;
}

} // namespace telvara
