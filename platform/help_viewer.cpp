#include "platform/help_viewer.h"

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
    if (!browser_) {
        browser_ = std::make_unique<QTextBrowser>();
        browser_->setOpenLinks(true);
        browser_->resize(640, 480);
        QObject::connect(
            browser_.get(), &QTextBrowser::sourceChanged, browser_.get(), [b = browser_.get()] {
                const QString title = b->documentTitle();
                b->setWindowTitle(title.isEmpty()
                                      ? kApplicationTitle
                                      : kApplicationTitle + QStringLiteral(" - ") + title);
            });
    }
    browser_->setSearchPaths({set});
    browser_->setSource(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
}

} // namespace telvara
