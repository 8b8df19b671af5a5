// The chart window's study: opening, refusing, the relays shown going into
// it, saving, and the question about unsaved changes.
#include "chat_form_fixture.h"

#include "chartwin/check_dialog.h"
#include "study/relay_device.h"
#include "study/study_file.h"

#include <QFile>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>

namespace telvara::test {
namespace {

const QString kExample = QStringLiteral(TELVARA_EXAMPLES "/substation.tvstudy");

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

class ChatFormStudyTest : public ChatFormTest {
protected:
    void SetUp() override {
        // The recent studies go to a test location, not the user's settings.
        QStandardPaths::setTestModeEnabled(true);
        ChatFormTest::SetUp();
    }
    QString copyOfExample() {
        const QString path = dir.filePath(QStringLiteral("s.tvstudy"));
        QFile::remove(path);
        QFile::copy(kExample, path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(ChatFormStudyTest, AStudyOpensReferredAndABrokenOneLeavesItAsItWas) {
    const QString path = copyOfExample();
    ASSERT_TRUE(chat->openStudy(path));
    EXPECT_EQ(QStringLiteral("s.tvstudy - グラフ画面"), chat->windowTitle());
    ASSERT_EQ(4, chart().NumSeries());
    EXPECT_EQ("51F1 配電線1", series(0)->Title());
    EXPECT_EQ(clRed, series(0)->SeriesColor());
    // 51T: CT 150/5, tap 5 on the 66 kV bus: 225 A at 150 %, 2250 A at 6.6 kV.
    EXPECT_EQ("51T 66kV変圧器一次", series(3)->Title());
    EXPECT_DOUBLE_EQ(2250, series(3)->XValues()[0]);
    EXPECT_EQ("過電流値（Ａ） 6.6kV換算", chart().BottomAxis().Title().Caption());

    // A broken file: named with its line, and the open study stays.
    const QString broken = dir.filePath(QStringLiteral("b.tvstudy"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\n  \"format\": \"telvara-study\",\n  \"version\": 3\n}\n");
    f.close();
    EXPECT_FALSE(chat->openStudy(broken));
    ASSERT_EQ(1u, scripted.messages.asked.size());
    EXPECT_EQ(broken + QStringLiteral(": 3 行目: 新しい版（3）の Telvara の検討ファイルです。"
                                      "この版では開けません"),
              scripted.messages.asked[0].text);
    EXPECT_EQ(path, chat->studyPath());
    EXPECT_EQ(4u, chat->study().devices.size());
    EXPECT_EQ(4, chart().NumSeries());
    // Saved unchanged: the same bytes, the old ones kept beside.
    ASSERT_TRUE(chat->saveStudy());
    EXPECT_EQ(bytesOf(kExample), bytesOf(path));
    EXPECT_EQ(bytesOf(kExample), bytesOf(path + QStringLiteral("~")));
}

TEST_F(ChatFormStudyTest, RelaysShownGoIntoTheStudyOnceAndAreSavedWithIt) {
    enterExample();
    main.company = "A電力";
    showMain();
    showChart();
    ASSERT_EQ(1u, chat->study().devices.size());
    const TDevice& d = chat->study().devices[0];
    EXPECT_EQ("51R", d.id);
    EXPECT_EQ("#ff0000", *d.color);
    EXPECT_EQ(QStringLiteral("無題* - グラフ画面"), chat->windowTitle());
    // The same relay changed: its device takes the new times, no second one.
    activate(main);
    main.times[0] = "9";
    showChart();
    ASSERT_EQ(1u, chat->study().devices.size());
    EXPECT_EQ("9", dynamic_cast<const TRelayDevice&>(*chat->study().devices[0].kind).fields[3]);
    // Another relay: a device of its own.
    activate(main);
    main.device = "67";
    showChart();
    ASSERT_EQ(2u, chat->study().devices.size());
    EXPECT_EQ("67", chat->study().devices[1].id);

    // A relay that could not be read back is named, and nothing is written.
    const QString path = dir.filePath(QStringLiteral("new.tvstudy"));
    activate(main);
    main.ct = "";
    showChart();
    scripted.files.answers.push_back(path);
    EXPECT_FALSE(chat->saveStudy());
    ASSERT_EQ(1u, scripted.messages.asked.size());
    EXPECT_EQ(
        QStringLiteral("装置「67」は保存できません：CT比には 0 より大きい数を入れてください：「」"),
        scripted.messages.asked[0].text);
    EXPECT_FALSE(QFile::exists(path));
    activate(main);
    main.ct = "200";
    showChart();
    // "上書き保存" of the unnamed study asks for a name.
    scripted.files.answers.push_back(path);
    ASSERT_TRUE(chat->saveStudy());
    EXPECT_EQ(QStringLiteral("new.tvstudy - グラフ画面"), chat->windowTitle());
    const TStudy saved = readStudyFile(path.toStdString());
    EXPECT_EQ(chat->study(), saved);
    // "ｸﾞﾗﾌの削除" takes the last relay out again.
    chat->removeCurrentCurve();
    EXPECT_EQ(1u, chat->study().devices.size());
    EXPECT_TRUE(chat->studyModified());
}

TEST_F(ChatFormStudyTest, UnsavedChangesAreAskedAboutBeforeAnotherStudyOpens) {
    enterExample();
    main.company = "A電力";
    showMain();
    showChart();
    ASSERT_TRUE(chat->studyModified());
    // Cancel: nothing opens, the change stays.
    scripted.messages.answers.push_back(BoxAnswer::Cancel);
    EXPECT_FALSE(chat->openStudy(kExample));
    ASSERT_EQ(1u, scripted.messages.asked.size());
    EXPECT_EQ(QStringLiteral("無題の検討 への変更を保存しますか？"),
              scripted.messages.asked[0].text);
    EXPECT_EQ(1u, chat->study().devices.size());
    // No: dropped, the example opens.
    scripted.messages.answers.push_back(BoxAnswer::No);
    EXPECT_TRUE(chat->openStudy(kExample));
    EXPECT_EQ(4u, chat->study().devices.size());
    EXPECT_FALSE(chat->studyModified());
    // Nothing unsaved: "新規" asks nothing.
    chat->newStudy();
    EXPECT_EQ(2u, scripted.messages.asked.size());
    EXPECT_TRUE(chat->study().devices.empty());
}

TEST_F(ChatFormStudyTest, TheCheckGoesAlongTheStudysPathsWithThePathColumn) {
    ASSERT_TRUE(chat->openStudy(copyOfExample()));
    chat->showMaximized();
    settle();
    QTest::mouseClick(button("CheckCommand"), Qt::LeftButton);
    auto* dialog = control<TCheckDialog>("CheckDialog");
    ASSERT_TRUE(dialog);
    auto* table = partOf<QTableWidget>(dialog, "Table");
    QTest::mouseClick(partOf<QPushButton>(dialog, "CheckButton"), Qt::LeftButton);
    ASSERT_EQ(4, table->rowCount());
    auto row = [&](int r) {
        QStringList cells;
        for (int c = 0; c < 6; ++c)
            cells << table->item(r, c)->text();
        return cells;
    };
    // Worst first: 51R against 51T up to the 6.6 kV bus's 12,500 A.
    EXPECT_EQ(QStringList(
                  {"配電線1", "51R 6.6kV受電", "51T 66kV変圧器一次", "0.350", "10,500.0", "合格"}),
              row(0));
    EXPECT_EQ(QStringLiteral("配電線2"), row(1)[0]);
    EXPECT_EQ(QStringList({"配電線1", "51F1 配電線1", "51R 6.6kV受電", "1.010", "8,400.0", "合格"}),
              row(2));
    // The margin given in the dialog takes the study's relay-relay place.
    partOf<QLineEdit>(dialog, "CtiEdit")->setText(QStringLiteral("0.4"));
    QTest::mouseClick(partOf<QPushButton>(dialog, "CheckButton"), Qt::LeftButton);
    EXPECT_EQ(QStringLiteral("不合格"), row(0)[5]);
}

} // namespace
} // namespace telvara::test
