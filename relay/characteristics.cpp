#include "relay/characteristics.h"

#include "base/errors.h"
#include "base/numbers.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace telvara {

namespace {

constexpr const char* kIec151 = "IEC 60255-151";
constexpr const char* kIeee = "IEEE C37.112";

constexpr CharacteristicInfo kCharacteristics[] = {
    {Characteristic::IecSI, "IEC-SI", "IEC 普通反限時 (SI)", kIec151},
    {Characteristic::IecVI, "IEC-VI", "IEC 強反限時 (VI)", kIec151},
    {Characteristic::IecEI, "IEC-EI", "IEC 超反限時 (EI)", kIec151},
    // Not one of IEC 60255-151's curves: it comes from the older standards.
    {Characteristic::IecLTI, "IEC-LTI", "IEC 長時間反限時 (LTI)", "IEC 60255-3 / BS 142"},
    {Characteristic::IeeeMI, "IEEE-MI", "IEEE 中反限時 (MI)", kIeee},
    {Characteristic::IeeeVI, "IEEE-VI", "IEEE 強反限時 (VI)", kIeee},
    {Characteristic::IeeeEI, "IEEE-EI", "IEEE 超反限時 (EI)", kIeee},
};

// t = scale (a / (m^p - 1) + b); IEC curves have b = 0.
struct Constants {
    double a, p, b;
};

Constants constantsOf(Characteristic c) {
    switch (c) {
    case Characteristic::IecSI:
        return {0.14, 0.02, 0};
    case Characteristic::IecVI:
        return {13.5, 1, 0};
    case Characteristic::IecEI:
        return {80, 2, 0};
    case Characteristic::IecLTI:
        return {120, 1, 0};
    case Characteristic::IeeeMI:
        return {0.0515, 0.02, 0.114};
    case Characteristic::IeeeVI:
        return {19.61, 2, 0.491};
    case Characteristic::IeeeEI:
        return {28.2, 2, 0.1217};
    }
    return {0, 1, 0};
}

constexpr int kFieldWidth = 5;
constexpr int kDigits = 15;

// round(seconds x 10^decimals), half away from zero on the 15-digit decimal
// form: 1.0005 (held as 1.000499999...) gives 1001 at 3 decimals.
std::int64_t roundedUnits(double seconds, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*e", kDigits - 1, seconds);
    std::string digits;
    const char* p = buf;
    for (; *p != 'e'; ++p)
        if (*p != '.')
            digits += *p;
    const int point = std::atoi(p + 1) + 1; // value = 0.digits x 10^point
    const int keep = point + decimals;
    if (keep < 0)
        return 0;
    std::int64_t units = 0;
    for (int i = 0; i < keep; ++i)
        units = units * 10 + (digits[std::size_t(i)] - '0');
    return units + (digits[std::size_t(keep)] >= '5' ? 1 : 0);
}

std::string unitsText(std::int64_t units, int decimals) {
    std::string text = std::to_string(units);
    if (decimals == 0)
        return text;
    if (int(text.size()) <= decimals)
        text.insert(0, std::size_t(decimals + 1 - int(text.size())), '0');
    text.insert(text.size() - std::size_t(decimals), ".");
    return text;
}

std::string dropTrailingZeros(std::string text) {
    if (text.find('.') == std::string::npos)
        return text;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}

void requirePositive(double multiplier) {
    if (!(multiplier > 0) || !std::isfinite(multiplier))
        throw TelvaraError("倍率は 0 より大きい数にしてください。");
}

} // namespace

std::span<const CharacteristicInfo> characteristics() {
    return kCharacteristics;
}

std::optional<Characteristic> characteristicByName(std::string_view name) {
    for (const CharacteristicInfo& c : kCharacteristics)
        if (name == c.name)
            return c.id;
    return std::nullopt;
}

double operatingTime(Characteristic c, double multiplier, double m) {
    const Constants k = constantsOf(c);
    return multiplier * (k.a / (std::pow(m, k.p) - 1) + k.b);
}

std::string timeFieldText(double seconds, std::string_view caption) {
    const std::string field(caption);
    if (std::isnan(seconds) || seconds < 0)
        throw TelvaraError(field + "の動作時間が負の値になります。");
    if (seconds == 0)
        return "0";
    // A 5-digit integer is the longest; fewer integer digits leave room for
    // a point and decimals, three at most ("0.014").
    for (int decimals = 3; decimals >= 0 && seconds < 1e6; --decimals) {
        const std::int64_t units = roundedUnits(seconds, decimals);
        const std::string text = unitsText(units, decimals);
        if (int(text.size()) > kFieldWidth)
            continue;
        if (units == 0)
            throw TelvaraError(field + "の動作時間が 0.0005 秒未満になり、0 と書かれてしまいます"
                                       "（0 は点なしの意味です）。");
        return dropTrailingZeros(text);
    }
    throw TelvaraError(field + "の動作時間が 100000 秒以上になり、5 文字に収まりません。");
}

std::array<std::string, 6> characteristicTimeTexts(Characteristic c, double multiplier) {
    requirePositive(multiplier);
    std::array<std::string, 6> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] =
            timeFieldText(operatingTime(c, multiplier, kTapMultiples[i]), kTapMultipleCaptions[i]);
    return texts;
}

std::array<std::string, 6> scaledTimeTexts(const std::array<std::string, 6>& typed, double ratio) {
    requirePositive(ratio);
    std::array<double, 6> times{};
    for (std::size_t i = 0; i < typed.size(); ++i)
        times[i] = readDecimal(typed[i]);
    std::array<std::string, 6> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = timeFieldText(times[i] * ratio, kTapMultipleCaptions[i]);
    return texts;
}

} // namespace telvara
