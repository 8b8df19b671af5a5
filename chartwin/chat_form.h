#pragma once
// The chart window "グラフ画面": created hidden at start-up, shown maximised
// from the main window, hidden again on close.
#include "chartwin/main_link.h"
#include "platform/services.h"

#include <QWidget>

namespace telvara {

class TChatForm : public QWidget {
    Q_OBJECT
public:
    TChatForm(MainWindowLink& main, Services& services, QWidget* parent = nullptr);

    // "グラフ表示": shows the window maximised, or brings it to the front and
    // activates it when it is already visible.
    void showFromMain();

private:
    MainWindowLink& main_;
    Services services_;
};

} // namespace telvara
