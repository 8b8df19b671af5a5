// The main window's design, colour choice, chart button, help and close question.
#include "mein_form_fixture.h"

#include "chartwin/chat_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalSpy>

namespace telvara::test {
namespace {

TEST_F(MeinFormTest, WindowHasItsCaptionSizeFontAndNoSizeButtons) {
    open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("保護協調曲線"));
    QTest::qWait(20); // the outer size is fitted once the frame is known
    EXPECT_EQ(form->frameGeometry().size(), QSize(768, 242));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(form->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(form->font().pixelSize(), 12);
    EXPECT_EQ(form->property("helpContext").toInt(), 1);
}

TEST_F(MeinFormTest, EntryFieldsHaveTheirPlacesTextsHintsAndTabOrder) {
    open();
    EXPECT_EQ(control<QGroupBox>("GroupBox2")->title(), QStringLiteral("保護協調 DATA"));
    EXPECT_EQ(control<QGroupBox>("GroupBox2")->geometry(), QRect(8, 8, 609, 201));
    struct Field {
        QLineEdit* edit;
        QPoint place;
        int width;
        const char* text;
        const char* hint;
    };
    const char* zeroHint = "ｸﾞﾗﾌ表示しないときは、０のまま。";
    const char* nameHint = "文字に半角のスペース、カンマは含めないでください。";
    const Field fields[] = {
        {edit("kaisya"), {104, 29}, 321, "", nameHint},
        {edit("Edit1"), {32, 88}, 73, "0", "CT１次電流値を入力してください。"},
        {edit("Edit9"), {192, 88}, 33, "0", "整定値"},
        {edit("Edit10"), {240, 88}, 41, "0", zeroHint},
        {edit("Debaisu"), {320, 88}, 121, "51R", nameHint},
        {edit("Edit2"), {16, 149}, 65, "0", zeroHint},
        {edit("Edit3"), {96, 149}, 65, "0", zeroHint},
        {edit("Edit4"), {176, 149}, 65, "0", zeroHint},
        {edit("Edit5"), {264, 149}, 65, "0", zeroHint},
        {edit("Edit6"), {352, 149}, 65, "0", zeroHint},
        {edit("Edit7"), {440, 149}, 65, "0", zeroHint},
        {edit("Edit8"), {528, 149}, 65, "0", zeroHint},
    };
    QList<QWidget*> chain;
    for (const Field& f : fields) {
        EXPECT_EQ(f.edit->parentWidget(), control<QGroupBox>("GroupBox2"));
        EXPECT_EQ(f.edit->pos(), f.place) << f.edit->objectName().toStdString();
        EXPECT_EQ(f.edit->width(), f.width);
        EXPECT_EQ(f.edit->text(), QString::fromUtf8(f.text));
        EXPECT_EQ(f.edit->toolTip(), QString::fromUtf8(f.hint));
        chain << f.edit;
    }
    QStringList captions;
    for (QLabel* label :
         control<QGroupBox>("GroupBox2")->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        captions << label->text();
    for (const char* caption : {"会社名", "CT比", "タップ", "INSTタップ", "デバイ No.", "150%",
                                "200%", "300%", "400%", "500%", "700%", "INST"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
    for (QLabel* current : {label("Label9"), label("Label10"), label("Label11"), label("Label12"),
                            label("Label13"), label("Label14"), label("Label15")}) {
        EXPECT_EQ(current->text(), QString());
        EXPECT_EQ(current->palette().color(QPalette::WindowText), QColor(Qt::blue));
        EXPECT_EQ(current->y(), 136);
    }
    EXPECT_EQ(label("Label9")->x(), 16 + 32);
    EXPECT_EQ(label("Label15")->x(), 528 + 32);
    EXPECT_EQ(tabChain().mid(0, 12), chain);
    // Tab walks the rows in that order (with a CT and a tap the checks let pass).
    edit("Edit1")->setText("100");
    edit("Edit9")->setText("4");
    focusOn(edit("kaisya"));
    for (int i = 1; i < 5; ++i) {
        tab();
        EXPECT_EQ(focused(), chain[i]) << i;
    }
}

TEST_F(MeinFormTest, ControlsBesideTheGroupBoxAreInTheirStartState) {
    open();
    EXPECT_EQ(button("Button1")->text(), QStringLiteral("グラフ表示"));
    EXPECT_EQ(button("Button1")->geometry(), QRect(648, 128, 81, 41));
    EXPECT_EQ(button("Button1")->property("helpContext").toInt(), 3);
    EXPECT_EQ(button("Button2")->text(), QStringLiteral("?"));
    EXPECT_EQ(button("Button2")->pos(), QPoint(714, 15));
    EXPECT_TRUE(button("Button2")->font().bold());
    EXPECT_EQ(button("Button2")->toolTip(), QStringLiteral("簡単な使用方法"));
    EXPECT_EQ(button("ColorButton")->text(), QStringLiteral("色選択"));
    EXPECT_EQ(button("ColorButton")->pos(), QPoint(638, 14));
    EXPECT_EQ(control<QGroupBox>("RadioGroup1")->title(), QStringLiteral("色の選択"));
    EXPECT_EQ(control<QGroupBox>("RadioGroup1")->geometry(), QRect(632, 44, 121, 57));
    EXPECT_EQ(control<QRadioButton>("RadioItem0")->text(), QStringLiteral("指定色を交える"));
    EXPECT_EQ(control<QRadioButton>("RadioItem1")->text(), QStringLiteral("ランダム付ける"));
    EXPECT_EQ(form->colorRadioIndex(), -1);
    EXPECT_EQ(control<QCheckBox>("TimeCheck")->text(), QStringLiteral("時間10or1000"));
    EXPECT_EQ(control<QCheckBox>("TimeCheck")->toolTip(), QStringLiteral("時間軸切り替え"));
    EXPECT_EQ(control<QCheckBox>("TimeCheck")->pos(), QPoint(639, 107));
    EXPECT_FALSE(form->timeCheckChecked());
    EXPECT_EQ(label("VersionLbl")->text(), QStringLiteral("Version "));
    EXPECT_EQ(label("VersionLbl")->y(), 191);
    EXPECT_EQ(label("ProducerLbl")->y(), 175);
    EXPECT_EQ(form->dialogColor(), clBlack);
}

TEST_F(MeinFormTest, ColourChoice) {
    open();
    scripted.colors.answers = {TColor(0x0000FF), std::nullopt};
    QTest::mouseClick(button("ColorButton"), Qt::LeftButton);
    EXPECT_EQ(form->dialogColor(), 0x0000FFu);
    QTest::mouseClick(button("ColorButton"), Qt::LeftButton);
    EXPECT_EQ(form->dialogColor(), 0x0000FFu); // cancelled: unchanged
    EXPECT_EQ(scripted.colors.asked, (std::vector<TColor>{clBlack, 0x0000FF}));

    QTest::mouseClick(control<QRadioButton>("RadioItem1"), Qt::LeftButton);
    EXPECT_EQ(form->colorRadioIndex(), 1);
    EXPECT_FALSE(button("ColorButton")->isEnabled());
    QTest::mouseClick(control<QRadioButton>("RadioItem0"), Qt::LeftButton);
    EXPECT_EQ(form->colorRadioIndex(), 0);
    EXPECT_TRUE(button("ColorButton")->isEnabled());

    scripted.random.values = {0x12345678, 7};
    EXPECT_EQ(form->ColorSelect(), 0x345678u);
    EXPECT_EQ(form->ColorSelect(), 7u);
    EXPECT_EQ(scripted.random.ranges, (std::vector<std::uint32_t>{0x1000000, 0x1000000}));
}

TEST_F(MeinFormTest, TheChartWindowReadsTheEntries) {
    open();
    QLineEdit* const times[] = {edit("Edit2"), edit("Edit3"), edit("Edit4"), edit("Edit5"),
                                edit("Edit6"), edit("Edit7"), edit("Edit8")};
    for (int i = 0; i < 7; ++i)
        times[i]->setText(QString::number(i + 1) + "0");
    edit("Debaisu")->setText("51R甲");
    control<QCheckBox>("TimeCheck")->setChecked(true);
    const MainWindowLink& link = *form;
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(link.timeText(i), std::to_string(i + 1) + "0");
    EXPECT_EQ(link.deviceText(), "51R甲");
    EXPECT_TRUE(link.timeCheckChecked());
    EXPECT_EQ(link.versionCaption(), label("VersionNoLbl")->text().toStdString());
}

TEST_F(MeinFormTest, GraphButtonShowsTheChartWindowUnlessEdit8RefusesTheFocus) {
    open();
    TChatForm chart(*form, form->services());
    form->setChartWindow(&chart);
    edit("Edit8")->setText("12a");
    focusOn(edit("Edit8"));
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    EXPECT_FALSE(chart.isVisible());
    EXPECT_EQ(focused(), edit("Edit8"));
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].text, QStringLiteral("Error at position: 3"));

    edit("Edit8")->setText("0.05");
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    EXPECT_TRUE(chart.isVisible());
    EXPECT_EQ(chart.windowTitle(), QStringLiteral("グラフ画面"));
    EXPECT_EQ(scripted.messages.asked.size(), 1u);
}

TEST_F(MeinFormTest, F1UsesTheStartHelpFileUntilTheHelpButtonSwitchesIt) {
    open();
    edit("Edit1")->setText("100");
    focusOn(button("Button1"));
    QTest::keyClick(button("Button1"), Qt::Key_F1);
    focusOn(edit("Edit1"));
    QTest::keyClick(edit("Edit1"), Qt::Key_F1);
    QTest::mouseClick(button("Button2"), Qt::LeftButton);
    focusOn(button("Button1"));
    QTest::keyClick(button("Button1"), Qt::Key_F1);

    const auto& shown = scripted.help.shown;
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].file, kStartHelpFile);
    EXPECT_TRUE(kStartHelpFile.endsWith(QStringLiteral("Zubhelp.hlp")));
    EXPECT_EQ(shown[0].context, 3);
    EXPECT_EQ(shown[1].file, kStartHelpFile);
    EXPECT_EQ(shown[1].context, 1);
    EXPECT_EQ(shown[2].file, QStringLiteral("ZubHelp.HLP"));
    EXPECT_EQ(shown[2].topic, QStringLiteral("目次"));
    EXPECT_FALSE(shown[2].context.has_value());
    EXPECT_EQ(shown[3].file, QStringLiteral("ZubHelp.HLP"));
    EXPECT_EQ(shown[3].context, 3);
}

TEST_F(MeinFormTest, CloseQuestionCancelKeepsEverythingOkCloses) {
    open();
    edit("kaisya")->setText("A電力");
    edit("Edit2")->setText("10");
    QSignalSpy closed(form.get(), &TMeinForm::closed);
    scripted.messages.answers = {BoxAnswer::Cancel, BoxAnswer::Closed, BoxAnswer::Ok};

    form->close();
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(edit("kaisya")->text(), QStringLiteral("A電力"));
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("10"));
    EXPECT_EQ(closed.count(), 0);

    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(closed.count(), 1);
    ASSERT_EQ(scripted.messages.asked.size(), 3u);
    for (const AskedBox& box : scripted.messages.asked) {
        EXPECT_EQ(box.kind, BoxKind::Confirm);
        EXPECT_EQ(box.title, QStringLiteral("確認"));
        EXPECT_EQ(box.text, QStringLiteral("このまま終了しますか?"));
        EXPECT_EQ(box.buttons, ConfirmButtons::OkCancel);
    }
}

