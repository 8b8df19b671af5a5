// The input data list window: its design, the listing, loading lines and
// drawing them on the chart.
#include "store_fixture.h"

#include "app/struct_form.h"
#include "platform/chart_widget.h"
#include "relay/relay_csv.h"
#include "store/stored_relays.h"

#include "modal_helper.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include <QAction>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QScrollArea>

namespace telvara::test {
namespace {

const QString kNotFound = QStringLiteral("見つかりません？");

Relay relay(const std::string& name, const std::string& device, const std::string& ct = "100") {
    Relay r;
    r.name = name;
    r.device = device;
    r.ct = ct;
    return r;
}

QStringList rowsOf(const QListView* view) {
    QStringList out;
    for (int i = 0; i < view->model()->rowCount(); ++i)
        out << view->model()->index(i, 0).data().toString();
    return out;
}

class StructFormTest : public StoreTest {
protected:
    void TearDown() override {
        list.reset();
        StoreTest::TearDown();
    }

    // A list window on the store as "一覧" would build it, not shown.
    TStructForm& openList() {
        list = std::make_unique<TStructForm>(*form);
        TBPlusTree& s = form->store();
        list->listStore(s);
        return *list;
    }

    template <class T> T* part(const char* name) const { return partOf<T>(list.get(), name); }

    QStringList lines() const {
        QStringList out;
        return rowsOf(part<QListView>("ListBox1"));
    }

    void select(int row) {
        QListView* view = part<QListView>("ListBox1");
        view->setCurrentIndex(view->model()->index(row, 0));
    }

    // Waits until the chart window is shown and has drawn.
    void waitForChart() {
        ASSERT_TRUE(QTest::qWaitForWindowActive(chart.get()));
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(1);
        }
    }

    TChart& chartOf() const { return partOf<TChartWidget>(chart.get(), "Chart1")->Chart(); }
    int seriesCount() const { return chartOf().NumSeries(); }
    TChartSeries& series(int i) const { return *chartOf().SeriesAt(i); }

