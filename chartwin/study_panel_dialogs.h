#pragma once
// The study panel's dialogs: "検討の設定" (title, reference voltage, grading
// margins), "母線" (name, voltage, fault currents) and "装置" (id, label,
// bus, colour, shown, and the kind's own dialog). A number that is no number
// or not above 0 is refused on OK with a warning naming the field, and the
// dialog stays open.
#include "chartwin/equipment_form.h"
#include "study/study.h"

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace telvara {

class TStudySettingsDialog : public TKindDialog {
    Q_OBJECT
public:
    TStudySettingsDialog(const TStudy& study, Services& services, QWidget* parent);
    // The study with the dialog's values (after OK).
    TStudy Result() const { return study_; }
    void accept() override;

private:
    QLineEdit* TitleEdit = nullptr;
    QLineEdit* ReferenceKvEdit = nullptr;
    QLineEdit* CtiRelayRelayEdit = nullptr;
    QLineEdit* CtiRelayPointEdit = nullptr;
    QLineEdit* CtiPointPointEdit = nullptr;
    TStudy study_;
};

class TBusDialog : public TKindDialog {
    Q_OBJECT
public:
    TBusDialog(const TBus& bus, Services& services, QWidget* parent);
    TBus Result() const { return bus_; }
    void accept() override;

private:
    QLineEdit* NameEdit = nullptr;
    QLineEdit* KvEdit = nullptr;
    QLineEdit* FaultMaxEdit = nullptr;
    QLineEdit* FaultMinEdit = nullptr;
    TBus bus_;
};

class TDeviceDialog : public TKindDialog {
    Q_OBJECT
public:
    // The bus list comes from the study; the device need not be in it yet.
    TDeviceDialog(const TDevice& device, const TStudy& study, Services& services, QWidget* parent);
    TDevice Result() const { return device_; }
    void accept() override;

private:
    void chooseColour();
    void showColour();

    QLineEdit* IdEdit = nullptr;
    QLineEdit* LabelEdit = nullptr;
    QComboBox* BusCombo = nullptr;
    QPushButton* ColorButton = nullptr;     // "色…"
    QPushButton* AutoColorButton = nullptr; // "自動の色"
    QCheckBox* VisibleCheck = nullptr;      // "表示する"
    QPushButton* KindButton = nullptr;      // "特性…", kinds with a dialog
    TDevice device_;
};

// A kind's name as the panel shows it: "継電器", "ヒューズ", "遮断器", "機器",
// "変圧器", "ケーブル", "電動機"; an unknown name as it is.
QString kindCaption(const std::string& name);

} // namespace telvara
