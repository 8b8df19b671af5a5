#include "base/errors.h"
#include "base/numbers.h"

#include <gtest/gtest.h>

using namespace telvara;

namespace {
const NumberLocale kDot{".", ","};
const NumberLocale kComma{",", "."};

std::string failureText(std::string_view text, const NumberLocale& loc) {
    try {
        readDecimal(text, loc);
    } catch (const ConvertError& e) {
        return e.what();
    }
    return "(no failure)";
}
} // namespace

TEST(ReadDecimal, ReadsNumbersWithSurroundingBlanks) {
    EXPECT_DOUBLE_EQ(readDecimal("100", kDot), 100.0);
    EXPECT_DOUBLE_EQ(readDecimal("  2.5  ", kDot), 2.5);
    EXPECT_DOUBLE_EQ(readDecimal("-0.25", kDot), -0.25);
    EXPECT_DOUBLE_EQ(readDecimal("+4", kDot), 4.0);
    EXPECT_DOUBLE_EQ(readDecimal(".5", kDot), 0.5);
    EXPECT_DOUBLE_EQ(readDecimal("5.", kDot), 5.0);
    EXPECT_DOUBLE_EQ(readDecimal("1.5e3", kDot), 1500.0);
    EXPECT_DOUBLE_EQ(readDecimal("2E-2", kDot), 0.02);
    EXPECT_DOUBLE_EQ(readDecimal("1e-400", kDot), 0.0); // underflow reads as 0
    EXPECT_EQ(readDecimal("0.1", kDot), 0.1);           // correctly rounded
}

TEST(ReadDecimal, RefusesWhatIsNotANumberWithTheExactMessage) {
    EXPECT_EQ(failureText("電流値", kDot), "'電流値' は浮動小数点数ではありません");
    EXPECT_EQ(failureText("", kDot), "'' は浮動小数点数ではありません");
    EXPECT_EQ(failureText(" 12a ", kDot), "' 12a ' は浮動小数点数ではありません");
    for (const char* bad :
         {"-", ".", "1e", "1e+", "1.2.3", "1 2", "0x10", "\t1", "1e400", "inf", "nan", "1,5"}) {
        double out = 7;
        EXPECT_FALSE(tryReadDecimal(bad, out, kDot)) << bad;
        EXPECT_EQ(out, 7) << bad; // untouched on failure
        EXPECT_THROW(readDecimal(bad, kDot), ConvertError) << bad;
    }
}

TEST(ReadDecimal, UsesOnlyTheLocaleDecimalSeparator) {
    EXPECT_DOUBLE_EQ(readDecimal("2,5", kComma), 2.5);
    EXPECT_DOUBLE_EQ(readDecimal(" -1,25e1 ", kComma), -12.5);
    EXPECT_EQ(failureText("2.5", kComma), "'2.5' は浮動小数点数ではありません");
    EXPECT_THROW(readDecimal("1.000,5", kComma), ConvertError); // no grouping either
}

TEST(ReadDecimal, DefaultsToTheProgramLocale) {
    const NumberLocale saved = numberLocale();
    EXPECT_EQ(saved.decimal, ".");
    EXPECT_EQ(saved.thousands, ",");
    setNumberLocale(kComma);
    EXPECT_DOUBLE_EQ(readDecimal("3,5"), 3.5);
    EXPECT_THROW(readDecimal("3.5"), ConvertError);
    EXPECT_EQ(formatGeneral(3.5), "3,5");
    setNumberLocale(saved);
    EXPECT_DOUBLE_EQ(readDecimal("3.5"), 3.5);
}

TEST(StrictNumber, AcceptsTheNumberForm) {
    for (const char* ok :
         {"0", " 12", "   12", "0.25", "-1", "+3.", ".5", "1.5e3", "1.5E-3", "2e+10", "00"})
        EXPECT_EQ(strictNumberPosition(ok), 0) << ok;
}

