// "反限時特性": the six times from a characteristic, shown before the main
// window takes them; refusals fill nothing.
#include "mein_form_fixture.h"

#include "app/curve_form.h"
#include "modal_helper.h"
#include "platform/help_locator.h"

#include <QComboBox>

namespace telvara::test {
namespace {

class CurveFormTest : public MeinFormTest {
protected:
    QStringList timeFields() const {
        QStringList texts;
        for (QLineEdit* e : {edit("Edit2"), edit("Edit3"), edit("Edit4"), edit("Edit5"),
                             edit("Edit6"), edit("Edit7"), edit("Edit8")})
            texts << e->text();
        return texts;
    }
    static QStringList shownTimes(const TCurveForm* d) {
        QStringList texts;
        for (int i = 0; i < 6; ++i)
            texts << partOf<QLabel>(d, qPrintable(QStringLiteral("TimeLbl%1").arg(i)))->text();
        return texts;
    }
    // Opens the dialog from the main window and acts on it while it is open.
    void withDialog(std::function<void(TCurveForm*)> act) {
        bool opened = false;
        whenModalOpens<TCurveForm>([&](TCurveForm* d) {
            opened = true;
            act(d);
        });
        QTest::mouseClick(button("CurveButton"), Qt::LeftButton);
        EXPECT_TRUE(opened);
    }
};

TEST_F(CurveFormTest, OkFillsTheSixTimesOnly) {
    open();
    edit("Edit1")->setText(QStringLiteral("100"));
    edit("Edit8")->setText(QStringLiteral("0.05"));
    QStringList preview;
    withDialog([&](TCurveForm* d) {
        partOf<QComboBox>(d, "CurveBox")->setCurrentIndex(5); // IEEE-VI
        partOf<QLineEdit>(d, "MultiplierEdit")->setText(QStringLiteral("1"));
        preview = shownTimes(d);
        partOf<QPushButton>(d, "OkButton")->click();
    });
    const QStringList ieeeVi{"16.18", "7.028", "2.942", "1.798", "1.308", "0.9"};
    EXPECT_EQ(preview, ieeeVi);
    EXPECT_EQ(timeFields(), ieeeVi + QStringList{"0.05"});
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("100"));
    EXPECT_TRUE(scripted.messages.asked.empty());

    // Cancel leaves them; a lever changed from 10 to 4 scales them by 0.4.
    withDialog([](TCurveForm* d) {
        partOf<QLineEdit>(d, "MultiplierEdit")->setText(QStringLiteral("3"));
        partOf<QPushButton>(d, "CancelButton")->click();
    });
    EXPECT_EQ(timeFields(), ieeeVi + QStringList{"0.05"});
    withDialog([&](TCurveForm* d) {
        partOf<QComboBox>(d, "CurveBox")->setCurrentIndex(7);
        partOf<QLineEdit>(d, "MultiplierEdit")->setText(QStringLiteral("0.4"));
        EXPECT_EQ(partOf<QLabel>(d, "MultiplierLbl")->text(),
                  QStringLiteral("比率 (新レバー／旧レバー)"));
        partOf<QPushButton>(d, "OkButton")->click();
    });
    EXPECT_EQ(timeFields(),
              (QStringList{"6.472", "2.811", "1.177", "0.719", "0.523", "0.36", "0.05"}));
}

TEST_F(CurveFormTest, EachCharacteristicNamesTheStandardItComesFrom) {
    open();
    QStringList sources;
    withDialog([&](TCurveForm* d) {
        for (const int choice : {0, 3, 4, 7}) {
            partOf<QComboBox>(d, "CurveBox")->setCurrentIndex(choice);
            sources << partOf<QLabel>(d, "SourceLbl")->text();
        }
        d->reject();
    });
    EXPECT_EQ(sources, (QStringList{"規格：IEC 60255-151", "規格：IEC 60255-3 / BS 142",
                                    "規格：IEEE C37.112", ""}));
}

TEST_F(CurveFormTest, RefusalKeepsTheDialogAndFillsNothing) {
    open();
    bool stillOpen = false;
    withDialog([&](TCurveForm* d) {
        partOf<QLineEdit>(d, "MultiplierEdit")->setText(QStringLiteral("0"));
        EXPECT_EQ(partOf<QLabel>(d, "StatusLbl")->text(),
                  QStringLiteral("倍率は 0 より大きい数にしてください。"));
        EXPECT_EQ(shownTimes(d), QStringList(6, QString()));
        partOf<QLineEdit>(d, "MultiplierEdit")
            ->setText(QStringLiteral("2000"));                // IEC-SI: 34388 s .. 7056 s fit
        partOf<QComboBox>(d, "CurveBox")->setCurrentIndex(3); // IEC-LTI: 480000 s at 150 %
        partOf<QPushButton>(d, "OkButton")->click();
        stillOpen = d->isVisible();
        partOf<QPushButton>(d, "CancelButton")->click();
    });
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Warning);
    EXPECT_EQ(scripted.messages.asked[0].text,
              QStringLiteral("150%の動作時間が 100000 秒以上になり、5 文字に収まりません。"));
    EXPECT_EQ(timeFields(), QStringList(7, QStringLiteral("0")));
}

TEST_F(CurveFormTest, ButtonPlaceAndHelp) {
    open();
    // Inside the data box under the device number, clear of the time captions.
    EXPECT_EQ(button("CurveButton")->geometry(), QRect(352, 110, 89, 23));
    const QList<QWidget*> chain = tabChain();
    EXPECT_EQ(chain.indexOf(button("CurveButton")), chain.indexOf(button("Button3")) + 1);
    focusOn(button("CurveButton"));
    QTest::keyClick(button("CurveButton"), Qt::Key_F1);
    withDialog([](TCurveForm* d) {
        partOf<QPushButton>(d, "HelpButton")->click();
        partOf<QPushButton>(d, "CancelButton")->click();
    });
    ASSERT_EQ(scripted.help.shown.size(), 2u);
    EXPECT_EQ(scripted.help.shown[0].context, kCurveHelpContext);
    EXPECT_EQ(scripted.help.shown[1].context, kCurveHelpContext);
    const QString set = HelpLocator({QStringLiteral(TELVARA_SOURCE_HELP)}).findSet("ZubHelp.HLP");
    EXPECT_TRUE(HelpLocator::pageFor(set, QString::number(kCurveHelpContext))
                    .endsWith(QStringLiteral("/curve.html")));
}

} // namespace
} // namespace telvara::test
