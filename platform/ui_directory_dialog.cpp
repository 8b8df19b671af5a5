#include "platform/ui_directory_dialog.h"

#include "platform/data_folder.h"
#include "platform/guard.h"
#include "platform/help_keys.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace telvara {

namespace {

QLabel* captionFor(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TDirectoryDialog::TDirectoryDialog(MessageService& messages, HelpService& help,
                                   const QString& startFolder, int helpContext, QWidget* parent)
    : QDialog(parent), messages_(messages), help_(help), helpContext_(helpContext) {
    setWindowTitle(QStringLiteral("ディレクトリの選択"));
    setModal(true);
    setHelpContext(this, helpContext);
    installHelpKey(this, messages_, help_);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives | QDir::Hidden);
    drives_ = new QComboBox;
    tree_ = new QTreeView;
    tree_->setModel(model_);
    tree_->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column)
        tree_->hideColumn(column);
    files_ = new QListWidget;
    files_->setSelectionMode(QAbstractItemView::NoSelection);
    name_ = new QLineEdit;
    ok_ = new QPushButton(kOkCaption);
    ok_->setDefault(true);
    cancel_ = new QPushButton(kCancelCaption);
    helpButton_ = new QPushButton(kHelpCaption);

    auto* grid = new QGridLayout;
    grid->addWidget(captionFor(QStringLiteral("ディレクトリ名(&N):"), name_), 0, 0, 1, 2);
    grid->addWidget(name_, 1, 0, 1, 2);
    grid->addWidget(captionFor(QStringLiteral("ディレクトリ(&D):"), tree_), 2, 0);
    grid->addWidget(captionFor(QStringLiteral("ファイル(&F): (*.*)"), files_), 2, 1);
    grid->addWidget(tree_, 3, 0);
    grid->addWidget(files_, 3, 1);
    grid->addWidget(captionFor(QStringLiteral("ドライブ(&R):"), drives_), 4, 0, 1, 2);
    grid->addWidget(drives_, 5, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(helpButton_);
    buttons->addStretch();
    auto* outer = new QHBoxLayout(this);
    outer->addLayout(grid, 1);
    outer->addLayout(buttons);
    resize(480, 340);

    connect(ok_, &QPushButton::clicked, this, guarded(messages_, [this](bool) { accept(); }));
    connect(cancel_, &QPushButton::clicked, this, [this](bool) { reject(); });
    connect(helpButton_, &QPushButton::clicked, this,
            guarded(messages_, [this](bool) { help_.showContext(helpContext_); }));
    connect(drives_, &QComboBox::activated, this, guarded(messages_, [this](int index) {
                showDrive(drives_->itemData(index).toString());
            }));
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            guarded(messages_, [this](const QModelIndex& current, const QModelIndex&) {
                if (current.isValid())
                    folderSelected(model_->filePath(current));
            }));

    // The model reads folders in the background; the tree keeps the start
    // folder in view while its parents are read.
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (treeShowsFolder_)
            return;
        treeShowsFolder_ = QDir(loaded) == QDir(treeFolder_);
        tree_->scrollTo(tree_->currentIndex(), QAbstractItemView::PositionAtCenter);
    });

    const QString start = QDir(startFolder).absolutePath();
    fillDrives(start);
    selectFolder(start);
}

void TDirectoryDialog::fillDrives(const QString& startFolder) {
    const QString current = QStorageInfo(startFolder).rootPath();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = volume.rootPath();
        QString caption = QDir::toNativeSeparators(root);
        if (!volume.displayName().isEmpty() && volume.displayName() != root)
            caption += QStringLiteral("  [") + volume.displayName() + QLatin1Char(']');
        drives_->addItem(caption, root);
        if (root == current)
            drives_->setCurrentIndex(drives_->count() - 1);
    }
    model_->setRootPath(current.isEmpty() ? QDir::rootPath() : current);
    tree_->setRootIndex(model_->index(current.isEmpty() ? QDir::rootPath() : current));
}

void TDirectoryDialog::showDrive(const QString& root) {
    model_->setRootPath(root);
    tree_->setRootIndex(model_->index(root));
    selectFolder(root);
}

void TDirectoryDialog::selectFolder(const QString& folder) {
    const QModelIndex index = model_->index(folder);
    treeShowsFolder_ = false;
    if (index.isValid()) {
        tree_->setCurrentIndex(index);
        tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
    // The model may not have reached the folder yet; the field and the file
    // list follow the folder now all the same.
    folderSelected(folder);
}

void TDirectoryDialog::folderSelected(const QString& folder) {
    treeFolder_ = folder;
    name_->setText(QDir::toNativeSeparators(folder));
    fillFiles(folder);
}

void TDirectoryDialog::fillFiles(const QString& folder) {
    files_->clear();
    const QDir dir(folder);
    files_->addItems(
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase));
}

QString TDirectoryDialog::chosenDirectory() const {
    const QString typed = QDir::fromNativeSeparators(name_->text().trimmed());
    if (typed.isEmpty())
        return {};
    return QDir::cleanPath(QDir(treeFolder_).absoluteFilePath(typed));
}

void TDirectoryDialog::accept() {
    const QString folder = chosenDirectory();
    if (folder.isEmpty())
        return; // nothing named: the dialog stays open
    if (!QFileInfo(folder).isDir() &&
        messages_.confirm(kCreateFolderQuestion, ConfirmButtons::YesNo) != BoxAnswer::Yes)
        return; // the typed text stays for the user to change
    QDialog::accept();
}

std::optional<QString> QtDirectoryChooser::chooseDirectory(const QString& startFolder,
                                                           int helpContext) {
    // No owner: at start-up the active window is the splash, which releases
    // itself as soon as this dialog takes the activation.
    const QString start = dataFolderStart(rememberedDataFolder(settingsFile_), startFolder);
    TDirectoryDialog dialog(messages_, help_, start, helpContext);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString folder = dialog.chosenDirectory();
    // A failure here shows when the store is opened in the folder.
    QDir().mkpath(folder);
    return folder;
}

void QtDirectoryChooser::rememberFolder(const QString& folder) {
    rememberDataFolder(settingsFile_, folder);
}

} // namespace telvara
