// The main window's store commands: Add, the hidden search, Remove.
#include "store_fixture.h"
#include <QFile>

#include <QGroupBox>

namespace telvara::test {
namespace {

const QString kAdded = QStringLiteral("レコードに追加します");
const QString kNotFound = QStringLiteral("見つかりません？");
const QStringList kCleared = {"", "", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"};

Relay otherTimes() {
    Relay r;
    r.ct = "200";
    r.times = {"20", "8", "4", "3", "2.5", "2", "0.1"};
    return r;
}

TEST_F(StoreTest, StoreControlsHaveTheirPlacesHintsHelpAndStartState) {
    EXPECT_EQ(button("CmdAdd")->parentWidget(), control<QGroupBox>("GroupBox2"));
    EXPECT_EQ(button("CmdAdd")->pos(), QPoint(496, 24));
    EXPECT_EQ(button("CmdAdd")->text(), QStringLiteral("Add"));
    EXPECT_EQ(button("CmdAdd")->toolTip(),
              QStringLiteral("ﾃﾞｰﾀｰ入力後にAddボタンを押すと、データーベースに格納できます。"));
    EXPECT_EQ(button("CmdAdd")->property("helpContext").toInt(), 6);
    EXPECT_TRUE(button("CmdAdd")->isEnabled());

    EXPECT_EQ(button("CmdRemove")->parentWidget(), control<QGroupBox>("GroupBox2"));
    EXPECT_EQ(button("CmdRemove")->pos(), QPoint(496, 64));
    EXPECT_EQ(button("CmdRemove")->text(), QStringLiteral("ﾚｺｰﾄﾞ削除"));
    EXPECT_EQ(button("CmdRemove")->toolTip(),
              QStringLiteral("表示されているデーターをデーターベースから削除できます。"));
    EXPECT_EQ(button("CmdRemove")->property("helpContext").toInt(), 6);
    EXPECT_FALSE(button("CmdRemove")->isEnabled());

    EXPECT_EQ(button("Button3")->parentWidget(), form.get());
    EXPECT_EQ(button("Button3")->text(), QStringLiteral("一覧"));
    EXPECT_EQ(button("Button3")->toolTip(), QStringLiteral("会社名、ﾃﾞﾊﾞｲｽNo．の一覧表示"));
    EXPECT_EQ(button("Button3")->property("helpContext").toInt(), 7);
    EXPECT_TRUE(button("Button3")->isVisible());
    EXPECT_TRUE(form->rect().contains(button("Button3")->geometry()));

    EXPECT_EQ(control<QGroupBox>("GroupBox1")->title(), QStringLiteral("検索"));
    EXPECT_FALSE(control<QGroupBox>("GroupBox1")->isVisible());
    EXPECT_EQ(edit("SearchKaisyaName")->parentWidget(), control<QGroupBox>("GroupBox1"));
    EXPECT_EQ(edit("SearchDebisuNo")->parentWidget(), control<QGroupBox>("GroupBox1"));
    EXPECT_EQ(edit("SearchKaisyaName")->text(), QString());
    EXPECT_EQ(edit("SearchDebisuNo")->text(), QString());
    EXPECT_EQ(button("CmdSearch")->text(), QStringLiteral("検索"));
    EXPECT_EQ(button("CmdSearch")->toolTip(),
              QStringLiteral(
                  "会社名 ﾃﾞﾊﾞｲｽNo．を入力し検索ボタンを押すと、保存されているデーターがでます。"));
    EXPECT_EQ(button("CmdSearch")->property("helpContext").toInt(), 7);

    // The store buttons follow the INST time in the tab order.
    const QList<QWidget*> chain = tabChain();
    const qsizetype inst = chain.indexOf(edit("Edit8"));
    ASSERT_EQ(inst, 11);
    EXPECT_EQ(chain.mid(12, 3),
              (QList<QWidget*>{button("CmdAdd"), button("CmdRemove"), button("Button3")}));

    // F1 on "Add" opens help context 6, on "一覧" context 7.
    focusOn(button("CmdAdd"));
    QTest::keyClick(button("CmdAdd"), Qt::Key_F1);
    focusOn(button("Button3"));
    QTest::keyClick(button("Button3"), Qt::Key_F1);
    ASSERT_EQ(scripted.help.shown.size(), 2u);
    EXPECT_EQ(scripted.help.shown[0].context, 6);
    EXPECT_EQ(scripted.help.shown[1].context, 7);
}

TEST_F(StoreTest, AddStoresTheTwelveFieldsAndSaysSo) {
    Relay r;
    enter(r);
    setCurrent(&RelayCurrents::TapCurrent, 12.5);
    press(button("CmdAdd"));
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Message);
    EXPECT_EQ(scripted.messages.asked[0].title, QStringLiteral("Telvara"));
    EXPECT_EQ(scripted.messages.asked[0].text, kAdded);
    EXPECT_EQ(stored("A電力", "51R"), textsOf(r));
    EXPECT_EQ(listing(), QStringList{"A電力,51R"});
    // The fields keep what was typed; nothing else changes.
    EXPECT_EQ(fieldTexts(), textsOf(r));
    EXPECT_FALSE(button("CmdRemove")->isEnabled());
    EXPECT_DOUBLE_EQ(currents().TapCurrent, 12.5);
    // On disk at once: a second store object on the folder sees the record.
    TBPlusTree other;
    other.OpenStore(dir.path().toStdString());
    EXPECT_TRUE(other.FindKey(utf8ToCp932("A電力,51R")));
}

TEST_F(StoreTest, RecordsAnotherProgramAddsAreSeenAndKept) {
    TBPlusTree other;
    other.OpenStore(dir.path().toStdString());
    TRelayRecord& b = other.CurrentRecord();
    b.setField(TRecordField::KaisyaName, "B");
    b.setField(TRecordField::DebaisuNo, "1");
    other.InsertCurrent();
    // The window's Add once wrote its empty store over the other's record.
    add(Relay{});
    EXPECT_TRUE(other.FindKey("B,1"));
    EXPECT_TRUE(other.FindKey(utf8ToCp932("A電力,51R")));
    search(QStringLiteral("B"), QStringLiteral("1"));
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("B"));
    EXPECT_TRUE(button("CmdRemove")->isEnabled());
}

TEST_F(StoreTest, AddOfAStoredKeyAsksAndOnlyYesReplaces) {
    const Relay first;
    add(first);
    const Relay second = otherTimes();
    const QString question = QStringLiteral("A電力,51R は、すでに存在するDATAです上書きしますか？");

    struct Case {
        BoxAnswer answer;
        bool replaced;
    };
    for (const Case c :
         {Case{BoxAnswer::No, false}, Case{BoxAnswer::Closed, false}, Case{BoxAnswer::Yes, true}}) {
        enter(second);
        scripted.messages.asked.clear();
        scripted.messages.answers = {c.answer};
        press(button("CmdAdd"));
        ASSERT_GE(scripted.messages.asked.size(), 1u);
        EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Confirm);
        EXPECT_EQ(scripted.messages.asked[0].title, QStringLiteral("確認"));
        EXPECT_EQ(scripted.messages.asked[0].buttons, ConfirmButtons::YesNo);
        EXPECT_EQ(scripted.messages.asked[0].text, question);
        const std::vector<QString> expected =
            c.replaced ? std::vector<QString>{question, kAdded} : std::vector<QString>{question};
        EXPECT_EQ(scripted.messages.texts(), expected);
        EXPECT_EQ(stored("A電力", "51R"), textsOf(c.replaced ? second : first));
        EXPECT_EQ(listing(), QStringList{"A電力,51R"}); // one record under the key
        EXPECT_EQ(form->store().header().RecordsInUse, 1);
    }
}

