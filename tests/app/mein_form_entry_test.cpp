// Setting entry: number checks on leaving a field and the derived currents.
#include "mein_form_fixture.h"

#include <QFontMetrics>
#include <QGroupBox>

namespace telvara::test {
namespace {

const QStringList kAmpsOf80 = {"120 A", "160 A", "240 A", "320 A", "400 A", "560 A"};

TEST_F(MeinFormTest, CtAndTapGiveTheSixCurrentsAndInstTapTheInstCurrent) {
    open();
    edit("Edit1")->setText("100");
    leave(edit("Edit9"), "4");
    EXPECT_EQ(currentLabels(), kAmpsOf80);
    EXPECT_DOUBLE_EQ(currents().TapCurrent, 80);
    EXPECT_DOUBLE_EQ(currents().Current150, 120);
    EXPECT_DOUBLE_EQ(currents().Current200, 160);
    EXPECT_DOUBLE_EQ(currents().Current300, 240);
    EXPECT_DOUBLE_EQ(currents().Current400, 320);
    EXPECT_DOUBLE_EQ(currents().Current500, 400);
    EXPECT_DOUBLE_EQ(currents().Current700, 560);
    EXPECT_EQ(focused(), edit("Edit10"));

    leave(edit("Edit10"), "40");
    EXPECT_EQ(label("Label15")->text(), QStringLiteral("4000 A"));
    EXPECT_DOUBLE_EQ(currents().InstCurrent, 4000);
    EXPECT_EQ(focused(), edit("Debaisu"));
    EXPECT_TRUE(scripted.messages.asked.empty());
}

TEST_F(MeinFormTest, LargeCurrentsStayClearOfTheNextCaption) {
    open();
    edit("Edit1")->setText("666666.6");
    leave(edit("Edit9"), "5");    // 150 %: 999999.9 A, 700 %: 4666666.2 A
    leave(edit("Edit10"), "1.5"); // INST: 999999.9 A
    EXPECT_EQ(label("Label9")->text(), QStringLiteral("999999.9 A"));
    EXPECT_EQ(label("Label15")->text(), QStringLiteral("999999.9 A"));
    // Each text ends before the next column's caption (INST: the box's frame).
    const int nextCaption[] = {
        96, 176, 264, 352, 440, 528, control<QGroupBox>("GroupBox2")->width() - 2};
    const char* names[] = {"Label9",  "Label10", "Label11", "Label12",
                           "Label13", "Label14", "Label15"};
    for (int i = 0; i < 7; ++i) {
        const QLabel* current = label(names[i]);
        const int end =
            current->x() + QFontMetrics(current->font()).horizontalAdvance(current->text());
        EXPECT_LT(end, nextCaption[i]) << names[i];
        EXPECT_GE(current->font().pixelSize(), 7) << names[i];
    }
    // Everyday currents are back in the window's font.
    leave(edit("Edit1"), "100");
    EXPECT_EQ(label("Label9")->text(), QStringLiteral("150 A"));
    EXPECT_EQ(label("Label9")->font().pixelSize(), 12);
    EXPECT_EQ(label("Label15")->text(), QStringLiteral("150 A"));
    EXPECT_EQ(label("Label15")->font().pixelSize(), 12);
}

TEST_F(MeinFormTest, CtTwoHundredAndTapTwoAndAHalfMakeOneHundredAmperes) {
    open();
    edit("Edit1")->setText("200");
    leave(edit("Edit9"), "2.5");
    EXPECT_DOUBLE_EQ(currents().TapCurrent, 100);
    EXPECT_EQ(currentLabels(), (QStringList{"150 A", "200 A", "300 A", "400 A", "500 A", "700 A"}));
}

TEST_F(MeinFormTest, TapNotAboveZeroIsReportedAndTheCurrentsFollowTheTapItself) {
    open();
    edit("Edit1")->setText("100");
    leave(edit("Edit9"), "0");
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Message);
    EXPECT_EQ(scripted.messages.asked[0].title, QStringLiteral("Telvara"));
    EXPECT_EQ(scripted.messages.asked[0].text, QStringLiteral("タップの入力が有りません。"));
    EXPECT_EQ(focused(), edit("Edit9"));
    EXPECT_EQ(activeControl(), edit("Edit9"));
    EXPECT_EQ(currentLabels(), (QStringList{"0 A", "0 A", "0 A", "0 A", "0 A", "0 A"}));

