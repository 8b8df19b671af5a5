#pragma once
// Printing and bitmap export of one chart: the screen's paint sequence drawn
// onto a printer's page or a bitmap. The devices are parameters; the chart
// lends its print settings and its paint.
#include "chart/print.h"

#include <memory>
#include <string>

namespace telvara {

class TCustomChartPanel;

class TChartRenderer {
public:
    explicit TChartRenderer(TCustomChartPanel& chart) : chart_(chart) {}

    // Page rectangle for a printable page of pw x ph device pixels at dpiX/dpiY.
    TRect PageRect(int pw, int ph, int dpiX, int dpiY) const;
    // Page rectangle on p in its current orientation; with proportional
    // printing the chart's margins are first fitted to the screen's aspect.
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
    // Drawing on another surface lays the chart out for that surface and drops
    // the screen's kept picture. The screen is painted again at once, so that
    // the next mouse event hits, zooms and pans on the layout the user sees and
    // a zoom frame has a picture to go on.
    static void RepaintScreen(TCustomChartPanel& chart) noexcept;

    TCustomChartPanel& chart_;
};

} // namespace telvara
