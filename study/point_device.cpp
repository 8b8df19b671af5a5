#include "study/point_device.h"

namespace telvara {

namespace {

constexpr char kRating[] = "rating";
constexpr char kMinCurve[] = "min_curve";
constexpr char kTotalCurve[] = "total_curve";
constexpr char kBand[] = "band";

std::vector<CurvePoint> readPoints(TJsonObject& device, const char* key) {
    std::vector<CurvePoint> points;
    for (auto& [item, pointer] : device.Array(key)) {
        if (!item.is_array() || item.size() != 2 || !item[0].is_number() || !item[1].is_number())
            throw TStudyFieldError(pointer,
                                   "\"" + std::string(key) +
                                       "\": 点は [電流, 時間] の 2 つの数で書いてください");
        points.push_back({item[0].get<double>(), item[1].get<double>()});
    }
    return points;
}

ordered_json pointsJson(const std::vector<CurvePoint>& points) {
    ordered_json out = ordered_json::array();
    for (const CurvePoint& p : points)
        out.push_back(ordered_json::array({jsonNumber(p.current), jsonNumber(p.time)}));
    return out;
}

} // namespace

std::string TPointDevice::Name() const {
    switch (kind) {
    case PointKind::Fuse:
        return kFuse;
    case PointKind::Breaker:
        return kBreaker;
    case PointKind::Device:
        break;
    }
    return kDevice;
}

std::vector<DeviceCurve> TPointDevice::Curves() const {
    if (const auto fault = pointDeviceFault(data, kind))
        throw TelvaraError(fault->message);
    std::vector<DeviceCurve> curves = pointDeviceCurves(data);
    for (DeviceCurve& c : curves)
        c.caption =
            c.role == CurveRole::MinimumMelting ? minCurveCaption(kind) : totalCurveCaption(kind);
    return curves;
}

CurveRole TPointDevice::GradingRole(bool downstream) const {
    const std::vector<CurvePoint>& line = downstream ? downstreamLine(data) : upstreamLine(data);
    return &line == &data.minCurve ? CurveRole::MinimumMelting : CurveRole::TotalClearing;
}

void TPointDevice::Read(TJsonObject& device) {
    PointDeviceData d;
    d.rating = device.OptionalText(kRating).value_or("");
    const bool hasMin = device.Has(kMinCurve);
    d.minCurve = readPoints(device, kMinCurve);
    d.totalCurve = readPoints(device, kTotalCurve);
    d.band = device.Flag(kBand, false);
    if (const auto fault = pointDeviceFault(d, kind)) {
        // Neither curve: the fault lies with the device as a whole.
        if (d.minCurve.empty() && d.totalCurve.empty() && !hasMin)
            throw TStudyFieldError(device.Pointer(), fault->message);
        device.Fail(fault->key, fault->message);
    }
    data = std::move(d);
}

void TPointDevice::Write(ordered_json& device) const {
    device[kRating] = data.rating;
    if (!data.minCurve.empty())
        device[kMinCurve] = pointsJson(data.minCurve);
    if (!data.totalCurve.empty())
        device[kTotalCurve] = pointsJson(data.totalCurve);
    // Written only when set, so that files without bands keep their layout.
    if (data.band)
        device[kBand] = true;
}

std::unique_ptr<TDeviceKind> TPointDevice::Clone() const {
    return std::make_unique<TPointDevice>(*this);
}

bool TPointDevice::Equals(const TDeviceKind& other) const {
    const auto* o = dynamic_cast<const TPointDevice*>(&other);
    return o && o->kind == kind && o->data == data;
}

} // namespace telvara
