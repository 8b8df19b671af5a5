#include "app/curve_form.h"

#include "base/errors.h"
#include "base/numbers.h"
#include "platform/guard.h"
#include "platform/help_keys.h"
#include "relay/characteristics.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace telvara {

namespace {

const QString kMultiplierCaption = QStringLiteral("倍率 (TMS・TD)");
const QString kRatioCaption = QStringLiteral("比率 (新レバー／旧レバー)");

} // namespace

TCurveForm::TCurveForm(Services services, const std::array<std::string, 6>& typed, QWidget* parent)
    : QDialog(parent), services_(services), typed_(typed) {
    buildControls();
    MessageService& messages = services_.messages;
    connect(CurveBox, &QComboBox::currentIndexChanged, this,
            guarded(messages, [this](int) { CurveBoxChange(); }));
    connect(MultiplierEdit, &QLineEdit::textChanged, this,
            guarded(messages, [this](const QString&) { MultiplierEditChange(); }));
    connect(OkButton, &QPushButton::clicked, this,
            guarded(messages, [this](bool) { OkButtonClick(); }));
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this,
            guarded(messages, [this](bool) { HelpButtonClick(); }));
    installHelpKey(this, services_.messages, services_.help);
    CurveBoxChange();
}

void TCurveForm::buildControls() {
    setObjectName(QStringLiteral("CurveForm"));
    setWindowTitle(QStringLiteral("反限時特性"));
    setHelpContext(this, kCurveHelpContext);
    // Fonts do not pass to windows by themselves: the main window's face.
    if (parentWidget())
        setFont(parentWidget()->font());

    CurveBox = new QComboBox(this);
    CurveBox->setObjectName(QStringLiteral("CurveBox"));
    for (const CharacteristicInfo& c : characteristics())
        CurveBox->addItem(QString::fromUtf8(c.title));
    CurveBox->addItem(QStringLiteral("入力済みの時間を比率で変更"));
    SourceLbl = new QLabel(this);
    SourceLbl->setObjectName(QStringLiteral("SourceLbl"));
    MultiplierLbl = new QLabel(kMultiplierCaption, this);
    MultiplierLbl->setObjectName(QStringLiteral("MultiplierLbl"));
    MultiplierEdit = new QLineEdit(QStringLiteral("1"), this);
    MultiplierEdit->setObjectName(QStringLiteral("MultiplierEdit"));

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("特性"), this), 0, 0);
    form->addWidget(CurveBox, 0, 1);
    form->addWidget(SourceLbl, 1, 1);
    form->addWidget(MultiplierLbl, 2, 0);
    form->addWidget(MultiplierEdit, 2, 1);

    auto* timesRow = new QGridLayout;
    for (std::size_t i = 0; i < TimeLbl.size(); ++i) {
        const int column = int(i);
        timesRow->addWidget(new QLabel(QString::fromUtf8(kTapMultipleCaptions[i]), this), 0,
                            column);
        TimeLbl[i] = new QLabel(this);
        TimeLbl[i]->setObjectName(QStringLiteral("TimeLbl%1").arg(i));
        TimeLbl[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        TimeLbl[i]->setMinimumWidth(56);
        timesRow->addWidget(TimeLbl[i], 1, column);
    }
    StatusLbl = new QLabel(this);
    StatusLbl->setObjectName(QStringLiteral("StatusLbl"));
    StatusLbl->setWordWrap(true);
    QPalette red = StatusLbl->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    StatusLbl->setPalette(red);

    OkButton = new QPushButton(kOkCaption, this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(kCancelCaption, this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    HelpButton = new QPushButton(kHelpCaption, this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);

    auto* page = new QVBoxLayout(this);
    page->addLayout(form);
    page->addWidget(new QLabel(QStringLiteral("動作時間 (秒)"), this));
    page->addLayout(timesRow);
    page->addWidget(StatusLbl);
    page->addLayout(buttons);
}

std::array<std::string, 6> TCurveForm::compute() const {
    const double multiplier = readDecimal(MultiplierEdit->text().toStdString());
    const auto c = std::size_t(CurveBox->currentIndex());
    if (c < characteristics().size())
        return characteristicTimeTexts(characteristics()[c].id, multiplier);
    return scaledTimeTexts(typed_, multiplier);
}

void TCurveForm::preview() {
    try {
        const std::array<std::string, 6> texts = compute();
        for (std::size_t i = 0; i < texts.size(); ++i)
            TimeLbl[i]->setText(QString::fromStdString(texts[i]));
        StatusLbl->clear();
    } catch (const TelvaraError& e) {
        for (QLabel* label : TimeLbl)
            label->clear();
        StatusLbl->setText(QString::fromUtf8(e.what()));
    }
}

void TCurveForm::CurveBoxChange() {
    const auto c = std::size_t(CurveBox->currentIndex());
    const bool scaling = c >= characteristics().size();
    MultiplierLbl->setText(scaling ? kRatioCaption : kMultiplierCaption);
    SourceLbl->setText(scaling ? QString()
                               : QStringLiteral("規格：") +
                                     QString::fromUtf8(characteristics()[c].source));
    preview();
}

void TCurveForm::MultiplierEditChange() {
    preview();
}

void TCurveForm::OkButtonClick() {
    try {
        taken_ = compute();
    } catch (const TelvaraError& e) {
        // Nothing is filled; the dialog stays for a better choice.
        services_.messages.showWarning(QString::fromUtf8(e.what()));
        return;
    }
    accept();
}

void TCurveForm::HelpButtonClick() {
    services_.help.showContext(kCurveHelpContext);
}

} // namespace telvara
