#include "relay/relay.h"

#include "base/numbers.h"

#include <cmath>

namespace telvara {

namespace {

// The time of the inverse-time curve at `current` between two of its points,
// on log-log paper.
double logLogTime(const CurvePoint& a, const CurvePoint& b, double current) {
    if (a.time <= 0 || b.time <= 0 || a.current <= 0 || b.current <= a.current)
        return a.time;
    const double f = std::log(current / a.current) / std::log(b.current / a.current);
    return std::exp(std::log(a.time) + f * std::log(b.time / a.time));
}

// TapCurrent's six multiples: Current150 .. Current700.
void setTapMultiples(RelayCurrents& v) {
    double* const multiples[] = {&v.Current150, &v.Current200, &v.Current300,
                                 &v.Current400, &v.Current500, &v.Current700};
    for (std::size_t i = 0; i < kTapMultiples.size(); ++i)
        *multiples[i] = kTapMultiples[i] * v.TapCurrent;
}

// The CT is read in extended precision, as the tap current has always been
// computed: CT / 5 x tap.
double tapCurrent(long double ct, double tap) {
    return static_cast<double>(ct / 5 * tap);
}

} // namespace

std::vector<CurvePoint> curvePoints(const TimeTexts& times, const RelayCurrents& c) {
    std::array<double, kTimeFieldCount> t{};
    for (std::size_t i = 0; i < times.size(); ++i)
        t[i] = readDecimal(times[i]);
    const double t150 = t[0], t200 = t[1], t300 = t[2], t400 = t[3], t500 = t[4], t700 = t[5],
                 tInst = t[6];
    std::vector<CurvePoint> points;
    const std::array<CurvePoint, 6> multiples = {{{c.Current150, t150},
                                                  {c.Current200, t200},
                                                  {c.Current300, t300},
                                                  {c.Current400, t400},
                                                  {c.Current500, t500},
                                                  {c.Current700, t700}}};
    for (const CurvePoint& p : multiples)
        if (p.time != 0)
            points.push_back(p);
    if (tInst == 0)
        return points;
    const double inst = c.InstCurrent;
    // The points up to the INST current, counted by the one comparison that
    // also decides whether any lies above it: two comparisons of the same
    // values may disagree where the product CT x INST tap is kept in a wider
    // register (an INST current equal to the 700 % current), and the corner
    // would then be looked for past the last point.
    std::size_t kept = 0;
    while (kept < points.size() && points[kept].current <= inst)
        ++kept;
    if (inst > 0 && kept < points.size()) {
        // The relay operates in its INST time at every current from the INST
        // current on: the inverse-time part ends there, at its own time, so
        // the curve never rises again after the step.
        const double corner =
            kept == 0 ? points.front().time : logLogTime(points[kept - 1], points[kept], inst);
        points.resize(kept);
        points.push_back({inst, corner});
        points.push_back({inst, tInst});
        return points;
    }
    // The corner of the step lies at the time of the highest multiple above
    // 150 % that is given; 150 % alone makes no corner.
    for (double corner : {t700, t500, t400, t300, t200}) {
        if (corner != 0) {
            points.push_back({inst, corner});
            break;
        }
    }
    points.push_back({inst, tInst});
    return points;
}

void deriveTapCurrents(const std::string& ct, const std::string& tap, RelayCurrents& v) {
    const long double ctValue = readDecimal(ct);
    const double tapValue = readDecimal(tap);
    v.TapCurrent = tapCurrent(ctValue, tapValue);
    setTapMultiples(v);
}

bool deriveEnteredTapCurrents(const std::string& ct, const std::string& tap, RelayCurrents& v) {
    const double tapValue = readDecimal(tap);
    v.TapCurrent = tapValue;
    const bool drawable = tapValue > 0;
    if (drawable)
        v.TapCurrent = tapCurrent(readDecimal(ct), tapValue);
    setTapMultiples(v);
    return drawable;
}

bool deriveInstCurrent(const std::string& ct, const std::string& instTap, RelayCurrents& v) {
    const double inst = readDecimal(instTap);
    if (inst <= 0)
        return false;
    v.InstCurrent = readDecimal(ct) * inst;
    return true;
}

void deriveRecordCurrents(const std::string& ct, const std::string& tap, const std::string& instTap,
                          RelayCurrents& v) {
    deriveTapCurrents(ct, tap, v);
    deriveInstCurrent(ct, instTap, v);
}

} // namespace telvara
