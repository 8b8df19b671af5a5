#include "chartwin/study_panel_dialogs.h"

#include "chartwin/device_kind_dialogs.h"
#include "chartwin/study_edits.h"
#include "platform/help_contexts.h"
#include "study/relay_device.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace telvara {

namespace {

const QString kNoBus = QStringLiteral("（なし）");

template <class W> W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// The form above the dialog's OK / キャンセル / ヘルプ row.
QFormLayout* formOf(TKindDialog* dialog, QDialogButtonBox* buttons) {
    auto* column = new QVBoxLayout(dialog);
    auto* form = new QFormLayout;
    column->addLayout(form);
    column->addWidget(buttons);
    return form;
}

QString labelOf(QLineEdit* edit, const QFormLayout* form) {
    auto* label = qobject_cast<QLabel*>(form->labelForField(edit));
    return label ? label->text() : QString();
}

} // namespace

QString kindCaption(const std::string& name) {
    static const std::pair<const char*, const char*> captions[] = {
        {"relay", "継電器"},       {"fuse", "ヒューズ"},  {"breaker", "遮断器"}, {"device", "機器"},
        {"transformer", "変圧器"}, {"cable", "ケーブル"}, {"motor", "電動機"},
    };
    for (const auto& [n, caption] : captions)
        if (name == n)
            return QString::fromUtf8(caption);
    return uiText(name);
}

// ---- 検討の設定 --------------------------------------------------------------

TStudySettingsDialog::TStudySettingsDialog(const TStudy& study, Services& services, QWidget* parent)
    : TKindDialog(services, kStudyPanelHelpContext, parent), study_(study) {
    setObjectName(QStringLiteral("StudySettingsDialog"));
    setWindowTitle(QStringLiteral("検討の設定"));
    QFormLayout* form = formOf(this, buttons());
    TitleEdit = named(new QLineEdit(uiText(study.title), this), "TitleEdit");
    ReferenceKvEdit = numberField(this, "ReferenceKvEdit", study.referenceKv);
    CtiRelayRelayEdit = numberField(this, "CtiRelayRelayEdit", studyCti(study, "relay_relay"));
    CtiRelayPointEdit = numberField(this, "CtiRelayPointEdit", studyCti(study, "relay_point"));
    CtiPointPointEdit = numberField(this, "CtiPointPointEdit", studyCti(study, "point_point"));
    form->addRow(QStringLiteral("題名"), TitleEdit);
    form->addRow(QStringLiteral("基準電圧 (kV)"), ReferenceKvEdit);
    form->addRow(QStringLiteral("協調時間間隔 継電器どうし (s)"), CtiRelayRelayEdit);
    form->addRow(QStringLiteral("協調時間間隔 継電器と特性点 (s)"), CtiRelayPointEdit);
    form->addRow(QStringLiteral("協調時間間隔 特性点どうし (s)"), CtiPointPointEdit);
    ReferenceKvEdit->setToolTip(QStringLiteral("空欄：電流を換算しません"));
}

void TStudySettingsDialog::accept() {
    auto* form = static_cast<QFormLayout*>(layout()->itemAt(0)->layout());
    std::optional<double> kv;
    if (!readPositive(ReferenceKvEdit, labelOf(ReferenceKvEdit, form), kv, true))
        return;
    TStudy s = study_;
    s.title = TitleEdit->text().trimmed().toStdString();
    s.referenceKv = kv;
    const std::pair<QLineEdit*, const char*> margins[] = {{CtiRelayRelayEdit, "relay_relay"},
                                                          {CtiRelayPointEdit, "relay_point"},
                                                          {CtiPointPointEdit, "point_point"}};
    for (const auto& [edit, key] : margins) {
        std::optional<double> v;
        const QString caption = labelOf(edit, form);
        if (!readNumber(edit, caption, v))
            return;
        if (*v < 0) {
            services_.messages.showWarning(caption +
                                           QStringLiteral("は 0 以上の数値にしてください：「") +
                                           edit->text().trimmed() + QStringLiteral("」"));
            edit->setFocus();
            return;
        }
        setStudyCti(s, key, *v);
    }
    study_ = std::move(s);
    QDialog::accept();
}

// ---- 母線 ------------------------------------------------------------------

TBusDialog::TBusDialog(const TBus& bus, Services& services, QWidget* parent)
    : TKindDialog(services, kStudyPanelHelpContext, parent), bus_(bus) {
    setObjectName(QStringLiteral("BusDialog"));
    setWindowTitle(QStringLiteral("母線"));
    QFormLayout* form = formOf(this, buttons());
    NameEdit = named(new QLineEdit(uiText(bus.name), this), "NameEdit");
    KvEdit = numberField(this, "KvEdit", bus.kv);
    FaultMaxEdit = numberField(this, "FaultMaxEdit", bus.faultMaxA);
    FaultMinEdit = numberField(this, "FaultMinEdit", bus.faultMinA);
    form->addRow(QStringLiteral("名前"), NameEdit);
    form->addRow(QStringLiteral("電圧 (kV)"), KvEdit);
    form->addRow(QStringLiteral("最大故障電流 (A)"), FaultMaxEdit);
    form->addRow(QStringLiteral("最小故障電流 (A)"), FaultMinEdit);
}

