#pragma once
// One double per point, in point order, with lazily computed statistics.
#include <string>
#include <vector>

namespace telvara {

enum TChartListOrder { loNone, loAscending, loDescending };

class TChartValueList {
public:
    TChartValueList(std::string name, TChartListOrder order)
        : name_(std::move(name)), order_(order) {}

    const std::string& Name() const { return name_; }
    void SetName(const std::string& v) { name_ = v; }
    TChartListOrder Order() const { return order_; }
    void SetOrder(TChartListOrder v) { order_ = v; }
    double Multiplier() const { return multiplier_; }
    void SetMultiplier(double v);
    bool DateTime() const { return dateTime_; }
    void SetDateTime(bool v) { dateTime_ = v; }

    int Count() const { return static_cast<int>(values_.size()); }
    // Value read at index: stored value times Multiplier.
    double Value(int index) const { return values_.at(index) * multiplier_; }
    double operator[](int index) const { return Value(index); }
    // Stored value, without the multiplier.
    double Stored(int index) const { return values_.at(index); }

    // Position where v goes by Order (equal values keep their arrival order).
    int InsertPosition(double v) const;
    // Ordered insertion; returns the index.
    int AddOrdered(double v);
    void InsertAt(int index, double v);
    void Delete(int index);
    // Empties the list and releases its capacity.
    void Clear();

    double MinValue() const;
    double MaxValue() const;
    double Total() const;
    double TotalABS() const;

private:
    void Recalc() const;
    std::string name_;
    TChartListOrder order_;
    double multiplier_ = 1.0;
    bool dateTime_ = false;
    std::vector<double> values_;
    mutable bool stale_ = true;
    mutable double min_ = 0, max_ = 0, total_ = 0, totalAbs_ = 0;
};

} // namespace telvara
