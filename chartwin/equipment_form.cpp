#include "chartwin/equipment_form.h"

#include "base/numbers.h"
#include "platform/help_keys.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

namespace telvara {

QString uiText(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString numberText(double v) {
    return uiText(formatGeneral(v));
}

QLineEdit* numberField(QWidget* parent, const char* name, std::optional<double> value) {
    auto* e = new QLineEdit(value ? numberText(*value) : QString(), parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

TKindDialog::TKindDialog(Services& services, int helpContext, QWidget* parent)
    : QDialog(parent), services_(services) {
    buttons_ = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons_->setObjectName(QStringLiteral("Buttons"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons_->button(QDialogButtonBox::Help)->setText(QStringLiteral("ヘルプ"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons_, &QDialogButtonBox::helpRequested, this,
            [this, helpContext] { services_.help.showContext(helpContext); });
    setHelpContext(this, helpContext);
    installHelpKey(this, services.messages, services.help);
}

bool TKindDialog::readNumber(QLineEdit* edit, const QString& caption, std::optional<double>& out,
                             bool optional) {
    const QString text = edit->text().trimmed();
    double v = 0;
    if (text.isEmpty() && optional) {
        out.reset();
        return true;
    }
    if (!tryReadDecimal(text.toStdString(), v)) {
        services_.messages.showWarning(caption + QStringLiteral("には数値を入れてください：「") +
                                       text + QStringLiteral("」"));
        edit->setFocus();
        return false;
    }
    out = v;
    return true;
}

bool TKindDialog::readPositive(QLineEdit* edit, const QString& caption, std::optional<double>& out,
                               bool optional) {
    if (!readNumber(edit, caption, out, optional))
        return false;
    if (!out || *out > 0)
        return true;
    services_.messages.showWarning(caption +
                                   QStringLiteral("は 0 より大きい数値にしてください：「") +
                                   edit->text().trimmed() + QStringLiteral("」"));
    edit->setFocus();
    return false;
}

void TKindDialog::showFault(const FieldFault& fault) {
    services_.messages.showWarning(uiText(fault.message));
    if (const auto it = fields_.find(fault.key); it != fields_.end())
        it->second->setFocus();
}

} // namespace telvara
