#pragma once
// A coordination study: buses with their voltages and fault currents, the
// devices on them, the protection paths through them, and the grading
// margins. The chart window's document, and what telvara-check and
// telvara-render read. No Qt.
//
// Invariants of a study that validateStudy accepts (every study read from a
// file, and every study the window keeps after an edit):
//  1. bus names are unique and not empty;
//  2. device ids are unique and not empty;
//  3. a device's bus is empty (no bus) or the name of a bus;
//  4. a path names only devices of the study, each at most once;
//  5. voltages and fault currents are above 0; a bus's minimum fault current
//     is not above its maximum;
//  6. every device has a kind.
#include "study/device_kind.h"
#include "study/json_fields.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace telvara {

struct TBus {
    std::string name;
    std::optional<double> kv;
    // At the bus's own voltage, A.
    std::optional<double> faultMaxA;
    std::optional<double> faultMinA;
    ordered_json rest = ordered_json::object();
    friend bool operator==(const TBus&, const TBus&) = default;
};

class TDevice {
public:
    TDevice() = default;
    TDevice(std::string id, std::unique_ptr<TDeviceKind> kind);
    TDevice(const TDevice& other);
    TDevice& operator=(const TDevice& other);
    TDevice(TDevice&&) noexcept = default;
    TDevice& operator=(TDevice&&) noexcept = default;

    std::string id;
    std::string label;
    // Empty: on no bus (drawn as its currents are, never referred).
    std::string bus;
    // "#rrggbb"; none: the chart's next colour.
    std::optional<std::string> color;
    bool visible = true;
    std::unique_ptr<TDeviceKind> kind;
    ordered_json rest = ordered_json::object();

    friend bool operator==(const TDevice& a, const TDevice& b);
};

struct TPath {
    std::string name;
    // From the load towards the source.
    std::vector<std::string> devices;
    ordered_json rest = ordered_json::object();
    friend bool operator==(const TPath&, const TPath&) = default;
};

inline constexpr int kStudyFormatVersion = 1;
inline constexpr char kCtiRelayRelay[] = "relay_relay";

struct TStudy {
    std::string title;
    // The voltage the current axis is referred to; none: currents as the
    // devices give them.
    std::optional<double> referenceKv;
    // Grading margins by kind of pair (gradingKey), in the file's order;
    // a pair kind missing here takes defaultCti.
    std::vector<std::pair<std::string, double>> cti{{kCtiRelayRelay, 0.3}};
    std::vector<TBus> buses;
    std::vector<TDevice> devices;
    std::vector<TPath> paths;
    // The version number the file gave (minor versions kept as read).
    double version = kStudyFormatVersion;
    ordered_json rest = ordered_json::object();

    const TBus* FindBus(std::string_view name) const;
    const TDevice* FindDevice(std::string_view id) const;
    TDevice* FindDevice(std::string_view id);
    friend bool operator==(const TStudy&, const TStudy&) = default;
};

// The margin a pair kind takes when the study sets none: 0.3 s for two
// relays, 0.2 s for a relay and a point device, 0 for two point devices.
double defaultCti(std::string_view key);
// The study's margin for the key, or the default.
double studyCti(const TStudy& study, std::string_view key);

// The first broken invariant as TStudyFieldError at its place in the file's
// layout ("/devices/3/bus"); nothing when the study is sound.
void validateStudy(const TStudy& study);

// Referral: the factor a current at the device's bus voltage is multiplied by
// to be drawn at the reference voltage, V / V_ref; 1 without a reference
// voltage, without a bus, or on a bus without a voltage.
double referralFactor(const TStudy& study, const TBus* bus);
double referralFactor(const TStudy& study, const TDevice& device);

// A device's curves as the chart draws them and the check compares them:
// currents referred. The one place referral happens.
std::vector<DeviceCurve> referredCurves(const TStudy& study, const TDevice& device);
// The bus's fault current referred; none when the bus gives none.
std::optional<double> referredFaultMax(const TStudy& study, const TBus& bus);
std::optional<double> referredFaultMin(const TStudy& study, const TBus& bus);

} // namespace telvara