TEST_F(StoreTest, OneClickOnAddFromTheInstTimeStoresTheRelay) {
    enter(Relay{});
    focusOn(edit("Edit8"));
    QTest::mouseClick(button("CmdAdd"), Qt::LeftButton);
    EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{kAdded});
    EXPECT_EQ(stored("A電力", "51R"), textsOf(Relay{}));
    // A click into another field leaves the focus there.
    focusOn(edit("Edit8"));
    QTest::mouseClick(edit("kaisya"), Qt::LeftButton);
    EXPECT_EQ(focused(), edit("kaisya"));
}

TEST_F(StoreTest, AddWithoutNameOrDeviceSaysSoAndStoresNothing) {
    Relay noName;
    noName.name = "";
    enter(noName);
    press(button("CmdAdd"));
    EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{"会社名の入力がありません？"});
    EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Message);
    EXPECT_EQ(focused(), edit("kaisya"));
    EXPECT_EQ(form->store().Height(), 0);

    Relay noDevice;
    noDevice.device = "";
    enter(noDevice);
    scripted.messages.asked.clear();
    press(button("CmdAdd"));
    EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{"ﾃﾞﾊﾞｲｽNo. の入力がありません？"});
    EXPECT_EQ(focused(), edit("Debaisu"));
    EXPECT_EQ(form->store().Height(), 0);

    // A single space is a name.
    Relay space;
    space.name = " ";
    enter(space);
    scripted.messages.asked.clear();
    press(button("CmdAdd"));
    EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{kAdded});
    EXPECT_TRUE(stored(" ", "51R").has_value());
}