    std::unique_ptr<TStructForm> list;
};

TEST_F(StructFormTest, WindowDesignAndResizing) {
    openList();
    EXPECT_EQ(list->windowTitle(), QStringLiteral("インプットデーター一覧"));
    EXPECT_EQ(list->parentWidget(), form.get());
    EXPECT_EQ(list->font().family(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(list->font().pixelSize(), 13);
    EXPECT_EQ(part<QScrollArea>("StructScrollBox")->font().family(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(part<QScrollArea>("StructScrollBox")->font().pixelSize(), 12);
    EXPECT_EQ(part<QScrollArea>("StructScrollBox")->widget(), part<QListView>("ListBox1"));
    EXPECT_EQ(part<QListView>("ListBox1")->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(part<QListView>("ListBox1")->property("helpContext").toInt(), 7);
    EXPECT_EQ(part<QListView>("ListBox1")->contextMenuPolicy(), Qt::CustomContextMenu);
    EXPECT_EQ(part<QPushButton>("CmdOk")->text(), QStringLiteral("Ok"));
    EXPECT_EQ(part<QPushButton>("CmdOk")->size(), QSize(75, 25));
    EXPECT_TRUE(part<QPushButton>("CmdOk")->isDefault());
    const QList<QAction*> menu = part<QMenu>("PopupMenu1")->actions();
    ASSERT_EQ(5, menu.size());
    EXPECT_EQ(menu.mid(0, 2),
              (QList<QAction*>{part<QAction>("ExportCsv"), part<QAction>("ImportCsv")}));
    EXPECT_TRUE(menu[2]->isSeparator());
    EXPECT_EQ(menu.mid(3), (QList<QAction*>{part<QAction>("Find1"), part<QAction>("AllDataView")}));
    EXPECT_EQ(part<QAction>("ExportCsv")->text(), QStringLiteral("CSV書き出し"));
    EXPECT_EQ(part<QAction>("ImportCsv")->text(), QStringLiteral("CSV読み込み"));
    EXPECT_EQ(part<QAction>("Find1")->text(), QStringLiteral("選択データ表示"));
    EXPECT_EQ(part<QAction>("AllDataView")->text(), QStringLiteral("全データ表示"));

    list->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
    QTest::qWait(20); // the outer size is fitted once the frame is known
    EXPECT_EQ(list->frameGeometry(), QRect(200, 108, 337, 375));
    EXPECT_EQ(part<QListView>("ListBox1")->sizeHintForRow(0), 12);

    // F1 in the list opens help context 7; the right button opens the menu.
    ASSERT_TRUE(QTest::qWaitForWindowActive(list.get()));
    part<QListView>("ListBox1")->setFocus();
    QTest::keyClick(part<QListView>("ListBox1"), Qt::Key_F1);
    ASSERT_EQ(scripted.help.shown.size(), 1u);
    EXPECT_EQ(scripted.help.shown[0].context, 7);
    emit part<QListView>("ListBox1")->customContextMenuRequested(QPoint(10, 5));
    EXPECT_TRUE(part<QMenu>("PopupMenu1")->isVisible());
    part<QMenu>("PopupMenu1")->hide();

    // The button centred 8 pixels above the bottom, the list down to 8 above it.
    for (const QSize client : {QSize(400, 500), QSize(301, 200)}) {
        list->resize(client);
        QCoreApplication::processEvents();
        const int top = client.height() - 25 - 8;
        EXPECT_EQ(part<QPushButton>("CmdOk")->geometry(),
                  QRect((client.width() - 75) / 2, top, 75, 25));
        // The filter row above the list.
        EXPECT_EQ(part<QLineEdit>("FilterEdit")->geometry(),
                  QRect(64, 4, client.width() - 64 - 8, 21));
        EXPECT_EQ(part<QScrollArea>("StructScrollBox")->geometry(),
                  QRect(0, 29, client.width(), top - 8 - 29));
        EXPECT_EQ(part<QListView>("ListBox1")->width(),
                  part<QScrollArea>("StructScrollBox")->viewport()->width());
        EXPECT_EQ(part<QListView>("ListBox1")->height(),
                  part<QScrollArea>("StructScrollBox")->viewport()->height());
    }
}

TEST_F(StructFormTest, ListShowsTheKeysInKeyOrder) {
    add(relay("B電力", "51R"));
    add(relay("A電力", "67"));
    add(relay("A電力", "51R"));
    openList();
    EXPECT_EQ(lines(), (QStringList{"A電力,51R", "A電力,67", "B電力,51R"}));
    EXPECT_FALSE(part<QListView>("ListBox1")->currentIndex().isValid());
}

TEST_F(StructFormTest, TwentyThreeRecordsListTheRootKeyBetweenTwoIndentedLeaves) {
    for (int i = 1; i <= 23; ++i)
        store(relay(QStringLiteral("K%1").arg(i, 2, 10, QLatin1Char('0')).toStdString(), "51R"));
    ASSERT_EQ(form->store().Height(), 2);
    openList();
    const QStringList shown = lines();
    ASSERT_EQ(shown.size(), 23);
    for (int i = 0; i < 23; ++i) {
        const QString key = QStringLiteral("K%1,51R").arg(i + 1, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(shown[i], i == 11 ? key : QStringLiteral("    ") + key) << i;
    }

    // An indented line loads its record as an unindented one would.
    select(4);
    part<QPushButton>("CmdOk")->click();
    EXPECT_TRUE(scripted.messages.asked.empty());
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("K05"));
    EXPECT_EQ(edit("Debaisu")->text(), QStringLiteral("51R"));
    EXPECT_EQ(edit("SearchKaisyaName")->text(), QStringLiteral("K05"));
    EXPECT_TRUE(button("CmdRemove")->isEnabled());
    EXPECT_DOUBLE_EQ(currents().TapCurrent, 80);
    EXPECT_FALSE(list->isVisible());
}

TEST_F(StructFormTest, EveryStoredRelayIsListedAndLoadsPastTheListingLimit) {
    TBPlusTree& s = form->store();
    s.BeginTransaction();
    for (int i = 0; i < 700; ++i)
        store(relay(QStringLiteral("K%1").arg(i, 4, 10, QLatin1Char('0')).toStdString(), "51R",
                    std::to_string(100 + i)));
    s.Commit();
    openList();
    QStringList keys;
    for (const QString& line : lines())
        keys << line.trimmed();
    ASSERT_EQ(keys.size(), 700);
    EXPECT_EQ(keys.front(), QStringLiteral("K0000,51R"));
    EXPECT_EQ(keys.back(), QStringLiteral("K0699,51R"));
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    select(650);
    part<QPushButton>("CmdOk")->click();
    EXPECT_TRUE(scripted.messages.asked.empty());
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("K0650"));
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("750"));
}

TEST_F(StructFormTest, FilterNarrowsByAnyPartOfNameOrDevice) {
    add(relay("第一変電所", "51R"));
    add(relay("第二変電所", "67", "200"));
    add(relay("ＡＢＣ電力", "51G"));
    openList();
    list->show();
    auto* filter = part<QLineEdit>("FilterEdit");
    // Typed through the input method, one character at a time, as Japanese is.
    const auto typed = [&](const QString& text) {
        filter->clear();
        for (const QChar c : text) {
            QInputMethodEvent commit;
            commit.setCommitString(c);
            QCoreApplication::sendEvent(filter, &commit);
        }
        return lines();
    };
    EXPECT_EQ(typed("変電"), (QStringList{"第一変電所,51R", "第二変電所,67"}));
    // Device numbers, full-width and case alike; across the comma.
    EXPECT_EQ(typed("51"), (QStringList{"ＡＢＣ電力,51G", "第一変電所,51R"}));
    EXPECT_EQ(typed("abc"), QStringList{"ＡＢＣ電力,51G"});
    EXPECT_EQ(typed("所,6"), QStringList{"第二変電所,67"});
    EXPECT_EQ(typed("xyz"), QStringList{});
    EXPECT_EQ(typed(""), (QStringList{"ＡＢＣ電力,51G", "第一変電所,51R", "第二変電所,67"}));

    // A selected line stays selected while shown; the one line left is
    // selected, and Enter in the field loads it.
    select(1);
    EXPECT_EQ(typed("第"), (QStringList{"第一変電所,51R", "第二変電所,67"}));
    EXPECT_EQ(part<QListView>("ListBox1")->currentIndex().row(), 0);
    typed("二");
    ASSERT_TRUE(QTest::qWaitForWindowActive(list.get()));
    filter->setFocus();
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(scripted.messages.asked.empty());
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("第二変電所"));
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("200"));
}

TEST_F(StructFormTest, OkLoadsTheSelectedLineOrNothingAndCloses) {
    add(relay("A電力", "51R", "200"));
    add(relay("B電力", "67"));
    enter(relay("typed", "1"));

    openList();
    list->show();
    part<QPushButton>("CmdOk")->click();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->result(), QDialog::Accepted);
    EXPECT_EQ(fieldTexts(), textsOf(relay("typed", "1")));
    EXPECT_TRUE(scripted.messages.asked.empty());

    openList();
    select(0);
    part<QPushButton>("CmdOk")->click();
    EXPECT_EQ(fieldTexts(), textsOf(relay("A電力", "51R", "200")));
    EXPECT_DOUBLE_EQ(currents().TapCurrent, 160);
    EXPECT_TRUE(scripted.messages.asked.empty());
}

TEST_F(StructFormTest, EnterAndEscRunOkButTheCloseBoxLoadsNothing) {
    add(relay("A電力", "51R"));
    add(relay("B電力", "67"));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        enter(relay("typed", "1"));
        openList();
        list->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(list.get()));
        select(1);
        part<QListView>("ListBox1")->setFocus();
        QTest::keyClick(part<QListView>("ListBox1"), key);
        EXPECT_FALSE(list->isVisible());
        EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("B電力")) << key;
    }
    enter(relay("typed", "1"));
    openList();
    list->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(list.get()));
    select(1);
    list->close();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("typed"));
    EXPECT_TRUE(scripted.messages.asked.empty());
}

