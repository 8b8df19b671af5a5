// Number texts for labels: the digit pattern ("#,##0.###") and the general format.
//
// Both round the shortest decimal text of the double (the one that reads back
// to the same value), so 1.2345 rounds as "1.2345" and not as its binary
// neighbour 1.23449999...
#include "base/numbers.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace telvara {

namespace {

// |v| = 0.d1d2d3... x 10^exponent; digits without trailing zeros, empty for 0.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal shortestDecimal(double v) {
    Decimal d;
    v = std::fabs(v);
    if (v == 0)
        return d;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    std::string_view s(buf, static_cast<size_t>(res.ptr - buf));
    const size_t e = s.find('e');
    for (size_t i = 0; i < e; ++i)
        if (s[i] != '.')
            d.digits += s[i];
    int exp10 = 0;
    std::string_view expText = s.substr(e + 1);
    if (!expText.empty() && expText[0] == '+')
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exp10);
    d.exponent = exp10 + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// Keeps the first `keep` digits, rounding half away from zero.
void roundDecimal(Decimal& d, int keep) {
    if (keep < 0 || d.digits.empty()) {
        d.digits.clear();
        return;
    }
    if (static_cast<size_t>(keep) >= d.digits.size())
        return;
    const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9')
            d.digits[static_cast<size_t>(i--)] = '0';
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        } else {
            ++d.digits[static_cast<size_t>(i)];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

std::string nonFinite(double v) {
    if (std::isnan(v))
        return "NAN";
    return v < 0 ? "-INF" : "INF";
}

// One section of a pattern, split into placeholders and literal texts.
struct Token {
    enum Kind { Zero, Hash, Point, Literal } kind;
    std::string text; // for Literal
};

struct Section {
    std::vector<Token> tokens;
    bool grouping = false;
    int intCount = 0;  // digit placeholders before the point
    int fracCount = 0; // digit placeholders after the point
    int minInt = 0;    // integer digits always shown (from the first "0")
    int minFrac = 0;   // decimals always shown (up to the last "0")
};

Section parseSection(std::string_view p) {
    Section s;
    bool afterPoint = false;
    int firstIntZero = -1;
    for (size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (c == '0' || c == '#') {
            s.tokens.push_back({c == '0' ? Token::Zero : Token::Hash, {}});
            if (afterPoint) {
                ++s.fracCount;
                if (c == '0')
                    s.minFrac = s.fracCount;
            } else {
                if (c == '0' && firstIntZero < 0)
                    firstIntZero = s.intCount;
                ++s.intCount;
            }
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
            s.tokens.push_back({Token::Point, {}});
        } else if (c == ',') {
            s.grouping = true; // only a switch; the separators are placed by the digits
        } else if (c == '\'' || c == '"') {
            const size_t end = p.find(c, i + 1);
            const size_t stop = end == std::string_view::npos ? p.size() : end;
            s.tokens.push_back({Token::Literal, std::string(p.substr(i + 1, stop - i - 1))});
            i = stop;
        } else {
            s.tokens.push_back({Token::Literal, std::string(1, c)});
        }
    }
    s.minInt = firstIntZero < 0 ? 0 : s.intCount - firstIntZero;
    return s;
}

std::vector<std::string_view> splitSections(std::string_view pattern) {
    std::vector<std::string_view> out;
    size_t start = 0;
    char quote = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            out.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(pattern.substr(start));
    return out;
}

// Formats |v| (already rounded into d) with one section.
std::string applySection(const Section& s, const Decimal& d, bool minus, const NumberLocale& loc) {
    std::string intDigits;
    std::string fracDigits;
    for (int pos = 0; pos < std::max(d.exponent, 0); ++pos)
        intDigits +=
            pos < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(pos)] : '0';
    for (int k = 0; k < s.fracCount; ++k) {
        const int pos = d.exponent + k;
        const bool have = pos >= 0 && pos < static_cast<int>(d.digits.size());
        fracDigits += have ? d.digits[static_cast<size_t>(pos)] : '0';
    }
    while (static_cast<int>(fracDigits.size()) > s.minFrac && fracDigits.back() == '0')
        fracDigits.pop_back();
    if (static_cast<int>(intDigits.size()) < s.minInt)
        intDigits.insert(0, static_cast<size_t>(s.minInt) - intDigits.size(), '0');

    const int len = static_cast<int>(intDigits.size());
    std::string out = minus ? "-" : "";
    auto emitDigit = [&](int fromRight) { // fromRight: 1 for the units digit
        out += intDigits[static_cast<size_t>(len - fromRight)];
        if (s.grouping && fromRight > 1 && (fromRight - 1) % 3 == 0)
            out += loc.thousands;
    };
    int intSeen = 0;
    int fracSeen = 0;
    bool afterPoint = false;
    bool intDone = s.intCount == 0 && len == 0;
    for (const Token& t : s.tokens) {
        switch (t.kind) {
        case Token::Literal:
            out += t.text;
            break;
        case Token::Point:
            if (!intDone) { // ".##": the integer digits go before the point
                for (int q = len; q >= 1; --q)
                    emitDigit(q);
                intDone = true;
            }
            afterPoint = true;
            if (!fracDigits.empty())
                out += loc.decimal;
            break;
        case Token::Zero:
        case Token::Hash:
            if (afterPoint) {
                if (fracSeen < static_cast<int>(fracDigits.size()))
                    out += fracDigits[static_cast<size_t>(fracSeen)];
                ++fracSeen;
                break;
            }
            if (intSeen == 0) // digits beyond the pattern's places come first
                for (int q = len; q > s.intCount; --q)
                    emitDigit(q);
            if (const int place = s.intCount - intSeen; place <= len)
                emitDigit(place);
            ++intSeen;
            intDone = intSeen == s.intCount;
            break;
        }
    }
    return out;
}

} // namespace

