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

namespace {

std::optional<QString> chooseFile(const SaveFileRequest& request, bool save) {
    QFileDialog dialog(dialogParent(), request.caption);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    if (!request.filterPattern.isEmpty())
        filters << request.filterDescription + QStringLiteral(" (") + request.filterPattern +
                       QLatin1Char(')');
    filters << request.moreFilters;
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(request.defaultExtension);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        const qsizetype dot = f.lastIndexOf(QStringLiteral("*."));
        if (dot >= 0)
            dialog.setDefaultSuffix(f.mid(dot + 2).chopped(f.endsWith(QLatin1Char(')')) ? 1 : 0));
    });
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.askBeforeOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace

std::optional<QString> QtFileSaveChooser::chooseSaveFile(const SaveFileRequest& request) {
    return chooseFile(request, true);
}

std::optional<QString> QtFileSaveChooser::chooseOpenFile(const SaveFileRequest& request) {
    return chooseFile(request, false);
}

} // namespace telvara