TEST_F(StoreTest, AddRefusesATextItsFieldCannotHoldWhole) {
    struct Case {
        QLineEdit* field;
        QString text;
        QString message;
    };
    const Case cases[] = {
        {edit("kaisya"), QStringLiteral("A電力😀"),
         QStringLiteral("会社名に Shift-JIS で表せない文字が含まれています：「😀」")},
        {edit("Debaisu"), QStringLiteral("51R€"),
         QStringLiteral("ﾃﾞﾊﾞｲｽNo.に Shift-JIS で表せない文字が含まれています：「€」")},
        {edit("Edit4"), QStringLiteral("3é"),
         QStringLiteral("300%の時間に Shift-JIS で表せない文字が含まれています：「é」")},
        {edit("Edit9"), QStringLiteral("2.5"),
         QStringLiteral("タップに入るのは 2 バイト（半角 2 文字）までです：「2.5」")},
        {edit("kaisya"), QString(20, QChar(u'電')),
         QStringLiteral(
             "会社名に入るのは 36 バイト（全角 18 文字）までです。入力は 40 バイトです。")},
        {edit("Edit1"), QStringLiteral("abc"),
         QStringLiteral("CT比には 0 より大きい数を入れてください：「abc」")},
        {edit("Edit8"), QStringLiteral("-0.03"),
         QStringLiteral("INSTの時間には 0（点を描かない）か 0 より大きい数を入れてください："
                        "「-0.03」")},
        // The key's own separator, and a lone surrogate Qt would store as "?".
        {edit("kaisya"), QStringLiteral("East,West"),
         QStringLiteral("会社名に半角のカンマ「,」は使えません。")},
        {edit("Debaisu"), QStringLiteral("51,R"),
         QStringLiteral("ﾃﾞﾊﾞｲｽNo.に半角のカンマ「,」は使えません。")},
        {edit("kaisya"), QStringLiteral("A") + QChar(0xD800),
         QStringLiteral("会社名に UTF-8 として正しくないバイト列が含まれています：ED A0 80")},
    };
    for (const Case& c : cases) {
        enter(Relay{});
        c.field->setText(c.text);
        scripted.messages.asked.clear();
        press(button("CmdAdd"));
        EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{c.message});
        EXPECT_EQ(focused(), c.field);
        EXPECT_EQ(form->store().Height(), 0);
        EXPECT_EQ(c.field->text(), c.text);
    }
    // The same entries without the odd character are stored.
    enter(Relay{});
    scripted.messages.asked.clear();
    press(button("CmdAdd"));
    EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{kAdded});
}

