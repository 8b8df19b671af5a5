#pragma once
// Printing and export of one chart: the chart's paint sequence drawn onto a
// printer's page, a bitmap or any surface, laid out in a layout of the
// renderer's own, so that the screen's layout, kept picture and settings stay
// as they were. The devices are parameters; the print settings are the
// renderer's own, the chart lends its paint.
#include "chart/print.h"

#include <memory>
#include <string>

namespace telvara {

class TCustomChartPanel;

// How a chart goes on paper.
struct TChartPrintOptions {
    // Left, top, right, bottom margins in percent of the printable page.
    TRect marginPercent{15, 15, 15, 15};
    // Margins widened so that the picture keeps the screen's aspect.
    bool proportional = true;
    // Percent taken off the screen size before the layout is stretched onto
    // the page: larger texts and lines on paper.
    int resolution = 0;
};

class TChartRenderer {
public:
    explicit TChartRenderer(TCustomChartPanel& chart, const TChartPrintOptions& options = {})
        : chart_(chart), options_(options) {}

    TCustomChartPanel& Chart() const { return chart_; }
    TChartPrintOptions& Options() { return options_; }
    const TChartPrintOptions& Options() const { return options_; }
    // The chart's client rectangle (0, 0, width, height): what an export draws.
    TRect ExportRect() const;

    // Page rectangle for a printable page of pw x ph device pixels at dpiX/dpiY.
    TRect PageRect(int pw, int ph, int dpiX, int dpiY) const;
    // Page rectangle on p in its current orientation; with proportional
    // printing the margins are first fitted to the screen's aspect (and kept so).
    TRect PageRect(TChartPrinter& p);
    // One chart on one page of p; p's own orientation is restored afterwards,
    // also on failure.
    void PrintOriented(TChartPrinter& p, TPrinterOrientation o);
    void Print(TChartPrinter& p);
    void PrintInRect(TChartPrinter& p, const TRect& r);
    // Draws the chart stretched onto r of any canvas.
    void DrawOnCanvasRect(TCanvas3D& canvas, TRect r);
    // The chart as on screen on a new bitmap of r's size.
    std::unique_ptr<TChartBitmap> MakeBitmap(TChartBitmapFactory& f, TColor backColour,
                                             const TRect& r);
    void SaveBitmap(TChartBitmapFactory& f, const std::string& fileName);

private:
    TCustomChartPanel& chart_;
    TChartPrintOptions options_;
};

} // namespace telvara