TEST_F(MeinFormTest, GraphButtonClickIsRefusedWhenLeavingTheFieldFails) {
    open();
    TChatForm chart(*form, form->services());
    form->setChartWindow(&chart);
    edit("Edit1")->setText("100");
    edit("Edit10")->setText("abc");
    focusOn(edit("Edit10"));
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Error);
    EXPECT_EQ(scripted.messages.asked[0].text,
              QStringLiteral("'abc' は浮動小数点数ではありません."));
    EXPECT_FALSE(chart.isVisible());
    EXPECT_EQ(focused(), button("Button1"));

    // The next click on the focused button shows the chart.
    edit("Edit10")->setText("40");
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    EXPECT_TRUE(chart.isVisible());
    EXPECT_EQ(scripted.messages.asked.size(), 1u);

    // A real error box keeps the release of the refused click from the
    // window: only the press arrives. The next click still acts.
    chart.close();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    edit("Edit10")->setText("abc");
    focusOn(edit("Edit10"));
    QTest::mousePress(button("Button1"), Qt::LeftButton);
    ASSERT_EQ(scripted.messages.asked.size(), 2u);
    EXPECT_FALSE(chart.isVisible());
    edit("Edit10")->setText("40");
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    EXPECT_TRUE(chart.isVisible());
}

TEST_F(MeinFormTest, AfterAFailedExitByTabAClickInTheNewFieldActs) {
    open();
    edit("Edit1")->setText("100");
    edit("Edit10")->setText("abc");
    focusOn(edit("Edit10"));
    tab();
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    ASSERT_EQ(focused(), edit("Debaisu"));
    edit("Debaisu")->selectAll();
    ASSERT_TRUE(edit("Debaisu")->hasSelectedText());
    QTest::mouseClick(edit("Debaisu"), Qt::LeftButton, {}, QPoint(4, 10));
    EXPECT_FALSE(edit("Debaisu")->hasSelectedText());
    EXPECT_EQ(edit("Debaisu")->cursorPosition(), 0);
}

} // namespace
} // namespace telvara::test
