#pragma once
// The chart's printer on QPrinter: the system's default print queue, or a
// printer the caller configured (a PDF file).
#include "chart/print.h"

#include <QPrinter>

#include <memory>

class QPainter;

namespace telvara {

class QtCanvas3D;

class TQtPrinter final : public TChartPrinter {
public:
    // The system's default queue, looked up again at every print so that a
    // queue set up while the program runs is found.
    TQtPrinter();
    // Always prints on target, which must outlive this object.
    explicit TQtPrinter(QPrinter& target);
    ~TQtPrinter() override;
    TQtPrinter(const TQtPrinter&) = delete;
    TQtPrinter& operator=(const TQtPrinter&) = delete;

    TPrinterOrientation Orientation() override;
    void SetOrientation(TPrinterOrientation o) override;
    int PageWidth() override;
    int PageHeight() override;
    int DpiX() override;
    int DpiY() override;
    void SetTitle(const std::string& title) override;
    void BeginDoc() override;
    TCanvas3D& Canvas() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override;
    // A fixed printer, or a default queue configured now.
    bool Available() override;

    // The printer in use; fails when no default queue is configured.
    QPrinter& Device();

private:
    QPrinter& Settings();
    QPrinter* fixed_ = nullptr;
    std::unique_ptr<QPrinter> default_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<QtCanvas3D> canvas_;
};

extern const char* const msgPrintStartFailed;
extern const char* const msgPrintFailed;

} // namespace telvara
