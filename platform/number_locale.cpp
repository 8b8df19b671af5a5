#include "platform/number_locale.h"

#include "base/numbers.h"

#include <QLocale>

namespace telvara {

void readNumberLocale() {
    const QLocale locale = QLocale::system();
    const QString decimal = locale.decimalPoint();
    NumberLocale separators;
    if (!decimal.isEmpty())
        separators.decimal = decimal.toStdString();
    separators.thousands = locale.groupSeparator().toStdString();
    setNumberLocale(separators);
}

} // namespace telvara