TEST_F(StructFormTest, EmptyStoreListsEmptyWhichIsNotFound) {
    openList();
    EXPECT_EQ(lines(), QStringList{"< Empty >"});
    select(0);
    part<QPushButton>("CmdOk")->click();
    EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{kNotFound});
    EXPECT_EQ(edit("SearchKaisyaName")->text(), QStringLiteral("<"));
    EXPECT_EQ(edit("SearchDebisuNo")->text(), QStringLiteral("Empty"));
    EXPECT_EQ(edit("kaisya")->text(), QString());
    EXPECT_FALSE(button("CmdRemove")->isEnabled());
    EXPECT_FALSE(list->isVisible());
}

TEST_F(StructFormTest, LinesWithoutTwoItemsAreReportedAsNotFound) {
    add(relay("A電力", "51R"));
    openList();
    list->setListing("A\x93\x64\x97\xCD,51R\r\n\r\n[etc.]");
    for (const int row : {1, 2}) {
        search("A電力", "51R");
        scripted.messages.asked.clear();
        select(row);
        part<QPushButton>("CmdOk")->click();
        EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{kNotFound}) << row;
        EXPECT_EQ(edit("kaisya")->text(), QString());
    }
}

TEST_F(StructFormTest, QuotedAndDoubleByteLinesLoadTheirRecords) {
    add(relay("ソニー表", "51R", "300"));
    add(relay("A電力", "67", "200"));
    openList();
    EXPECT_EQ(lines(), (QStringList{"A電力,67", "ソニー表,51R"}));
    select(1);
    part<QPushButton>("CmdOk")->click();
    EXPECT_TRUE(scripted.messages.asked.empty());
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("ソニー表"));
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("300"));

    openList();
    list->setListing(utf8ToCp932("  \"A電力\" , \"67\""));
    select(0);
    part<QPushButton>("CmdOk")->click();
    EXPECT_TRUE(scripted.messages.asked.empty());
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("A電力"));
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("200"));
}

