#pragma once
// "変圧器": the rating, impedance and category of a transformer, the side
// drawn, its inrush and the 58 % curve. The category chosen from kVA and
// phases, the rated current and the largest through-fault current are shown
// as the fields change.
#include "chartwin/equipment_form.h"
#include "study/transformer_curve.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace telvara {

class TTransformerDialog : public TKindDialog {
    Q_OBJECT
public:
    TTransformerDialog(const TransformerData& data, Services& services, QWidget* parent);
    // The values accepted with OK.
    const TransformerData& Data() const { return data_; }

    void accept() override;

private:
    // Reads every field; false after a warning naming the first bad one.
    bool readFields(TransformerData& t);
    void showDerived();

    QLineEdit* KvaEdit;
    QLineEdit* KvPrimaryEdit;
    QLineEdit* KvSecondaryEdit;
    QLineEdit* ZEdit;
    QComboBox* PhasesCombo;
    QComboBox* CategoryCombo;
    QComboBox* FaultsCombo;
    QLineEdit* ZsEdit;
    QComboBox* SideCombo;
    QLineEdit* InrushMultipleEdit;
    QLineEdit* InrushTimeEdit;
    QCheckBox* Shift58Check;
    QLabel* DerivedLabel;

    TransformerData data_;
};

} // namespace telvara
