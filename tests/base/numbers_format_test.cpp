#include "base/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace telvara;

namespace {
const NumberLocale kDot{".", ","};
const NumberLocale kComma{",", "."};
const char* kLabel = "#,##0.###";
} // namespace

TEST(FormatFloatPattern, FormatsAxisLabelValues) {
    EXPECT_EQ(formatFloatPattern(0.01, kLabel, kDot), "0.01");
    EXPECT_EQ(formatFloatPattern(0.05, kLabel, kDot), "0.05");
    EXPECT_EQ(formatFloatPattern(0.1, kLabel, kDot), "0.1");
    EXPECT_EQ(formatFloatPattern(1, kLabel, kDot), "1");
    EXPECT_EQ(formatFloatPattern(10, kLabel, kDot), "10");
    EXPECT_EQ(formatFloatPattern(37.5, kLabel, kDot), "37.5");
    EXPECT_EQ(formatFloatPattern(999, kLabel, kDot), "999");
    EXPECT_EQ(formatFloatPattern(1000, kLabel, kDot), "1,000");
    EXPECT_EQ(formatFloatPattern(10000, kLabel, kDot), "10,000");
    EXPECT_EQ(formatFloatPattern(100000, kLabel, kDot), "100,000");
    EXPECT_EQ(formatFloatPattern(1000000, kLabel, kDot), "1,000,000");
    EXPECT_EQ(formatFloatPattern(1234567.891, kLabel, kDot), "1,234,567.891");
    EXPECT_EQ(formatFloatPattern(0, kLabel, kDot), "0");
}

TEST(FormatFloatPattern, RoundsTheDecimalTextHalfAwayFromZero) {
    EXPECT_EQ(formatFloatPattern(0.0004, kLabel, kDot), "0");
    EXPECT_EQ(formatFloatPattern(0.0005, kLabel, kDot), "0.001");
    EXPECT_EQ(formatFloatPattern(1.2345, kLabel, kDot), "1.235");
    EXPECT_EQ(formatFloatPattern(2.675, "0.00", kDot), "2.68"); // binary 2.67499999...
    EXPECT_EQ(formatFloatPattern(1.005, "0.00", kDot), "1.01");
    EXPECT_EQ(formatFloatPattern(999.9996, kLabel, kDot), "1,000");
    EXPECT_EQ(formatFloatPattern(9.9999, "0.00", kDot), "10.00");
    EXPECT_EQ(formatFloatPattern(0.1 + 0.2, kLabel, kDot), "0.3");
    EXPECT_EQ(formatFloatPattern(0.5, "0", kDot), "1");
    EXPECT_EQ(formatFloatPattern(0.4, "0", kDot), "0");
}

TEST(FormatFloatPattern, SignsNegativesButNeverMinusZero) {
    EXPECT_EQ(formatFloatPattern(-1234.5, kLabel, kDot), "-1,234.5");
    EXPECT_EQ(formatFloatPattern(-0.0005, kLabel, kDot), "-0.001");
    EXPECT_EQ(formatFloatPattern(-0.0004, kLabel, kDot), "0");
    EXPECT_EQ(formatFloatPattern(-0.0, kLabel, kDot), "0");
    EXPECT_EQ(formatFloatPattern(-5, "0.0;(0.0)", kDot), "(5.0)");
    EXPECT_EQ(formatFloatPattern(0.01, "0.0;(0.0);'zero'", kDot), "zero");
}

