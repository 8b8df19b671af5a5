#pragma once
// What the dialogs of the equipment and point-device kinds share: number
// fields read with the user's separators, a warning that names the field and
// puts the focus there, and the OK / キャンセル / ヘルプ row.
#include "platform/services.h"
#include "study/curve.h"

#include <QDialog>
#include <QString>

#include <map>
#include <optional>
#include <string>

class QLineEdit;
class QDialogButtonBox;

namespace telvara {

QString uiText(const std::string& utf8);
// The shortest text of the number, with the user's decimal separator.
QString numberText(double v);
QLineEdit* numberField(QWidget* parent, const char* name, std::optional<double> value);

class TKindDialog : public QDialog {
    Q_OBJECT
public:
    TKindDialog(Services& services, int helpContext, QWidget* parent);

protected:
    // The field's number: none for an empty optional field; false, after a
    // warning naming the field, when it is required and empty or no number.
    bool readNumber(QLineEdit* edit, const QString& caption, std::optional<double>& out,
                    bool optional = false);
    // readNumber, and a number not above 0 refused with a warning naming the field.
    bool readPositive(QLineEdit* edit, const QString& caption, std::optional<double>& out,
                      bool optional = false);
    // Warns with the kind's fault and focuses the field of its key.
    void showFault(const FieldFault& fault);
    // The field a fault of this file key points to.
    void bindKey(const std::string& key, QWidget* field) { fields_[key] = field; }
    QDialogButtonBox* buttons() const { return buttons_; }

    Services& services_;

private:
    QDialogButtonBox* buttons_;
    std::map<std::string, QWidget*> fields_;
};

} // namespace telvara
