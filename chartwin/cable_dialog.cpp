#include "chartwin/cable_dialog.h"

#include "base/numbers.h"
#include "chartwin/equipment_help.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace telvara {

TCableDialog::TCableDialog(const CableData& data, Services& services, QWidget* parent)
    : TKindDialog(services, kCableHelpContext, parent), data_(data) {
    setObjectName(QStringLiteral("CableDialog"));
    setWindowTitle(QStringLiteral("ケーブル"));
    ConductorCombo = new QComboBox(this);
    ConductorCombo->setObjectName(QStringLiteral("ConductorCombo"));
    ConductorCombo->addItems({QStringLiteral("銅"), QStringLiteral("アルミニウム")});
    ConductorCombo->setCurrentIndex(int(data.conductor));
    InsulationCombo = new QComboBox(this);
    InsulationCombo->setObjectName(QStringLiteral("InsulationCombo"));
    InsulationCombo->addItems({QStringLiteral("PVC（70 → 160 °C）"),
                               QStringLiteral("XLPE（90 → 250 °C）"),
                               QStringLiteral("EPR（90 → 250 °C）"), QStringLiteral("温度を入力")});
    const bool typed = data.thetaI || data.thetaF;
    InsulationCombo->setCurrentIndex(typed ? kTypedTemperatures : int(data.insulation));
    ThetaIEdit = numberField(this, "ThetaIEdit", cableInitialTemperature(data));
    ThetaFEdit = numberField(this, "ThetaFEdit", cableFinalTemperature(data));
    AreaEdit = numberField(this, "AreaEdit",
                           data.mm2 > 0 ? std::optional<double>(data.mm2) : std::nullopt);
    ParallelSpin = new QSpinBox(this);
    ParallelSpin->setObjectName(QStringLiteral("ParallelSpin"));
    ParallelSpin->setRange(1, 99);
    ParallelSpin->setValue(data.parallel);
    KLabel = new QLabel(this);
    KLabel->setObjectName(QStringLiteral("KLabel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("導体"), ConductorCombo);
    form->addRow(QStringLiteral("絶縁体"), InsulationCombo);
    form->addRow(QStringLiteral("初期温度 (°C)"), ThetaIEdit);
    form->addRow(QStringLiteral("最終温度 (°C)"), ThetaFEdit);
    form->addRow(QStringLiteral("断面積 (mm²)"), AreaEdit);
    form->addRow(QStringLiteral("並列条数"), ParallelSpin);
    form->addRow(KLabel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons());
    bindKey("theta_i", ThetaIEdit);
    bindKey("theta_f", ThetaFEdit);
    bindKey("mm2", AreaEdit);
    bindKey("parallel", ParallelSpin);

    connect(ConductorCombo, &QComboBox::currentIndexChanged, this, &TCableDialog::showK);
    connect(InsulationCombo, &QComboBox::currentIndexChanged, this,
            &TCableDialog::insulationChosen);
    for (QLineEdit* e : {ThetaIEdit, ThetaFEdit})
        connect(e, &QLineEdit::textChanged, this, &TCableDialog::showK);
    insulationChosen();
}

void TCableDialog::insulationChosen() {
    const bool typed = InsulationCombo->currentIndex() == kTypedTemperatures;
    ThetaIEdit->setEnabled(typed);
    ThetaFEdit->setEnabled(typed);
    if (!typed) {
        CableData c;
        c.insulation = Insulation(InsulationCombo->currentIndex());
        ThetaIEdit->setText(numberText(cableInitialTemperature(c)));
        ThetaFEdit->setText(numberText(cableFinalTemperature(c)));
    }
    showK();
}

void TCableDialog::showK() {
    CableData c;
    c.conductor = Conductor(ConductorCombo->currentIndex());
    double ti = 0, tf = 0;
    if (tryReadDecimal(ThetaIEdit->text().trimmed().toStdString(), ti) &&
        tryReadDecimal(ThetaFEdit->text().trimmed().toStdString(), tf) && tf > ti && ti > -200) {
        c.thetaI = ti;
        c.thetaF = tf;
        KLabel->setText(QStringLiteral("k = ") + uiText(formatFloatPattern(cableK(c), "0.0")));
    } else {
        KLabel->setText(QStringLiteral("k = -"));
    }
}

bool TCableDialog::readFields(CableData& c) {
    c.conductor = Conductor(ConductorCombo->currentIndex());
    const int insulation = InsulationCombo->currentIndex();
    c.thetaI.reset();
    c.thetaF.reset();
    if (insulation == kTypedTemperatures) {
        if (!readNumber(ThetaIEdit, QStringLiteral("初期温度 (°C)"), c.thetaI) ||
            !readNumber(ThetaFEdit, QStringLiteral("最終温度 (°C)"), c.thetaF))
            return false;
    } else {
        c.insulation = Insulation(insulation);
    }
    std::optional<double> area;
    if (!readNumber(AreaEdit, QStringLiteral("断面積 (mm²)"), area))
        return false;
    c.mm2 = *area;
    c.parallel = ParallelSpin->value();
    return true;
}

void TCableDialog::accept() {
    CableData c = data_;
    if (!readFields(c))
        return;
    if (const auto fault = cableFault(c)) {
        showFault(*fault);
        return;
    }
    data_ = c;
    QDialog::accept();
}

} // namespace telvara
