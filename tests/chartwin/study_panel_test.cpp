// The chart window's study panel, driven through its widgets: edits that
// land in the saved file, edits refused, undo and redo, the order of a path,
// and the relays whose stored record differs from the study's copy.
#include "chat_form_fixture.h"

#include "chartwin/cable_dialog.h"
#include "chartwin/study_panel_dialogs.h"
#include "study/relay_device.h"
#include "study/study_file.h"
#include "tests/platform/modal_helper.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QMenu>
#include <QStandardPaths>
#include <QTreeWidget>

namespace telvara::test {
namespace {

const QString kExample = QStringLiteral(TELVARA_EXAMPLES "/substation.tvstudy");

class StudyPanelTest : public ChatFormTest {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        ChatFormTest::SetUp();
    }
    QString openExample() {
        const QString path = dir.filePath(QStringLiteral("s.tvstudy"));
        QFile::copy(kExample, path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        EXPECT_TRUE(chat->openStudy(path));
        return path;
    }
    QTreeWidgetItem* item(const QString& section, const QString& first) {
        auto* tree = control<QTreeWidget>("Tree");
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const QTreeWidgetItem* top = *it;
            while (top->parent())
                top = top->parent();
            if (top != *it && top->text(0) == section && (*it)->text(0) == first)
                return *it;
        }
        ADD_FAILURE() << first.toStdString();
        return nullptr;
    }
    void select(const QString& section, const QString& first) {
        control<QTreeWidget>("Tree")->setCurrentItem(item(section, first));
    }
    void click(const char* button) { control<QToolButton>(button)->click(); }
    static void type(QWidget* d, const char* field, const QString& text) {
        partOf<QLineEdit>(d, field)->setText(text);
    }
    static void ok(QWidget* d) {
        partOf<QDialogButtonBox>(d, "Buttons")->button(QDialogButtonBox::Ok)->click();
    }
    std::vector<std::string> path(std::size_t i) const { return chat->study().paths.at(i).devices; }
    const TRelayDevice& relay(const char* id) const {
        return dynamic_cast<const TRelayDevice&>(*chat->study().FindDevice(id)->kind);
    }

    QTemporaryDir dir;
};

TEST_F(StudyPanelTest, BusDevicePathAndSettingsEditsLandInTheSavedFile) {
    whenModalOpens<TStudySettingsDialog>([](TStudySettingsDialog* d) {
        type(d, "TitleEdit", QStringLiteral("試験"));
        type(d, "ReferenceKvEdit", QStringLiteral("6.6"));
        ok(d);
    });
    click("SettingsButton");
    whenModalOpens<TBusDialog>([](TBusDialog* d) {
        type(d, "NameEdit", QStringLiteral("6.6kV母線"));
        type(d, "KvEdit", QStringLiteral("6.6"));
        type(d, "FaultMaxEdit", QStringLiteral("12500"));
        ok(d);
    });
    click("AddBusButton");
    // A cable: its own dialog first, then the device's.
    whenModalOpens<TCableDialog>([](TCableDialog* d) {
        type(d, "AreaEdit", QStringLiteral("150"));
        whenModalOpens<TDeviceDialog>([](TDeviceDialog* d) {
            partOf<QComboBox>(d, "BusCombo")->setCurrentIndex(1);
            partOf<QPushButton>(d, "ColorButton")->click();
            ok(d);
        });
        ok(d);
    });
    scripted.colors.answers = {rgb(0xff, 0x80, 0x00)};
    control<QAction>("Add_cable")->trigger();
    scripted.input.answers = {QStringLiteral("配電線1")};
    click("AddPathButton");
    select(QStringLiteral("装置"), QStringLiteral("CA"));
    auto* paths = control<QMenu>("PathMenu");
    emit paths->aboutToShow();
    paths->actions().at(0)->trigger();
    EXPECT_TRUE(scripted.messages.asked.empty());
    EXPECT_EQ(QStringLiteral("無題* - グラフ画面"), chat->windowTitle());

    const QString file = dir.filePath(QStringLiteral("p.tvstudy"));
    scripted.files.answers.push_back(file);
    ASSERT_TRUE(chat->saveStudy());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(std::string(R"({
  "format": "telvara-study",
  "version": 1,
  "title": "試験",
  "reference_kv": 6.6,
  "cti": {
    "relay_relay": 0.3
  },
  "buses": [
    {
      "name": "6.6kV母線",
      "kv": 6.6,
      "fault_max_a": 12500
    }
  ],
  "devices": [
    {
      "id": "CA",
      "kind": "cable",
      "label": "ケーブル",
      "bus": "6.6kV母線",
      "color": "#ff8000",
      "visible": true,
      "conductor": "cu",
      "insulation": "xlpe",
      "mm2": 150,
      "parallel": 1
    }
  ],
  "paths": [
    {
      "name": "配電線1",
      "devices": [
        "CA"
      ]
    }
  ]
}
)"),
              f.readAll().toStdString());
}