TEST_F(StoreTest, RelaysAgreeingInTheFirst41KeyBytesAreNeverTakenForEachOther) {
    Relay backup; // as an older program left it: 47 bytes of key
    backup.name = "関西電力株式会社南大阪変電所";
    backup.device = "51R-FEEDER-01-BACKUP";
    store(backup);
    const auto records = [this] {
        QFile file(QString::fromStdString(form->store().recordFilePath()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray idx = records();
    Relay main = backup;
    main.device = "51R-FEEDER-01-MAIN";
    enter(main);
    press(button("CmdAdd"));
    EXPECT_EQ(
        scripted.messages.texts(),
        std::vector<QString>{"会社名とﾃﾞﾊﾞｲｽNo. は合わせて 40 バイト（全角 20 文字）までです。"
                             "入力は 46 バイトです。"});
    EXPECT_EQ(focused(), edit("Debaisu"));
    main.device = "51R-FEEDER-0"; // exactly the 41 bytes a tree page keeps
    enter(main);
    scripted.messages.asked.clear();
    press(button("CmdAdd"));
    EXPECT_EQ(scripted.messages.texts(),
              std::vector<QString>{"関西電力株式会社南大阪変電所,51R-FEEDER-01-BACKUP とキーの先頭 "
                                   "41 バイトが同じです。別の会社名かﾃﾞﾊﾞｲｽNo. にしてください。"});
    EXPECT_EQ(records(), idx);

    // The listed line loads it; its own name and device replace it.
    scripted.messages.asked.clear();
    search(QString::fromStdString(backup.name), QStringLiteral("51R-FEEDER-0"));
    EXPECT_TRUE(scripted.messages.asked.empty());
    EXPECT_EQ(fieldTexts(), textsOf(backup));
    search(QString::fromStdString(backup.name), QStringLiteral("51R-FEEDER-01-MAIN"));
    EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{kNotFound});
    backup.ct = "300";
    enter(backup);
    scripted.messages.asked.clear();
    scripted.messages.answers = {BoxAnswer::Yes};
    press(button("CmdAdd"));
    EXPECT_EQ(scripted.messages.texts(),
              (std::vector<QString>{"関西電力株式会社南大阪変電所,51R-FEEDER-01-BACKUP"
                                    " は、すでに存在するDATAです上書きしますか？",
                                    kAdded}));
    EXPECT_EQ(stored(backup.name, backup.device)->at(2), QStringLiteral("300"));
    EXPECT_EQ(form->store().header().RecordsInUse, 1);
}

TEST_F(StoreTest, SearchThatFindsLoadsTheFieldsAndEveryDerivedCurrent) {
    add(Relay{});
    enter(otherTimes());
    edit("kaisya")->setText("typed");
    setCurrent(&RelayCurrents::InstCurrent, 7);
    scripted.messages.asked.clear();
    // Loaded as the list window does.
    const bool found = form->loadRecord("A電力", "51R");
    EXPECT_TRUE(scripted.messages.asked.empty());
    EXPECT_EQ(fieldTexts(), textsOf(Relay{}));
    EXPECT_TRUE(button("CmdRemove")->isEnabled());
    EXPECT_TRUE(found);
    EXPECT_DOUBLE_EQ(currents().TapCurrent, 80);
    EXPECT_DOUBLE_EQ(currents().Current150, 120);
    EXPECT_DOUBLE_EQ(currents().Current700, 560);
    EXPECT_DOUBLE_EQ(currents().InstCurrent, 4000);
    EXPECT_EQ(currentLabels(), (QStringList{"120 A", "160 A", "240 A", "320 A", "400 A", "560 A"}));
    EXPECT_EQ(label("Label15")->text(), QStringLiteral("4000 A"));

    // An INST tap of 0 shows "--- A" and keeps the INST current.
    Relay noInst;
    noInst.device = "67";
    noInst.instTap = "0";
    noInst.tap = "5";
    add(noInst);
    search("A電力", "67");
    EXPECT_EQ(label("Label15")->text(), QStringLiteral("--- A"));
    EXPECT_DOUBLE_EQ(currents().InstCurrent, 4000);
    EXPECT_EQ(label("Label9")->text(), QStringLiteral("150 A"));
}

TEST_F(StoreTest, SearchThatFindsNothingClearsTheFieldsAndSaysSo) {
    add(Relay{});
    search("A電力", "51R");
    ASSERT_TRUE(button("CmdRemove")->isEnabled());
    setCurrent(&RelayCurrents::TapCurrent, 80);
    scripted.messages.asked.clear();
    const bool found = form->loadRecord("A電力", "52");
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Message);
    EXPECT_EQ(scripted.messages.asked[0].text, kNotFound);
    EXPECT_EQ(fieldTexts(), kCleared);
    EXPECT_FALSE(button("CmdRemove")->isEnabled());
    EXPECT_FALSE(found);
    // The derived currents are not touched.
    EXPECT_DOUBLE_EQ(currents().TapCurrent, 80);
    EXPECT_EQ(label("Label9")->text(), QStringLiteral("120 A"));
}

TEST_F(StoreTest, LoadedCtThatIsNoNumberEndsTheSearchAfterTheFieldsAreFilled) {
    Relay bad;
    bad.ct = "1O0";
    store(bad);
    setCurrent(&RelayCurrents::TapCurrent, 3);
    search("A電力", "51R");
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Error);
    EXPECT_EQ(scripted.messages.asked[0].text,
              QStringLiteral("'1O0' は浮動小数点数ではありません."));
    EXPECT_EQ(fieldTexts(), textsOf(bad));
    EXPECT_TRUE(button("CmdRemove")->isEnabled());
    EXPECT_DOUBLE_EQ(currents().TapCurrent, 3);
}

