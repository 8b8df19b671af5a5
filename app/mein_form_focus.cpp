// Focus bookkeeping of the main window: exit and entry handlers run when the
// focus moves from one control of this window to another, never when it
// only goes to another window (a message box, the chart window) and back.
#include "app/mein_form.h"

#include "chartwin/chat_form.h"
#include "platform/guard.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

namespace telvara {

void TMeinForm::bindExit(QWidget* control, std::function<void()> handler) {
    exitHandlers_.insert(control, std::move(handler));
}

void TMeinForm::bindEnter(QWidget* control, std::function<void()> handler) {
    enterHandlers_.insert(control, std::move(handler));
}

void TMeinForm::focusControl(QWidget* control) {
    if (focusChangeDepth_ > 0)
        activeControl_ = control; // redirects the change in progress; no further checks
    control->setFocus(Qt::OtherFocusReason);
}

bool TMeinForm::runHandler(const QHash<QWidget*, std::function<void()>>& handlers,
                           QWidget* control) {
    const auto it = handlers.constFind(control);
    if (it == handlers.constEnd())
        return true;
    return runGuarded(services_.messages, it.value());
}

void TMeinForm::onFocusChanged(QWidget* /*old*/, QWidget* now) {
    // Boxes shown by a handler, and the focus moves a handler makes, are part
    // of that handler's own focus change.
    if (focusChangeDepth_ > 0)
        return;
    if (!now || now->window() != this || now == this || now == activeControl_)
        return;
    QWidget* previous = activeControl_;
    activeControl_ = now;
    ++focusChangeDepth_;
    // A failed exit check ends the focus change: the entry check is not run.
    const bool exited = !previous || runHandler(exitHandlers_, previous);
    // The exit handler may have sent the focus back or on.
    if (exited && activeControl_ != previous)
        runHandler(enterHandlers_, activeControl_);
    --focusChangeDepth_;
    // When the focus was sent elsewhere, or the exit check failed with its
    // report, a click that moved the focus is refused with it. (A failed
    // check on Tab leaves the focus in the new control, which a later click
    // must reach.)
    const bool byClick = QGuiApplication::mouseButtons() != Qt::NoButton;
    swallowMouse_ = activeControl_ != now || (!exited && byClick) ? now : nullptr;
}

void TMeinForm::watchControls() {
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool TMeinForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The focus was given before the press arrives here; when an exit
        // check sent it elsewhere, the press must not act on the control.
        // Only that one press: its release may never come (a modal box the
        // check showed keeps it from the window), and the next click acts.
        swallowRelease_ = nullptr;
        if (watched == swallowMouse_) {
            swallowMouse_ = nullptr;
            swallowRelease_ = watched;
            return true;
        }
        swallowMouse_ = nullptr;
        break;
    case QEvent::MouseButtonRelease:
        if (watched == swallowRelease_) {
            swallowRelease_ = nullptr;
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TMeinForm::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    if (!runGuarded(services_.messages, [&] { FormCloseQuery(canClose); }))
        canClose = false;
    // The open study's unsaved changes: save, drop, or stay.
    if (canClose && chart_ && !chart_->maybeSaveStudy())
        canClose = false;
    if (!canClose) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

void TMeinForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!sizeFitted_) {
        sizeFitted_ = true;
        // The window frame is known only once the window manager has framed
        // it, which some do a little later.
        QTimer::singleShot(0, this, [this] { fitOuterSize(); });
        QTimer::singleShot(300, this, [this] { fitOuterSize(); });
    }
}

void TMeinForm::fitOuterSize() {
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize client(kMeinFormWidth - frame.width(), kMeinFormHeight - frame.height());
    if (client == size())
        return;
    setFixedSize(client);
    centreOnDesktop();
}

void TMeinForm::centreOnDesktop() {
    if (const QScreen* screen = this->screen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.x() + (desk.width() - kMeinFormWidth) / 2,
             desk.y() + (desk.height() - kMeinFormHeight) / 2);
    }
}

} // namespace telvara
