#include "modal_helper.h"
#include "platform/data_folder.h"
#include "platform/services_scripted.h"
#include "platform/ui_directory_dialog.h"
#include "qt_print.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

namespace telvara {
namespace {

QStringList labelTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

TEST(DirectoryDialog, ShowsTheStartFolderItsDriveAndItsFiles) {
    QTemporaryDir start;
    QFile(QDir(start.path()).filePath("b.txt")).open(QIODevice::WriteOnly);
    QFile(QDir(start.path()).filePath("A.dat")).open(QIODevice::WriteOnly);
    QDir(start.path()).mkdir("sub");
    ScriptedServices scripted;
    TDirectoryDialog dialog(scripted.messages, scripted.help, start.path(), 2);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ディレクトリの選択"));
    EXPECT_TRUE(dialog.isModal());
    const QStringList labels = labelTexts(dialog);
    for (const char* caption :
         {"ドライブ(&R):", "ディレクトリ(&D):", "ファイル(&F): (*.*)", "ディレクトリ名(&N):"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(caption))) << caption;
    EXPECT_EQ(dialog.okButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(dialog.helpButton()->text(), QStringLiteral("ヘルプ(&H)"));

    EXPECT_EQ(dialog.nameEdit()->text(), QDir::toNativeSeparators(start.path()));
    EXPECT_EQ(dialog.chosenDirectory(), QDir::cleanPath(start.path()));
    EXPECT_EQ(dialog.driveBox()->currentData().toString(), QStorageInfo(start.path()).rootPath());
    QStringList files;
    for (int i = 0; i < dialog.fileList()->count(); ++i)
        files << dialog.fileList()->item(i)->text();
    EXPECT_EQ(files, (QStringList{"A.dat", "b.txt"}));
    EXPECT_EQ(dialog.fileList()->selectionMode(), QAbstractItemView::NoSelection);
}

TEST(DirectoryDialog, AnExistingFolderIsTakenWithoutAQuestion) {
    QTemporaryDir start;
    ScriptedServices scripted;
    TDirectoryDialog dialog(scripted.messages, scripted.help, start.path(), 2);
    dialog.show();
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(scripted.messages.asked.empty());
}

TEST(DirectoryDialog, AMissingFolderIsCreatedOnlyAfterYes) {
    QTemporaryDir start;
    const QString typed = QDir(start.path()).filePath("new/deeper/data");
    ScriptedServices scripted;
    scripted.messages.answers = {BoxAnswer::No, BoxAnswer::Closed};
    TDirectoryDialog dialog(scripted.messages, scripted.help, start.path(), 2);
    dialog.show();
    dialog.nameEdit()->setText(typed);

    dialog.okButton()->click(); // No: the dialog stays with the typed text
    dialog.okButton()->click(); // closing the question: the same
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.nameEdit()->text(), typed);
    ASSERT_EQ(scripted.messages.asked.size(), 2u);
    const AskedBox& question = scripted.messages.asked[0];
    EXPECT_EQ(question.kind, BoxKind::Confirm);
    EXPECT_EQ(question.title, QStringLiteral("確認"));
    EXPECT_EQ(question.text,
              QStringLiteral("指定されたディレクトリが存在しません。作成しますか？"));
    EXPECT_EQ(question.buttons, ConfirmButtons::YesNo);
    EXPECT_FALSE(QFileInfo::exists(typed));
}

TEST(DirectoryDialog, HelpOpensItsContext) {
    QTemporaryDir start;
    ScriptedServices scripted;
    scripted.help.file = "E:\\Telvara\\Zubhelp.hlp";
    TDirectoryDialog dialog(scripted.messages, scripted.help, start.path(), 2);
    dialog.helpButton()->click();
    ASSERT_EQ(scripted.help.shown.size(), 1u);
    EXPECT_EQ(scripted.help.shown[0].context, 2);
    EXPECT_EQ(scripted.help.shown[0].file, QStringLiteral("E:\\Telvara\\Zubhelp.hlp"));
}

TEST(QtDirectoryChooser, YesCreatesTheFolderWithItsParents) {
    QTemporaryDir start;
    const QString typed = QDir(start.path()).filePath("a/b/c");
    ScriptedServices scripted;
    scripted.messages.answers = {BoxAnswer::Yes};
    QTemporaryDir settings;
    const QString settingsFile = settings.filePath("telvara.conf");
    QtDirectoryChooser chooser(scripted.messages, scripted.help, settingsFile);
    test::whenModalOpens<TDirectoryDialog>([&](TDirectoryDialog* dialog) {
        dialog->nameEdit()->setText(typed);
        QTest::keyClick(dialog->nameEdit(), Qt::Key_Return);
    });
    const std::optional<QString> chosen = chooser.chooseDirectory(start.path(), 2);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, typed);
    EXPECT_TRUE(QFileInfo(typed).isDir());
    EXPECT_EQ(scripted.messages.asked.size(), 1u);

    // The next dialog starts in the folder remembered once its store opened,
    // not in the one it is given; choosing alone remembers nothing.
    EXPECT_EQ(rememberedDataFolder(settingsFile), QString());
    chooser.rememberFolder(typed);
    QString shownAtStart;
    test::whenModalOpens<TDirectoryDialog>([&](TDirectoryDialog* dialog) {
        shownAtStart = dialog->nameEdit()->text();
        dialog->cancelButton()->click();
    });
    QtDirectoryChooser later(scripted.messages, scripted.help, settingsFile);
    EXPECT_FALSE(later.chooseDirectory(start.path(), 2).has_value());
    EXPECT_EQ(shownAtStart, QDir::toNativeSeparators(typed));
}

TEST(DataFolder, StartsInTheLastFolderElseInAWritableProgramFolderElseAtHome) {
    QTemporaryDir last, program;
    EXPECT_EQ(dataFolderStart(last.path(), program.path()), last.path());
    EXPECT_EQ(dataFolderStart(last.filePath("gone"), program.path()), program.path());
    EXPECT_EQ(dataFolderStart({}, program.path()), program.path());
    EXPECT_EQ(dataFolderStart({}, program.filePath("gone")), QDir::homePath());
    EXPECT_EQ(dataFolderStart({}, {}), QDir::homePath());
    if (geteuid() != 0) { // every folder is writable for root
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(dataFolderStart({}, program.path()), QDir::homePath());
        QFile::setPermissions(program.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

TEST(QtDirectoryChooser, CancelChoosesNothingAndCreatesNothing) {
    QTemporaryDir start;
    const QString typed = QDir(start.path()).filePath("never");
    ScriptedServices scripted;
    QTemporaryDir settings;
    QtDirectoryChooser chooser(scripted.messages, scripted.help, settings.filePath("t.conf"));
    test::whenModalOpens<TDirectoryDialog>([&](TDirectoryDialog* dialog) {
        dialog->nameEdit()->setText(typed);
        dialog->cancelButton()->click();
    });
    EXPECT_FALSE(chooser.chooseDirectory(start.path(), 2).has_value());
    EXPECT_FALSE(QFileInfo::exists(typed));
    EXPECT_TRUE(scripted.messages.asked.empty());
}

} // namespace
} // namespace telvara
