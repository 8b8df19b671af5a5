#pragma once
// A calculation a series can carry: its points are computed from other
// series (the data sources). Without a data source it computes nothing and
// the series keeps the points added to it.
#include <vector>

namespace telvara {

class TChartSeries;

class TSeriesFunction {
public:
    virtual ~TSeriesFunction() = default;
    // The series that carries the function.
    TChartSeries* ParentSeries() const { return parent_; }
    void SetParentSeries(TChartSeries* s) { parent_ = s; }
    std::vector<TChartSeries*>& DataSources() { return sources_; }
    // Points per calculated value; 0 uses all points at once.
    int Period() const { return period_; }
    void SetPeriod(int v) { period_ = v < 0 ? 0 : v; }

    // Refills the parent series from the data sources; nothing without one.
    void Recalculate();

protected:
    // Value for the points first .. last of a source.
    virtual double Calculate(const TChartSeries& source, int first, int last) const = 0;

private:
    TChartSeries* parent_ = nullptr;
    std::vector<TChartSeries*> sources_;
    int period_ = 0;
};

// Mean of the Y values.
class TAverageFunction : public TSeriesFunction {
protected:
    double Calculate(const TChartSeries& source, int first, int last) const override;
};

} // namespace telvara
