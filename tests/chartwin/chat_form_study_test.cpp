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
    // Four relays, then the transformer's damage curve and inrush, the
    // cable, the fuse's two curves and the motor, in the file's order.
    ASSERT_EQ(10, chart().NumSeries());
    EXPECT_EQ("51F1 配電線1", series(0)->Title());
    EXPECT_EQ(clRed, series(0)->SeriesColor());
    // 51T: CT 150/5, tap 5 on the 66 kV bus: 225 A at 150 %, 2250 A at 6.6 kV.
    EXPECT_EQ("51T 66kV変圧器一次", series(3)->Title());
    EXPECT_DOUBLE_EQ(2250, series(3)->XValues()[0]);
    // Inrush: 12 × 10 000 kVA / (√3 · 66 kV) at 0.1 s, referred to 6.6 kV.
    ASSERT_EQ(1, series(5)->Count());
    EXPECT_NEAR(10497.28, series(5)->XValues()[0], 0.01);
    EXPECT_DOUBLE_EQ(0.1, series(5)->YValues()[0]);
    // Its caption marks the point; the axes keep their numbers.
    EXPECT_EQ(talValue, chart().BottomAxis().CalcLabelStyle());
    EXPECT_EQ(talValue, chart().LeftAxis().CalcLabelStyle());
    EXPECT_EQ(rgb(0x80, 0x40, 0x00), series(5)->SeriesColor());
    // Cu/XLPE 150 mm²: k = 143.08, 5 s at k · 150 / √5.
    EXPECT_NEAR(9598.33, series(6)->XValues()[0], 0.01);
    EXPECT_EQ(psDash, static_cast<TLineSeries*>(series(6))->LinePen().Style());
    // 150 kW, 6.6 kV, pf 0.85, η 0.92: I_fl 16.78 A, locked rotor 6 × I_fl.
    EXPECT_NEAR(16.78, series(9)->XValues()[0], 0.01);
    EXPECT_NEAR(100.68, series(9)->XValues()[series(9)->Count() - 1], 0.01);
    EXPECT_EQ(psDashDot, static_cast<TLineSeries*>(series(9))->LinePen().Style());
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
    EXPECT_EQ(8u, chat->study().devices.size());
    EXPECT_EQ(10, chart().NumSeries());
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

TEST_F(ChatFormStudyTest, TypedPointsOutliveAStudyChangeAndRemovingEquipmentTakesItsDevice) {
    ASSERT_TRUE(chat->openStudy(copyOfExample()));
    chat->showMaximized();
    settle();
    checkBox("CheckBox4")->setChecked(true);
    edit("Edit3")->setText(QStringLiteral("手入力"));
    edit("Edit1")->setText(QStringLiteral("300"));
    edit("Edit2")->setText(QStringLiteral("2"));
    QTest::mouseClick(toolButton("SpeedButton1"), Qt::LeftButton);
    ASSERT_EQ(11, chart().NumSeries());

    TStudy hidden = chat->study();
    hidden.FindDevice("C1")->visible = false;
    chat->changeStudy(std::move(hidden));
    ASSERT_EQ(10, chart().NumSeries());
    EXPECT_EQ("手入力", series(9)->Title());
    ASSERT_EQ(1, series(9)->Count());
    EXPECT_DOUBLE_EQ(300, series(9)->XValues()[0]);
    // The next typed point goes into the same curve.
    edit("Edit1")->setText(QStringLiteral("600"));
    QTest::mouseClick(toolButton("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(2, series(9)->Count());

    // ｸﾞﾗﾌの削除 takes the typed curve, then the motor's profile with its device.
    QTest::mouseClick(button("Button2"), Qt::LeftButton);
    QTest::mouseClick(button("Button2"), Qt::LeftButton);
    EXPECT_EQ(nullptr, chat->study().FindDevice("M1"));
    EXPECT_EQ((std::vector<std::string>{"FU1", "F2", "R1", "TR1", "T1"}),
              chat->study().paths[1].devices);
    ASSERT_EQ(8, chart().NumSeries());
    EXPECT_EQ("PF 分岐 全遮断特性", series(7)->Title());
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
    EXPECT_EQ(8u, chat->study().devices.size());
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
    ASSERT_EQ(11, table->rowCount());
    auto row = [&](int r) {
        QStringList cells;
        for (int c = 0; c < 7; ++c)
            cells << table->item(r, c)->text();
        return cells;
    };
    // Worst first: the fuse branch under 51F2 (0.2 s for a relay and a fuse),
    // then 51R against 51T up to the 6.6 kV bus's 12,500 A.
    EXPECT_EQ(
        QStringList({"配電線2", "協調", "PF 分岐", "51F2 配電線2", "0.331", "1,120.0", "合格"}),
        row(0));
    EXPECT_EQ(QStringList({"配電線1", "協調", "51R 6.6kV受電", "51T 66kV変圧器一次", "0.350",
                           "10,500.0", "合格"}),
              row(1));
    EXPECT_EQ(QStringLiteral("配電線2"), row(2)[0]);
    // The transformer's damage curve ends at 11.63 x 87.48 A at 66 kV.
    EXPECT_EQ(QStringList({"配電線1", "損傷", "変圧器 10MVA 66/6.6kV", "51T 66kV変圧器一次",
                           "0.564", "10,171.8", "合格"}),
              row(3));
    EXPECT_EQ(
        QStringList({"配電線2", "始動", "ポンプ電動機 150kW", "PF 分岐", "4.309", "100.7", "合格"}),
        row(10));
    // The margin given in the dialog takes the study's relay-relay place only.
    partOf<QLineEdit>(dialog, "CtiEdit")->setText(QStringLiteral("0.4"));
    QTest::mouseClick(partOf<QPushButton>(dialog, "CheckButton"), Qt::LeftButton);
    EXPECT_EQ(QStringLiteral("合格"), row(0)[6]);
    EXPECT_EQ(QStringLiteral("不合格"), row(1)[6]);
}

} // namespace
} // namespace telvara::test
