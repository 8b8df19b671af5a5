#pragma once
// Time margins between neighbouring relay curves: the grading check an
// engineer makes on the coordination chart, at every current the curves
// share, against the coordination time interval.
#include "relay/relay.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace telvara {

inline constexpr double kDefaultCti = 0.3;

// A curve as drawn: its points in ascending current (equal currents keep
// their order), straight in log(current)-log(time). Points off log paper
// (current or time not above 0) are left out.
class TOperatingCurve {
public:
    explicit TOperatingCurve(std::vector<CurvePoint> points);

    // Fewer than two points: the curve takes no part in a check.
    bool Checkable() const { return pointCount_ >= 2; }
    double FirstCurrent() const { return steps_.front().current; }
    double LastCurrent() const { return steps_.back().current; }

    // The time at current i: nothing below the first point's current; at a
    // vertical step the lower end; beyond the last point its time.
    std::optional<double> TimeAt(double i) const;

private:
    friend struct TMarginSearch;
    // The straight piece drawn over (a, b), where the curve neither bends nor steps.
    struct Piece;
    Piece pieceOver(double a, double b) const;
    // The points at one current: the drawn line arrives at `in`, leaves at
    // `out`; `low` is the step's lower end.
    struct Step {
        double current, in, low, out;
    };
    std::vector<Step> steps_;
    std::size_t pointCount_ = 0;
};

struct MarginOptions {
    double cti = kDefaultCti;
    // The study's maximum fault current; none: up to the larger last-point current.
    std::optional<double> maxFaultCurrent;
};

struct PairMargin {
    // Indices into the curves given to checkMargins.
    std::size_t downstream = 0;
    std::size_t upstream = 0;
    // False when the two curves share no current up to the limit.
    bool commonRange = false;
    // Upstream minus downstream time at its smallest (negative: the curves
    // cross), and the current where it occurs (or is approached, just below
    // a downstream step).
    double margin = 0;
    double current = 0;
    // The two times the margin is taken between.
    double downstreamTime = 0;
    double upstreamTime = 0;
    bool pass = false;
};

// The smallest margin of one pair over the currents both operate at.
PairMargin pairMargin(const TOperatingCurve& downstream, const TOperatingCurve& upstream,
                      const MarginOptions& options);

// A stored relay's curve as the chart draws it, its currents derived from its
// own settings alone. Throws ConvertError for a number that cannot be read.
std::vector<CurvePoint> relayCurve(const RelaySettings& relay);

// Orders the checkable curves by their first point's current (lower picks up
// nearer the load) and checks each against the next one up, in that order.
std::vector<PairMargin> checkMargins(const std::vector<std::vector<CurvePoint>>& curves,
                                     const MarginOptions& options);

} // namespace telvara
