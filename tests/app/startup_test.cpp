// Start-up: the data-folder dialog, the store, the version label, the shipped help set.
#include "mein_form_fixture.h"

#include "modal_helper.h"
#include "platform/help_locator.h"
#include "platform/ui_messages.h"
#include "store/bplustree.h"
#include "version/version_block.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

namespace telvara::test {
namespace {

QString programFolder() {
    QString folder = QString::fromStdString(GetModuleName());
    return folder.left(folder.lastIndexOf('/') + 1);
}

TEST_F(MeinFormTest, FormCreateAsksForTheFolderAndOpensTheStoreThere) {
    QTemporaryDir data;
    open(data.path());
    EXPECT_EQ(scripted.random.seeds, 1);
    ASSERT_EQ(scripted.directories.asked.size(), 1u);
    EXPECT_EQ(scripted.directories.asked[0].startFolder, programFolder());
    EXPECT_TRUE(scripted.directories.asked[0].startFolder.endsWith('/'));
    EXPECT_EQ(scripted.directories.asked[0].helpContext, 2);
    EXPECT_FALSE(form->terminationRequested());
    EXPECT_TRUE(form->store().isOpen());
    EXPECT_EQ(QFileInfo(QDir(data.path()).filePath("ZuboK.dat")).size(), 1024);
    EXPECT_TRUE(QFileInfo::exists(QDir(data.path()).filePath("ZuboK.idx")));
    // The test program carries no version block.
    EXPECT_EQ(label("VersionNoLbl")->text(), QStringLiteral("バージョン情報なし"));
    EXPECT_TRUE(scripted.messages.asked.empty());
}

TEST_F(MeinFormTest, CancellingTheFolderDialogRequestsTerminationWithoutAStore) {
    open(std::nullopt);
    EXPECT_TRUE(form->terminationRequested());
    EXPECT_FALSE(form->store().isOpen());
    EXPECT_TRUE(scripted.messages.asked.empty());
}

TEST_F(MeinFormTest, AStoreThatCannotBeOpenedIsReportedAndTheFolderAskedAgain) {
    QTemporaryDir data;
    const QString notAFolder = QDir(data.path()).filePath("file");
    QFile(notAFolder).open(QIODevice::WriteOnly);
    open(notAFolder); // then the dialog is cancelled
    EXPECT_TRUE(form->terminationRequested());
    EXPECT_FALSE(form->store().isOpen());
    EXPECT_EQ(scripted.directories.asked.size(), 2u);
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Error);
    EXPECT_EQ(scripted.messages.asked[0].title, QStringLiteral("Telvara"));
    EXPECT_EQ(scripted.messages.asked[0].text,
              QStringLiteral("フォルダ ") + notAFolder +
                  QStringLiteral(" がありません\nデーターフォルダを選び直してください。"));
}

// Closes every real message box as it opens and keeps its text.
class BoxCloser {
public:
    BoxCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->accept();
            }
        });
        timer_.start(5);
    }
    QStringList texts;

private:
    QTimer timer_;
};

TEST_F(MeinFormTest, ARealMessageBoxFromAnExitCheckStartsNoOtherCheck) {
    QtMessageService realBoxes;
    Services services = scripted.services();
    Services withBoxes{realBoxes,      services.input, services.directories, services.colors,
                       services.files, services.help,  services.random};
    form = std::make_unique<TMeinForm>(withBoxes);
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

    BoxCloser closer;
    focusOn(edit("Edit1")); // CT 0 and tap 0: only the CT is reported
    tab();
    QTest::qWait(200);
    EXPECT_EQ(closer.texts, QStringList{"CT比の入力が有りません。"});
    EXPECT_EQ(form->focusWidget(), edit("Edit1"));
    EXPECT_EQ(activeControl(), edit("Edit1"));
    // Back in the window, the focus is in Edit1 and nothing else is checked.
    QApplication::setActiveWindow(form.get());
    QTest::qWait(50);
    EXPECT_EQ(focused(), edit("Edit1"));
    EXPECT_EQ(closer.texts, QStringList{"CT比の入力が有りません。"});
    EXPECT_EQ(label("Label9")->text(), QString());
}

TEST(HelpSet, TheShippedSetHasAPageForEveryContextAndTheContents) {
    const QString sourceRoot = QStringLiteral(TELVARA_SOURCE_HELP);
    const QString builtRoot = QStringLiteral(TELVARA_BUILD_DIR) + "/app/help";
    for (const QString& root : {sourceRoot, builtRoot}) {
        const HelpLocator locator({root});
        for (const char* file : {"E:\\Telvara\\Zubhelp.hlp", "ZubHelp.HLP"}) {
            const QString set = locator.findSet(QString::fromUtf8(file));
            ASSERT_FALSE(set.isEmpty()) << root.toStdString() << " " << file;
            for (const char* key : {"目次", "1", "2", "3", "4", "6", "7"}) {
                const QString page = HelpLocator::pageFor(set, QString::fromUtf8(key));
                ASSERT_FALSE(page.isEmpty()) << key;
                QFile html(page);
                ASSERT_TRUE(html.open(QIODevice::ReadOnly));
                EXPECT_TRUE(QString::fromUtf8(html.readAll()).contains("<title>")) << key;
            }
        }
    }
}

} // namespace
} // namespace telvara::test
