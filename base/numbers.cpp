// Number reading and the position checks of typed fields.
#include "base/numbers.h"

#include "base/errors.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>

namespace telvara {

namespace {
NumberLocale& localeSlot() {
    static NumberLocale loc;
    return loc;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

const NumberLocale& numberLocale() {
    return localeSlot();
}

void setNumberLocale(const NumberLocale& loc) {
    localeSlot() = loc;
}

NumberLocale environmentNumberLocale() {
    std::setlocale(LC_NUMERIC, "");
    const std::lconv* conv = std::localeconv();
    NumberLocale separators;
    separators.decimal = conv->decimal_point && *conv->decimal_point ? conv->decimal_point : ".";
    separators.thousands = conv->thousands_sep ? conv->thousands_sep : "";
    // Formatting and reading in this program never go through the C locale.
    std::setlocale(LC_NUMERIC, "C");
    return separators;
}

// Accepts [spaces][+|-]digits[sep digits][(E|e)[+|-]digits][spaces], at least one
// mantissa digit, where sep is the locale's decimal separator only: a "." typed
// under a "," locale is not a number, as the user's own settings say.
bool tryReadDecimal(std::string_view text, double& out, const NumberLocale& loc) {
    std::string canon; // the same number in the form from_chars reads
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            canon += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < n && isDigit(text[i])) {
        canon += text[i++];
        ++mantissaDigits;
    }
    if (!loc.decimal.empty() && text.substr(i).starts_with(loc.decimal)) {
        i += loc.decimal.size();
        canon += '.';
        while (i < n && isDigit(text[i])) {
            canon += text[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        canon += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            canon += text[i++];
        int expDigits = 0;
        while (i < n && isDigit(text[i])) {
            canon += text[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        return false;
    double v = 0;
    const char* first = canon.data();
    const char* last = canon.data() + canon.size();
    if (*first == '-')
        ++first; // from_chars takes no "+" and we add the sign ourselves
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ptr != last)
        return false;
    if (ec == std::errc::result_out_of_range) {
        // Too small is zero; too large is not a usable number.
        if (canon.find("e-") == std::string::npos)
            return false;
        v = 0;
    } else if (ec != std::errc()) {
        return false;
    }
    if (!std::isfinite(v))
        return false;
    out = canon[0] == '-' ? -v : v;
    return true;
}

double readDecimal(std::string_view text, const NumberLocale& loc) {
    double v = 0;
    if (!tryReadDecimal(text, v, loc))
        throw ConvertError("'" + std::string(text) + "' は浮動小数点数ではありません");
    return v;
}

int strictNumberPosition(std::string_view text) {
    const int n = static_cast<int>(text.size());
    int i = 0;
    while (i < n && text[i] == ' ')
        ++i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool point = false;
    int digits = 0;
    for (; i < n; ++i) {
        if (isDigit(text[i]))
            ++digits;
        else if (text[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return i + 1; // a mantissa digit is required here
    if (i == n)
        return 0;
    if (text[i] != 'E' && text[i] != 'e')
        return i + 1;
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    int expDigits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++expDigits;
    }
    if (expDigits == 0 || i < n)
        return i + 1;
    return 0;
}

// Positions count bytes; every character before the first bad one is ASCII,
// so they are character positions too.
int integerCheckPosition(std::string_view text, int* value) {
    const int n = static_cast<int>(text.size());
    int i = 0;
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == n)
        return i + 1; // no digit at all
    std::uint32_t magnitude = 0;
    for (; i < n; ++i) {
        if (hex) {
            const int d = hexValue(text[i]);
            if (d < 0)
                return i + 1;
            if (magnitude > 0x0FFFFFFFu)
                return i + 1; // a ninth significant hex digit
            magnitude = magnitude * 16 + static_cast<std::uint32_t>(d);
        } else {
            if (!isDigit(text[i]))
                return i + 1;
            const std::uint64_t next = std::uint64_t(magnitude) * 10 + std::uint64_t(text[i] - '0');
            const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
            if (next > limit)
                return i + 1;
            magnitude = static_cast<std::uint32_t>(next);
        }
    }
    if (value) {
        // Hex forms use all 32 bits ("$FFFFFFFF" is -1).
        const std::int64_t m =
            hex ? std::int64_t(std::int32_t(magnitude)) : std::int64_t(magnitude);
        *value = static_cast<int>(negative ? -m : m);
    }
    return 0;
}

} // namespace telvara
