// The dialogs of the fuse, transformer, cable and motor kinds, driven
// through their widgets with scripted services.
#include "base/numbers.h"
#include "chartwin/cable_dialog.h"
#include "chartwin/device_kind_dialogs.h"
#include "chartwin/motor_dialog.h"
#include "chartwin/point_device_dialog.h"
#include "chartwin/transformer_dialog.h"
#include "platform/services_scripted.h"
#include "study/cable_device.h"
#include "study/relay_device.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace telvara {
namespace {

class KindDialogTest : public ::testing::Test {
protected:
    void SetUp() override { setNumberLocale({".", ","}); }

    template <typename T> T* part(QWidget* dialog, const char* name) {
        auto* w = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    void type(QWidget* dialog, const char* name, const char* text) {
        part<QLineEdit>(dialog, name)->setText(QString::fromUtf8(text));
    }
    void ok(QWidget* dialog) {
        QTest::mouseClick(part<QDialogButtonBox>(dialog, "Buttons")->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    }
    QString warnings() const {
        QStringList out;
        for (const QString& t : messages.texts())
            out << t;
        return out.join(QStringLiteral("|"));
    }

    ScriptedMessages messages;
    ScriptedInput input;
    ScriptedDirectories directories;
    ScriptedColors colors;
    ScriptedFiles files;
    ScriptedHelp help;
    ScriptedRandom random;
    Services services{messages, input, directories, colors, files, help, random};
};

TEST_F(KindDialogTest, PointDeviceTablesPasteCsvAndLibrary) {
    TPointDeviceDialog d(PointKind::Fuse, {"", {{40, 100}, {400, 0.01}}, {}}, services, nullptr);
    d.show();
    auto* minTable = part<QTableWidget>(&d, "MinTable");
    auto* totalTable = part<QTableWidget>(&d, "TotalTable");
    ASSERT_EQ(3, minTable->rowCount()); // two points and a spare row
    EXPECT_EQ(QStringLiteral("0.01"), minTable->item(1, 1)->text());

    // A spreadsheet's two columns pasted into the total-clearing table.
    totalTable->setFocus();
    totalTable->setCurrentCell(0, 0);
    QApplication::clipboard()->setText(QStringLiteral("60\t100\r\n600\t0.012\r\n"));
    QTest::mouseClick(part<QPushButton>(&d, "PasteButton"), Qt::LeftButton);
    ASSERT_EQ(3, totalTable->rowCount());
    EXPECT_EQ(QStringLiteral("600"), totalTable->item(1, 0)->text());

    // A bad cell is named by its table and row, and nothing is taken.
    minTable->item(1, 1)->setText(QStringLiteral("0,01"));
    ok(&d);
    EXPECT_EQ(QStringLiteral("最小溶断特性の 2 行目: 「0,01」は数値ではありません"), warnings());
    EXPECT_TRUE(d.isVisible());

    // A CSV file with both curves replaces both tables.
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("pf.csv"));
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("current,time,curve\n50,100,min\n500,0.01,min\n70,100,total\n700,0.015,total\n");
    f.close();
    files.answers.push_back(csv);
    QTest::mouseClick(part<QPushButton>(&d, "CsvButton"), Qt::LeftButton);
    EXPECT_EQ(QStringLiteral("0.015"), totalTable->item(1, 1)->text());
    EXPECT_EQ(QStringLiteral("50"), minTable->item(0, 0)->text());
    EXPECT_EQ(QStringLiteral("pf"), part<QLineEdit>(&d, "RatingEdit")->text());

    // Saved to the library as the file it reads.
    const QString saved = dir.filePath(QStringLiteral("lib.csv"));
    files.answers.push_back(saved);
    QTest::mouseClick(part<QPushButton>(&d, "LibraryButton"), Qt::LeftButton);
    QFile back(saved);
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(QByteArray("50,100,min\n500,0.01,min\n70,100,total\n700,0.015,total\n"),
              back.readAll());

    ok(&d);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ((PointDeviceData{"pf", {{50, 100}, {500, 0.01}}, {{70, 100}, {700, 0.015}}}),
              d.Data());
}

TEST_F(KindDialogTest, TransformerShowsItsCategoryAndCurrentsAndRefusesBadValues) {
    TTransformerDialog d({}, services, nullptr);
    d.show();
    type(&d, "KvaEdit", "2000");
    type(&d, "KvPrimaryEdit", "6.6");
    type(&d, "KvSecondaryEdit", "0.44");
    type(&d, "ZEdit", "5");
    // 2000 kVA three-phase is category II; 2000 / (√3 x 6.6) = 174.95 A; 100 / 5.
    EXPECT_EQ(QStringLiteral("区分 II（容量から）、定格電流 174.95 A、最大通過故障電流 20 倍"),
              part<QLabel>(&d, "DerivedLabel")->text());

    type(&d, "ZEdit", "60");
    ok(&d);
    EXPECT_EQ(QStringLiteral(
                  "インピーダンス (%) が大きすぎます: 最大通過故障電流が定格電流の 2 倍以下です"),
              warnings());
    EXPECT_TRUE(d.isVisible());

    type(&d, "ZEdit", "5");
    part<QComboBox>(&d, "SideCombo")->setCurrentIndex(1);
    part<QCheckBox>(&d, "Shift58Check")->setChecked(true);
    ok(&d);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ((TransformerData{.kva = 2000,
                               .kvPrimary = 6.6,
                               .kvSecondary = 0.44,
                               .zPercent = 5,
                               .side = TransformerSide::Secondary,
                               .shift58 = true}),
              d.Data());
}

TEST_F(KindDialogTest, CableShowsKAndMotorItsFullLoadCurrent) {
    TCableDialog c(CableData{}, services, nullptr);
    c.show();
    auto* k = part<QLabel>(&c, "KLabel");
    EXPECT_EQ(QStringLiteral("k = 143.1"), k->text()); // Cu, XLPE 90 → 250 °C
    part<QComboBox>(&c, "InsulationCombo")->setCurrentIndex(0);
    EXPECT_EQ(QStringLiteral("k = 115.0"), k->text());
    part<QComboBox>(&c, "ConductorCombo")->setCurrentIndex(1);
    EXPECT_EQ(QStringLiteral("k = 76.0"), k->text());
    ok(&c);
    EXPECT_EQ(QStringLiteral("断面積 (mm²)には数値を入れてください：「」"), warnings());
    type(&c, "AreaEdit", "150");
    ok(&c);
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(Insulation::Pvc, c.Data().insulation);
    EXPECT_EQ(Conductor::Aluminium, c.Data().conductor);
    EXPECT_FALSE(c.Data().thetaI);

    // 300 kW / (√3 x 6.6 kV x 0.85 x 0.93) = 33.2 A; 6 times that at start.
    TMotorDialog m(MotorData{}, services, nullptr);
    m.show();
    part<QRadioButton>(&m, "RatedRadio")->setChecked(true);
    type(&m, "KwEdit", "300");
    type(&m, "KvEdit", "6.6");
    type(&m, "PfEdit", "0.85");
    type(&m, "EfficiencyEdit", "0.93");
    EXPECT_EQ(QStringLiteral("全負荷電流 33.2 A、始動電流 199.2 A"),
              part<QLabel>(&m, "CurrentLabel")->text());
    type(&m, "AccelEdit", "0");
    ok(&m);
    EXPECT_TRUE(
        warnings().endsWith(QStringLiteral("始動時間 (s) は 0.01 より大きい数値にしてください")));
    type(&m, "AccelEdit", "5");
    ok(&m);
    EXPECT_FALSE(m.isVisible());
    EXPECT_EQ(300, *m.Data().kw);
    EXPECT_FALSE(m.Data().flaA);
    EXPECT_EQ(5, m.Data().accelS);
}

TEST_F(KindDialogTest, TheKindsDialogIsOpenedOnItsValues) {
    TCableDevice cable;
    cable.data.mm2 = 38;
    // Typed into the open dialog, then OK.
    QTimer::singleShot(0, [this] {
        QWidget* d = QApplication::activeModalWidget();
        ASSERT_TRUE(d);
        EXPECT_EQ(QStringLiteral("38"), part<QLineEdit>(d, "AreaEdit")->text());
        type(d, "AreaEdit", "60");
        ok(d);
    });
    EXPECT_TRUE(editDeviceKind(cable, services, nullptr));
    EXPECT_EQ(60, cable.data.mm2);

    // Cancelled: nothing changes.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(editDeviceKind(cable, services, nullptr));
    EXPECT_EQ(60, cable.data.mm2);

    TRelayDevice relay;
    EXPECT_FALSE(hasKindDialog(relay));
    EXPECT_FALSE(editDeviceKind(relay, services, nullptr));
}

} // namespace
} // namespace telvara
