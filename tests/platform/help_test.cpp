#include "modal_helper.h"
#include "platform/help_keys.h"
#include "platform/help_viewer.h"
#include "platform/services_scripted.h"
#include "qt_print.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace telvara {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A help root holding the set "ZUBHELP" with a contents page and context 3.
struct HelpRoot {
    QTemporaryDir root;
    QString set;
    HelpRoot() {
        set = QDir(root.path()).filePath("ZUBHELP");
        QDir().mkpath(set);
        writeFile(set + "/map.txt", "# contexts\n目次 index.html\n3 graph.html\n5 missing.html\n");
        writeFile(set + "/index.html",
                  "<html><head><title>目次</title></head><body>contents</body></html>");
        writeFile(set + "/graph.html",
                  "<html><head><title>グラフ表示</title></head><body>graph</body></html>");
    }
};

TEST(HelpSetName, IsTheFileNameWithoutFolderAndExtension) {
    EXPECT_EQ(helpSetName("E:\\Telvara\\Zubhelp.hlp"), QStringLiteral("Zubhelp"));
    EXPECT_EQ(helpSetName("E:/Telvara/Zubhelp.hlp"), QStringLiteral("Zubhelp"));
    EXPECT_EQ(helpSetName("ZubHelp.HLP"), QStringLiteral("ZubHelp"));
    EXPECT_EQ(helpSetName("plain"), QStringLiteral("plain"));
}

TEST(HelpLocator, FindsTheSetByBaseNameWithoutRegardToCaseInRootOrder) {
    HelpRoot first;
    HelpRoot second;
    HelpLocator locator(
        {QDir(first.root.path()).filePath("absent"), second.root.path(), first.root.path()});
    EXPECT_EQ(locator.findSet("E:\\Telvara\\Zubhelp.hlp"), second.set);
    EXPECT_EQ(locator.findSet("ZubHelp.HLP"), second.set);
    EXPECT_EQ(locator.findSet("Other.hlp"), QString());
}

TEST(HelpLocator, MapsContextsAndTopicsToExistingPages) {
    HelpRoot help;
    EXPECT_EQ(HelpLocator::pageFor(help.set, "3"), help.set + "/graph.html");
    EXPECT_EQ(HelpLocator::pageFor(help.set, "目次"), help.set + "/index.html");
    EXPECT_EQ(HelpLocator::pageFor(help.set, "4"), QString());
    EXPECT_EQ(HelpLocator::pageFor(help.set, "5"), QString());         // listed, file missing
    EXPECT_EQ(HelpLocator::pageFor(help.root.path(), "3"), QString()); // no map
}

TEST(QtHelpService, ShowsThePageOfAContextOrTopicInTheHelpWindow) {
    HelpRoot help;
    ScriptedMessages messages;
    QtHelpService service(messages, HelpLocator({help.root.path()}));
    service.setHelpFile("E:\\Telvara\\Zubhelp.hlp");
    service.showContext(3);
    ASSERT_NE(service.window(), nullptr);
    EXPECT_TRUE(service.window()->isVisible());
    EXPECT_EQ(service.window()->source().toLocalFile(), help.set + "/graph.html");
    EXPECT_TRUE(service.window()->toPlainText().contains("graph"));
    EXPECT_EQ(service.window()->windowTitle(), QStringLiteral("Telvara - グラフ表示"));

    service.setHelpFile("ZubHelp.HLP");
    service.showTopic("目次");
    EXPECT_EQ(service.window()->source().toLocalFile(), help.set + "/index.html");
    EXPECT_TRUE(messages.asked.empty());
    service.window()->close();
}

TEST(QtHelpService, SaysSoWhenTheSetOrThePageIsMissing) {
    HelpRoot help;
    ScriptedMessages messages;
    QtHelpService service(messages, HelpLocator({help.root.path()}));
    service.setHelpFile("Other.HLP");
    service.showContext(1);
    service.setHelpFile("ZubHelp.HLP");
    service.showContext(7);
    service.showTopic("索引");
    ASSERT_EQ(messages.asked.size(), 3u);
    EXPECT_EQ(messages.asked[0].kind, BoxKind::Message);
    EXPECT_EQ(messages.asked[0].text, QStringLiteral("ヘルプファイル「Other」が見つかりません。"));
    EXPECT_EQ(
        messages.asked[1].text,
        QStringLiteral("ヘルプファイル「ZubHelp」にヘルプコンテキスト 7のページがありません。"));
    EXPECT_EQ(messages.asked[2].text,
              QStringLiteral("ヘルプファイル「ZubHelp」にトピック「索引」のページがありません。"));
    EXPECT_EQ(service.window(), nullptr);
}

