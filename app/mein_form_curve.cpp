// "反限時特性": fills the six operating times from a standard characteristic.
// The INST time, the CT and the taps stay as typed.
#include "app/curve_form.h"
#include "app/mein_form.h"

#include "platform/guard.h"
#include "platform/help_keys.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace telvara {

void TMeinForm::createCurveControls() {
    // Under the device number, above the time row: the design's controls keep
    // their places.
    CurveButton = new QPushButton(QStringLiteral("反限時特性"), GroupBox2);
    CurveButton->setObjectName(QStringLiteral("CurveButton"));
    CurveButton->setToolTip(QStringLiteral("特性と倍率から150%～700%の動作時間を入れます。"));
    CurveButton->setGeometry(352, 110, 89, 23);
    setHelpContext(CurveButton, kCurveHelpContext);
    connect(CurveButton, &QPushButton::clicked, this,
            guarded(services_.messages, [this](bool) { CurveButtonClick(); }));
    // After "一覧" in the tab order.
    QList<QWidget*> chain = tabChain_;
    chain.insert(chain.indexOf(Button3) + 1, CurveButton);
    setTabChain(chain);
}

void TMeinForm::CurveButtonClick() {
    // The six inverse-time columns, INST not among them.
    std::array<std::string, kTapMultiples.size()> typed;
    for (std::size_t i = 0; i < typed.size(); ++i)
        typed[i] = TimeEdits[i]->text().toStdString();
    TCurveForm dialog(services_, typed, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (std::size_t i = 0; i < typed.size(); ++i)
        TimeEdits[i]->setText(QString::fromStdString(dialog.times()[i]));
    // The same checks as leaving each field after typing.
    for (std::size_t i = 0; i < typed.size(); ++i)
        TimeEditExit(i);
}

} // namespace telvara
