#include "platform/help_viewer.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

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
    QTextBrowser* browser = browserForNow();
    browser->setSearchPaths({set});
    browser->setSource(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
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
