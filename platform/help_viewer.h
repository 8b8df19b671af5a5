#pragma once
// The help viewer: the application's help file name, looked up as an HTML
// help set and shown in a help window.
#include "platform/help_locator.h"
#include "platform/services.h"

#include <QPointer>
#include <QTextBrowser>

#include <memory>

namespace telvara {

class QtHelpService : public HelpService {
public:
    QtHelpService(MessageService& messages, HelpLocator locator);
    ~QtHelpService() override;

    QString helpFile() const override { return file_; }
    void setHelpFile(const QString& file) override { file_ = file; }
    void showContext(int context) override;
    void showTopic(const QString& topic) override;

    // The help window that showed the last page (nullptr before the first,
    // or when it was closed with the dialog that owned it).
    QTextBrowser* window() const { return shown_; }

private:
    void show(const QString& key, const QString& what);
    QTextBrowser* browserForNow();
    static std::unique_ptr<QTextBrowser> newHelpWindow();
    static void placeOnScreen(QWidget& help, const QWidget* owner);

    MessageService& messages_;
    HelpLocator locator_;
    QString file_;
    std::unique_ptr<QTextBrowser> browser_;
    QPointer<QTextBrowser> shown_;
};

} // namespace telvara