TEST(StrictNumber, GivesThePositionOfTheFirstBadCharacter) {
    EXPECT_EQ(strictNumberPosition(""), 1);
    EXPECT_EQ(strictNumberPosition("-"), 2);
    EXPECT_EQ(strictNumberPosition("1.5e"), 5);
    EXPECT_EQ(strictNumberPosition("12a"), 3);
    EXPECT_EQ(strictNumberPosition("12 "), 3);   // trailing blank fails
    EXPECT_EQ(strictNumberPosition("   "), 4);   // only blanks: one past the end
    EXPECT_EQ(strictNumberPosition("\t12"), 1);  // spaces only as leading blanks
    EXPECT_EQ(strictNumberPosition("1.2.3"), 4); // at most one point
    EXPECT_EQ(strictNumberPosition("1e5x"), 4);
    EXPECT_EQ(strictNumberPosition("1e+"), 4);
    EXPECT_EQ(strictNumberPosition("e5"), 1);
    EXPECT_EQ(strictNumberPosition("."), 2);
    EXPECT_EQ(strictNumberPosition("+-1"), 2);
    EXPECT_EQ(strictNumberPosition("1,5"), 2); // the point is always "."
    EXPECT_EQ(strictNumberPosition("1２"), 2); // character positions
}

TEST(IntegerCheck, AcceptsDecimalAndHexForms) {
    int v = -99;
    EXPECT_EQ(integerCheckPosition("5", &v), 0);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(integerCheckPosition(" 10", &v), 0);
    EXPECT_EQ(v, 10);
    EXPECT_EQ(integerCheckPosition("-7", &v), 0);
    EXPECT_EQ(v, -7);
    EXPECT_EQ(integerCheckPosition("+0", &v), 0);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(integerCheckPosition("$A", &v), 0);
    EXPECT_EQ(v, 10);
    EXPECT_EQ(integerCheckPosition("x1f", &v), 0);
    EXPECT_EQ(v, 31);
    EXPECT_EQ(integerCheckPosition("0X10", &v), 0);
    EXPECT_EQ(v, 16);
    EXPECT_EQ(integerCheckPosition("-$10", &v), 0);
    EXPECT_EQ(v, -16);
    EXPECT_EQ(integerCheckPosition("$FFFFFFFF", &v), 0);
    EXPECT_EQ(v, -1);
    EXPECT_EQ(integerCheckPosition("2147483647", &v), 0);
    EXPECT_EQ(v, 2147483647);
    EXPECT_EQ(integerCheckPosition("-2147483648", &v), 0);
    EXPECT_EQ(v, -2147483647 - 1);
    EXPECT_EQ(integerCheckPosition("25"), 0); // the value is optional
}

TEST(IntegerCheck, GivesThePositionOfTheFirstBadCharacter) {
    int v = 42;
    EXPECT_EQ(integerCheckPosition("", &v), 1);
    EXPECT_EQ(integerCheckPosition("5a", &v), 2);
    EXPECT_EQ(integerCheckPosition("10 ", &v), 3);
    EXPECT_EQ(integerCheckPosition(" ", &v), 2);
    EXPECT_EQ(integerCheckPosition("-", &v), 2);
    EXPECT_EQ(integerCheckPosition("$", &v), 2);
    EXPECT_EQ(integerCheckPosition("0x", &v), 3);
    EXPECT_EQ(integerCheckPosition("$G", &v), 2);
    EXPECT_EQ(integerCheckPosition("5.0", &v), 2);
    EXPECT_EQ(integerCheckPosition("2147483648", &v), 10); // the overflowing digit
    EXPECT_EQ(integerCheckPosition("-2147483649", &v), 11);
    EXPECT_EQ(integerCheckPosition("99999999999", &v), 10);
    EXPECT_EQ(integerCheckPosition("$123456789", &v), 10); // ninth hex digit
    EXPECT_EQ(integerCheckPosition("１", &v), 1);
    EXPECT_EQ(v, 42); // untouched on failure
}
