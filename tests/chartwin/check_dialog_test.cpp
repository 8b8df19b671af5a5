// The coordination check in the chart window: its table, the lines it draws
// and the read-out under the mouse, through the real widgets.
#include "chartwin/check_dialog.h"
#include "chat_form_fixture.h"

#include <QClipboard>
#include <QImage>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTableWidget>

namespace telvara {
namespace {

using test::partOf;

class CheckDialogTest : public test::ChatFormTest {
protected:
    // A relay with one time from 150 % to 700 % of its tap current.
    // (CT 5: the tap current is the tap.)
    void drawFlat(const char* company, const char* device, int tap, const char* time) {
        RelaySettings relay{
            device, "5", std::to_string(tap), "0", {time, "0", "0", "0", "0", time, "0"}, company};
        RelayCurrents currents;
        chat->drawRelays({relay}, currents);
        chat->startNewCurve();
    }

    int paints = 0;
};

class PaintCounter : public QObject {
public:
    int* count;
    explicit PaintCounter(int* c) : count(c) {}
    bool eventFilter(QObject*, QEvent* e) override {
        *count += e->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(CheckDialogTest, TableLinesAndReadOut) {
    showMain();
    showChart();
    // 0.5 s from 150 A, 0.7 s from 300 A: 0.2 s apart.
    drawFlat("A電力", "51R", 100, "0.5");
    drawFlat("B電力", "51S", 200, "0.7");

    QTest::mouseClick(button("CheckCommand"), Qt::LeftButton);
    auto* dialog = control<TCheckDialog>("CheckDialog");
    ASSERT_TRUE(dialog && dialog->isVisible());
    auto* table = partOf<QTableWidget>(dialog, "Table");
    partOf<QLineEdit>(dialog, "MaxFaultEdit")->setText(QStringLiteral("1000"));
    QTest::mouseClick(partOf<QPushButton>(dialog, "CheckButton"), Qt::LeftButton);
    ASSERT_EQ(1, table->rowCount());
    QStringList cells;
    for (int c = 0; c < 7; ++c)
        cells << table->item(0, c)->text();
    EXPECT_EQ(QStringList({"-", "協調", "A電力 51R", "B電力 51S", "0.200", "300.0", "不合格"}),
              cells);
    QTest::mouseClick(partOf<QPushButton>(dialog, "CopyButton"), Qt::LeftButton);
    EXPECT_EQ(QStringLiteral("経路\t種類\t下位側\t上位側\t最小時間差(秒)\t電流(A)\t判定\n"
                             "-\t協調\tA電力 51R\tB電力 51S\t0.200\t300.0\t不合格\n"),
              QApplication::clipboard()->text());

    // A number that is not one: the box says which field, nothing changes.
    partOf<QLineEdit>(dialog, "CtiEdit")->setText(QStringLiteral("abc"));
    QTest::mouseClick(partOf<QPushButton>(dialog, "CheckButton"), Qt::LeftButton);
    EXPECT_EQ(std::vector<QString>{QStringLiteral("CTIには正の数を入力して下さい")},
              scripted.messages.texts());
    EXPECT_EQ(1, table->rowCount());

    // The fault current's line, drawn on the chart in blue down the plot.
    const QImage image = chartWidget()->grab().toImage();
    TChart& chart = this->chart();
    const int x = chart.BottomAxis().ValueToPixel(1000);
    int blue = 0;
    for (int y = chart.ChartRect().top + 20; y < chart.ChartRect().bottom; ++y)
        blue += image.pixelColor(x, y) == QColor(0, 0, 255);
    EXPECT_GT(blue, chart.ChartRect().Height() / 3);

    settle();
    PaintCounter counter(&paints);
    chartWidget()->installEventFilter(&counter);
    auto move = [&](QPoint p) {
        QMouseEvent e(QEvent::MouseMove, p, chartWidget()->mapToGlobal(p), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(chartWidget(), &e);
        settle();
    };
    move({x, chart.LeftAxis().ValueToPixel(0.5)});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^電流 ([0-9,.]+) A　時間 ([0-9.]+) s$"))
            .match(label("ReadOut")->text());
    ASSERT_TRUE(m.hasMatch()) << label("ReadOut")->text().toStdString();
    // One pixel is under 1 % of a decade here.
    EXPECT_NEAR(1000, m.captured(1).remove(',').toDouble(), 10);
    EXPECT_NEAR(0.5, m.captured(2).toDouble(), 0.01);
    move({2, 2});
    EXPECT_EQ(QString(), label("ReadOut")->text());
    EXPECT_EQ(0, paints);
    chartWidget()->removeEventFilter(&counter);
}

// The table follows curves added and removed while it is shown; the lines
// and marks have a switch that the next window starts with.
TEST_F(CheckDialogTest, TableFollowsTheCurvesAndMarksHaveASwitch) {
    showMain();
    showChart();
    drawFlat("A電力", "51R", 100, "0.5");
    drawFlat("B電力", "51S", 200, "0.7");
    QTest::mouseClick(button("CheckCommand"), Qt::LeftButton);
    auto* dialog = control<TCheckDialog>("CheckDialog");
    ASSERT_TRUE(dialog);
    auto* table = partOf<QTableWidget>(dialog, "Table");
    partOf<QLineEdit>(dialog, "MaxFaultEdit")->setText(QStringLiteral("1000"));
    QTest::mouseClick(partOf<QPushButton>(dialog, "CheckButton"), Qt::LeftButton);
    ASSERT_EQ(1, table->rowCount());
    auto rows = [&] {
        QStringList out;
        for (int r = 0; r < table->rowCount(); ++r)
            out << table->item(r, 2)->text() + "/" + table->item(r, 3)->text() + " " +
                       table->item(r, 4)->text();
        return out;
    };

    // 0.8 s from 600 A: 0.1 s above B up to the 1000 A fault.
    drawFlat("C電力", "51T", 400, "0.8");
    paintChart();
    EXPECT_EQ(QStringList({"B電力 51S/C電力 51T 0.100", "A電力 51R/B電力 51S 0.200"}), rows());
    chat->removeCurrentCurve(); // the empty curve after C
    chat->removeCurrentCurve(); // C
    paintChart();
    EXPECT_EQ(QStringList({"A電力 51R/B電力 51S 0.200"}), rows());

    // Switched off: no fault-current line on the chart, and remembered.
    TChart& chart = this->chart();
    auto blueAt1000 = [&] {
        const QImage image = chartWidget()->grab().toImage();
        const int x = chart.BottomAxis().ValueToPixel(1000);
        int blue = 0;
        for (int y = chart.ChartRect().top + 20; y < chart.ChartRect().bottom; ++y)
            blue += image.pixelColor(x, y) == QColor(0, 0, 255);
        return blue;
    };
    auto* marks = control<QCheckBox>("MarksCheck");
    ASSERT_TRUE(marks && marks->isChecked());
    EXPECT_GT(blueAt1000(), chart.ChartRect().Height() / 3);
    marks->click();
    EXPECT_EQ(0, blueAt1000());
    chat.reset();
    chat = std::make_unique<TChatForm>(main, *services);
    EXPECT_FALSE(control<QCheckBox>("MarksCheck")->isChecked());
}

// A zoom and its undo move the axes under a mouse that stays still: the
// read-out follows without a move.
TEST_F(CheckDialogTest, ReadOutFollowsZoomAndUndo) {
    showMain();
    showChart();
    drawFlat("A電力", "51R", 100, "0.5");
    paintChart();
    const TRect plot = chart().ChartRect();
    const QPoint a(plot.left + 100, plot.top + 80), b(plot.left + 300, plot.top + 250);
    auto mouse = [&](QEvent::Type type, QPoint p, Qt::MouseButtons held) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, p, chartWidget()->mapToGlobal(p), button, held, Qt::NoModifier);
        QApplication::sendEvent(chartWidget(), &e);
    };
    mouse(QEvent::MouseMove, a, Qt::NoButton);
    const QString before = label("ReadOut")->text();
    ASSERT_FALSE(before.isEmpty());
    auto drag = [&](QPoint from, QPoint to) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        paintChart();
    };
    drag(a, b); // zoom: b is now the plot's lower right corner
    const QString zoomed = label("ReadOut")->text();
    EXPECT_NE(zoomed, before);
    mouse(QEvent::MouseMove, a, Qt::NoButton);
    EXPECT_NE(zoomed, label("ReadOut")->text());
    drag(b, a); // undo, released at a
    EXPECT_EQ(before, label("ReadOut")->text());
}

} // namespace
} // namespace telvara
