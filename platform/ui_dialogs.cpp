#include "platform/ui_dialogs.h"

#include "platform/ui_messages.h"

#include <QColor>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLocale>

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

// Qt's file model names folders "Folder" where its translations do not and
// writes dates in the environment's locale; the program's dialogs speak
// Japanese. Files keep their type, the MIME comment, which follows the
// program's Japanese locale.
class JapaneseFileNames : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == kTypeColumn && files->isDir(source))
            return files->fileInfo(source).isRoot() ? QStringLiteral("ドライブ")
                                                    : QStringLiteral("フォルダー");
        if (index.column() == kDateColumn)
            return QLocale(QLocale::Japanese, QLocale::Japan)
                .toString(files->lastModified(source), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int kTypeColumn = 2;
    static constexpr int kDateColumn = 3;
};

} // namespace

std::optional<QString> QtFileSaveChooser::chooseFile(const SaveFileRequest& request, bool save) {
    QFileDialog dialog(dialogParent(), request.caption);
    dialog.setProxyModel(new JapaneseFileNames(&dialog));
    // The store's folder first, then the folder of the last file chosen, never
    // the folder the program happened to be started in.
    const QString start = lastFolder_.isEmpty() ? dataFolder_ : lastFolder_;
    if (!start.isEmpty())
        dialog.setDirectory(start);
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
    const QString chosen = dialog.selectedFiles().first();
    lastFolder_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

std::optional<QString> QtFileSaveChooser::chooseSaveFile(const SaveFileRequest& request) {
    return chooseFile(request, true);
}

std::optional<QString> QtFileSaveChooser::chooseOpenFile(const SaveFileRequest& request) {
    return chooseFile(request, false);
}

} // namespace telvara
