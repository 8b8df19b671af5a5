#pragma once
// The print preview: the page as it will print, with printing from there.
// Behind an interface so that tests can look at the page without a dialog.
#include <QPrinter>
#include <QString>

class QAction;
class QWidget;

#include <functional>

namespace telvara {

class PrintPreviewService {
public:
    virtual ~PrintPreviewService() = default;
    // Shows the pages paint draws on printer; paint runs again for every
    // change the user makes in the preview and when printing from it. A
    // failure of paint closes the preview and reaches the caller. A non-empty
    // printOff turns printing off and is shown as the reason.
    virtual void preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint,
                         const QString& printOff = {}) = 0;
};

// Qt's preview dialog.
class QtPrintPreview final : public PrintPreviewService {
public:
    void preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint,
                 const QString& printOff = {}) override;
};

// The preview's print command, found by its caption; nullptr when none is.
QAction* previewPrintAction(QWidget& previewDialog);

// The program's one Qt preview.
PrintPreviewService* defaultPrintPreview();

} // namespace telvara
