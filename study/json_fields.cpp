#include "study/json_fields.h"

#include <cmath>

namespace telvara {

namespace {

// A JSON pointer escapes "~" and "/" in a key.
std::string pointerKey(std::string_view key) {
    std::string out;
    for (char c : key) {
        if (c == '~')
            out += "~0";
        else if (c == '/')
            out += "~1";
        else
            out += c;
    }
    return out;
}

std::string dquoted(std::string_view key) {
    return "\"" + std::string(key) + "\"";
}

} // namespace

TJsonObject::TJsonObject(ordered_json value, std::string pointer)
    : value_(std::move(value)), pointer_(std::move(pointer)) {
    if (!value_.is_object())
        throw TStudyFieldError(pointer_, "オブジェクト { … } でなければなりません");
}

std::string TJsonObject::PointerOf(std::string_view key) const {
    return pointer_ + "/" + pointerKey(key);
}

bool TJsonObject::Has(std::string_view key) const {
    return value_.contains(key);
}

std::optional<ordered_json> TJsonObject::Take(std::string_view key) {
    const auto it = value_.find(key);
    if (it == value_.end())
        return std::nullopt;
    ordered_json v = std::move(*it);
    value_.erase(it);
    return v;
}

void TJsonObject::Fail(std::string_view key, const std::string& fault) const {
    throw TStudyFieldError(PointerOf(key), dquoted(key) + ": " + fault);
}

std::optional<std::string> TJsonObject::OptionalText(std::string_view key) {
    if (!Has(key) || (value_.at(key).is_null() && Take(key)))
        return std::nullopt;
    if (!value_.at(key).is_string())
        Fail(key, "文字列でなければなりません");
    return Take(key)->get<std::string>();
}

std::string TJsonObject::Text(std::string_view key) {
    if (!Has(key) || value_.at(key).is_null())
        Fail(key, "ありません");
    return *OptionalText(key);
}

std::optional<double> TJsonObject::OptionalNumber(std::string_view key) {
    if (!Has(key) || (value_.at(key).is_null() && Take(key)))
        return std::nullopt;
    if (!value_.at(key).is_number())
        Fail(key, "数でなければなりません");
    const double v = value_.at(key).get<double>();
    if (!std::isfinite(v))
        Fail(key, "有限の数でなければなりません");
    Take(key);
    return v;
}

double TJsonObject::Number(std::string_view key) {
    if (!Has(key) || value_.at(key).is_null())
        Fail(key, "ありません");
    return *OptionalNumber(key);
}

bool TJsonObject::Flag(std::string_view key, bool absent) {
    if (!Has(key))
        return absent;
    if (!value_.at(key).is_boolean())
        Fail(key, "true か false でなければなりません");
    return Take(key)->get<bool>();
}

TJsonObject TJsonObject::Object(std::string_view key) {
    if (!Has(key))
        Fail(key, "ありません");
    const std::string at = PointerOf(key);
    return TJsonObject(*Take(key), at);
}

std::vector<std::pair<ordered_json, std::string>> TJsonObject::Array(std::string_view key) {
    std::vector<std::pair<ordered_json, std::string>> out;
    if (!Has(key))
        return out;
    if (!value_.at(key).is_array())
        Fail(key, "配列 [ … ] でなければなりません");
    const std::string at = PointerOf(key);
    ordered_json items = *Take(key);
    for (std::size_t i = 0; i < items.size(); ++i)
        out.emplace_back(std::move(items[i]), at + "/" + std::to_string(i));
    return out;
}

ordered_json jsonNumber(double v) {
    // Below 2^53 every whole double is an exact integer.
    if (std::trunc(v) == v && std::fabs(v) < 9007199254740992.0)
        return ordered_json(static_cast<std::int64_t>(v));
    return ordered_json(v);
}

void appendRest(ordered_json& target, const ordered_json& rest) {
    for (auto it = rest.begin(); it != rest.end(); ++it)
        if (!target.contains(it.key()))
            target[it.key()] = it.value();
}

} // namespace telvara
