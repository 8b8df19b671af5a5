#include "platform/print_preview.h"

#include "platform/ui_messages.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QPrintPreviewDialog>
#include <QToolBar>

#include <exception>

namespace telvara {

QAction* previewPrintAction(QWidget& previewDialog) {
    const QString caption = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QToolBar* bar : previewDialog.findChildren<QToolBar*>())
        for (QAction* action : bar->actions())
            if (action->text() == caption)
                return action;
    return nullptr;
}

void QtPrintPreview::preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint,
                             const QString& printOff) {
    QPrintPreviewDialog dialog(&printer, dialogParent());
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    if (!printOff.isEmpty()) {
        // The reason stays in view under the page, and on the button itself.
        if (QAction* print = previewPrintAction(dialog)) {
            print->setEnabled(false);
            print->setToolTip(printOff);
        }
        auto* reason = new QLabel(printOff, &dialog);
        reason->setObjectName(QStringLiteral("printOffReason"));
        reason->setWordWrap(true);
        if (QLayout* layout = dialog.layout())
            layout->addWidget(reason);
    }
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
