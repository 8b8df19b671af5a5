#pragma once
// Reading and writing the fields of a study file's objects. A reader takes
// the fields it knows out of an object; what is left is kept and written
// back unchanged, so a file from a newer version loses nothing when saved.
// A field that is missing or wrong raises TStudyFieldError naming the field
// by its place in the file (a JSON pointer, "/devices/2/bus"); the file
// layer turns the place into a line number.
#include "base/errors.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvara {

using ordered_json = nlohmann::ordered_json;

// A field of the study that cannot be used; what() is the fault in words.
class TStudyFieldError : public TelvaraError {
public:
    TStudyFieldError(std::string pointer, const std::string& fault)
        : TelvaraError(fault), pointer_(std::move(pointer)) {}
    const std::string& Pointer() const { return pointer_; }

private:
    std::string pointer_;
};

class TJsonObject {
public:
    // value must be an object, else TStudyFieldError at pointer.
    TJsonObject(ordered_json value, std::string pointer);

    const std::string& Pointer() const { return pointer_; }
    // The place of a field of this object.
    std::string PointerOf(std::string_view key) const;
    bool Has(std::string_view key) const;

    // Each takes the field out of the object. Required fields raise when
    // missing (or null); optional ones give none (or the default) then; a field
    // of another JSON type raises.
    std::string Text(std::string_view key);
    std::optional<std::string> OptionalText(std::string_view key);
    double Number(std::string_view key);
    std::optional<double> OptionalNumber(std::string_view key);
    bool Flag(std::string_view key, bool absent);
    TJsonObject Object(std::string_view key);
    // The elements of an array field with their places.
    std::vector<std::pair<ordered_json, std::string>> Array(std::string_view key);
    // Any JSON value, as it is.
    std::optional<ordered_json> Take(std::string_view key);

    // A fault of a field, present, taken or missing (its place in the file
    // is then the object's).
    [[noreturn]] void Fail(std::string_view key, const std::string& fault) const;

    // The fields nobody took, in the file's order.
    const ordered_json& Rest() const { return value_; }

private:
    ordered_json value_;
    std::string pointer_;
};

// A number as the file writes it: whole numbers without a decimal point
// (12500, not 12500.0), others in the shortest form that reads back the same.
ordered_json jsonNumber(double v);
// Appends the fields of rest that target does not hold yet, in their order.
void appendRest(ordered_json& target, const ordered_json& rest);

} // namespace telvara
