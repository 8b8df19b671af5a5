// The devices installed by the platform, and the panel's printing and export
// on them through a TChartRenderer.
#include "chart/print.h"

#include "chart/chart_renderer.h"
#include "chart/panel.h"

#include <utility>

namespace telvara {

const char* const msgNoPrinter = "プリンタが設定されていません";

namespace {

TChartPrinter* installedPrinter = nullptr;
TChartBitmapFactory* installedBitmaps = nullptr;

} // namespace

TChartPrinter& Printer() {
    if (!installedPrinter)
        throw TelvaraError(msgNoPrinter);
    return *installedPrinter;
}

TChartPrinter* SetPrinter(TChartPrinter* p) {
    return std::exchange(installedPrinter, p);
}

TChartBitmapFactory& BitmapFactory() {
    if (!installedBitmaps)
        throw TelvaraError("ビットマップを作成できません");
    return *installedBitmaps;
}

TChartBitmapFactory* SetBitmapFactory(TChartBitmapFactory* f) {
    return std::exchange(installedBitmaps, f);
}

namespace {
// The screen is painted again after an export, also one that finds no maker.
TChartBitmapFactory& exportBitmaps(TCustomChartPanel& panel) {
    try {
        return BitmapFactory();
    } catch (...) {
        TChartRenderer::RepaintScreen(panel);
        throw;
    }
}
} // namespace

TRect TCustomChartPanel::GetExportRect() const {
    return {0, 0, width_, height_};
}

TRect TCustomChartPanel::CalcPrintPageRect(int pw, int ph, int dpiX, int dpiY) {
    return TChartRenderer(*this).PageRect(pw, ph, dpiX, dpiY);
}

TRect TCustomChartPanel::CalcPrintPageRect() {
    return TChartRenderer(*this).PageRect(Printer());
}

void TCustomChartPanel::PrintChartPortrait() {
    PrintChartOriented(poPortrait);
}

void TCustomChartPanel::PrintChartLandscape() {
    PrintChartOriented(poLandscape);
}

void TCustomChartPanel::PrintChartOriented(TPrinterOrientation o) {
    TChartRenderer(*this).PrintOriented(Printer(), o);
}

void TCustomChartPanel::PrintChart() {
    TChartRenderer(*this).Print(Printer());
}

void TCustomChartPanel::PrintChartInRect(const TRect& r) {
    TChartRenderer(*this).PrintInRect(Printer(), r);
}

void TCustomChartPanel::DrawChartOnCanvasRect(TCanvas3D& canvas, TRect r) {
    TChartRenderer(*this).DrawOnCanvasRect(canvas, r);
}

void TCustomChartPanel::SaveChartBitmap(const std::string& fileName) {
    TChartRenderer(*this).SaveBitmap(exportBitmaps(*this), fileName);
}

std::unique_ptr<TChartBitmap> TCustomChartPanel::MakeChartBitmap(TColor backColour,
                                                                 const TRect& r) {
    return TChartRenderer(*this).MakeBitmap(exportBitmaps(*this), backColour, r);
}

} // namespace telvara
