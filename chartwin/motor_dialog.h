#pragma once
// "電動機": the full-load current typed, or computed from kW, kV, power
// factor and efficiency (shown as they change); the locked-rotor multiple
// and the acceleration time.
#include "chartwin/equipment_form.h"
#include "study/motor_curve.h"

class QLabel;
class QRadioButton;

namespace telvara {

class TMotorDialog : public TKindDialog {
    Q_OBJECT
public:
    TMotorDialog(const MotorData& data, Services& services, QWidget* parent);
    const MotorData& Data() const { return data_; }

    void accept() override;

private:
    bool readFields(MotorData& m);
    void showCurrent();
    void sourceChosen();

    QRadioButton* TypedRadio;
    QRadioButton* RatedRadio;
    QLineEdit* FlaEdit;
    QLineEdit* KwEdit;
    QLineEdit* KvEdit;
    QLineEdit* PfEdit;
    QLineEdit* EfficiencyEdit;
    QLineEdit* LrMultipleEdit;
    QLineEdit* AccelEdit;
    QLabel* CurrentLabel;

    MotorData data_;
};

} // namespace telvara
