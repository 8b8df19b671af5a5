// Margins between neighbouring curves, on pairs worked out by hand.
#include "relay/margins.h"

#include <gtest/gtest.h>

#include <cmath>

namespace telvara {
namespace {

using Points = std::vector<CurvePoint>;

PairMargin check(const Points& down, const Points& up, std::optional<double> maxFault = {}) {
    return pairMargin(TOperatingCurve(down), TOperatingCurve(up), {kDefaultCti, maxFault});
}

TEST(OperatingTime, FollowsTheCurveAsDrawn) {
    // Given out of order: drawn in ascending current. t = 200 / I up to the
    // step at 500 A, then 0.05 s.
    const TOperatingCurve c({{500, 0.4}, {100, 2}, {500, 0.05}, {1000, 9}, {-5, 1}});
    EXPECT_FALSE(c.TimeAt(99.9));
    EXPECT_DOUBLE_EQ(2, *c.TimeAt(100));
    EXPECT_NEAR(200 / 316.227766, *c.TimeAt(316.227766), 1e-9);
    EXPECT_DOUBLE_EQ(0.05, *c.TimeAt(500));
    // From the step's foot (0.05 s at 500 A) up to 9 s at 1000 A.
    EXPECT_NEAR(0.05 * std::pow(180, std::log(700.0 / 500) / std::log(2.0)), *c.TimeAt(700), 1e-12);
    EXPECT_DOUBLE_EQ(9, *c.TimeAt(1e6));
    // A step drawn upwards: its lower end still applies at its current.
    EXPECT_DOUBLE_EQ(0.05, *TOperatingCurve({{100, 1}, {500, 0.05}, {500, 0.4}}).TimeAt(500));

    EXPECT_FALSE(TOperatingCurve({{100, 1}}).Checkable());
    EXPECT_FALSE(TOperatingCurve({{100, 1}, {200, 0}}).Checkable());
    EXPECT_TRUE(TOperatingCurve({{500, 0.4}, {500, 0.05}}).Checkable());
}

TEST(PairMargin, StraightSegmentsAndTheFaultCurrentLimit) {
    // Down t = 200 / I from 100 A to 1000 A, then 0.2 s; up t = 800 / I from
    // 200 A to 2000 A. Margin 600 / I up to 1000 A, then 800 / I - 0.2.
    const Points down{{100, 2}, {1000, 0.2}};
    const Points up{{200, 4}, {2000, 0.4}};
    PairMargin r = check(down, up);
    ASSERT_TRUE(r.commonRange);
    EXPECT_NEAR(0.2, r.margin, 1e-12);
    EXPECT_DOUBLE_EQ(2000, r.current);
    EXPECT_FALSE(r.pass);

    r = check(down, up, 1000);
    EXPECT_NEAR(0.6, r.margin, 1e-12);
    EXPECT_DOUBLE_EQ(1000, r.current);
    EXPECT_TRUE(r.pass);

    r = check(down, up, 1500);
    EXPECT_NEAR(800 / 1500.0 - 0.2, r.margin, 1e-12);
    EXPECT_DOUBLE_EQ(1500, r.current);

    // The study's faults never reach the upstream relay's pick-up.
    EXPECT_FALSE(check(down, up, 150).commonRange);
    EXPECT_FALSE(check(down, up, 150).pass);

    // 0.7 s over 0.4 s meets 0.3 s although the subtraction rounds below it;
    // an even margin is reported at the first common current.
    r = check({{100, 0.4}, {1000, 0.4}}, {{200, 0.7}, {2000, 0.7}});
    EXPECT_TRUE(r.pass);
    EXPECT_DOUBLE_EQ(200, r.current);
}

TEST(PairMargin, InstantaneousSteps) {
    // Down t = 200 / I to its step at 500 A (0.4 s down to 0.05 s); up
    // t = 300 / I. Just below 500 A the margin is 0.6 - 0.4.
    const Points down{{100, 2}, {500, 0.4}, {500, 0.05}};
    PairMargin r = check(down, {{200, 1.5}, {1000, 0.3}});
    EXPECT_NEAR(0.2, r.margin, 1e-12);
    EXPECT_DOUBLE_EQ(500, r.current);
    EXPECT_DOUBLE_EQ(0.4, r.downstreamTime);
    EXPECT_NEAR(0.6, r.upstreamTime, 1e-12);
    EXPECT_FALSE(r.pass);

    // Up t = 800 / I with its own step at 1000 A to 0.1 s: at 1000 A its lower
    // end applies, 0.05 s over the downstream's foot.
    r = check(down, {{200, 4}, {1000, 0.8}, {1000, 0.1}});
    EXPECT_NEAR(0.05, r.margin, 1e-12);
    EXPECT_DOUBLE_EQ(1000, r.current);
}

TEST(PairMargin, CrossingCurvesFailWithTheirDeepestOverlap) {
    // Down 1000 / I, up 1e6 / I^2: margin 1e6 / I^2 - 1000 / I is least at
    // I = 2000 A, where it is 0.25 - 0.5.
    const PairMargin r = check({{100, 10}, {10000, 0.1}}, {{200, 25}, {4000, 0.0625}});
    EXPECT_NEAR(-0.25, r.margin, 1e-12);
    EXPECT_NEAR(2000, r.current, 2000 * 1e-9);
    EXPECT_FALSE(r.pass);
}

TEST(CheckMargins, PairsNeighboursByPickUp) {
    const std::vector<Points> curves{
        {{400, 3}, {4000, 1}},   // 0: third up
        {},                      // 1: manual points, left out by the caller
        {{100, 1}, {1000, 0.1}}, // 2: nearest the load
        {{50, 1}},               // 3: one point
        {{200, 2}, {2000, 0.5}}, // 4: second
    };
    const std::vector<PairMargin> pairs = checkMargins(curves, {});
    ASSERT_EQ(2u, pairs.size());
    EXPECT_EQ(2u, pairs[0].downstream);
    EXPECT_EQ(4u, pairs[0].upstream);
    EXPECT_EQ(4u, pairs[1].downstream);
    EXPECT_EQ(0u, pairs[1].upstream);
    // 0.5 s against 0.1 s beyond both last points; 1 s against 0.5 s.
    EXPECT_NEAR(0.4, pairs[0].margin, 1e-12);
    EXPECT_DOUBLE_EQ(2000, pairs[0].current);
    EXPECT_NEAR(0.5, pairs[1].margin, 1e-12);
    EXPECT_DOUBLE_EQ(4000, pairs[1].current);
}

} // namespace
} // namespace telvara
