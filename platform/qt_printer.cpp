#include "platform/qt_printer.h"

#include "base/errors.h"
#include "platform/qt_canvas.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinterInfo>

namespace telvara {

const char* const msgPrintStartFailed = "印刷を開始できません";
const char* const msgPrintFailed = "印刷できませんでした";

TQtPrinter::TQtPrinter() = default;

TQtPrinter::TQtPrinter(QPrinter& target) : fixed_(&target) {}

TQtPrinter::~TQtPrinter() {
    canvas_.reset();
    if (painter_ && painter_->isActive())
        painter_->end();
}

QPrinter& TQtPrinter::Device() {
    if (fixed_)
        return *fixed_;
    if (default_ && Printing())
        return *default_;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw TelvaraError(msgNoPrinter);
    if (!default_) {
        default_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else if (default_->printerName() != info.printerName()) {
        // Another default queue: keep the orientation the program chose.
        const QPageLayout::Orientation o = default_->pageLayout().orientation();
        default_->setPrinterName(info.printerName());
        default_->setPageOrientation(o);
    }
    return *default_;
}

// The orientation is the printer object's own setting: once there is one it
// is read and restored without asking for the default queue again, so that a
// queue removed meanwhile cannot stop the restore after a print.
QPrinter& TQtPrinter::Settings() {
    if (fixed_)
        return *fixed_;
    return default_ ? *default_ : Device();
}

TPrinterOrientation TQtPrinter::Orientation() {
    return Settings().pageLayout().orientation() == QPageLayout::Landscape ? poLandscape
                                                                           : poPortrait;
}

void TQtPrinter::SetOrientation(TPrinterOrientation o) {
    Settings().setPageOrientation(o == poLandscape ? QPageLayout::Landscape
                                                   : QPageLayout::Portrait);
}

// The printable area in device pixels; the painter's origin is its corner.
int TQtPrinter::PageWidth() {
    return Device().width();
}

int TQtPrinter::PageHeight() {
    return Device().height();
}

int TQtPrinter::DpiX() {
    return Device().logicalDpiX();
}

int TQtPrinter::DpiY() {
    return Device().logicalDpiY();
}

void TQtPrinter::SetTitle(const std::string& title) {
    Device().setDocName(QString::fromStdString(title));
}

void TQtPrinter::BeginDoc() {
    QPrinter& device = Device();
    if (Printing())
        throw TelvaraError(msgPrintStartFailed);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&device))
        throw TelvaraError(msgPrintStartFailed);
    painter_ = std::move(painter);
    canvas_ = std::make_unique<QtCanvas3D>(painter_.get());
}

TCanvas3D& TQtPrinter::Canvas() {
    if (!canvas_)
        throw TelvaraError(msgPrintStartFailed);
    return *canvas_;
}

void TQtPrinter::EndDoc() {
    canvas_.reset();
    if (!painter_)
        return;
    QPrinter* device = static_cast<QPrinter*>(painter_->device());
    const bool ended = painter_->end();
    painter_.reset();
    if (!ended || device->printerState() == QPrinter::Error)
        throw TelvaraError(msgPrintFailed);
}

// Not every print system can drop a job already begun; the document is then
// closed by the caller as it stands.
void TQtPrinter::Abort() {
    if (Printing())
        static_cast<QPrinter*>(painter_->device())->abort();
}

bool TQtPrinter::Available() {
    return fixed_ || Printing() || !QPrinterInfo::defaultPrinter().isNull();
}

bool TQtPrinter::Printing() const {
    return painter_ && painter_->isActive();
}

} // namespace telvara