TEST_F(StructFormTest, NameCutInsideACharacterLoadsFromItsLine) {
    // 35 bytes and 電 (93 64): a store written elsewhere keeps the lead byte 93
    // before the comma.
    const std::string name = std::string(35, 'x') + "電";
    store(relay(name, "51R", "300"));
    openList();
    ASSERT_EQ(part<QListView>("ListBox1")->model()->rowCount(), 1);
    select(0);
    part<QPushButton>("CmdOk")->click();
    EXPECT_TRUE(scripted.messages.asked.empty());
    EXPECT_EQ(edit("Debaisu")->text(), QStringLiteral("51R"));
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("300"));
    EXPECT_EQ(utf8ToCp932(edit("kaisya")->text().toStdString()), std::string(35, 'x') + "\x93");
}

TEST_F(StructFormTest, ShowStructureBuildsAFreshModalWindowOnEachPress) {
    add(relay("A電力", "51R"));
    QStringList seen;
    TStructForm* first = nullptr;
    whenModalOpens<TStructForm>([&](TStructForm* shown) {
        first = shown;
        EXPECT_TRUE(shown->isModal());
        seen = rowsOf(partOf<QListView>(shown, "ListBox1"));
        QListView* view = partOf<QListView>(shown, "ListBox1");
        view->setCurrentIndex(view->model()->index(0, 0));
        partOf<QPushButton>(shown, "CmdOk")->click();
    });
    press(button("Button3"));
    EXPECT_EQ(seen, QStringList{"A電力,51R"});
    EXPECT_EQ(form->findChildren<TStructForm*>().size(), 0);
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("A電力"));

    add(relay("B電力", "67"));
    seen.clear();
    whenModalOpens<TStructForm>([&](TStructForm* shown) {
        seen = rowsOf(partOf<QListView>(shown, "ListBox1"));
        shown->close();
    });
    press(button("Button3"));
    EXPECT_EQ(seen, (QStringList{"A電力,51R", "B電力,67"}));
    EXPECT_NE(first, nullptr);
}

TEST_F(StructFormTest, SelectedDataViewLoadsClosesAndShowsTheChart) {
    withChart();
    add(relay("A電力", "51R"));
    openList();
    list->show();
    select(0);
    part<QAction>("Find1")->trigger();
    EXPECT_FALSE(list->isVisible());
    waitForChart();
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("A電力"));
    EXPECT_EQ(chart->activationCount(), 1);
    ASSERT_EQ(seriesCount(), 1);
    EXPECT_EQ(series(0).Count(), 8);
    EXPECT_EQ(series(0).Title(), "51R");
    EXPECT_DOUBLE_EQ(series(0).XValues()[0], 120);
}

