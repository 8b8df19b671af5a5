#pragma once
// The coordination check on the chart's curves: the margins of neighbouring
// relay curves, and what the chart draws for them (fault-current lines and a
// mark at each failing pair's smallest margin).
#include "chartwin/coordination_chart.h"
#include "relay/margins.h"
#include "study/study_check.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace telvara {

struct CheckSettings {
    double cti = kDefaultCti;
    std::optional<double> maxFaultCurrent;
    std::optional<double> minFaultCurrent;
};

struct CheckRow {
    std::string downstream; // "会社名 デバイスNo.", or a study device's label
    std::string upstream;
    PairMargin result;
    // The study's path the pair lies on; "-" for pairs by pick-up.
    std::string path = "-";
    // 協調 for a pair; 損傷, 励磁突入, 始動 for equipment and the device
    // protecting it (downstream: the equipment, upstream: the device).
    std::string kind = "協調";
    // Equipment lines: a verdict and a current even without a margin.
    bool equipment = false;
    std::optional<double> current{};
};

// The pairs of the chart's relay curves (typed curves take no part), worst
// first; pairs without a common current range last.
std::vector<CheckRow> checkChart(TCoordinationChart& chart, const CheckSettings& settings);

// The pairs along the study's paths (the relay-relay margin given), worst
// first; pairs without a common current range last.
std::vector<CheckRow> checkStudyRows(const TStudy& study, double ctiRelayRelay,
                                     std::vector<TStudyCheckLine>* lines = nullptr);

// A row's cells: path, kind, downstream, upstream, smallest margin (s),
// current (A), verdict.
std::array<std::string, 7> checkRowCells(const CheckRow& row);
// The table as text: the heading line, then a line a row; tab-separated.
std::string checkTableText(const std::vector<CheckRow>& rows);

// Draws the fault-current lines and the failing pairs' marks with every
// paint, print and export of the chart, below the curves. The marks are
// checked again at each paint, so they follow curves added or removed.
class TCheckOverlay {
public:
    explicit TCheckOverlay(TCoordinationChart& chart);
    ~TCheckOverlay();
    TCheckOverlay(const TCheckOverlay&) = delete;
    TCheckOverlay& operator=(const TCheckOverlay&) = delete;

    void Show(const CheckSettings& settings);
    void Clear();
    // Whether the lines and marks are drawn; the check shown is kept either way.
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    // Called at every paint of the chart, after the overlay is drawn (or not):
    // the curves may have changed since the last one.
    std::function<void()> OnPaint;

private:
    void draw();

    TCoordinationChart& coordination_;
    TChart& chart_;
    TNotifyEvent previous_;
    std::optional<CheckSettings> settings_;
    bool visible_ = true;
};

// A fault current's dashed blue line across the plot at x, its label at
// labelY right of it, or left of it where the plot would cut it off when
// keepInside is set. The canvas's font is the label's.
void drawFaultCurrentLine(TCanvas3D& c, const TRect& plot, int x, const std::string& label,
                          int labelY, bool keepInside);

// The failure marks of a check: a red line from the downstream to the
// upstream time at the smallest margin's current, a square at each end.
void drawMarginMarks(TCanvas3D& c, TChartAxis& currents, TChartAxis& times,
                     const std::vector<PairMargin>& failing);

} // namespace telvara
