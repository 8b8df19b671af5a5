#pragma once
// Number reading and formatting. Separators come from the user's locale,
// read once at start-up by the program; tests pin them.
#include <string>
#include <string_view>

namespace telvara {

struct NumberLocale {
    std::string decimal = ".";   // decimal separator (UTF-8)
    std::string thousands = ","; // thousands separator (UTF-8)
};

// The separators in force for the program (set once at start-up).
const NumberLocale& numberLocale();
void setNumberLocale(const NumberLocale& loc);
// The separators the C library's locale (LC_NUMERIC from the environment)
// names, for the programs without Qt; "." when it names none.
NumberLocale environmentNumberLocale();

// Decimal reading: surrounding spaces allowed, an optional sign, digits with
// the locale's decimal separator (only that one: "2.5" is not a number under a
// "," locale), an optional exponent. Too large a value is not a number.
// Throws ConvertError "'<text>' は浮動小数点数ではありません" when not a number.
double readDecimal(std::string_view text, const NumberLocale& loc = numberLocale());
bool tryReadDecimal(std::string_view text, double& out, const NumberLocale& loc = numberLocale());

// Position check of a time field: 0 when the text is a number of the form
// [spaces][+|-]digits-with-at-most-one-"."[(E|e)[+|-]digit+], else the
// 1-based position of the first character breaking it (empty text: 1).
int strictNumberPosition(std::string_view text);

// Integer check of the print margin: [blanks][sign](decimal digits | $hex | 0x hex | x hex).
// 0 and the value when valid, else the 1-based position of the first bad character.
int integerCheckPosition(std::string_view text, int* value = nullptr);

// "#,##0.###"-style pattern: digit placeholders 0 and #, "," for grouping,
// "." for the decimal point; rounded half away from zero to the pattern's
// decimals from the shortest decimal text of v; never "-0". Other characters
// and quoted texts are copied; "positive;negative;zero" sections; an empty
// pattern or |v| >= 1e18 gives the general format. Output uses loc's separators.
std::string formatFloatPattern(double v, std::string_view pattern,
                               const NumberLocale& loc = numberLocale());

// General format: shortest form, at most 15 significant digits, no grouping;
// scientific ("E") when more than 15 integer digits or 0 < |v| < 0.0001,
// written as "1E-5", "1.5E20" (no "+", no leading exponent zeros).
std::string formatGeneral(double v, const NumberLocale& loc = numberLocale());

} // namespace telvara
