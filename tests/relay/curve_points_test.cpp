#include "relay/relay.h"

#include <gtest/gtest.h>

using namespace telvara;

namespace {

// CT 400 and tap 5: 600, 800, 1200, 1600, 2000 and 2800 A.
std::vector<CurvePoint> curveWithInstTap(const std::string& instTap) {
    RelayCurrents v;
    deriveRecordCurrents("400", "5", instTap, v);
    return curvePoints({"10", "5", "3", "2", "1.6", "0.9", "0.05"}, v);
}

void expectPoints(const std::vector<CurvePoint>& got, const std::vector<CurvePoint>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_DOUBLE_EQ(got[i].current, want[i].current) << i;
        EXPECT_NEAR(got[i].time, want[i].time, 1e-12) << i;
    }
}

} // namespace

TEST(CurvePoints, NoPointAboveTheInstCurrentAndTheCornerOnTheCurve) {
    // INST 2000 A, the 500 % current: 2800 A at 0.9 s is not drawn.
    expectPoints(
        curveWithInstTap("5"),
        {{600, 10}, {800, 5}, {1200, 3}, {1600, 2}, {2000, 1.6}, {2000, 1.6}, {2000, 0.05}});
    // INST 1800 A: t = 3200 / I between 1600 A and 2000 A.
    expectPoints(curveWithInstTap("4.5"),
                 {{600, 10}, {800, 5}, {1200, 3}, {1600, 2}, {1800, 3200.0 / 1800}, {1800, 0.05}});
    // INST 400 A, below 150 %: the step alone.
    expectPoints(curveWithInstTap("1"), {{400, 10}, {400, 0.05}});
    // INST 4000 A, above 700 %: the corner at the 700 % time, as before.
    expectPoints(curveWithInstTap("10"), {{600, 10},
                                          {800, 5},
                                          {1200, 3},
                                          {1600, 2},
                                          {2000, 1.6},
                                          {2800, 0.9},
                                          {4000, 0.9},
                                          {4000, 0.05}});
}

TEST(CurvePoints, InstCurrentEqualToThe700PercentCurrent) {
    // CT 100, tap 4: 120 … 560 A; INST tap 5.6: 560 A, the 700 % current itself.
    RelayCurrents v;
    deriveRecordCurrents("100", "4", "5.6", v);
    expectPoints(curvePoints({"10", "5", "3", "2.2", "1.8", "1.5", "0.05"}, v), {{120, 10},
                                                                                 {160, 5},
                                                                                 {240, 3},
                                                                                 {320, 2.2},
                                                                                 {400, 1.8},
                                                                                 {560, 1.5},
                                                                                 {560, 1.5},
                                                                                 {560, 0.05}});
    // Only the 700 % time given: the step stands at its own point.
    expectPoints(curvePoints({"0", "0", "0", "0", "0", "1.5", "0.05"}, v),
                 {{560, 1.5}, {560, 1.5}, {560, 0.05}});
}
