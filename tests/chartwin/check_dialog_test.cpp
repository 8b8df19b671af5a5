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
    void drawFlat(const char* company, const char* device, double tap, const char* time) {
        SharedValues& v = shared();
        v.Current150 = 1.5 * tap;
        v.Current700 = 7 * tap;
        main.company = company;
        main.device = device;
        main.times = {time, "0", "0", "0", "0", time, "0"};
        chat->drawMainEntries();
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

} // namespace
} // namespace telvara
