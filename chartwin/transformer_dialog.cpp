#include "chartwin/transformer_dialog.h"

#include "base/numbers.h"
#include "chartwin/equipment_help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace telvara {

namespace {

QComboBox* choice(QWidget* parent, const char* name, const QStringList& items, int current) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    c->setCurrentIndex(current);
    return c;
}

const char* const kCategoryNames[] = {"自動", "I", "II", "III", "IV"};

} // namespace

TTransformerDialog::TTransformerDialog(const TransformerData& data, Services& services,
                                       QWidget* parent)
    : TKindDialog(services, kTransformerHelpContext, parent), data_(data) {
    setObjectName(QStringLiteral("TransformerDialog"));
    setWindowTitle(QStringLiteral("変圧器"));
    const auto given = [](double v) { return v > 0 ? std::optional<double>(v) : std::nullopt; };
    KvaEdit = numberField(this, "KvaEdit", given(data.kva));
    KvPrimaryEdit = numberField(this, "KvPrimaryEdit", given(data.kvPrimary));
    KvSecondaryEdit = numberField(this, "KvSecondaryEdit", given(data.kvSecondary));
    ZEdit = numberField(this, "ZEdit", given(data.zPercent));
    PhasesCombo = choice(this, "PhasesCombo", {QStringLiteral("三相"), QStringLiteral("単相")},
                         data.phases == 1 ? 1 : 0);
    QStringList categories;
    for (const char* c : kCategoryNames)
        categories << QString::fromUtf8(c);
    CategoryCombo = choice(this, "CategoryCombo", categories, int(data.category));
    FaultsCombo = choice(this, "FaultsCombo", {QStringLiteral("頻繁"), QStringLiteral("まれ")},
                         int(data.faults));
    ZsEdit = numberField(this, "ZsEdit", data.zsPercent);
    SideCombo =
        choice(this, "SideCombo", {QStringLiteral("一次"), QStringLiteral("二次")}, int(data.side));
    InrushMultipleEdit = numberField(this, "InrushMultipleEdit", data.inrushMultiple);
    InrushTimeEdit = numberField(this, "InrushTimeEdit", data.inrushS);
    Shift58Check = new QCheckBox(QStringLiteral("58 % の曲線も描く（Δ-Y 二次側の一線地絡）"), this);
    Shift58Check->setObjectName(QStringLiteral("Shift58Check"));
    Shift58Check->setChecked(data.shift58);
    DerivedLabel = new QLabel(this);
    DerivedLabel->setObjectName(QStringLiteral("DerivedLabel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("定格容量 (kVA)"), KvaEdit);
    form->addRow(QStringLiteral("一次電圧 (kV)"), KvPrimaryEdit);
    form->addRow(QStringLiteral("二次電圧 (kV)"), KvSecondaryEdit);
    form->addRow(QStringLiteral("インピーダンス (%)"), ZEdit);
    form->addRow(QStringLiteral("相数"), PhasesCombo);
    form->addRow(QStringLiteral("区分"), CategoryCombo);
    form->addRow(QStringLiteral("故障の頻度"), FaultsCombo);
    form->addRow(QStringLiteral("系統インピーダンス (%)"), ZsEdit);
    form->addRow(QStringLiteral("描く側"), SideCombo);
    form->addRow(QStringLiteral("励磁突入電流 (倍)"), InrushMultipleEdit);
    form->addRow(QStringLiteral("励磁突入時間 (s)"), InrushTimeEdit);
    form->addRow(Shift58Check);
    form->addRow(DerivedLabel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons());

    bindKey("kva", KvaEdit);
    bindKey("kv_primary", KvPrimaryEdit);
    bindKey("kv_secondary", KvSecondaryEdit);
    bindKey("z_percent", ZEdit);
    bindKey("zs_percent", ZsEdit);
    bindKey("inrush_multiple", InrushMultipleEdit);
    bindKey("inrush_s", InrushTimeEdit);
    for (QLineEdit* e : {KvaEdit, KvPrimaryEdit, KvSecondaryEdit, ZEdit, ZsEdit})
        connect(e, &QLineEdit::textChanged, this, &TTransformerDialog::showDerived);
    for (QComboBox* c : {PhasesCombo, CategoryCombo, SideCombo})
        connect(c, &QComboBox::currentIndexChanged, this, &TTransformerDialog::showDerived);
    showDerived();
}

bool TTransformerDialog::readFields(TransformerData& t) {
    std::optional<double> v;
    const auto read = [&](QLineEdit* e, const char* caption, double& out) {
        if (!readNumber(e, QString::fromUtf8(caption), v))
            return false;
        out = *v;
        return true;
    };
    if (!read(KvaEdit, "定格容量 (kVA)", t.kva) ||
        !read(KvPrimaryEdit, "一次電圧 (kV)", t.kvPrimary) ||
        !read(KvSecondaryEdit, "二次電圧 (kV)", t.kvSecondary) ||
        !read(ZEdit, "インピーダンス (%)", t.zPercent) ||
        !read(ZsEdit, "系統インピーダンス (%)", t.zsPercent) ||
        !read(InrushMultipleEdit, "励磁突入電流 (倍)", t.inrushMultiple) ||
        !read(InrushTimeEdit, "励磁突入時間 (s)", t.inrushS))
        return false;
    t.phases = PhasesCombo->currentIndex() == 1 ? 1 : 3;
    t.category = TransformerCategory(CategoryCombo->currentIndex());
    t.faults = FaultFrequency(FaultsCombo->currentIndex());
    t.side = TransformerSide(SideCombo->currentIndex());
    t.shift58 = Shift58Check->isChecked();
    return true;
}

void TTransformerDialog::showDerived() {
    TransformerData t = data_;
    t.phases = PhasesCombo->currentIndex() == 1 ? 1 : 3;
    t.category = TransformerCategory(CategoryCombo->currentIndex());
    t.side = TransformerSide(SideCombo->currentIndex());
    double v = 0;
    const auto number = [&](QLineEdit* e, double& out) {
        if (tryReadDecimal(e->text().trimmed().toStdString(), v))
            out = v;
    };
    number(KvaEdit, t.kva);
    number(KvPrimaryEdit, t.kvPrimary);
    number(KvSecondaryEdit, t.kvSecondary);
    number(ZEdit, t.zPercent);
    number(ZsEdit, t.zsPercent);
    const QString category =
        QString::fromUtf8(kCategoryNames[int(transformerCategory(t))]) +
        (t.category == TransformerCategory::Auto ? QStringLiteral("（容量から）") : QString());
    QString text = QStringLiteral("区分 ") + category;
    const double kv = t.side == TransformerSide::Primary ? t.kvPrimary : t.kvSecondary;
    if (t.kva > 0 && kv > 0)
        text += QStringLiteral("、定格電流 ") +
                uiText(formatFloatPattern(transformerRatedCurrent(t), "#,##0.##")) +
                QStringLiteral(" A");
    if (t.zPercent > 0)
        text += QStringLiteral("、最大通過故障電流 ") +
                uiText(formatFloatPattern(transformerMaxFaultMultiple(t), "#,##0.##")) +
                QStringLiteral(" 倍");
    DerivedLabel->setText(text);
}

void TTransformerDialog::accept() {
    TransformerData t = data_;
    if (!readFields(t))
        return;
    if (const auto fault = transformerFault(t)) {
        showFault(*fault);
        return;
    }
    data_ = t;
    QDialog::accept();
}

} // namespace telvara