TEST_F(StudyPanelTest, RefusedEditsLeaveTheStudyAndTitleAsTheyWere) {
    openExample();
    const TStudy before = chat->study();
    // A second device "F1": refused by the study's own check.
    select(QStringLiteral("装置"), QStringLiteral("F2"));
    whenModalOpens<TDeviceDialog>([](TDeviceDialog* d) {
        type(d, "IdEdit", QStringLiteral("F1"));
        ok(d);
    });
    click("ChangeButton");
    // Bad numbers in the bus dialog: named, and the dialog stays open.
    select(QStringLiteral("母線"), QStringLiteral("66kV母線"));
    whenModalOpens<TBusDialog>([](TBusDialog* d) {
        type(d, "KvEdit", QStringLiteral("abc"));
        ok(d);
        type(d, "KvEdit", QStringLiteral("-1"));
        ok(d);
        type(d, "KvEdit", QStringLiteral("66"));
        type(d, "FaultMinEdit", QStringLiteral("9000"));
        ok(d);
        d->reject();
    });
    click("ChangeButton");
    EXPECT_EQ(
        std::vector<QString>({QStringLiteral("装置 ID「F1」が二つあります"),
                              QStringLiteral("電圧 (kV)には数値を入れてください：「abc」"),
                              QStringLiteral("電圧 (kV)は 0 より大きい数値にしてください：「-1」"),
                              QStringLiteral("最小故障電流 (A) が最大故障電流 (A) "
                                             "より大きくなっています")}),
        scripted.messages.texts());
    EXPECT_EQ(before, chat->study());
    EXPECT_EQ(QStringLiteral("s.tvstudy - グラフ画面"), chat->windowTitle());
    EXPECT_FALSE(chat->canUndoStudy());

    // A bus with devices on it goes after a question; they stay, on no bus.
    select(QStringLiteral("母線"), QStringLiteral("66kV母線"));
    scripted.messages.answers = {BoxAnswer::No, BoxAnswer::Yes};
    click("RemoveButton");
    EXPECT_EQ(before, chat->study());
    click("RemoveButton");
    EXPECT_EQ(QStringLiteral("母線「66kV母線」には装置 T1、TR1 が付いています。母線を削除し、"
                             "これらの装置を母線なし（換算しない）にしますか？"),
              scripted.messages.texts().back());
    EXPECT_EQ(2u, chat->study().buses.size());
    EXPECT_EQ("", chat->study().FindDevice("T1")->bus);
}

