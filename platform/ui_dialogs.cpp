#include "platform/ui_dialogs.h"

#include "platform/ui_messages.h"

#include <QColor>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>

namespace telvara {

std::optional<QString> QtInputService::inputBox(const QString& caption, const QString& prompt,
                                                const QString& initial) {
    QInputDialog box(dialogParent());
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(initial);
    box.setOkButtonText(kOkCaption);
    box.setCancelButtonText(kCancelCaption);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

std::optional<TColor> QtColorChooser::chooseColor(TColor initial) {
    const TColor plain = colorToRGB(initial);
    QColorDialog dialog(QColor(redOf(plain), greenOf(plain), blueOf(plain)), dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor picked = dialog.selectedColor();
    return rgb(std::uint8_t(picked.red()), std::uint8_t(picked.green()),
               std::uint8_t(picked.blue()));
}

std::optional<QString> QtFileSaveChooser::chooseSaveFile(const SaveFileRequest& request) {
    QFileDialog dialog(dialogParent(), request.caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.filterPattern.isEmpty())
        dialog.setNameFilter(request.filterDescription + QStringLiteral(" (") +
                             request.filterPattern + QLatin1Char(')'));
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.askBeforeOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace telvara
