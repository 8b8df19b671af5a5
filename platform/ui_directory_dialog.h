#pragma once
// The data-folder dialog: a modal directory chooser that lets the user type a
// folder that does not exist yet, asks before creating it, and creates it
// with its missing parents.
#include "platform/services.h"

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

namespace telvara {

inline const QString kCreateFolderQuestion =
    QStringLiteral("指定されたディレクトリが存在しません。作成しますか？");

class TDirectoryDialog : public QDialog {
    Q_OBJECT
public:
    TDirectoryDialog(MessageService& messages, HelpService& help, const QString& startFolder,
                     int helpContext, QWidget* parent = nullptr);

    // The folder named by the directory name field, made absolute against
    // the folder selected in the tree.
    QString chosenDirectory() const;

    QComboBox* driveBox() const { return drives_; }
    QTreeView* directoryTree() const { return tree_; }
    QListWidget* fileList() const { return files_; }
    QLineEdit* nameEdit() const { return name_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* helpButton() const { return helpButton_; }

    void accept() override;

private:
    void fillDrives(const QString& startFolder);
    void showDrive(const QString& root);
    void selectFolder(const QString& folder);
    void folderSelected(const QString& folder);
    void fillFiles(const QString& folder);

    MessageService& messages_;
    HelpService& help_;
    int helpContext_;
    QString treeFolder_;
    bool treeShowsFolder_ = false;
    QFileSystemModel* model_;
    QComboBox* drives_;
    QTreeView* tree_;
    QListWidget* files_;
    QLineEdit* name_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* helpButton_;
};

// The program's directory chooser: the dialog above, then the folder created;
// it is remembered once its store has opened. The dialog starts in the folder chosen last time;
// without one, in startFolder (the program's folder) when the user may write there, else in the
// user's home.
class QtDirectoryChooser : public DirectoryChooser {
public:
    // settingsFile: where the last folder is kept (empty: the program's settings).
    QtDirectoryChooser(MessageService& messages, HelpService& help, QString settingsFile = {})
        : messages_(messages), help_(help), settingsFile_(std::move(settingsFile)) {}
    std::optional<QString> chooseDirectory(const QString& startFolder, int helpContext) override;
    void rememberFolder(const QString& folder) override;

private:
    MessageService& messages_;
    HelpService& help_;
    QString settingsFile_;
};

} // namespace telvara