TEST_F(StoreTest, RemoveAsksNamingTheRecordAndOnlyYesRemoves) {
    add(Relay{});
    Relay other;
    other.device = "67";
    add(other);
    search("A電力", "51R");
    const QString question = QStringLiteral("次のレコードを削除します 'A電力,51R'?");
    for (const BoxAnswer answer : {BoxAnswer::No, BoxAnswer::Closed}) {
        scripted.messages.asked.clear();
        scripted.messages.answers = {answer};
        press(button("CmdRemove"));
        ASSERT_EQ(scripted.messages.asked.size(), 1u);
        EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Confirm);
        EXPECT_EQ(scripted.messages.asked[0].buttons, ConfirmButtons::YesNo);
        EXPECT_EQ(scripted.messages.asked[0].text, question);
        EXPECT_EQ(fieldTexts(), textsOf(Relay{}));
        EXPECT_EQ(listing(), (QStringList{"A電力,51R", "A電力,67"}));
        EXPECT_TRUE(button("CmdRemove")->isEnabled());
    }

    scripted.messages.asked.clear();
    scripted.messages.answers = {BoxAnswer::Yes};
    press(button("CmdRemove"));
    EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{question});
    EXPECT_EQ(listing(), QStringList{"A電力,67"});
    EXPECT_EQ(fieldTexts(), kCleared);
    // A second press cannot remove a record nobody loaded.
    EXPECT_FALSE(button("CmdRemove")->isEnabled());
    scripted.messages.answers = {BoxAnswer::Yes};
    QTest::mouseClick(button("CmdRemove"), Qt::LeftButton);
    EXPECT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(listing(), QStringList{"A電力,67"});
}

// "BMP保存" never replaces one of the store's own files.
TEST_F(StoreTest, ChartFileIsNeverSavedOverTheStore) {
    enter(Relay{});
    press(button("CmdAdd"));
    withChart();
    const QString idx = dir.filePath(QStringLiteral("ZuboK.idx"));
    QFile before(idx);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    scripted.messages.asked.clear();
    scripted.files.answers.push_back(idx);
    partOf<QPushButton>(chart.get(), "Button4")->click();
    EXPECT_EQ(scripted.messages.texts(),
              std::vector<QString>{QStringLiteral("ファイル ") + idx +
                                   QStringLiteral(" はデーターの保存ファイルです。別のファイル名"
                                                  "を指定してください.")});
    QFile after(idx);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
}

// The chart window compares its relays with the store through the main
// window; the record the user loaded stays the one "ﾚｺｰﾄﾞ削除" removes.
TEST_F(StoreTest, StoredRelayForTheChartLeavesTheLoadedRecordForRemove) {
    Relay other;
    other.device = "52F";
    other.times[0] = "7";
    store(Relay{});
    store(other);
    search(QStringLiteral("A電力"), QStringLiteral("51R"));
    const std::optional<RelaySettings> seen = form->storedRelay("A電力", "52F");
    ASSERT_TRUE(seen);
    EXPECT_EQ("7", seen->times[0]);
    EXPECT_EQ("100", seen->ct);
    EXPECT_FALSE(form->storedRelay("A電力", "99"));
    scripted.messages.answers = {BoxAnswer::Yes};
    button("CmdRemove")->click();
    EXPECT_EQ(QStringLiteral("次のレコードを削除します 'A電力,51R'?"),
              scripted.messages.asked.back().text);
    EXPECT_EQ(listing(), QStringList{"A電力,52F"});
}

} // namespace
} // namespace telvara::test
