// "ﾌﾟﾚﾋﾞｭｰ": the page "印刷" would print, drawn by the same print code on
// the preview's printer, with printing from the preview.
#include "base/errors.h"
#include "chartwin/chat_form.h"
#include "platform/help_contexts.h"
#include "platform/help_keys.h"
#include "platform/print_preview.h"
#include "platform/qt_printer.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace telvara {

namespace {

// Puts the installed printer back however the drawing ends.
class PrinterSwap {
public:
    explicit PrinterSwap(TChartPrinter& p) : previous_(SetPrinter(&p)) {}
    ~PrinterSwap() { SetPrinter(previous_); }
    PrinterSwap(const PrinterSwap&) = delete;
    PrinterSwap& operator=(const PrinterSwap&) = delete;

private:
    TChartPrinter* previous_;
};

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
    auto* printer = dynamic_cast<TQtPrinter*>(&Printer());
    if (!printer)
        throw TelvaraError(msgNoPrinter);
    QPrinter& device = printer->Device();
    const TPrinterOrientation before = printer->Orientation();
    printer->SetOrientation(*orientation);
    // The orientation the program's printer had comes back, as after "印刷".
    struct Restore {
        TQtPrinter& p;
        TPrinterOrientation o;
        ~Restore() { p.SetOrientation(o); }
    } restore{*printer, before};
    preview_->preview(device, [this](QPrinter& page) {
        TQtPrinter target(page);
        PrinterSwap swap(target);
        Chart1().PrintChart();
    });
}

} // namespace telvara
