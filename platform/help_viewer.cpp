#include "platform/help_viewer.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>

#include <algorithm>

namespace telvara {

QtHelpService::QtHelpService(MessageService& messages, HelpLocator locator)
    : messages_(messages), locator_(std::move(locator)) {}

QtHelpService::~QtHelpService() = default;

void QtHelpService::showContext(int context) {
    show(QString::number(context), QStringLiteral("ヘルプコンテキスト %1").arg(context));
}

void QtHelpService::showTopic(const QString& topic) {
    show(topic, QStringLiteral("トピック「%1」").arg(topic));
}

void QtHelpService::show(const QString& key, const QString& what) {
    const QString set = locator_.findSet(file_);
    if (set.isEmpty()) {
        messages_.showMessage(
            QStringLiteral("ヘルプファイル「%1」が見つかりません。").arg(helpSetName(file_)));
        return;
    }
    const QString page = HelpLocator::pageFor(set, key);
    if (page.isEmpty()) {
        messages_.showMessage(QStringLiteral("ヘルプファイル「%1」に%2のページがありません。")
                                  .arg(helpSetName(file_), what));
        return;
    }
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    QTextBrowser* browser = browserForNow();
    browser->setSearchPaths({set});
    browser->setSource(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
    if (!browser->isVisible())
        placeOnScreen(*browser, owner);
    browser->show();
    browser->raise();
    browser->activateWindow();
    shown_ = browser;
}

// A modal dialog blocks every window but its own: help asked for while one is
// open goes into a help window of that dialog's, closed with it, so that it
// can be scrolled and closed while the dialog waits.
QTextBrowser* QtHelpService::browserForNow() {
    static const QString kOwnHelpWindow = QStringLiteral("telvaraHelpWindow");
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* own = modal->findChild<QTextBrowser*>(kOwnHelpWindow, Qt::FindDirectChildrenOnly))
            return own;
        QTextBrowser* own = newHelpWindow().release();
        own->setObjectName(kOwnHelpWindow);
        own->setParent(modal, Qt::Window);
        return own;
    }
    if (!browser_)
        browser_ = newHelpWindow();
    return browser_.get();
}

// A help window opens over the window it was asked from, wholly on that
// window's screen (a dialog low on the screen would push it off the bottom).
void QtHelpService::placeOnScreen(QWidget& help, const QWidget* owner) {
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    // The frame is not known before the window is shown: the owner's stands for it.
    const QRect ownerFrame = owner ? owner->frameGeometry() : room;
    const QMargins frame = owner ? QMargins(owner->geometry().left() - ownerFrame.left(),
                                            owner->geometry().top() - ownerFrame.top(),
                                            ownerFrame.right() - owner->geometry().right(),
                                            ownerFrame.bottom() - owner->geometry().bottom())
                                 : QMargins();
    const QSize outer = (help.size().grownBy(frame)).boundedTo(room.size());
    help.resize(outer.shrunkBy(frame));
    QRect place(QPoint(), outer);
    place.moveCenter(ownerFrame.center());
    place.moveLeft(std::clamp(place.left(), room.left(), room.right() + 1 - outer.width()));
    place.moveTop(std::clamp(place.top(), room.top(), room.bottom() + 1 - outer.height()));
    help.move(place.topLeft()); // move() places the frame
}

std::unique_ptr<QTextBrowser> QtHelpService::newHelpWindow() {
    auto browser = std::make_unique<QTextBrowser>();
    browser->setOpenLinks(true);
    browser->resize(640, 480);
    QObject::connect(
        browser.get(), &QTextBrowser::sourceChanged, browser.get(), [b = browser.get()] {
            const QString title = b->documentTitle();
            b->setWindowTitle(title.isEmpty() ? kApplicationTitle
                                              : kApplicationTitle + QStringLiteral(" - ") + title);
        });
    return browser;
}

} // namespace telvara
