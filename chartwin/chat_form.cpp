#include "chartwin/chat_form.h"

namespace telvara {

TChatForm::TChatForm(MainWindowLink& main, Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), main_(main), services_(services) {
    setObjectName(QStringLiteral("ChatForm"));
    setWindowTitle(QStringLiteral("グラフ画面"));
    resize(800, 600);
}

void TChatForm::showFromMain() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    showMaximized();
    raise();
    activateWindow();
}

} // namespace telvara
