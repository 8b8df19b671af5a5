#include "platform/help_keys.h"

#include "platform/guard.h"

#include <QShortcut>
#include <QWidget>

namespace telvara {

void setHelpContext(QWidget* widget, int context) {
    widget->setProperty(kHelpContextProperty, context);
}

int helpContextAt(QWidget* window) {
    QWidget* widget = window->focusWidget();
    if (!widget || widget->window() != window)
        widget = window;
    for (; widget; widget = widget->parentWidget()) {
        const int context = widget->property(kHelpContextProperty).toInt();
        if (context != 0)
            return context;
        if (widget == window)
            break;
    }
    return 0;
}

void installHelpKey(QWidget* window, MessageService& messages, HelpService& help) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window, guarded(messages, [window, &help] {
                         const int context = helpContextAt(window);
                         if (context != 0)
                             help.showContext(context);
                     }));
}

} // namespace telvara
