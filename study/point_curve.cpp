#include "study/point_curve.h"

#include "base/errors.h"

#include <cmath>

namespace telvara {

namespace {

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::vector<std::string_view> columns(std::string_view line) {
    const char separator = line.find('\t') != std::string_view::npos ? '\t' : ',';
    std::vector<std::string_view> out;
    for (;;) {
        const auto at = line.find(separator);
        out.push_back(trimmed(line.substr(0, at)));
        if (at == std::string_view::npos)
            return out;
        line.remove_prefix(at + 1);
    }
}

std::string lineFault(std::size_t line, const std::string& what) {
    return std::to_string(line) + " 行目: " + what;
}

} // namespace

std::string minCurveCaption(PointKind kind) {
    return kind == PointKind::Fuse ? "最小溶断特性" : "最小特性";
}

std::string totalCurveCaption(PointKind kind) {
    return kind == PointKind::Fuse ? "全遮断特性" : "最大特性";
}

std::string pointCurveFault(const std::vector<CurvePoint>& points, const std::string& caption) {
    if (points.size() < 2)
        return caption + "は 2 点以上にしてください";
    for (std::size_t k = 0; k < points.size(); ++k) {
        const CurvePoint& p = points[k];
        const std::string at = caption + "の " + std::to_string(k + 1) + " 点目: ";
        if (!(p.current > 0 && p.time > 0 && std::isfinite(p.current) && std::isfinite(p.time)))
            return at + "電流と時間は 0 より大きい数値にしてください";
        if (k == 0)
            continue;
        if (!(p.current > points[k - 1].current))
            return at + "電流は前の点より大きくしてください";
        if (p.time > points[k - 1].time)
            return at + "時間は前の点より大きくできません";
    }
    return {};
}

std::optional<FieldFault> pointDeviceFault(const PointDeviceData& device, PointKind kind) {
    if (device.minCurve.empty() && device.totalCurve.empty())
        return FieldFault{"min_curve", minCurveCaption(kind) + "か" + totalCurveCaption(kind) +
                                           "の点を入力してください"};
    if (!device.minCurve.empty())
        if (std::string f = pointCurveFault(device.minCurve, minCurveCaption(kind)); !f.empty())
            return FieldFault{"min_curve", f};
    if (!device.totalCurve.empty())
        if (std::string f = pointCurveFault(device.totalCurve, totalCurveCaption(kind)); !f.empty())
            return FieldFault{"total_curve", f};
    return std::nullopt;
}

std::vector<DeviceCurve> pointDeviceCurves(const PointDeviceData& device) {
    std::vector<DeviceCurve> out;
    if (!device.minCurve.empty())
        out.push_back({CurveRole::MinimumMelting, device.minCurve});
    if (!device.totalCurve.empty())
        out.push_back({CurveRole::TotalClearing, device.totalCurve});
    return out;
}

const std::vector<CurvePoint>& downstreamLine(const PointDeviceData& device) {
    return device.totalCurve.empty() ? device.minCurve : device.totalCurve;
}

const std::vector<CurvePoint>& upstreamLine(const PointDeviceData& device) {
    return device.minCurve.empty() ? device.totalCurve : device.minCurve;
}

PointTable readPointTable(std::string_view text, CurveRole untagged, const NumberLocale& loc) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    PointTable table;
    bool first = true;
    for (std::size_t number = 1; !text.empty(); ++number) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty())
            continue;
        const std::vector<std::string_view> cols = columns(line);
        double current = 0, time = 0;
        const bool heading = first && !tryReadDecimal(cols[0], current, loc);
        first = false;
        if (heading)
            continue;
        if (cols.size() < 2 || cols.size() > 3)
            throw TelvaraError(
                lineFault(number, "電流と時間の 2 列 (と min か total) にしてください"));
        for (std::size_t c = 0; c < 2; ++c)
            if (!tryReadDecimal(cols[c], c == 0 ? current : time, loc))
                throw TelvaraError(lineFault(number, "'" + std::string(cols[c]) +
                                                         "' は浮動小数点数ではありません"));
        CurveRole role = untagged;
        if (cols.size() == 3 && cols[2] == "min")
            role = CurveRole::MinimumMelting;
        else if (cols.size() == 3 && cols[2] == "total")
            role = CurveRole::TotalClearing;
        else if (cols.size() == 3 && !cols[2].empty())
            throw TelvaraError(lineFault(number, "3 列目は min か total にしてください"));
        (role == CurveRole::MinimumMelting ? table.minCurve : table.totalCurve)
            .push_back({current, time});
    }
    return table;
}

std::string writePointTable(const PointDeviceData& device) {
    const NumberLocale dot;
    std::string out;
    const auto write = [&](const std::vector<CurvePoint>& points, const char* tag) {
        for (const CurvePoint& p : points)
            out +=
                formatGeneral(p.current, dot) + "," + formatGeneral(p.time, dot) + "," + tag + "\n";
    };
    write(device.minCurve, "min");
    write(device.totalCurve, "total");
    return out;
}

} // namespace telvara
