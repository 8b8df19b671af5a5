#pragma once
// The dialog "反限時特性": the six operating times (150 .. 700 %) from a
// standard characteristic and its time multiplier, or the typed times scaled
// by a lever ratio, shown before the main window takes them.
#include "platform/help_contexts.h"
#include "platform/services.h"

#include <QDialog>

#include <array>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace telvara {

class TCurveForm : public QDialog {
    Q_OBJECT
public:
    // typed: the texts of the six time fields, for scaling.
    TCurveForm(Services services, const std::array<std::string, 6>& typed,
               QWidget* parent = nullptr);

    // The six texts taken with OK.
    const std::array<std::string, 6>& times() const { return taken_; }

private:
    // Handlers.
    void CurveBoxChange();
    void MultiplierEditChange();
    void OkButtonClick();
    void HelpButtonClick();

    void buildControls();
    // The six texts of the present choice; throws the refusal.
    std::array<std::string, 6> compute() const;
    void preview();

    // Controls, named as in the dialog's design; each control's objectName
    // is its name (TimeLbl0 .. TimeLbl5 for the six times).
    QComboBox* CurveBox = nullptr;
    QLabel* SourceLbl = nullptr; // the standard of the chosen characteristic
    QLabel* MultiplierLbl = nullptr;
    QLineEdit* MultiplierEdit = nullptr;
    std::array<QLabel*, 6> TimeLbl{};
    QLabel* StatusLbl = nullptr; // why nothing would be filled
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;

    Services services_;
    std::array<std::string, 6> typed_;
    std::array<std::string, 6> taken_;
};

} // namespace telvara