TEST_F(StructFormTest, AllDataViewDrawsEveryRecordAndLeavesNoEmptySeries) {
    withChart();
    add(relay("A電力", "51R", "100"));
    add(relay("A電力", "67", "200"));
    add(relay("B電力", "51R", "300"));
    // Written elsewhere: numbers the chart cannot draw are named and skipped.
    store(relay("A電力", "68", "abc"));
    Relay negative = relay("B電力", "67");
    negative.times[6] = "-.03";
    store(negative);
    openList();
    list->show();
    select(0);
    scripted.messages.asked.clear();
    part<QAction>("AllDataView")->trigger();
    EXPECT_FALSE(list->isVisible());
    waitForChart();
    EXPECT_EQ(scripted.messages.texts(),
              std::vector<QString>{"次のレコードは描けないので飛ばしました：\n"
                                   "A電力,68: CT比には 0 より大きい数を入れてください：「abc」\n"
                                   "B電力,67: INSTの時間には 0（点を描かない）か 0 より大きい数を"
                                   "入れてください：「-.03」"});
    ASSERT_EQ(seriesCount(), 3);
    EXPECT_EQ(chart->coordination().SeriesCounter(), 2);
    const char* titles[] = {"51R", "67", "51R"};
    const double firstCurrent[] = {120, 240, 360};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(series(i).Title(), titles[i]) << i;
        EXPECT_DOUBLE_EQ(series(i).XValues()[0], firstCurrent[i]) << i;
    }
    EXPECT_EQ(series(0).Count(), 8);
    EXPECT_EQ(series(1).Count(), 8);
    // Showing the chart draws the main window's entries, the last record,
    // into its own curve again: replaced, not drawn twice.
    EXPECT_EQ(series(2).Count(), 8);
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("B電力"));

    // Again: every relay keeps its one curve.
    list->show();
    part<QAction>("AllDataView")->trigger();
    waitForChart();
    ASSERT_EQ(seriesCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(series(i).Title(), titles[i]) << i;
        EXPECT_EQ(series(i).Count(), 8) << i;
    }
}

// "ﾚｺｰﾄﾞ削除" after "全データ表示" removes the relay the main window shows,
// never a skipped one listed after it.
TEST_F(StructFormTest, AfterAllDataViewRemoveNamesTheRelayShown) {
    withChart();
    add(relay("A電力", "51R", "100"));
    store(relay("B電力", "51R", "x"));
    openList();
    list->show();
    part<QAction>("AllDataView")->trigger();
    waitForChart();
    ASSERT_EQ(edit("kaisya")->text(), QStringLiteral("A電力"));
    scripted.messages.asked.clear();
    scripted.messages.answers = {BoxAnswer::No};
    press(button("CmdRemove"));
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].text,
              QStringLiteral("次のレコードを削除します 'A電力,51R'?"));
}

TEST_F(StructFormTest, AllDataViewDrawsTheLinesTheFilterLeaves) {
    withChart();
    add(relay("A電力", "51R", "100"));
    add(relay("B電力", "67", "200"));
    openList();
    list->show();
    part<QLineEdit>("FilterEdit")->setText(QStringLiteral("b電"));
    part<QAction>("AllDataView")->trigger();
    waitForChart();
    ASSERT_EQ(seriesCount(), 1);
    EXPECT_EQ(series(0).Title(), "67");
    EXPECT_DOUBLE_EQ(series(0).XValues()[0], 240);
}

TEST_F(StructFormTest, AllDataViewSkipsLinesThatNameNoRecord) {
    withChart();
    add(relay("A電力", "51R", "100"));
    add(relay("B電力", "67", "200"));
    openList();
    // A line that is not found draws nothing, also as the last line; the
    // lines after a cut listing are passed over silently.
    list->setListing(utf8ToCp932("A電力,51R\r\nB電力,67\r\nC 電力,51R\r\n\r\n[etc.]"));
    scripted.messages.asked.clear();
    part<QAction>("AllDataView")->trigger();
    waitForChart();
    EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{kNotFound});
    ASSERT_EQ(seriesCount(), 2);
    EXPECT_EQ(series(0).Title(), "51R");
    EXPECT_EQ(series(1).Title(), "67");
    EXPECT_EQ(series(0).Count(), 8);
    EXPECT_EQ(series(1).Count(), 8);
    // The main window holds the last drawn record again.
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("B電力"));

    // Nothing to draw: no curve is removed.
    chart->close();
    QCoreApplication::processEvents();
    ASSERT_EQ(seriesCount(), 3); // closing starts the next curve
    openList();
    list->setListing("\r\n[etc.]");
    part<QAction>("AllDataView")->trigger();
    waitForChart();
    EXPECT_EQ(seriesCount(), 3);
    EXPECT_EQ(series(1).Title(), "67");
}