TEST(HelpKey, F1OpensTheContextOfTheFocusedControlElseOfTheWindow) {
    ScriptedServices scripted;
    scripted.help.file = "E:\\Telvara\\Zubhelp.hlp";
    QWidget window;
    auto* plain = new QLineEdit(&window);
    auto* button = new QPushButton("グラフ表示", &window);
    button->move(0, 40);
    setHelpContext(&window, 1);
    setHelpContext(button, 3);
    installHelpKey(&window, scripted.messages, scripted.help);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    plain->setFocus();
    QTest::keyClick(plain, Qt::Key_F1);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_F1);
    ASSERT_EQ(scripted.help.shown.size(), 2u);
    EXPECT_EQ(scripted.help.shown[0].context, 1);
    EXPECT_EQ(scripted.help.shown[1].context, 3);
    EXPECT_EQ(scripted.help.shown[1].file, QStringLiteral("E:\\Telvara\\Zubhelp.hlp"));
}

} // namespace
} // namespace telvara

namespace telvara {
namespace {

// A modal dialog blocks every other window: help opened from it must still
// take the keys that scroll it and close with the dialog.
TEST(QtHelpService, HelpOpenedFromAModalDialogScrollsWhileTheDialogWaits) {
    HelpRoot help;
    writeFile(help.set + "/graph.html",
              "<html><body>" + QByteArray("<p>line</p>").repeated(300) + "</body></html>");
    ScriptedMessages messages;
    QtHelpService service(messages, HelpLocator({help.root.path()}));
    service.setHelpFile("ZubHelp.HLP");
    int before = -1, after = -1;
    {
        QDialog dialog;
        dialog.setModal(true);
        test::whenModalOpens<QDialog>([&](QDialog* open) {
            service.showContext(3);
            QTextBrowser* window = service.window();
            ASSERT_NE(window, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
            before = window->verticalScrollBar()->value();
            // Through the window system, where a blocked window gets nothing.
            QTest::keyClick(window->windowHandle(), Qt::Key_PageDown);
            after = window->verticalScrollBar()->value();
            open->reject();
        });
        dialog.exec();
    }
    EXPECT_EQ(before, 0);
    EXPECT_GT(after, 0);
    EXPECT_EQ(service.window(), nullptr); // closed with its dialog
}

// A dialog low on the screen: its help window opens over it but wholly on
// its screen.
TEST(QtHelpService, HelpFromADialogLowOnTheScreenStaysOnThatScreen) {
    HelpRoot help;
    ScriptedMessages messages;
    QtHelpService service(messages, HelpLocator({help.root.path()}));
    service.setHelpFile("ZubHelp.HLP");
    QRect placed, room;
    QPoint dialogCentre;
    QDialog dialog;
    dialog.setModal(true);
    room = dialog.screen()->availableGeometry();
    dialog.setGeometry(room.right() - 300, room.bottom() - 100, 200, 60);
    test::whenModalOpens<QDialog>([&](QDialog* open) {
        dialogCentre = open->frameGeometry().center();
        service.showContext(3);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(service.window()));
        placed = service.window()->frameGeometry();
        open->reject();
    });
    dialog.exec();
    ASSERT_TRUE(placed.isValid());
    EXPECT_TRUE(room.contains(placed)) << placed.x() << "," << placed.y();
    // As close to the dialog's centre as the screen allows: against its
    // right and bottom edges.
    EXPECT_EQ(placed.right(), room.right());
    EXPECT_EQ(placed.bottom(), room.bottom());
    EXPECT_TRUE(placed.contains(dialogCentre));
}

} // namespace
} // namespace telvara
