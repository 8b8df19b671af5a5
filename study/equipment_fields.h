#pragma once
// Reading the equipment kinds' fields: a number in a range, a word from a
// list, each failing with the field's name and the fault.
#include "study/curve.h"
#include "study/json_fields.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

namespace telvara {

// The word's place in `words`, or `absent` when the field is missing.
template <typename E>
E readWord(TJsonObject& device, const char* key,
           std::initializer_list<std::pair<const char*, E>> words, E absent) {
    const std::optional<std::string> text = device.OptionalText(key);
    if (!text)
        return absent;
    std::string allowed;
    for (const auto& [word, value] : words) {
        if (*text == word)
            return value;
        allowed += (allowed.empty() ? "\"" : "、\"") + std::string(word) + "\"";
    }
    device.Fail(key, allowed + " のどれかにしてください：「" + *text + "」");
}

template <typename E>
const char* wordOf(std::initializer_list<std::pair<const char*, E>> words, E value) {
    for (const auto& [word, v] : words)
        if (v == value)
            return word;
    return words.begin()->first;
}

// A whole number, `absent` when missing.
int readWhole(TJsonObject& device, const char* key, int absent);

// The kind's first fault, raised at its field.
void failAt(TJsonObject& device, const std::optional<FieldFault>& fault);

} // namespace telvara
