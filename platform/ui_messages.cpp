#include "platform/ui_messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>

namespace telvara {

QWidget* dialogParent() {
    return QApplication::activeWindow();
}

namespace {

int titleRoom(const QWidget& box) {
    // The title bar's font is the window manager's; a bold one of the
    // program's size and a fifth more is a safe measure.
    QFont font = QApplication::font();
    font.setBold(true);
    const int text = QFontMetrics(font).horizontalAdvance(box.windowTitle()) * 6 / 5;
    // The window's icon and the title bar's three buttons beside the title.
    const int button = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    return text + 4 * button;
}

// A box never gets narrower than its title, which would be cut ("T… a").
void keepTitleWhole(QMessageBox& box) {
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleRoom(box), 0, QSizePolicy::Minimum), grid->rowCount(), 0,
                      1, grid->columnCount());
}

void showOkBox(BoxKind kind, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, boxTitle(kind), text, QMessageBox::NoButton, dialogParent());
    QPushButton* ok = box.addButton(kOkCaption, QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    keepTitleWhole(box);
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
    keepTitleWhole(box);
    box.exec();
    for (int i = 0; i < count; ++i)
        if (box.clickedButton() == choices[i].button)
            return choices[i].answer;
    return BoxAnswer::Closed;
}

} // namespace telvara