TEST(FormatFloatPattern, HonoursPlaceholdersAndLiterals) {
    EXPECT_EQ(formatFloatPattern(3.1, "0.00", kDot), "3.10");
    EXPECT_EQ(formatFloatPattern(3, "0.00", kDot), "3.00");
    EXPECT_EQ(formatFloatPattern(37.5, "##0.## %", kDot), "37.5 %");
    EXPECT_EQ(formatFloatPattern(0.5, "#.##", kDot), ".5");
    EXPECT_EQ(formatFloatPattern(0, "#.##", kDot), "");
    EXPECT_EQ(formatFloatPattern(12345, "0", kDot), "12345"); // more digits than places
    EXPECT_EQ(formatFloatPattern(7, "000", kDot), "007");
    EXPECT_EQ(formatFloatPattern(1234, "#,##0.00", kDot), "1,234.00");
    EXPECT_EQ(formatFloatPattern(5, "\"A=\"0", kDot), "A=5");
    EXPECT_EQ(formatFloatPattern(-5, "\"A=\"0", kDot), "-A=5");
    EXPECT_EQ(formatFloatPattern(2.5, "", kDot), "2.5"); // empty pattern: general format
}

TEST(FormatFloatPattern, UsesTheLocaleSeparators) {
    EXPECT_EQ(formatFloatPattern(1234567.5, kLabel, kComma), "1.234.567,5");
    EXPECT_EQ(formatFloatPattern(0.25, kLabel, kComma), "0,25");
    const NumberLocale space{",", "\xC2\xA0"}; // no-break space as grouping
    EXPECT_EQ(formatFloatPattern(12000, kLabel, space), "12\xC2\xA0"
                                                        "000");
}

TEST(FormatFloatPattern, FallsBackForHugeAndNonFiniteValues) {
    EXPECT_EQ(formatFloatPattern(1e20, kLabel, kDot), "1E20");
    EXPECT_EQ(formatFloatPattern(1e17, kLabel, kDot), "100,000,000,000,000,000");
    EXPECT_EQ(formatFloatPattern(std::numeric_limits<double>::infinity(), kLabel, kDot), "INF");
    EXPECT_EQ(formatFloatPattern(std::nan(""), kLabel, kDot), "NAN");
}

TEST(FormatGeneral, GivesTheShortestFifteenDigitText) {
    EXPECT_EQ(formatGeneral(120, kDot), "120");
    EXPECT_EQ(formatGeneral(80 * 1.5, kDot), "120");
    EXPECT_EQ(formatGeneral(4000, kDot), "4000");
    EXPECT_EQ(formatGeneral(0, kDot), "0");
    EXPECT_EQ(formatGeneral(-0.0, kDot), "0");
    EXPECT_EQ(formatGeneral(0.1 + 0.2, kDot), "0.3");
    EXPECT_EQ(formatGeneral(1.0 / 3, kDot), "0.333333333333333");
    EXPECT_EQ(formatGeneral(2.0 / 3, kDot), "0.666666666666667");
    EXPECT_EQ(formatGeneral(-2.5, kDot), "-2.5");
    EXPECT_EQ(formatGeneral(100.0 / 5 * 4 * 1.5, kDot), "120");
    EXPECT_EQ(formatGeneral(0.0001, kDot), "0.0001");
    EXPECT_EQ(formatGeneral(123456789012345.0, kDot), "123456789012345");
    EXPECT_EQ(formatGeneral(999999999999999.0, kDot), "999999999999999");
    EXPECT_EQ(formatGeneral(1.5, kComma), "1,5");
    EXPECT_EQ(formatGeneral(1234567, kComma), "1234567"); // never grouped
}

TEST(FormatGeneral, SwitchesToScientificOutsideTheFixedRange) {
    EXPECT_EQ(formatGeneral(0.00001, kDot), "1E-5");
    EXPECT_EQ(formatGeneral(0.000015, kDot), "1.5E-5");
    EXPECT_EQ(formatGeneral(-0.00002, kDot), "-2E-5");
    EXPECT_EQ(formatGeneral(1e15, kDot), "1E15");
    EXPECT_EQ(formatGeneral(1.5e20, kDot), "1.5E20");
    EXPECT_EQ(formatGeneral(1234567890123456.0, kDot), "1.23456789012346E15");
    EXPECT_EQ(formatGeneral(9999999999999999.0, kDot), "1E16");
    EXPECT_EQ(formatGeneral(2.5e-300, kComma), "2,5E-300");
    EXPECT_EQ(formatGeneral(-std::numeric_limits<double>::infinity(), kDot), "-INF");
}
