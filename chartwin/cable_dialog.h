#pragma once
// "ケーブル": conductor, insulation (or the temperatures typed), cross-section
// and conductors in parallel; the adiabatic constant k is shown as they change.
#include "chartwin/equipment_form.h"
#include "study/cable_curve.h"

class QComboBox;
class QLabel;
class QSpinBox;

namespace telvara {

class TCableDialog : public TKindDialog {
    Q_OBJECT
public:
    TCableDialog(const CableData& data, Services& services, QWidget* parent);
    const CableData& Data() const { return data_; }

    void accept() override;

private:
    // The insulation's index of "温度を入力".
    static constexpr int kTypedTemperatures = 3;
    bool readFields(CableData& c);
    void showK();
    void insulationChosen();

    QComboBox* ConductorCombo;
    QComboBox* InsulationCombo;
    QLineEdit* ThetaIEdit;
    QLineEdit* ThetaFEdit;
    QLineEdit* AreaEdit;
    QSpinBox* ParallelSpin;
    QLabel* KLabel;

    CableData data_;
};

} // namespace telvara
