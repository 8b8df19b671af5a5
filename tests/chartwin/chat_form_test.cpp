// The chart window: its layout, when it draws the main window's entries,
// and how its curves are added and removed.
#include "chat_form_fixture.h"

#include "chart/print.h"

#include <QDialog>
#include <QSplitter>

namespace telvara {
namespace {

using test::ChatFormTest;
using Points = std::vector<CurvePoint>;

Points pointsOf(const TChartSeries& s) {
    Points out;
    for (int i = 0; i < s.Count(); ++i)
        out.push_back({s.XValues()[i], s.YValues()[i]});
    return out;
}

const Points kExample = {{120, 10},  {160, 5},   {240, 3},    {320, 2.2},
                         {400, 1.8}, {560, 1.5}, {4000, 1.5}, {4000, 0.05}};

TEST_F(ChatFormTest, WindowLayoutAndInitialState) {
    EXPECT_EQ(QStringLiteral("グラフ画面"), chat->windowTitle());
    EXPECT_TRUE(button("Button2")->isHidden());
    chat->resize(1000, 700);
    chat->show();
    settle();
    EXPECT_EQ(41, control("Panel1")->height());
    EXPECT_EQ(0, control("Panel1")->y());
    EXPECT_EQ(QStringLiteral("Chart1"), chartWidget()->objectName());
    // The chart fills the window below the tool bar; "検討パネル" puts the
    // study panel beside it.
    EXPECT_EQ(QPoint(0, 41), chartWidget()->mapTo(chat.get(), QPoint(0, 0)));
    EXPECT_EQ(chat->height() - 41, chartWidget()->height());
    EXPECT_EQ(chat->width(), chartWidget()->width());
    toolButton("PanelToggle")->click();
    settle();
    EXPECT_EQ(chat->width(), chartWidget()->width() +
                                 control<QSplitter>("StudySplitter")->handleWidth() +
                                 control("StudyPanel")->width());
    EXPECT_EQ(chartWidget()->width(), chart().Width());
    EXPECT_EQ(chartWidget()->height(), chart().Height());

    EXPECT_EQ(QStringLiteral("ｸﾞﾗﾌの追加"), button("Button1")->text());
    EXPECT_EQ(QStringLiteral("ﾃﾞｰﾀｰ入力画面に移り新たなｸﾞﾗﾌを追加する"),
              button("Button1")->toolTip());
    EXPECT_EQ(4, button("Button1")->property("helpContext").toInt());
    EXPECT_EQ(QStringLiteral("ｸﾞﾗﾌの削除"), button("Button2")->text());
    EXPECT_EQ(QStringLiteral("最終のｸﾞﾗﾌからクリックするごとに１個ずつ削除します"),
              button("Button2")->toolTip());
    EXPECT_EQ(4, button("Button2")->property("helpContext").toInt());
    // The first paint of the shown window brings the delete button.
    paintChart();
    EXPECT_TRUE(button("Button2")->isVisible());
    EXPECT_TRUE(button("Button1")->isVisible());
    EXPECT_EQ(QStringLiteral("Version 3.0"), label("Label2")->text());

    // F1 on a curve button opens its help context.
    button("Button2")->setFocus();
    QTest::keyClick(button("Button2"), Qt::Key_F1);
    ASSERT_EQ(1u, scripted.help.shown.size());
    EXPECT_EQ(4, scripted.help.shown[0].context.value_or(0));
    EXPECT_EQ(0, seriesCounter());
    EXPECT_EQ(1, chart().NumSeries());
}

TEST_F(ChatFormTest, ShowingFromTheMainWindowDrawsTheEntries) {
    enterExample();
    showMain();
    showChart();
    EXPECT_TRUE(chat->isMaximized());
    EXPECT_EQ(1, chat->activationCount());
    EXPECT_EQ(QStringLiteral("Version 1.2.3.4"), label("Label2")->text());
    ASSERT_EQ(1, chart().NumSeries());
    EXPECT_EQ(kExample, pointsOf(*series(0)));
    EXPECT_EQ("51R", series(0)->Title());
    EXPECT_EQ(clRed, series(0)->SeriesColor()); // no colour item selected
    EXPECT_EQ(10, chart().LeftAxis().Maximum());

    // Moving back into the chart from the main window draws again: the
    // relay's curve is replaced, never extended.
    activate(main);
    activate(*chat);
    EXPECT_EQ(2, chat->activationCount());
    EXPECT_EQ(kExample, pointsOf(*series(0)));

    // "グラフ表示" while the chart is behind the main window.
    activate(main);
    showChart();
    EXPECT_EQ(3, chat->activationCount());
    EXPECT_EQ(8, series(0)->Count());
    ASSERT_EQ(1, chart().NumSeries());
}

TEST_F(ChatFormTest, EachRelayShownKeepsOneCurveOfItsOwn) {
    enterExample();
    showMain();
    showChart();
    // A second relay shown without "ｸﾞﾗﾌの追加": a curve of its own; the
    // first relay's curve and title stay.
    activate(main);
    main.device = "67";
    main.times = {"0", "2", "0", "1", "0", "0", "0"};
    showChart();
    ASSERT_EQ(2, chart().NumSeries());
    EXPECT_EQ("51R", series(0)->Title());
    EXPECT_EQ(kExample, pointsOf(*series(0)));
    EXPECT_EQ("67", series(1)->Title());
    EXPECT_EQ((Points{{160, 2}, {320, 1}}), pointsOf(*series(1)));
    // The first relay again, changed: its own curve replaced, nothing else.
    activate(main);
    main.device = "51R";
    main.times = {"9", "0", "0", "0", "0", "0", "0"};
    showChart();
    ASSERT_EQ(2, chart().NumSeries());
    EXPECT_EQ((Points{{120, 9}}), pointsOf(*series(0)));
    EXPECT_EQ((Points{{160, 2}, {320, 1}}), pointsOf(*series(1)));
    EXPECT_EQ(1, seriesCounter());
}

TEST_F(ChatFormTest, ActivationNotRepeatedAfterBoxesOrAnotherProgram) {
    enterExample();
    showMain();
    showChart();
    ASSERT_EQ(1, chat->activationCount());

    // A modal box opened from the chart window closes.
    QDialog box(chat.get());
    box.setModal(true);
    box.show();
    activate(box);
    box.hide();
    activate(*chat);
    EXPECT_EQ(1, chat->activationCount());

    // The program loses the focus and gets it back in the chart window.
    QApplication::setActiveWindow(nullptr);
    settle();
    EXPECT_FALSE(chat->isActiveWindow());
    activate(*chat);
    EXPECT_EQ(1, chat->activationCount());
    EXPECT_EQ(8, series(0)->Count());
}

TEST_F(ChatFormTest, ColourByTheMainWindowsChoice) {
    enterExample();
    showMain();
    main.radio = 0;
    main.dialog = 0x00A0B0;
    showChart();
    EXPECT_EQ(TColor(0x00A0B0), series(0)->SeriesColor());

    // Random colours: a new one at every activation.
    main.radio = 1;
    main.randomColours = {0x111111, 0x222222};
    activate(main);
    activate(*chat);
    EXPECT_EQ(1, main.colourSelects);
    EXPECT_EQ(TColor(0x111111), series(0)->SeriesColor());
    activate(main);
    activate(*chat);
    EXPECT_EQ(2, main.colourSelects);
    EXPECT_EQ(TColor(0x222222), series(0)->SeriesColor());
}

TEST_F(ChatFormTest, BadTimeStopsAfterTheColour) {
    enterExample();
    main.times[3] = "2,2";
    main.radio = 0;
    main.dialog = 0x0000C0;
    main.device = "67";
    showMain();
    showChart();
    const auto& asked = scripted.messages.asked;
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ(BoxKind::Error, asked[0].kind);
    EXPECT_EQ(QStringLiteral("'2,2' は浮動小数点数ではありません."), asked[0].text);
    EXPECT_EQ(TColor(0x0000C0), series(0)->SeriesColor());
    EXPECT_EQ("51", series(0)->Title());
    EXPECT_EQ(0, series(0)->Count());
    EXPECT_EQ(QStringLiteral("Version 1.2.3.4"), label("Label2")->text());
    EXPECT_EQ(0, chat->activationCount());
}

TEST_F(ChatFormTest, AxesSetAtEveryActivation) {
    showMain();
    main.timeCheck = true;
    showChart();
    TChart& c = chart();
    EXPECT_EQ(0.01, c.LeftAxis().Minimum());
    EXPECT_EQ(1000, c.LeftAxis().Maximum());
    EXPECT_EQ(10, c.BottomAxis().Minimum());
    EXPECT_EQ(100000, c.BottomAxis().Maximum());
    EXPECT_TRUE(c.BottomAxis().TickOnLabelsOnly());
    // "電流軸最小値" moves the current axis; the next activation resets both.
    checkBox("CheckBox5")->setChecked(true);
    EXPECT_EQ(1, c.BottomAxis().Minimum());
    main.timeCheck = false;
    activate(main);
    activate(*chat);
    EXPECT_EQ(10, c.BottomAxis().Minimum());
    EXPECT_EQ(10, c.LeftAxis().Maximum());
    EXPECT_FALSE(checkBox("CheckBox5")->isChecked());
}

TEST_F(ChatFormTest, ShowAndCloseCyclesStartNewCurves) {
    showMain();
    for (int i = 0; i < 3; ++i) {
        showChart();
        QTest::mouseClick(button("Button1"), Qt::LeftButton);
        settle();
        EXPECT_FALSE(chat->isVisible());
        activate(main);
    }
    EXPECT_EQ(3, seriesCounter());
    TChart& c = chart();
    ASSERT_EQ(4, c.NumSeries());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(0, series(i)->Count());
    // Titled by each activation; the last one is still untitled.
    EXPECT_EQ("51R", series(2)->Title());
    EXPECT_EQ("", series(3)->Title());
    EXPECT_EQ(clYellow, series(2)->SeriesColor());
    EXPECT_EQ(clBlue, series(3)->SeriesColor());
    // The window's close box does the same.
    showChart();
    chat->close();
    settle();
    EXPECT_EQ(4, seriesCounter());
    EXPECT_EQ(5, c.NumSeries());
}

TEST_F(ChatFormTest, RemovingCurvesDownToNoneAndBeyond) {
    enterExample();
    showMain();
    showChart();
    chat->startNewCurve();
    chat->startNewCurve();
    paintChart();
    EXPECT_TRUE(button("Button2")->isVisible());
    EXPECT_TRUE(button("Button3")->isVisible());
    for (int expected = 1; expected >= -1; --expected) {
        chat->removeCurrentCurve();
        EXPECT_EQ(expected, seriesCounter());
        EXPECT_EQ(expected + 1, chart().NumSeries());
    }
    // The buttons go at the next paint.
    EXPECT_TRUE(button("Button2")->isVisible());
    paintChart();
    EXPECT_FALSE(button("Button2")->isVisible());
    EXPECT_FALSE(button("Button3")->isVisible());
    // Nothing to remove: nothing happens.
    chat->removeCurrentCurve();
    EXPECT_EQ(-1, seriesCounter());
    EXPECT_TRUE(scripted.messages.asked.empty());

    // An activation with no curve left draws into a new one.
    activate(main);
    activate(*chat);
    EXPECT_EQ(0, seriesCounter());
    ASSERT_EQ(1, chart().NumSeries());
    EXPECT_EQ(kExample, pointsOf(*series(0)));
    EXPECT_EQ(clRed, series(0)->SeriesColor());
    paintChart();
    EXPECT_TRUE(button("Button2")->isVisible());
    EXPECT_TRUE(button("Button3")->isVisible());

    // Closing with no curve left restores the normal state as well.
    chat->removeCurrentCurve();
    chat->close();
    settle();
    EXPECT_EQ(0, seriesCounter());
    EXPECT_EQ(1, chart().NumSeries());
}

TEST_F(ChatFormTest, ClickedCurveButtonTakesTheFocusSoF1OpensItsHelp) {
    enterExample();
    showMain();
    showChart();
    chat->startNewCurve();
    paintChart();
    ASSERT_TRUE(button("Button2")->isVisible());
    QTest::mouseClick(button("Button2"), Qt::LeftButton);
    settle();
    EXPECT_EQ(1, chart().NumSeries());
    EXPECT_EQ(button("Button2"), QApplication::focusWidget());
    QTest::keyClick(chat.get(), Qt::Key_F1);
    ASSERT_EQ(1u, scripted.help.shown.size());
    EXPECT_EQ(4, scripted.help.shown[0].context.value_or(0));
}

} // namespace
} // namespace telvara