TEST_F(StructFormTest, AFailingLoadStillClosesAndShowsTheChart) {
    withChart();
    add(relay("A電力", "51R", "100"));
    Relay bad = relay("B電力", "51R", "x");
    store(bad);
    add(relay("C電力", "51R", "300"));
    openList();
    list->show();
    scripted.messages.asked.clear();
    part<QAction>("AllDataView")->trigger();
    EXPECT_FALSE(list->isVisible());
    waitForChart();
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Message);
    // B is named and skipped; A and C are drawn, the main window holds C.
    ASSERT_EQ(seriesCount(), 2);
    EXPECT_DOUBLE_EQ(series(0).XValues()[0], 120);
    EXPECT_DOUBLE_EQ(series(1).XValues()[0], 360);
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("C電力"));

    // "選択データ表示" on the failing line: closed and shown all the same.
    chart->close();
    QCoreApplication::processEvents();
    const int activations = chart->activationCount();
    openList();
    list->show();
    select(1);
    scripted.messages.asked.clear();
    part<QAction>("Find1")->trigger();
    EXPECT_FALSE(list->isVisible());
    waitForChart();
    EXPECT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(chart->activationCount(), activations + 1);
}

// "CSV書き出し" and "CSV読み込み": files through the dialogs, a question only
// when relays are already stored, a summary, and a bad file storing nothing.
TEST_F(StructFormTest, CsvExportAndImportFromTheContextMenu) {
    store(relay("A電力", "51R", "100"));
    openList();
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    scripted.files.answers.push_back(out);
    part<QAction>("ExportCsv")->trigger();
    ASSERT_EQ(1u, scripted.files.asked.size());
    EXPECT_EQ(QStringLiteral("*.csv"), scripted.files.asked[0].filterPattern);
    EXPECT_TRUE(scripted.files.asked[0].askBeforeOverwrite);
    EXPECT_EQ(QStringLiteral("1 件を書き出しました。"), scripted.messages.asked.back().text);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith("\r\nA電力,51R,100,10,5,3,2.2,1.8,1.5,0.05,4,40\r\n"));

    auto importFile = [&](const QByteArray& csv) {
        const QString in = dir.filePath(QStringLiteral("in.csv"));
        QFile f(in);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(csv);
        f.close();
        scripted.messages.asked.clear();
        scripted.files.answers.push_back(in);
        part<QAction>("ImportCsv")->trigger();
    };
    // A bad row: the warning names it, the store keeps its one relay.
    importFile("B電力,51,100,1,1,1,1,1,1,1,4,20\nC電力,51,0,1,1,1,1,1,1,1,4,20\n");
    ASSERT_EQ(1u, scripted.messages.asked.size());
    EXPECT_EQ(BoxKind::Warning, scripted.messages.asked[0].kind);
    EXPECT_EQ(QStringLiteral("取り込みませんでした。次の行を直してください。\r\n"
                             "2 行目: CT比には 0 より大きい数を入れてください：「0」"),
              scripted.messages.asked[0].text);
    EXPECT_EQ((QStringList{QStringLiteral("A電力,51R")}), listing());

    // One stored relay: replaced after Yes; more than a few hundred rows.
    QByteArray csv = "A電力,51R,200,1,1,1,1,1,1,1,4,20\n";
    for (int i = 0; i < 400; ++i)
        csv += "R" + QByteArray::number(1000 + i) + ",51,100,1,1,1,1,1,1,1,4,20\n";
    scripted.messages.answers.push_back(BoxAnswer::Yes);
    importFile(csv);
    ASSERT_EQ(2u, scripted.messages.asked.size());
    EXPECT_EQ(QStringLiteral("1 件は既に登録されています。置き換えますか？\r\n"
                             "（いいえ：登録済みのデーターはそのまま残します）"),
              scripted.messages.asked[0].text);
    EXPECT_EQ(QStringLiteral("追加 400 件、置換 1 件、スキップ 0 件"),
              scripted.messages.asked[1].text);
    EXPECT_EQ(QStringLiteral("200"), stored("A電力", "51R")->at(2));
    EXPECT_EQ(401, int(storedRecords(form->store()).size()));
    EXPECT_EQ(lines().size(), listing().size());

    // Cancel in the question: nothing stored.
    scripted.messages.answers.push_back(BoxAnswer::Cancel);
    importFile("A電力,51R,300,1,1,1,1,1,1,1,4,20\nZ,1,100,1,1,1,1,1,1,1,4,20\n");
    EXPECT_EQ(1u, scripted.messages.asked.size());
    EXPECT_FALSE(stored("Z", "1"));
}

