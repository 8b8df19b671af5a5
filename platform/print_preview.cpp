#include "platform/print_preview.h"

#include "platform/ui_messages.h"

#include <QPrintPreviewDialog>

#include <exception>

namespace telvara {

void QtPrintPreview::preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog dialog(&printer, dialogParent());
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    // No failure may pass through Qt: it is kept and raised once the dialog is closed.
    std::exception_ptr failure;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* page) {
        if (failure)
            return;
        try {
            paint(*page);
        } catch (...) {
            failure = std::current_exception();
            QMetaObject::invokeMethod(&dialog, &QDialog::reject, Qt::QueuedConnection);
        }
    });
    dialog.exec();
    if (failure)
        std::rethrow_exception(failure);
}

PrintPreviewService* defaultPrintPreview() {
    static QtPrintPreview preview;
    return &preview;
}

} // namespace telvara