    edit("Edit9")->setText("-2");
    tab();
    EXPECT_EQ(scripted.messages.asked.size(), 2u);
    EXPECT_DOUBLE_EQ(currents().TapCurrent, -2);
    EXPECT_EQ(currentLabels(), (QStringList{"-3 A", "-4 A", "-6 A", "-8 A", "-10 A", "-14 A"}));
    EXPECT_EQ(focused(), edit("Edit9"));
}

TEST_F(MeinFormTest, CtNotAboveZeroIsReportedResetToZeroAndKeepsTheFocus) {
    open();
    for (const char* text : {"0", "-5", "  0.0"}) {
        scripted.messages.asked.clear();
        leave(edit("Edit1"), text);
        ASSERT_EQ(scripted.messages.asked.size(), 1u) << text;
        EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Message);
        EXPECT_EQ(scripted.messages.asked[0].title, QStringLiteral("Telvara"));
        EXPECT_EQ(scripted.messages.asked[0].text, QStringLiteral("CT比の入力が有りません。"));
        EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("0"));
        EXPECT_EQ(focused(), edit("Edit1"));
        EXPECT_EQ(edit("Edit9")->text(), QStringLiteral("0"));
    }
    scripted.messages.asked.clear();
    leave(edit("Edit1"), "150");
    EXPECT_TRUE(scripted.messages.asked.empty());
    EXPECT_EQ(focused(), edit("Edit9"));
}

TEST_F(MeinFormTest, NonNumberTextIsReportedAndChangesNoOtherField) {
    open();
    edit("Edit1")->setText("100");
    leave(edit("Edit9"), "4");
    leave(edit("Edit10"), "40");
    scripted.messages.asked.clear();

    leave(edit("Edit1"), "abc");
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Error);
    EXPECT_EQ(scripted.messages.asked[0].title, QStringLiteral("Telvara"));
    EXPECT_EQ(scripted.messages.asked[0].text,
              QStringLiteral("'abc' は浮動小数点数ではありません."));
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("abc"));

    // The tap is stored before the CT is read; the currents stay as they were.
    leave(edit("Edit9"), "5");
    ASSERT_EQ(scripted.messages.asked.size(), 2u);
    EXPECT_EQ(scripted.messages.asked[1].text,
              QStringLiteral("'abc' は浮動小数点数ではありません."));
    EXPECT_DOUBLE_EQ(currents().TapCurrent, 5);
    EXPECT_DOUBLE_EQ(currents().Current150, 120);
    EXPECT_EQ(currentLabels(), kAmpsOf80);

    edit("Edit1")->setText("100");
    leave(edit("Edit10"), "4O");
    ASSERT_EQ(scripted.messages.asked.size(), 3u);
    EXPECT_EQ(scripted.messages.asked[2].text,
              QStringLiteral("'4O' は浮動小数点数ではありません."));
    EXPECT_EQ(label("Label15")->text(), QStringLiteral("4000 A"));
    EXPECT_DOUBLE_EQ(currents().InstCurrent, 4000);

    for (QLineEdit* other : {edit("Edit2"), edit("Edit3"), edit("Edit4"), edit("Edit5"),
                             edit("Edit6"), edit("Edit7"), edit("Edit8")})
        EXPECT_EQ(other->text(), QStringLiteral("0"));
    EXPECT_EQ(edit("Debaisu")->text(), QStringLiteral("51R"));
    EXPECT_EQ(edit("kaisya")->text(), QString());
}

TEST_F(MeinFormTest, InstTapZeroShowsDashesAndKeepsTheEarlierInstCurrent) {
    open();
    edit("Edit1")->setText("100");
    leave(edit("Edit10"), "40");
    ASSERT_DOUBLE_EQ(currents().InstCurrent, 4000);
    leave(edit("Edit10"), "0");
    EXPECT_EQ(label("Label15")->text(), QStringLiteral("--- A"));
    EXPECT_DOUBLE_EQ(currents().InstCurrent, 4000);
    EXPECT_TRUE(scripted.messages.asked.empty());
}

TEST_F(MeinFormTest, ChangingTheCtAfterTheTapsRecomputesEveryCurrent) {
    open();
    edit("Edit1")->setText("10000");
    leave(edit("Edit9"), "5");
    leave(edit("Edit10"), "5");
    ASSERT_DOUBLE_EQ(currents().InstCurrent, 50000);
    leave(edit("Edit1"), "600");
    EXPECT_EQ(currentLabels(),
              (QStringList{"900 A", "1200 A", "1800 A", "2400 A", "3000 A", "4200 A"}));
    EXPECT_DOUBLE_EQ(currents().Current700, 4200);
    EXPECT_DOUBLE_EQ(currents().InstCurrent, 3000);
    EXPECT_EQ(label("Label15")->text(), QStringLiteral("3000 A"));
    // A tap the currents cannot use leaves them alone, without a message.
    focusOn(edit("Edit1"));
    edit("Edit9")->setText("x");
    edit("Edit10")->setText("0");
    leave(edit("Edit1"), "100");
    EXPECT_DOUBLE_EQ(currents().Current700, 4200);
    EXPECT_DOUBLE_EQ(currents().InstCurrent, 3000);
    EXPECT_EQ(scripted.messages.texts(), std::vector<QString>{});
}

