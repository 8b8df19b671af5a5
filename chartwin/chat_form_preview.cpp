// "ﾌﾟﾚﾋﾞｭｰ": the page "印刷" would print, drawn by the same print code on
// the preview's printer, with printing from the preview; without a printer
// the page on the system's default paper, printing off.
#include "chartwin/chat_form.h"
#include "platform/help_contexts.h"
#include "platform/help_keys.h"
#include "platform/paper_size.h"
#include "platform/print_preview.h"
#include "platform/qt_printer.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace telvara {

namespace {
const QString kPreviewWithoutPrinter =
    QStringLiteral("プリンタが設定されていないため、印刷できません。"
                   "ページはシステムの既定の用紙に描いています。"
                   "プリンタを設定してから、もう一度ﾌﾟﾚﾋﾞｭｰを開くと印刷できます。");
} // namespace

void TChatForm::addPreviewButton(QHBoxLayout* bar) {
    Button5 = new QPushButton(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"), Panel1);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setFixedSize(65, 25);
    Button5->setToolTip(QStringLiteral("印刷する通りのページを表示し、そこから印刷できます。"));
    setHelpContext(Button5, kExportHelpContext);
    setHelpContext(Button4, kExportHelpContext);
    bar->addWidget(Button5);
}

void TChatForm::Button5Click() {
    const std::optional<TPrinterOrientation> orientation = askPageSetup();
    if (!orientation)
        return;
    auto paint = [this](QPrinter& page) {
        TQtPrinter target(page);
        renderer_->Print(target);
    };
    auto* qt = printer_ ? dynamic_cast<TQtPrinter*>(printer_) : nullptr;
    if (!qt || !qt->Available()) {
        // No printer to ask for its paper: the system's default sheet, printing off.
        QPrinter sheet(QPrinter::HighResolution);
        sheet.setOutputFormat(QPrinter::PdfFormat);
        sheet.setPageSize(systemPaperSize());
        sheet.setPageOrientation(*orientation == poLandscape ? QPageLayout::Landscape
                                                             : QPageLayout::Portrait);
        preview_->preview(sheet, paint, kPreviewWithoutPrinter);
        return;
    }
    QPrinter& device = qt->Device();
    const TPrinterOrientation before = qt->Orientation();
    qt->SetOrientation(*orientation);
    // The orientation the program's printer had comes back, as after "印刷".
    struct Restore {
        TQtPrinter& p;
        TPrinterOrientation o;
        ~Restore() { p.SetOrientation(o); }
    } restore{*qt, before};
    preview_->preview(device, paint);
}

} // namespace telvara
