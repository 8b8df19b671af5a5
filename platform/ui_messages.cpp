#include "platform/ui_messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace telvara {

QWidget* dialogParent() {
    return QApplication::activeWindow();
}

namespace {

void showOkBox(BoxKind kind, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, boxTitle(kind), text, QMessageBox::NoButton, dialogParent());
    QPushButton* ok = box.addButton(kOkCaption, QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

} // namespace

void QtMessageService::showMessage(const QString& text) {
    showOkBox(BoxKind::Message, QMessageBox::NoIcon, text);
}

void QtMessageService::showWarning(const QString& text) {
    showOkBox(BoxKind::Warning, QMessageBox::Warning, text);
}

void QtMessageService::showError(const QString& text) {
    showOkBox(BoxKind::Error, QMessageBox::Critical, text);
}

BoxAnswer QtMessageService::confirm(const QString& text, ConfirmButtons buttons) {
    QMessageBox box(QMessageBox::Question, boxTitle(BoxKind::Confirm), text, QMessageBox::NoButton,
                    dialogParent());
    struct Choice {
        QPushButton* button;
        BoxAnswer answer;
    };
    Choice choices[3] = {};
    int count = 0;
    auto add = [&](const QString& caption, QMessageBox::ButtonRole role, BoxAnswer answer) {
        choices[count++] = {box.addButton(caption, role), answer};
    };
    switch (buttons) {
    case ConfirmButtons::YesNo:
        add(kYesCaption, QMessageBox::YesRole, BoxAnswer::Yes);
        add(kNoCaption, QMessageBox::NoRole, BoxAnswer::No);
        break;
    case ConfirmButtons::OkCancel:
        add(kOkCaption, QMessageBox::AcceptRole, BoxAnswer::Ok);
        add(kCancelCaption, QMessageBox::RejectRole, BoxAnswer::Cancel);
        break;
    case ConfirmButtons::YesNoCancel:
        add(kYesCaption, QMessageBox::YesRole, BoxAnswer::Yes);
        add(kNoCaption, QMessageBox::NoRole, BoxAnswer::No);
        add(kCancelCaption, QMessageBox::RejectRole, BoxAnswer::Cancel);
        break;
    }
    box.setDefaultButton(choices[0].button);
    // Closing the box (close box, Esc) is told apart from every button: it
    // lands on this invisible one instead of the one Qt would pick.
    QPushButton* closer = box.addButton(QString(), QMessageBox::RejectRole);
    closer->hide();
    box.setEscapeButton(closer);
    box.exec();
    for (int i = 0; i < count; ++i)
        if (box.clickedButton() == choices[i].button)
            return choices[i].answer;
    return BoxAnswer::Closed;
}

} // namespace telvara