TEST_F(MeinFormTest, TimeFieldsReportTheFirstBadPositionAndKeepTheFocus) {
    open();
    struct Case {
        const char* text;
        int position;
    };
    const Case cases[] = {{"", 1},    {"-", 2},   {"1.5e", 5},  {" 12", 0},   {"0.25", 0},
                          {"12a", 3}, {"12 ", 3}, {"+1E-3", 0}, {"1.2.3", 4}, {"１", 1}};
    for (const Case& c : cases) {
        scripted.messages.asked.clear();
        leave(edit("Edit3"), QString::fromUtf8(c.text));
        if (c.position == 0) {
            EXPECT_TRUE(scripted.messages.asked.empty()) << c.text;
            EXPECT_EQ(focused(), edit("Edit4")) << c.text;
            continue;
        }
        ASSERT_EQ(scripted.messages.asked.size(), 1u) << c.text;
        EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Warning);
        EXPECT_EQ(scripted.messages.asked[0].title, QStringLiteral("警告"));
        EXPECT_EQ(scripted.messages.asked[0].text,
                  QStringLiteral("Error at position: ") + QString::number(c.position));
        EXPECT_EQ(focused(), edit("Edit3")) << c.text;
        EXPECT_EQ(edit("Edit3")->text(), QString::fromUtf8(c.text));
    }
}

TEST_F(MeinFormTest, EveryTimeFieldIsChecked) {
    open();
    for (QLineEdit* field : {edit("Edit2"), edit("Edit3"), edit("Edit4"), edit("Edit5"),
                             edit("Edit6"), edit("Edit7"), edit("Edit8")}) {
        scripted.messages.asked.clear();
        leave(field, "12a");
        ASSERT_EQ(scripted.messages.asked.size(), 1u) << field->objectName().toStdString();
        EXPECT_EQ(scripted.messages.asked[0].text, QStringLiteral("Error at position: 3"));
        EXPECT_EQ(focused(), field);
        field->setText("0");
    }
}

TEST_F(MeinFormTest, LeavingEdit8MovesTheFocusToTheGraphButtonAndRefreshesInst) {
    open();
    edit("Edit1")->setText("100");
    edit("Edit10")->setText("40");
    focusOn(edit("Edit7"));
    tab(); // entering Edit8 computes the INST current
    EXPECT_EQ(focused(), edit("Edit8"));
    EXPECT_EQ(label("Label15")->text(), QStringLiteral("4000 A"));
    edit("Edit10")->setText("50"); // typed elsewhere without leaving it
    edit("Edit8")->setText("0.05");
    focusOn(edit("kaisya")); // leaving Edit8 in any direction
    EXPECT_EQ(focused(), button("Button1"));
    EXPECT_EQ(activeControl(), button("Button1"));
    EXPECT_EQ(label("Label15")->text(), QStringLiteral("5000 A"));
    EXPECT_DOUBLE_EQ(currents().InstCurrent, 5000);
    EXPECT_TRUE(scripted.messages.asked.empty());
}

TEST_F(MeinFormTest, AFailingExitCheckEndsTheFocusChangeWithoutTheEntryCheck) {
    open();
    edit("Edit1")->setText("100");
    // Leaving the INST tap for "グラフ表示" or Edit8, whose entry reads the
    // same INST tap: one report, not a second from the entry. (Leaving Edit8
    // sends the focus to "グラフ表示", so Edit8 comes last.)
    for (QWidget* target :
         {static_cast<QWidget*>(button("Button1")), static_cast<QWidget*>(edit("Edit8"))}) {
        edit("Edit10")->setText("abc");
        focusOn(edit("Edit10"));
        ASSERT_EQ(focused(), edit("Edit10"));
        scripted.messages.asked.clear();
        focusOn(target);
        ASSERT_EQ(scripted.messages.asked.size(), 1u) << target->objectName().toStdString();
        EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Error);
        EXPECT_EQ(scripted.messages.asked[0].text,
                  QStringLiteral("'abc' は浮動小数点数ではありません."));
        EXPECT_EQ(activeControl(), target);
    }
    // A sound exit still runs the entry check.
    edit("Edit8")->setText("0.05");
    edit("Edit10")->setText("40");
    focusOn(button("Button1"));
    focusOn(edit("Edit10"));
    ASSERT_EQ(focused(), edit("Edit10"));
    scripted.messages.asked.clear();
    focusOn(edit("Edit8"));
    EXPECT_TRUE(scripted.messages.asked.empty());
    EXPECT_EQ(label("Label15")->text(), QStringLiteral("4000 A"));
}

} // namespace
} // namespace telvara::test
