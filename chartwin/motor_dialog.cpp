#include "chartwin/motor_dialog.h"

#include "base/numbers.h"
#include "chartwin/equipment_help.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace telvara {

TMotorDialog::TMotorDialog(const MotorData& data, Services& services, QWidget* parent)
    : TKindDialog(services, kMotorHelpContext, parent), data_(data) {
    setObjectName(QStringLiteral("MotorDialog"));
    setWindowTitle(QStringLiteral("電動機"));
    TypedRadio = new QRadioButton(QStringLiteral("全負荷電流を入力"), this);
    TypedRadio->setObjectName(QStringLiteral("TypedRadio"));
    RatedRadio = new QRadioButton(QStringLiteral("定格出力から計算"), this);
    RatedRadio->setObjectName(QStringLiteral("RatedRadio"));
    (data.flaA || !data.kw ? TypedRadio : RatedRadio)->setChecked(true);
    FlaEdit = numberField(this, "FlaEdit", data.flaA);
    KwEdit = numberField(this, "KwEdit", data.kw);
    KvEdit = numberField(this, "KvEdit", data.kv);
    PfEdit = numberField(this, "PfEdit", data.pf);
    EfficiencyEdit = numberField(this, "EfficiencyEdit", data.efficiency);
    LrMultipleEdit = numberField(this, "LrMultipleEdit", data.lrMultiple);
    AccelEdit = numberField(this, "AccelEdit",
                            data.accelS > 0 ? std::optional<double>(data.accelS) : std::nullopt);
    CurrentLabel = new QLabel(this);
    CurrentLabel->setObjectName(QStringLiteral("CurrentLabel"));

    auto* form = new QFormLayout;
    form->addRow(TypedRadio);
    form->addRow(QStringLiteral("全負荷電流 (A)"), FlaEdit);
    form->addRow(RatedRadio);
    form->addRow(QStringLiteral("出力 (kW)"), KwEdit);
    form->addRow(QStringLiteral("電圧 (kV)"), KvEdit);
    form->addRow(QStringLiteral("力率"), PfEdit);
    form->addRow(QStringLiteral("効率"), EfficiencyEdit);
    form->addRow(CurrentLabel);
    form->addRow(QStringLiteral("始動電流 (倍)"), LrMultipleEdit);
    form->addRow(QStringLiteral("始動時間 (s)"), AccelEdit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons());
    bindKey("fla_a", FlaEdit);
    bindKey("kw", KwEdit);
    bindKey("kv", KvEdit);
    bindKey("pf", PfEdit);
    bindKey("efficiency", EfficiencyEdit);
    bindKey("lr_multiple", LrMultipleEdit);
    bindKey("accel_s", AccelEdit);

    connect(TypedRadio, &QRadioButton::toggled, this, &TMotorDialog::sourceChosen);
    for (QLineEdit* e : {KwEdit, KvEdit, PfEdit, EfficiencyEdit, LrMultipleEdit})
        connect(e, &QLineEdit::textChanged, this, &TMotorDialog::showCurrent);
    connect(FlaEdit, &QLineEdit::textChanged, this, &TMotorDialog::showCurrent);
    sourceChosen();
}

void TMotorDialog::sourceChosen() {
    const bool typed = TypedRadio->isChecked();
    FlaEdit->setEnabled(typed);
    for (QLineEdit* e : {KwEdit, KvEdit, PfEdit, EfficiencyEdit})
        e->setEnabled(!typed);
    showCurrent();
}

void TMotorDialog::showCurrent() {
    MotorData m;
    double v = 0;
    const auto number = [&](QLineEdit* e) {
        return tryReadDecimal(e->text().trimmed().toStdString(), v) ? std::optional<double>(v)
                                                                    : std::nullopt;
    };
    if (TypedRadio->isChecked()) {
        m.flaA = number(FlaEdit);
    } else {
        m.kw = number(KwEdit);
        m.kv = number(KvEdit);
        m.pf = number(PfEdit);
        m.efficiency = number(EfficiencyEdit);
    }
    m.lrMultiple = number(LrMultipleEdit).value_or(0);
    const double fl = motorFullLoadCurrent(m);
    if (!(fl > 0)) {
        CurrentLabel->setText(QStringLiteral("全負荷電流 - A"));
        return;
    }
    CurrentLabel->setText(
        QStringLiteral("全負荷電流 ") + uiText(formatFloatPattern(fl, "#,##0.0")) +
        QStringLiteral(" A、始動電流 ") +
        uiText(formatFloatPattern(motorLockedRotorCurrent(m), "#,##0.0")) + QStringLiteral(" A"));
}

bool TMotorDialog::readFields(MotorData& m) {
    m = MotorData{};
    if (TypedRadio->isChecked()) {
        if (!readNumber(FlaEdit, QStringLiteral("全負荷電流 (A)"), m.flaA))
            return false;
    } else if (!readNumber(KwEdit, QStringLiteral("出力 (kW)"), m.kw) ||
               !readNumber(KvEdit, QStringLiteral("電圧 (kV)"), m.kv) ||
               !readNumber(PfEdit, QStringLiteral("力率"), m.pf) ||
               !readNumber(EfficiencyEdit, QStringLiteral("効率"), m.efficiency)) {
        return false;
    }
    std::optional<double> multiple, accel;
    if (!readNumber(LrMultipleEdit, QStringLiteral("始動電流 (倍)"), multiple) ||
        !readNumber(AccelEdit, QStringLiteral("始動時間 (s)"), accel))
        return false;
    m.lrMultiple = *multiple;
    m.accelS = *accel;
    return true;
}

void TMotorDialog::accept() {
    MotorData m;
    if (!readFields(m))
        return;
    if (const auto fault = motorFault(m)) {
        showFault(*fault);
        return;
    }
    data_ = m;
    QDialog::accept();
}

} // namespace telvara
