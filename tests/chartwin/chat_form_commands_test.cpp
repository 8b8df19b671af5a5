// The chart window's tool bar: its controls, the switches, manual points,
// printing and the bitmap file.
#include "chart/print.h"
#include "chat_form_fixture.h"
#include "tests/platform_chart/pdf_pages.h"
#include "text_canvas.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace telvara {
namespace {

using test::ChatFormTest;

// The page surface of the fake printer: keeps the stretch of each print.
class PageCanvas : public test::TextCanvas {
public:
    std::vector<TMapping> mappings;
    TMapping GetMapping() const override { return current; }
    void SetMapping(const TMapping& m) override {
        current = m;
        if (m.anisotropic)
            mappings.push_back(m);
    }
    TMapping current;
};

// A printer with a 4800 x 6800 pixel page at 600 dpi.
class FakePrinter : public TChartPrinter {
public:
    TPrinterOrientation orientation = poPortrait;
    std::vector<TPrinterOrientation> printed; // orientation of each document
    std::string title;
    PageCanvas page;
    bool open = false;

    TPrinterOrientation Orientation() override { return orientation; }
    void SetOrientation(TPrinterOrientation o) override { orientation = o; }
    int PageWidth() override { return orientation == poPortrait ? 4800 : 6800; }
    int PageHeight() override { return orientation == poPortrait ? 6800 : 4800; }
    int DpiX() override { return 600; }
    int DpiY() override { return 600; }
    void SetTitle(const std::string& t) override { title = t; }
    void BeginDoc() override {
        open = true;
        printed.push_back(orientation);
    }
    TCanvas3D& Canvas() override { return page; }
    void EndDoc() override { open = false; }
    void Abort() override { open = false; }
    bool Printing() const override { return open; }
};

class ChatFormCommandsTest : public ChatFormTest {
protected:
    void SetUp() override {
        ChatFormTest::SetUp();
        chat->setPrinter(&printer);
    }

    // "印刷" with the given answers to the two questions.
    void print(BoxAnswer orientation, std::optional<QString> margin) {
        scripted.messages.answers.push_back(orientation);
        scripted.input.answers.push_back(std::move(margin));
        QTest::mouseClick(button("Button3"), Qt::LeftButton);
    }

    TRect margins() { return chat->printOptions().marginPercent; }

