#include "chart/value_list.h"

#include <cmath>

namespace telvara {

void TChartValueList::SetMultiplier(double v) {
    if (multiplier_ != v) {
        multiplier_ = v;
        stale_ = true;
    }
}

int TChartValueList::InsertPosition(double v) const {
    const int n = Count();
    if (order_ == loNone || n == 0)
        return n;
    if (order_ == loAscending) {
        if (v >= values_[n - 1])
            return n;
        for (int i = n - 2; i >= 0; --i)
            if (values_[i] <= v)
                return i + 1;
        return 0;
    }
    if (v <= values_[n - 1])
        return n;
    for (int i = n - 2; i >= 0; --i)
        if (values_[i] >= v)
            return i + 1;
    return 0;
}

int TChartValueList::AddOrdered(double v) {
    const int index = InsertPosition(v);
    InsertAt(index, v);
    return index;
}

void TChartValueList::InsertAt(int index, double v) {
    values_.insert(values_.begin() + index, v);
    stale_ = true;
}

void TChartValueList::Delete(int index) {
    values_.erase(values_.begin() + index);
    stale_ = true;
}

void TChartValueList::Clear() {
    std::vector<double>().swap(values_);
    stale_ = true;
}

void TChartValueList::Recalc() const {
    min_ = max_ = total_ = totalAbs_ = 0;
    for (size_t i = 0; i < values_.size(); ++i) {
        const double v = values_[i] * multiplier_;
        if (i == 0 || v < min_)
            min_ = v;
        if (i == 0 || v > max_)
            max_ = v;
        total_ += v;
        totalAbs_ += std::fabs(v);
    }
    stale_ = false;
}

double TChartValueList::MinValue() const {
    if (stale_)
        Recalc();
    return min_;
}
double TChartValueList::MaxValue() const {
    if (stale_)
        Recalc();
    return max_;
}
double TChartValueList::Total() const {
    if (stale_)
        Recalc();
    return total_;
}
double TChartValueList::TotalABS() const {
    if (stale_)
        Recalc();
    return totalAbs_;
}

} // namespace telvara
