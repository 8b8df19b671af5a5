// The panel's printing and export, on the devices its caller hands down,
// through a TChartRenderer.
#include "chart/print.h"

#include "chart/chart_renderer.h"
#include "chart/panel.h"

namespace telvara {

const char* const msgNoPrinter = "プリンタが設定されていません";

TRect TCustomChartPanel::GetExportRect() const {
    return {0, 0, width_, height_};
}

TRect TCustomChartPanel::CalcPrintPageRect(int pw, int ph, int dpiX, int dpiY) {
    return TChartRenderer(*this).PageRect(pw, ph, dpiX, dpiY);
}

TRect TCustomChartPanel::CalcPrintPageRect(TChartPrinter& p) {
    return TChartRenderer(*this).PageRect(p);
}

void TCustomChartPanel::PrintChartPortrait(TChartPrinter& p) {
    PrintChartOriented(p, poPortrait);
}

void TCustomChartPanel::PrintChartLandscape(TChartPrinter& p) {
    PrintChartOriented(p, poLandscape);
}

void TCustomChartPanel::PrintChartOriented(TChartPrinter& p, TPrinterOrientation o) {
    TChartRenderer(*this).PrintOriented(p, o);
}

void TCustomChartPanel::PrintChart(TChartPrinter& p) {
    TChartRenderer(*this).Print(p);
}

void TCustomChartPanel::PrintChartInRect(TChartPrinter& p, const TRect& r) {
    TChartRenderer(*this).PrintInRect(p, r);
}

void TCustomChartPanel::DrawChartOnCanvasRect(TCanvas3D& canvas, TRect r) {
    TChartRenderer(*this).DrawOnCanvasRect(canvas, r);
}

void TCustomChartPanel::SaveChartBitmap(TChartBitmapFactory& f, const std::string& fileName) {
    TChartRenderer(*this).SaveBitmap(f, fileName);
}

std::unique_ptr<TChartBitmap>
TCustomChartPanel::MakeChartBitmap(TChartBitmapFactory& f, TColor backColour, const TRect& r) {
    return TChartRenderer(*this).MakeBitmap(f, backColour, r);
}

} // namespace telvara
