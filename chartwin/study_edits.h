#pragma once
// The study panel's edits, each on a copy of the study: the window takes the
// result through changeStudy, which refuses a broken one. Names that other
// parts of the study refer to are followed: a renamed bus keeps its devices,
// a renamed device keeps its places in the paths. No Qt.
#include "relay/relay.h"
#include "study/study.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace telvara {

// The margin of the key set; a key the study does not list yet is added only
// when the value differs from its default (the file stays as it was).
void setStudyCti(TStudy& study, const std::string& key, double seconds);

// Adds the bus (index none) or replaces the bus at index; devices on the old
// name move to the new one.
TStudy withBus(const TStudy& study, std::optional<std::size_t> index, TBus bus);
// The ids of the devices on the bus, in study order.
std::vector<std::string> devicesOnBus(const TStudy& study, const std::string& bus);
// Removes the bus; its devices stay, on no bus.
TStudy withoutBus(const TStudy& study, std::size_t index);

// Adds the device (index none) or replaces the device at index; a changed id
// is changed in the paths too.
TStudy withDevice(const TStudy& study, std::optional<std::size_t> index, TDevice device);
// Removes the device from the study and from every path.
TStudy withoutDevice(const TStudy& study, std::size_t index);
// An id the study does not hold: base, else base followed by 2, 3, …
std::string freeDeviceId(const TStudy& study, const std::string& base);

TStudy withPath(const TStudy& study, const std::string& name);
TStudy withPathName(const TStudy& study, std::size_t path, const std::string& name);
TStudy withoutPath(const TStudy& study, std::size_t path);
// The device appended to the path (the source end).
TStudy withPathDevice(const TStudy& study, std::size_t path, const std::string& id);
TStudy withoutPathDevice(const TStudy& study, std::size_t path, std::size_t position);
// The path's device at position moved by step (-1 towards the load, +1
// towards the source); the study unchanged at either end.
TStudy withPathDeviceMoved(const TStudy& study, std::size_t path, std::size_t position, int step);

// The relay device at index takes the stored relay's twelve texts and key.
TStudy withStoredRelay(const TStudy& study, std::size_t index, const RelaySettings& stored);

} // namespace telvara