    FakePrinter printer;
};

TEST_F(ChatFormCommandsTest, ToolBarControlsLeftToRight) {
    chat->resize(1280, 700);
    chat->show();
    settle();
    // Captions and hints.
    EXPECT_EQ(QStringLiteral("印刷"), button("Button3")->text());
    EXPECT_EQ(QStringLiteral("用紙サイズは、Ａ４をセットしてで印刷して下さい。 "),
              button("Button3")->toolTip());
    EXPECT_EQ(QStringLiteral("値表示"), checkBox("CheckBox1")->text());
    EXPECT_EQ(QStringLiteral("３Ｄ表示"), checkBox("CheckBox2")->text());
    EXPECT_EQ(QStringLiteral("BMP保存"), button("Button4")->text());
    EXPECT_EQ(
        QStringLiteral("任意のフォルダーに、現在のグラフをビットマップ形式で、保存できます。"),
        button("Button4")->toolTip());
    EXPECT_EQ(QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ表示"), checkBox("CheckBox3")->text());
    EXPECT_EQ(QStringLiteral("電流軸最小値"), checkBox("CheckBox5")->text());
    EXPECT_EQ(QStringLiteral("電流軸の最小値を１０Aから１Aに変更"),
              checkBox("CheckBox5")->toolTip());
    EXPECT_EQ(QStringLiteral("入力"), checkBox("CheckBox4")->text());
    EXPECT_EQ(QStringLiteral("ﾃﾞﾊﾞｲｽNo."), edit("Edit3")->text());
    EXPECT_EQ(QStringLiteral("電流値"), edit("Edit1")->text());
    EXPECT_EQ(QStringLiteral("時間"), edit("Edit2")->text());
    EXPECT_EQ(QStringLiteral("Version"), label("Label3")->text());
    EXPECT_TRUE(toolButton("SpeedButton1")->text().isEmpty());
    EXPECT_TRUE(toolButton("SpeedButton2")->text().isEmpty());
    // Initial states.
    EXPECT_FALSE(checkBox("CheckBox1")->isChecked());
    EXPECT_FALSE(checkBox("CheckBox2")->isChecked());
    EXPECT_TRUE(checkBox("CheckBox3")->isChecked());
    EXPECT_FALSE(checkBox("CheckBox4")->isChecked());
    EXPECT_FALSE(checkBox("CheckBox5")->isChecked());
    EXPECT_TRUE(button("Button3")->isVisible());
    EXPECT_TRUE(button("Button4")->isVisible());
    for (QWidget* w : {control("SpeedButton1"), control("SpeedButton2"), control("Edit1"),
                       control("Edit2"), control("Edit3")})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();

    // Left to right, the paired controls one above the other.
    QWidget* panel = control("Panel1");
    auto x = [&](QWidget* w) { return w->mapTo(panel, QPoint(0, 0)).x(); };
    auto y = [&](QWidget* w) { return w->mapTo(panel, QPoint(0, 0)).y(); };
    QList<QWidget*> order;
    for (const char* name :
         {"Button3", "Button1", "CheckBox1", "Button2", "Button4", "CheckBox3", "CheckBox4",
          "SpeedButton2", "Edit3", "Edit1", "SpeedButton1", "Label3", "Label2"})
        order << control(name);
    for (int i = 1; i < order.size(); ++i)
        EXPECT_LT(x(order[i - 1]), x(order[i])) << order[i]->objectName().toStdString();
    EXPECT_EQ(x(checkBox("CheckBox1")), x(checkBox("CheckBox2")));
    EXPECT_LT(y(checkBox("CheckBox1")), y(checkBox("CheckBox2")));
    EXPECT_EQ(x(checkBox("CheckBox3")), x(checkBox("CheckBox5")));
    EXPECT_LT(y(checkBox("CheckBox3")), y(checkBox("CheckBox5")));
    EXPECT_EQ(x(edit("Edit1")), x(edit("Edit2")));
    EXPECT_LT(y(edit("Edit1")), y(edit("Edit2")));
    // Producer line and version at the right end, inside the 41 pixels.
    EXPECT_GT(x(label("Label1")), x(toolButton("SpeedButton1")));
    EXPECT_LE(x(label("Label2")) + label("Label2")->width(), panel->width());
    for (QWidget* w : order)
        EXPECT_LE(y(w) + w->height(), 41) << w->objectName().toStdString();

    // Each picture has a disabled look of its own.
    for (QToolButton* b : {toolButton("SpeedButton1"), toolButton("SpeedButton2")}) {
        const QImage normal = b->icon().pixmap(20, 20, QIcon::Normal).toImage();
        const QImage disabled = b->icon().pixmap(20, 20, QIcon::Disabled).toImage();
        EXPECT_FALSE(normal.isNull());
        EXPECT_NE(normal, disabled);
    }
}

TEST_F(ChatFormCommandsTest, Switches) {
    enterExample();
    showMain();
    showChart();
    TChart& c = chart();
    chat->startNewCurve();
    // "値表示": the marks of the series present and of every new one.
    checkBox("CheckBox1")->click();
    EXPECT_TRUE(series(0)->Marks().Visible());
    EXPECT_TRUE(series(1)->Marks().Visible());
    chat->startNewCurve();
    EXPECT_TRUE(series(2)->Marks().Visible());
    checkBox("CheckBox1")->click();
    EXPECT_FALSE(series(0)->Marks().Visible());
    checkBox("CheckBox1")->click();
    EXPECT_TRUE(series(2)->Marks().Visible());
    // "３Ｄ表示" and "ｸﾞﾗﾃﾞｰｼｮﾝ表示".
    checkBox("CheckBox2")->click();
    EXPECT_TRUE(c.View3D());
    checkBox("CheckBox2")->click();
    EXPECT_FALSE(c.View3D());
    checkBox("CheckBox3")->click();
    EXPECT_FALSE(c.Gradient().Visible());
    checkBox("CheckBox3")->click();
    EXPECT_TRUE(c.Gradient().Visible());
    // "電流軸最小値".
    checkBox("CheckBox5")->click();
    EXPECT_EQ(1, c.BottomAxis().Minimum());
    EXPECT_EQ(100000, c.BottomAxis().Maximum());
    checkBox("CheckBox5")->click();
    EXPECT_EQ(10, c.BottomAxis().Minimum());
    EXPECT_TRUE(scripted.messages.asked.empty());
}

TEST_F(ChatFormCommandsTest, ManualInput) {
    showMain();
    showChart();
    checkBox("CheckBox4")->click();
    EXPECT_EQ(1, seriesCounter());
    for (QWidget* w : {control("SpeedButton1"), control("SpeedButton2"), control("Edit1"),
                       control("Edit2"), control("Edit3")})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();

    // The initial texts: the title is set, then "電流値" is not a number.
    QTest::mouseClick(toolButton("SpeedButton1"), Qt::LeftButton);
    ASSERT_EQ(1u, scripted.messages.asked.size());
    EXPECT_EQ(QStringLiteral("'電流値' は浮動小数点数ではありません."),
              scripted.messages.asked[0].text);
    EXPECT_EQ("ﾃﾞﾊﾞｲｽNo.", series(1)->Title());
    EXPECT_EQ(0, series(1)->Count());

    auto addPoint = [&](const char* current, const char* time) {
        edit("Edit1")->setText(QString::fromUtf8(current));
        edit("Edit2")->setText(QString::fromUtf8(time));
        QTest::mouseClick(toolButton("SpeedButton1"), Qt::LeftButton);
    };
    edit("Edit3")->setText(QStringLiteral("手入力"));
    addPoint("500", "0.5");
    addPoint(" 100 ", "3");
    addPoint("250", "1");
    EXPECT_EQ(1u, scripted.messages.asked.size());
    TChartSeries& s = *series(1);
    EXPECT_EQ("手入力", s.Title());
    ASSERT_EQ(3, s.Count());
    EXPECT_EQ(100, s.XValues()[0]);
    EXPECT_EQ(3, s.YValues()[0]);
    EXPECT_EQ(250, s.XValues()[1]);
    EXPECT_EQ(500, s.XValues()[2]);
    EXPECT_EQ(0.5, s.YValues()[2]);
    EXPECT_EQ(clGreen, s.SeriesColor());

    // "clear": the points go, title and colour stay.
    QTest::mouseClick(toolButton("SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(0, s.Count());
    EXPECT_EQ("手入力", s.Title());
    EXPECT_EQ(clGreen, s.SeriesColor());

    // Cleared: hidden again, the series stays; checked again: another series.
    checkBox("CheckBox4")->click();
    EXPECT_TRUE(edit("Edit1")->isHidden());
    EXPECT_EQ(2, chart().NumSeries());
    checkBox("CheckBox4")->click();
    EXPECT_EQ(2, seriesCounter());
    EXPECT_EQ(3, chart().NumSeries());
    EXPECT_TRUE(edit("Edit1")->isVisible());

    // Closing the window starts a new curve and clears the box.
    chat->close();
    settle();
    EXPECT_FALSE(checkBox("CheckBox4")->isChecked());
    EXPECT_TRUE(edit("Edit1")->isHidden());
    EXPECT_EQ(3, seriesCounter());
}

TEST_F(ChatFormCommandsTest, PrintingAsksOrientationAndMargin) {
    showMain();
    showChart();

    // A leading blank is allowed: portrait with 10 % margins.
    print(BoxAnswer::Yes, QStringLiteral(" 10"));
    const auto& boxes = scripted.messages.asked;
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(BoxKind::Confirm, boxes[0].kind);
    EXPECT_EQ(QStringLiteral("縦方向印刷なら Ｙｅｓ? 横方向印刷なら Ｎｏ?"), boxes[0].text);
    EXPECT_EQ(ConfirmButtons::YesNoCancel, boxes[0].buttons);
    ASSERT_EQ(1u, scripted.input.asked.size());
    EXPECT_EQ(QStringLiteral("用紙マージン設定"), scripted.input.asked[0].caption);
    EXPECT_EQ(QStringLiteral("紙の大きさに対する割合で示されます。"),
              scripted.input.asked[0].prompt);
    EXPECT_EQ(QStringLiteral("5"), scripted.input.asked[0].initial);
    EXPECT_EQ((TRect{10, 10, 10, 10}), margins());
    ASSERT_EQ(1u, printer.printed.size());
    EXPECT_EQ(poPortrait, printer.printed[0]);
    EXPECT_EQ("Chart1", printer.title);
    ASSERT_EQ(1u, printer.page.mappings.size());
    EXPECT_EQ(4800 - 2 * 480, printer.page.mappings[0].viewExtX);
    EXPECT_EQ(6800 - 2 * 680, printer.page.mappings[0].viewExtY);

    // Cancel in the margin box counts as "5"; No prints in landscape.
    print(BoxAnswer::No, std::nullopt);
    EXPECT_EQ((TRect{5, 5, 5, 5}), margins());
    ASSERT_EQ(2u, printer.printed.size());
    EXPECT_EQ(poLandscape, printer.printed[1]);
    EXPECT_EQ(poPortrait, printer.orientation); // put back after the print
    EXPECT_EQ(6800 - 2 * 340, printer.page.mappings[1].viewExtX);

    // A hexadecimal answer is an integer too.
    print(BoxAnswer::Yes, QStringLiteral("$A"));
    EXPECT_EQ((TRect{10, 10, 10, 10}), margins());
    EXPECT_EQ(3u, printer.printed.size());

    // Not an integer: the warning, nothing printed, margins kept.
    const QString cancelled =
        QStringLiteral("番目に整数以外の文字が含まれています？\r\n印刷を取り消します。 ");
    print(BoxAnswer::Yes, QStringLiteral(""));
    ASSERT_EQ(5u, boxes.size());
    EXPECT_EQ(BoxKind::Warning, boxes[4].kind);
    EXPECT_EQ(QStringLiteral("1") + cancelled, boxes[4].text);
    print(BoxAnswer::No, QStringLiteral("5a"));
    ASSERT_EQ(7u, boxes.size());
    EXPECT_EQ(QStringLiteral("2") + cancelled, boxes[6].text);
    EXPECT_EQ((TRect{10, 10, 10, 10}), margins());
    EXPECT_EQ(3u, printer.printed.size());

    // Cancel in the orientation question: no margin box, no print.
    const std::size_t inputs = scripted.input.asked.size();
    scripted.messages.answers.push_back(BoxAnswer::Cancel);
    QTest::mouseClick(button("Button3"), Qt::LeftButton);
    EXPECT_EQ(inputs, scripted.input.asked.size());
    EXPECT_EQ(3u, printer.printed.size());
    EXPECT_EQ(8u, boxes.size());
    EXPECT_EQ(0, scripted.input.unscripted);
}

// Without a printer "印刷" says so before asking anything about the page.
TEST_F(ChatFormCommandsTest, PrinterFailureIsReported) {
    showMain();
    showChart();
    chat->setPrinter(nullptr);
    QTest::mouseClick(button("Button3"), Qt::LeftButton);
    const auto& boxes = scripted.messages.asked;
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(BoxKind::Error, boxes[0].kind);
    EXPECT_EQ(QString::fromUtf8(msgNoPrinter) + QStringLiteral("."), boxes[0].text);
    EXPECT_TRUE(scripted.input.asked.empty());
}

TEST_F(ChatFormCommandsTest, BitmapFile) {
    enterExample();
    showMain();
    showChart();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("chart.bmp"));

    // Cancelled: nothing written.
    scripted.files.answers.push_back(std::nullopt);
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    ASSERT_EQ(1u, scripted.files.asked.size());
    const SaveFileRequest& r = scripted.files.asked[0];
    EXPECT_EQ(QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ　ﾌｧｲﾙ"), r.filterDescription);
    EXPECT_EQ(QStringLiteral("*.bmp"), r.filterPattern);
    EXPECT_EQ(QStringLiteral("bmp"), r.defaultExtension);
    EXPECT_FALSE(r.askBeforeOverwrite);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    // Confirmed: the chart at its window area's size, 24 bits a pixel.
    scripted.files.answers.push_back(name);
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ("BM", bytes.left(2));
    EXPECT_EQ(24, static_cast<unsigned char>(bytes[28]));
    const QImage saved(name);
    EXPECT_EQ(chartWidget()->size(), saved.size());
    // The red curve is in the picture: its run at 1.5 s.
    TChart& c = chart();
    const int y = c.LeftAxis().ValueToPixel(1.5);
    const int x = (c.BottomAxis().ValueToPixel(560) + c.BottomAxis().ValueToPixel(4000)) / 2;
    EXPECT_EQ(qRgb(255, 0, 0), saved.pixel(x, y));

    // A file that cannot be written: the error box, the old file untouched.
    const QString bad = dir.filePath(QStringLiteral("no/such/folder/chart.bmp"));
    scripted.files.answers.push_back(bad);
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    ASSERT_EQ(1u, scripted.messages.asked.size());
    EXPECT_EQ(BoxKind::Error, scripted.messages.asked[0].kind);
    EXPECT_TRUE(scripted.messages.asked[0].text.contains(bad));
    EXPECT_FALSE(QFile::exists(bad));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(bytes, file.readAll());
}

// The same dialog offers PNG, PDF and SVG; the chosen name's ending decides.
TEST_F(ChatFormCommandsTest, ChartFileTypesByTheirEnding) {
    enterExample();
    showMain();
    showChart();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList names{dir.filePath(QStringLiteral("c.PNG")),
                            dir.filePath(QStringLiteral("c.pdf")),
                            dir.filePath(QStringLiteral("c.svg"))};
    for (const QString& name : names) {
        scripted.files.answers.push_back(name);
        QTest::mouseClick(button("Button4"), Qt::LeftButton);
    }
    ASSERT_EQ(3u, scripted.files.asked.size());
    EXPECT_EQ((QStringList{QStringLiteral("PNG ﾌｧｲﾙ (*.png)"), QStringLiteral("PDF ﾌｧｲﾙ (*.pdf)"),
                           QStringLiteral("SVG ﾌｧｲﾙ (*.svg)")}),
              scripted.files.asked[0].moreFilters);
    EXPECT_TRUE(scripted.messages.asked.empty());
    const QImage png(names[0], "PNG");
    EXPECT_EQ(chartWidget()->size(), png.size());
    const QSize s = chartWidget()->size();
    EXPECT_EQ(QStringLiteral("%1 x %2 pts").arg(s.width()).arg(s.height()),
              test::pdfInfo(names[1], QStringLiteral("Page size")));
    QFile svg(names[2]);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray xml = svg.readAll();
    EXPECT_TRUE(xml.startsWith("<?xml"));
    EXPECT_TRUE(xml.contains(QStringLiteral("保護協調曲線").toUtf8()));
}

} // namespace
} // namespace telvara