void TBusDialog::accept() {
    auto* form = static_cast<QFormLayout*>(layout()->itemAt(0)->layout());
    const QString name = NameEdit->text().trimmed();
    if (name.isEmpty()) {
        services_.messages.showWarning(QStringLiteral("母線の名前を入れてください"));
        NameEdit->setFocus();
        return;
    }
    TBus b = bus_;
    b.name = name.toStdString();
    for (auto [edit, value] : {std::pair{KvEdit, &b.kv}, std::pair{FaultMaxEdit, &b.faultMaxA},
                               std::pair{FaultMinEdit, &b.faultMinA}})
        if (!readPositive(edit, labelOf(edit, form), *value, true))
            return;
    if (b.faultMaxA && b.faultMinA && *b.faultMinA > *b.faultMaxA) {
        services_.messages.showWarning(
            QStringLiteral("最小故障電流 (A) が最大故障電流 (A) より大きくなっています"));
        FaultMinEdit->setFocus();
        return;
    }
    bus_ = std::move(b);
    QDialog::accept();
}

// ---- 装置 ------------------------------------------------------------------

TDeviceDialog::TDeviceDialog(const TDevice& device, const TStudy& study, Services& services,
                             QWidget* parent)
    : TKindDialog(services, kStudyPanelHelpContext, parent), device_(device) {
    setObjectName(QStringLiteral("DeviceDialog"));
    setWindowTitle(QStringLiteral("装置 - ") +
                   kindCaption(device.kind ? device.kind->Name() : std::string()));
    QFormLayout* form = formOf(this, buttons());
    IdEdit = named(new QLineEdit(uiText(device.id), this), "IdEdit");
    LabelEdit = named(new QLineEdit(uiText(device.label), this), "LabelEdit");
    BusCombo = named(new QComboBox(this), "BusCombo");
    BusCombo->addItem(kNoBus);
    for (const TBus& b : study.buses)
        BusCombo->addItem(uiText(b.name));
    BusCombo->setCurrentIndex(device.bus.empty() ? 0 : BusCombo->findText(uiText(device.bus)));
    auto* colours = new QHBoxLayout;
    ColorButton = named(new QPushButton(QStringLiteral("色…"), this), "ColorButton");
    AutoColorButton = named(new QPushButton(QStringLiteral("自動の色"), this), "AutoColorButton");
    AutoColorButton->setToolTip(QStringLiteral("グラフの次の色で描きます"));
    colours->addWidget(ColorButton);
    colours->addWidget(AutoColorButton);
    VisibleCheck = named(new QCheckBox(QStringLiteral("表示する"), this), "VisibleCheck");
    VisibleCheck->setChecked(device.visible);
    form->addRow(QStringLiteral("ID"), IdEdit);
    form->addRow(QStringLiteral("名前（凡例）"), LabelEdit);
    form->addRow(QStringLiteral("母線"), BusCombo);
    form->addRow(QStringLiteral("色"), colours);
    form->addRow(QString(), VisibleCheck);
    connect(ColorButton, &QPushButton::clicked, this, [this] { chooseColour(); });
    connect(AutoColorButton, &QPushButton::clicked, this, [this] {
        device_.color.reset();
        showColour();
    });
    if (device.kind && hasKindDialog(*device.kind)) {
        KindButton = named(new QPushButton(QStringLiteral("特性…"), this), "KindButton");
        form->addRow(QString(), KindButton);
        connect(KindButton, &QPushButton::clicked, this,
                [this] { editDeviceKind(*device_.kind, services_, this); });
    }
    showColour();
}

void TDeviceDialog::chooseColour() {
    const QColor now(uiText(device_.color.value_or("#000000")));
    const std::optional<TColor> picked = services_.colors.chooseColor(
        rgb(std::uint8_t(now.red()), std::uint8_t(now.green()), std::uint8_t(now.blue())));
    if (!picked)
        return;
    device_.color = QColor(redOf(*picked), greenOf(*picked), blueOf(*picked))
                        .name(QColor::HexRgb)
                        .toStdString();
    showColour();
}

void TDeviceDialog::showColour() {
    const QString hex = device_.color ? uiText(*device_.color) : QString();
    ColorButton->setText(hex.isEmpty() ? QStringLiteral("色…（自動）")
                                       : QStringLiteral("色… ") + hex);
    ColorButton->setStyleSheet(
        hex.isEmpty() ? QString() : QStringLiteral("border-left: 12px solid %1;").arg(hex));
}

void TDeviceDialog::accept() {
    const QString id = IdEdit->text().trimmed();
    if (id.isEmpty()) {
        services_.messages.showWarning(QStringLiteral("装置の ID を入れてください"));
        IdEdit->setFocus();
        return;
    }
    device_.id = id.toStdString();
    device_.label = LabelEdit->text().trimmed().toStdString();
    device_.bus =
        BusCombo->currentIndex() <= 0 ? std::string() : BusCombo->currentText().toStdString();
    device_.visible = VisibleCheck->isChecked();
    QDialog::accept();
}

} // namespace telvara
