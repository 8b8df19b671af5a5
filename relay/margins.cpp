#include "relay/margins.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace telvara {

namespace {

// Margins equal to this are one value: the first current keeps it.
constexpr double kSameMargin = 1e-12;
// A margin that meets the interval but for rounding (0.7 - 0.4) passes.
constexpr double kPassTolerance = 1e-9;

} // namespace

// time = y0 * (i / x0)^p: one straight piece on log paper.
struct TOperatingCurve::Piece {
    double x0, y0, p;
    double at(double i) const { return p == 0 ? y0 : y0 * std::pow(i / x0, p); }
};

TOperatingCurve::TOperatingCurve(std::vector<CurvePoint> points) {
    std::erase_if(points, [](const CurvePoint& p) { return !(p.current > 0 && p.time > 0); });
    std::stable_sort(points.begin(), points.end(), [](const CurvePoint& a, const CurvePoint& b) {
        return a.current < b.current;
    });
    pointCount_ = points.size();
    for (const CurvePoint& p : points) {
        if (!steps_.empty() && steps_.back().current == p.current) {
            Step& s = steps_.back();
            s.low = std::min(s.low, p.time);
            s.out = p.time;
        } else {
            steps_.push_back({p.current, p.time, p.time, p.time});
        }
    }
}

TOperatingCurve::Piece TOperatingCurve::pieceOver(double a, double b) const {
    if (a >= steps_.back().current)
        return {a, steps_.back().out, 0};
    const auto next = std::lower_bound(steps_.begin(), steps_.end(), b,
                                       [](const Step& s, double x) { return s.current < x; });
    const Step& from = *(next - 1);
    const double p = std::log(next->in / from.out) / std::log(next->current / from.current);
    return {from.current, from.out, p};
}

std::optional<double> TOperatingCurve::TimeAt(double i) const {
    if (steps_.empty() || i < steps_.front().current)
        return std::nullopt;
    const auto at = std::lower_bound(steps_.begin(), steps_.end(), i,
                                     [](const Step& s, double x) { return s.current < x; });
    if (at != steps_.end() && at->current == i)
        return at->low;
    return pieceOver(i, i).at(i);
}

// Walks the currents where either curve bends or steps and keeps the
// smallest margin: at each such current, just below and just above it, and
// where the two straight pieces between them run closest.
struct TMarginSearch {
    const TOperatingCurve& down;
    const TOperatingCurve& up;
    double best = std::numeric_limits<double>::infinity();
    double bestCurrent = 0, bestDown = 0, bestUp = 0;

    void consider(double current, double upTime, double downTime) {
        const double margin = upTime - downTime;
        if (margin < best - kSameMargin ||
            (std::abs(margin - best) <= kSameMargin && current < bestCurrent)) {
            best = margin;
            bestCurrent = current;
            bestDown = downTime;
            bestUp = upTime;
        }
    }

    // The limits of the range and every current inside it where a curve has points.
    std::vector<double> breakpoints(double lo, double hi) const {
        std::vector<double> out{lo, hi};
        for (const TOperatingCurve* c : {&down, &up})
            for (const auto& s : c->steps_)
                if (s.current > lo && s.current < hi)
                    out.push_back(s.current);
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }

    void interval(double a, double b) {
        const auto u = up.pieceOver(a, b);
        const auto d = down.pieceOver(a, b);
        consider(a, u.at(a), d.at(a));
        consider(b, u.at(b), d.at(b));
        // Inside, the margin's slope is zero where p_u t_u = p_d t_d.
        if (u.p == d.p || u.p * d.p <= 0)
            return;
        const double x = (std::log(std::abs(d.p)) + std::log(d.y0) - d.p * std::log(d.x0) -
                          std::log(std::abs(u.p)) - std::log(u.y0) + u.p * std::log(u.x0)) /
                         (u.p - d.p);
        const double i = std::exp(x);
        if (i > a && i < b)
            consider(i, u.at(i), d.at(i));
    }
};

PairMargin pairMargin(const TOperatingCurve& down, const TOperatingCurve& up,
                      const MarginOptions& options) {
    PairMargin r;
    if (!down.Checkable() || !up.Checkable())
        return r;
    const double lo = std::max(down.FirstCurrent(), up.FirstCurrent());
    const double hi =
        options.maxFaultCurrent.value_or(std::max(down.LastCurrent(), up.LastCurrent()));
    if (!(lo <= hi))
        return r;
    TMarginSearch search{down, up};
    const std::vector<double> currents = search.breakpoints(lo, hi);
    for (double i : currents)
        search.consider(i, *up.TimeAt(i), *down.TimeAt(i));
    for (std::size_t k = 0; k + 1 < currents.size(); ++k)
        search.interval(currents[k], currents[k + 1]);
    r.commonRange = true;
    r.margin = search.best;
    r.current = search.bestCurrent;
    r.downstreamTime = search.bestDown;
    r.upstreamTime = search.bestUp;
    r.pass = r.margin >= options.cti - kPassTolerance;
    return r;
}

std::vector<CurvePoint> relayCurve(const RelaySettings& relay) {
    RelayCurrents values;
    deriveRecordCurrents(relay.ct, relay.tap, relay.instTap, values);
    return curvePoints(relay.times, values);
}

std::vector<PairMargin> checkMargins(const std::vector<std::vector<CurvePoint>>& curves,
                                     const MarginOptions& options) {
    std::vector<TOperatingCurve> drawn;
    std::vector<std::size_t> order;
    for (std::size_t k = 0; k < curves.size(); ++k) {
        drawn.emplace_back(curves[k]);
        if (drawn.back().Checkable())
            order.push_back(k);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return drawn[a].FirstCurrent() < drawn[b].FirstCurrent();
    });
    std::vector<PairMargin> pairs;
    for (std::size_t k = 0; k + 1 < order.size(); ++k) {
        PairMargin p = pairMargin(drawn[order[k]], drawn[order[k + 1]], options);
        p.downstream = order[k];
        p.upstream = order[k + 1];
        pairs.push_back(p);
    }
    return pairs;
}

} // namespace telvara
