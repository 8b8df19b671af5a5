#include "chart/series_function.h"

#include "chart/series.h"

#include <algorithm>

namespace telvara {

// One point per period at the X of its first point; a period of 0 (all the
// points) gives the value at both ends, a level line.
void TSeriesFunction::Recalculate() {
    if (!parent_ || sources_.empty())
        return;
    parent_->ClearPoints();
    for (TChartSeries* s : sources_) {
        if (!s || s == parent_ || !s->Active() || s->Count() == 0)
            continue;
        const int n = s->Count();
        if (period_ == 0) {
            const double v = Calculate(*s, 0, n - 1);
            parent_->AddPoint(s->XValues().Value(0), v);
            if (n > 1)
                parent_->AddPoint(s->XValues().Value(n - 1), v);
            continue;
        }
        for (int first = 0; first < n; first += period_) {
            const int last = std::min(n - 1, first + period_ - 1);
            parent_->AddPoint(s->XValues().Value(first), Calculate(*s, first, last));
        }
    }
}

double TAverageFunction::Calculate(const TChartSeries& source, int first, int last) const {
    double sum = 0;
    for (int i = first; i <= last; ++i)
        sum += source.YValues().Value(i);
    return sum / (last - first + 1);
}

} // namespace telvara
