#pragma once
// The help viewer: the application's help file name, looked up as an HTML
// help set and shown in a help window.
#include "platform/help_locator.h"
#include "platform/services.h"

#include <memory>

class QTextBrowser;

namespace telvara {

class QtHelpService : public HelpService {
public:
    QtHelpService(MessageService& messages, HelpLocator locator);
    ~QtHelpService() override;

    QString helpFile() const override { return file_; }
    void setHelpFile(const QString& file) override { file_ = file; }
    void showContext(int context) override;
    void showTopic(const QString& topic) override;

    // The help window, once a page was shown.
    QTextBrowser* window() const { return browser_.get(); }

private:
    void show(const QString& key, const QString& what);

    MessageService& messages_;
    HelpLocator locator_;
    QString file_;
    std::unique_ptr<QTextBrowser> browser_;
};

} // namespace telvara
