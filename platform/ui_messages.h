#pragma once
// Message, warning, error and confirmation boxes on QMessageBox.
#include "platform/services.h"

class QWidget;

namespace telvara {

class QtMessageService : public MessageService {
public:
    void showMessage(const QString& text) override;
    void showWarning(const QString& text) override;
    void showError(const QString& text) override;
    BoxAnswer confirm(const QString& text, ConfirmButtons buttons) override;
};

// The window a dialog opened now belongs to: the active window, if any.
QWidget* dialogParent();

} // namespace telvara