std::string formatGeneral(double v, const NumberLocale& loc) {
    if (!std::isfinite(v))
        return nonFinite(v);
    Decimal d = shortestDecimal(v);
    roundDecimal(d, 15);
    if (d.digits.empty())
        return "0";
    std::string out = v < 0 ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent > 15 || d.exponent < -3) {
        out += d.digits[0];
        if (n > 1)
            out += loc.decimal + d.digits.substr(1);
        out += 'E';
        out += std::to_string(d.exponent - 1);
        return out;
    }
    if (d.exponent <= 0) {
        out += '0' + loc.decimal + std::string(static_cast<size_t>(-d.exponent), '0') + d.digits;
        return out;
    }
    for (int i = 0; i < d.exponent; ++i)
        out += i < n ? d.digits[static_cast<size_t>(i)] : '0';
    if (n > d.exponent)
        out += loc.decimal + d.digits.substr(static_cast<size_t>(d.exponent));
    return out;
}

std::string formatFloatPattern(double v, std::string_view pattern, const NumberLocale& loc) {
    if (!std::isfinite(v))
        return nonFinite(v);
    const std::vector<std::string_view> sections = splitSections(pattern);
    // Sections: positive;negative;zero. A negative section carries its own sign.
    size_t chosen = 0;
    if (v < 0 && sections.size() > 1 && !sections[1].empty())
        chosen = 1;
    if (sections[chosen].empty())
        return formatGeneral(v, loc);
    Section s = parseSection(sections[chosen]);
    Decimal d = shortestDecimal(v);
    if (d.exponent > 18) // beyond the digits a pattern can place
        return formatGeneral(v, loc);
    roundDecimal(d, d.exponent + s.fracCount);
    if (d.digits.empty() && sections.size() > 2 && !sections[2].empty()) {
        s = parseSection(sections[2]);
        chosen = 2;
    }
    const bool minus = v < 0 && !d.digits.empty() && chosen == 0;
    return applySection(s, d, minus, loc);
}

} // namespace telvara