TEST_F(StudyPanelTest, PathOrderVisibilityAndUndoRedoOfExactStudies) {
    const QString file = openExample();
    const TStudy opened = chat->study();
    ASSERT_EQ(std::vector<std::string>({"C1", "F1", "R1", "TR1", "T1"}), path(0));
    // Down twice: F1 goes towards the source, the selection with it.
    select(QStringLiteral("経路"), QStringLiteral("2. F1"));
    click("DownButton");
    const TStudy once = chat->study();
    EXPECT_EQ(std::vector<std::string>({"C1", "R1", "F1", "TR1", "T1"}), path(0));
    click("DownButton");
    EXPECT_EQ(std::vector<std::string>({"C1", "R1", "TR1", "F1", "T1"}), path(0));
    for (int i = 0; i < 4; ++i) // the fourth at the load end does nothing
        click("UpButton");
    EXPECT_EQ(std::vector<std::string>({"F1", "C1", "R1", "TR1", "T1"}), path(0));
    EXPECT_EQ(opened.paths[1], chat->study().paths[1]);
    // A device hidden from its check box.
    item(QStringLiteral("装置"), QStringLiteral("F2"))->setCheckState(0, Qt::Unchecked);
    settle();
    EXPECT_FALSE(chat->study().FindDevice("F2")->visible);
    EXPECT_EQ(QStringLiteral("s.tvstudy* - グラフ画面"), chat->windowTitle());

    chat->show();
    activate(*chat);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(chat.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(once, chat->study());
    QTest::keyClick(chat.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(opened, chat->study());
    EXPECT_EQ(QStringLiteral("s.tvstudy - グラフ画面"), chat->windowTitle());
    QTest::keyClick(chat.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(once, chat->study());
    EXPECT_EQ(QStringLiteral("s.tvstudy* - グラフ画面"), chat->windowTitle());
    // Opening the study again starts without anything to undo.
    scripted.messages.answers = {BoxAnswer::No};
    ASSERT_TRUE(chat->openStudy(file));
    EXPECT_FALSE(chat->canUndoStudy());
    EXPECT_FALSE(chat->canRedoStudy());
}

TEST_F(StudyPanelTest, RelaysDifferingFromTheStoreAreMarkedAndTakeTheStoredValues) {
    RelaySettings f1 = TRelayDevice::FromStored({}).Settings();
    f1.company = "第一変電所";
    f1.device = "51F1";
    f1.ct = "300";
    f1.tap = "4";
    f1.instTap = "12";
    f1.times = {"1.80", "1.00", "0.63", "0.50", "0.43", "0.35", "0.05"};
    main.stored[{f1.company, f1.device}] = f1;
    RelaySettings f2 = f1;
    f2.device = "51F2";
    f2.ct = "200";
    f2.instTap = "15";
    f2.times[0] = "1.72";
    main.stored[{f2.company, f2.device}] = f2;
    openExample();
    const TStudy opened = chat->study();
    QTreeWidgetItem* stale = item(QStringLiteral("装置"), QStringLiteral("⚠ F1"));
    ASSERT_TRUE(stale);
    EXPECT_EQ(QStringLiteral("保存データと異なります"), stale->toolTip(1));
    EXPECT_EQ(QString(), item(QStringLiteral("装置"), QStringLiteral("F2"))->toolTip(1));
    EXPECT_EQ(QStringLiteral("保存データにありません"),
              item(QStringLiteral("装置"), QStringLiteral("R1"))->toolTip(1));
    // Only a stale relay takes the stored values.
    select(QStringLiteral("装置"), QStringLiteral("F2"));
    EXPECT_FALSE(control<QToolButton>("TakeStoredButton")->isEnabled());
    select(QStringLiteral("装置"), QStringLiteral("⚠ F1"));
    click("TakeStoredButton");
    EXPECT_EQ("1.80", relay("F1").fields[3]);
    EXPECT_EQ("第一変電所,51F1", relay("F1").storeKey);
    EXPECT_EQ(QStringLiteral("F1"), control<QTreeWidget>("Tree")->currentItem()->text(0));
    chat->undoStudy();
    EXPECT_EQ(opened, chat->study());

    // The store changed meanwhile: the marks follow at the next activation,
    // and "すべて取り込む" takes every stale relay in one step.
    main.stored[{f2.company, f2.device}].times[6] = "0.1";
    showMain();
    chat->show();
    activate(*chat);
    ASSERT_TRUE(item(QStringLiteral("装置"), QStringLiteral("⚠ F2")));
    click("TakeAllStoredButton");
    EXPECT_EQ("1.80", relay("F1").fields[3]);
    EXPECT_EQ("0.1", relay("F2").fields[9]);
    chat->undoStudy();
    EXPECT_EQ(opened, chat->study());
    EXPECT_TRUE(scripted.messages.asked.empty());
}

} // namespace
} // namespace telvara::test
