// Numbers for a zoomed logarithmic axis whose own labels leave it nearly bare.
#include "chart/axis.h"

#include "base/numbers.h"
#include "chart/axis_panel.h"
#include "chart/math_util.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace telvara {

namespace {

// Finest step tried: a hundred-thousandth of the power of ten.
constexpr int kFinestLevel = 6;
// More candidates than this at one step cannot leave room for a number.
constexpr int kMostCandidates = 2000;

// n x 10^e read from its decimal text: the double nearest the decimal value.
double decimalValue(long long n, int e) {
    const std::string text = std::to_string(n) + "e" + std::to_string(e);
    return std::strtod(text.c_str(), nullptr);
}

struct Placed {
    int p;
    int size;
    std::string text;
};

} // namespace

// Level 1 tries 1..9 times each power of ten, level L the values with L
// significant digits not tried before; in ascending order a value is numbered
// when its text keeps the axis' label separation from every number already
// there. The next level runs only while fewer than two numbers show.
void TCustomChartAxis::LabelSparseAxis() {
    TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr;
    const double lo = L().minimum, hi = L().maximum;
    if (!minorLabelsWhenSparse_ || !logarithmic_ || logBase_ != 10 || !labels_ || !c ||
        IsDateTime || !(lo > 0) || !(hi > lo) || !std::isfinite(hi))
        return;
    std::vector<Placed> placed;
    auto count = [&] {
        std::vector<int> ps;
        for (const Placed& l : placed)
            if (std::find(ps.begin(), ps.end(), l.p) == ps.end())
                ps.push_back(l.p);
        return ps.size();
    };
    for (const auto& [p, text] : drawnLabels_)
        placed.push_back({p, 0, text});
    if (count() >= 2)
        return;
    SelectTextFont(labelsFont_);
    for (Placed& l : placed)
        l.size = TextSizeAlong(l.text);
    auto fits = [&](int p, int size) {
        for (const Placed& l : placed) {
            const int gap = RoundEvenInt(labelsSeparation_ * 0.01 * std::max(size, l.size));
            if (std::abs(static_cast<long long>(p) - l.p) * 2 <
                static_cast<long long>(size) + l.size + 2LL * gap)
                return false;
        }
        return true;
    };
    const int kLo = static_cast<int>(std::floor(std::log10(lo)));
    const int kHi = static_cast<int>(std::floor(std::log10(hi)));
    std::vector<Placed> added;
    for (int level = 1; level <= kFinestLevel && count() < 2; ++level) {
        const long long first = level == 1 ? 1 : static_cast<long long>(std::pow(10, level - 1));
        const long long last = static_cast<long long>(std::pow(10, level)) - 1;
        std::vector<double> candidates;
        for (int k = kLo; k <= kHi; ++k) {
            const int e = k - level + 1;
            const double unit = std::pow(10.0, e);
            const long long from = std::max(first, static_cast<long long>(std::floor(lo / unit)));
            const long long to = std::min(last, static_cast<long long>(std::ceil(hi / unit)));
            if (to - from > kMostCandidates)
                return;
            for (long long n = from; n <= to; ++n) {
                if (level > 1 && n % 10 == 0)
                    continue; // tried at a coarser step
                const double v = decimalValue(n, e);
                if (v >= lo && v <= hi)
                    candidates.push_back(v);
            }
        }
        if (static_cast<int>(candidates.size()) > kMostCandidates)
            return;
        std::sort(candidates.begin(), candidates.end());
        for (double v : candidates) {
            const int p = ValueToPixel(v);
            if (!labelsOnAxis_ && !(p > L().startPixel && p < L().endPixel))
                continue;
            std::string text = IsDateTime ? std::string() : formatFloatPattern(v, valuesFormat_);
            if (labelsMultiLine_)
                std::replace(text.begin(), text.end(), ' ', '\n');
            if (text.empty() || std::any_of(placed.begin(), placed.end(),
                                            [&](const Placed& l) { return l.text == text; }))
                continue;
            const int size = TextSizeAlong(text);
            if (!fits(p, size))
                continue;
            placed.push_back({p, size, text});
            added.push_back(placed.back());
        }
    }
    for (const Placed& l : added) {
        DrawValueLabel(l.p, l.text);
        if (std::find(L().ticks.begin(), L().ticks.end(), l.p) == L().ticks.end())
            AddTick(l.p);
    }
}

} // namespace telvara
