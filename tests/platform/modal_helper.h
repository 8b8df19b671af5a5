#pragma once
// Acting on a modal dialog of the real Qt services while its exec() runs.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace telvara::test {

// Calls act with the first modal widget of type T that opens (polled every 10 ms,
// given up after 5 s so a test never hangs).
template <typename T> void whenModalOpens(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    auto* tries = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog && ++*tries < 500)
            return;
        timer->stop();
        timer->deleteLater();
        delete tries;
        if (dialog)
            act(dialog);
    });
    timer->start(10);
}

} // namespace telvara::test