// An import from the list window leaves the relay loaded in the main window
// as the one its removal names, and removes.
TEST_F(StructFormTest, ImportLeavesTheLoadedRelayForRemoval) {
    store(relay("A電力", "51R"));
    store(relay("B電力", "52F"));
    search(QStringLiteral("A電力"), QStringLiteral("51R"));
    ASSERT_TRUE(button("CmdRemove")->isEnabled());
    openList();
    QTemporaryDir files;
    const QString in = files.filePath(QStringLiteral("in.csv"));
    QFile f(in);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("B電力,52F,100,1,1,1,1,1,1,1,4,20\nC電力,67,100,1,1,1,1,1,1,1,4,20\n");
    f.close();
    scripted.files.answers.push_back(in);
    scripted.messages.answers.push_back(BoxAnswer::No); // B電力 stays as it is
    part<QAction>("ImportCsv")->trigger();
    ASSERT_EQ(scripted.messages.asked.back().text,
              QStringLiteral("追加 1 件、置換 0 件、スキップ 1 件"));
    list.reset();

    scripted.messages.asked.clear();
    scripted.messages.answers.push_back(BoxAnswer::Yes);
    press(button("CmdRemove"));
    ASSERT_EQ(1u, scripted.messages.asked.size());
    EXPECT_EQ(QStringLiteral("次のレコードを削除します 'A電力,51R'?"),
              scripted.messages.asked[0].text);
    EXPECT_EQ((QStringList{QStringLiteral("B電力,52F"), QStringLiteral("C電力,67")}), listing());
}

// CSV読み込み of a file a Japanese spreadsheet saved (Shift-JIS, blanks
// around cells), of one that is neither UTF-8 nor Shift-JIS, and
// CSV書き出し onto the store's own file.
TEST_F(StructFormTest, CsvReadsShiftJisAndNeverExportsOntoTheStore) {
    openList();
    QTemporaryDir files;
    auto importFile = [&](const QByteArray& csv) {
        const QString in = files.filePath(QStringLiteral("sjis.csv"));
        QFile f(in);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(csv);
        f.close();
        scripted.messages.asked.clear();
        scripted.files.answers.push_back(in);
        part<QAction>("ImportCsv")->trigger();
    };
    // 第一変電所 and ｱ in Shift-JIS.
    importFile("\x91\xE6\x88\xEA\x95\xCF\x93\x64\x8F\x8A , 51\xB1 ,  100 ,1,1,1,1,1,1,1,4,20\r\n");
    EXPECT_EQ(scripted.messages.texts(),
              std::vector<QString>{QStringLiteral("追加 1 件、置換 0 件、スキップ 0 件")});
    EXPECT_EQ(stored("第一変電所", "51ｱ").value_or(QStringList()).mid(0, 3),
              (QStringList{"第一変電所", "51ｱ", "100"}));
    importFile("B,1,100,1,1,1,1,1,1,1,4,20\r\nC\x81\x7F,1,100,1,1,1,1,1,1,1,4,20\r\n");
    EXPECT_EQ(scripted.messages.texts(),
              std::vector<QString>{QStringLiteral(
                  "取り込みませんでした。次の行を直してください。\r\n2 行目: ファイルは UTF-8 "
                  "でも Shift-JIS (CP932) でもありません（読めないバイト 81 7F）")});
    EXPECT_FALSE(stored("B", "1"));

    const QString dat = QDir(dir.path()).filePath(QStringLiteral("ZuboK.dat"));
    const QByteArray before = [&] {
        QFile f(dat);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    scripted.messages.asked.clear();
    scripted.files.answers.push_back(dat);
    part<QAction>("ExportCsv")->trigger();
    EXPECT_EQ(scripted.messages.texts(),
              std::vector<QString>{QStringLiteral("ファイル ") + dat +
                                   QStringLiteral(" はデーターの保存ファイルです。別のファイル名"
                                                  "を指定してください.")});
    QFile after(dat);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

} // namespace
} // namespace telvara::test
