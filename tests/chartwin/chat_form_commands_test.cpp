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
        QTest::mouseClick(chat->Button3, Qt::LeftButton);
    }

    TRect margins() { return chat->Chart1().PrintMarginPercent(); }

    FakePrinter printer;
};

TEST_F(ChatFormCommandsTest, ToolBarControlsLeftToRight) {
    chat->resize(1280, 700);
    chat->show();
    settle();
    TChatForm& f = *chat;
    // Captions and hints.
    EXPECT_EQ(QStringLiteral("印刷"), f.Button3->text());
    EXPECT_EQ(QStringLiteral("用紙サイズは、Ａ４をセットしてで印刷して下さい。 "),
              f.Button3->toolTip());
    EXPECT_EQ(QStringLiteral("値表示"), f.CheckBox1->text());
    EXPECT_EQ(QStringLiteral("３Ｄ表示"), f.CheckBox2->text());
    EXPECT_EQ(QStringLiteral("BMP保存"), f.Button4->text());
    EXPECT_EQ(
        QStringLiteral("任意のフォルダーに、現在のグラフをビットマップ形式で、保存できます。"),
        f.Button4->toolTip());
    EXPECT_EQ(QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ表示"), f.CheckBox3->text());
    EXPECT_EQ(QStringLiteral("電流軸最小値"), f.CheckBox5->text());
    EXPECT_EQ(QStringLiteral("電流軸の最小値を１０Aから１Aに変更"), f.CheckBox5->toolTip());
    EXPECT_EQ(QStringLiteral("入力"), f.CheckBox4->text());
    EXPECT_EQ(QStringLiteral("ﾃﾞﾊﾞｲｽNo."), f.Edit3->text());
    EXPECT_EQ(QStringLiteral("電流値"), f.Edit1->text());
    EXPECT_EQ(QStringLiteral("時間"), f.Edit2->text());
    EXPECT_EQ(QStringLiteral("Version"), f.Label3->text());
    EXPECT_TRUE(f.SpeedButton1->text().isEmpty());
    EXPECT_TRUE(f.SpeedButton2->text().isEmpty());
    // Initial states.
    EXPECT_FALSE(f.CheckBox1->isChecked());
    EXPECT_FALSE(f.CheckBox2->isChecked());
    EXPECT_TRUE(f.CheckBox3->isChecked());
    EXPECT_FALSE(f.CheckBox4->isChecked());
    EXPECT_FALSE(f.CheckBox5->isChecked());
    EXPECT_TRUE(f.Button3->isVisible());
    EXPECT_TRUE(f.Button4->isVisible());
    for (QWidget* w : {static_cast<QWidget*>(f.SpeedButton1), static_cast<QWidget*>(f.SpeedButton2),
                       static_cast<QWidget*>(f.Edit1), static_cast<QWidget*>(f.Edit2),
                       static_cast<QWidget*>(f.Edit3)})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();

    // Left to right, the paired controls one above the other.
    auto x = [&](QWidget* w) { return w->mapTo(f.Panel1, QPoint(0, 0)).x(); };
    auto y = [&](QWidget* w) { return w->mapTo(f.Panel1, QPoint(0, 0)).y(); };
    const QList<QWidget*> order = {
        f.Button3,      f.Button1, f.CheckBox1, f.Button2,      f.Button4, f.CheckBox3, f.CheckBox4,
        f.SpeedButton2, f.Edit3,   f.Edit1,     f.SpeedButton1, f.Label3,  f.Label2};
    for (int i = 1; i < order.size(); ++i)
        EXPECT_LT(x(order[i - 1]), x(order[i])) << order[i]->objectName().toStdString();
    EXPECT_EQ(x(f.CheckBox1), x(f.CheckBox2));
    EXPECT_LT(y(f.CheckBox1), y(f.CheckBox2));
    EXPECT_EQ(x(f.CheckBox3), x(f.CheckBox5));
    EXPECT_LT(y(f.CheckBox3), y(f.CheckBox5));
    EXPECT_EQ(x(f.Edit1), x(f.Edit2));
    EXPECT_LT(y(f.Edit1), y(f.Edit2));
    // Producer line and version at the right end, inside the 41 pixels.
    EXPECT_GT(x(f.Label1), x(f.SpeedButton1));
    EXPECT_LE(x(f.Label2) + f.Label2->width(), f.Panel1->width());
    for (QWidget* w : order)
        EXPECT_LE(y(w) + w->height(), 41) << w->objectName().toStdString();

    // Each picture has a disabled look of its own.
    for (QToolButton* b : {f.SpeedButton1, f.SpeedButton2}) {
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
    TChart& c = chat->Chart1();
    chat->StartNewCurve();
    // "値表示": the marks of the series present and of every new one.
    chat->CheckBox1->click();
    EXPECT_TRUE(series(0)->Marks().Visible());
    EXPECT_TRUE(series(1)->Marks().Visible());
    chat->StartNewCurve();
    EXPECT_TRUE(series(2)->Marks().Visible());
    chat->CheckBox1->click();
    EXPECT_FALSE(series(0)->Marks().Visible());
    chat->CheckBox1->click();
    EXPECT_TRUE(series(2)->Marks().Visible());
    // "３Ｄ表示" and "ｸﾞﾗﾃﾞｰｼｮﾝ表示".
    chat->CheckBox2->click();
    EXPECT_TRUE(c.View3D());
    chat->CheckBox2->click();
    EXPECT_FALSE(c.View3D());
    chat->CheckBox3->click();
    EXPECT_FALSE(c.Gradient().Visible());
    chat->CheckBox3->click();
    EXPECT_TRUE(c.Gradient().Visible());
    // "電流軸最小値".
    chat->CheckBox5->click();
    EXPECT_EQ(1, c.BottomAxis().Minimum());
    EXPECT_EQ(100000, c.BottomAxis().Maximum());
    chat->CheckBox5->click();
    EXPECT_EQ(10, c.BottomAxis().Minimum());
    EXPECT_TRUE(scripted.messages.asked.empty());
}

TEST_F(ChatFormCommandsTest, ManualInput) {
    showMain();
    showChart();
    TChatForm& f = *chat;
    f.CheckBox4->click();
    EXPECT_EQ(1, shared().SeriesCounter);
    for (QWidget* w : {static_cast<QWidget*>(f.SpeedButton1), static_cast<QWidget*>(f.SpeedButton2),
                       static_cast<QWidget*>(f.Edit1), static_cast<QWidget*>(f.Edit2),
                       static_cast<QWidget*>(f.Edit3)})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();

    // The initial texts: the title is set, then "電流値" is not a number.
    QTest::mouseClick(f.SpeedButton1, Qt::LeftButton);
    ASSERT_EQ(1u, scripted.messages.asked.size());
    EXPECT_EQ(QStringLiteral("'電流値' は浮動小数点数ではありません."),
              scripted.messages.asked[0].text);
    EXPECT_EQ("ﾃﾞﾊﾞｲｽNo.", series(1)->Title());
    EXPECT_EQ(0, series(1)->Count());

    auto addPoint = [&](const char* current, const char* time) {
        f.Edit1->setText(QString::fromUtf8(current));
        f.Edit2->setText(QString::fromUtf8(time));
        QTest::mouseClick(f.SpeedButton1, Qt::LeftButton);
    };
    f.Edit3->setText(QStringLiteral("手入力"));
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
    QTest::mouseClick(f.SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(0, s.Count());
    EXPECT_EQ("手入力", s.Title());
    EXPECT_EQ(clGreen, s.SeriesColor());

    // Cleared: hidden again, the series stays; checked again: another series.
    f.CheckBox4->click();
    EXPECT_TRUE(f.Edit1->isHidden());
    EXPECT_EQ(2, f.Chart1().NumSeries());
    f.CheckBox4->click();
    EXPECT_EQ(2, shared().SeriesCounter);
    EXPECT_EQ(3, f.Chart1().NumSeries());
    EXPECT_TRUE(f.Edit1->isVisible());

    // Closing the window starts a new curve and clears the box.
    f.close();
    settle();
    EXPECT_FALSE(f.CheckBox4->isChecked());
    EXPECT_TRUE(f.Edit1->isHidden());
    EXPECT_EQ(3, shared().SeriesCounter);
}

TEST_F(ChatFormCommandsTest, PrintingAsksOrientationAndMargin) {
    showMain();
    showChart();
    chat->Chart1().SetPrintMarginPercent({7, 7, 7, 7});

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
    QTest::mouseClick(chat->Button3, Qt::LeftButton);
    EXPECT_EQ(inputs, scripted.input.asked.size());
    EXPECT_EQ(3u, printer.printed.size());
    EXPECT_EQ(8u, boxes.size());
    EXPECT_EQ(0, scripted.input.unscripted);
}

TEST_F(ChatFormCommandsTest, PrinterFailureIsReported) {
    showMain();
    showChart();
    chat->setPrinter(nullptr);
    print(BoxAnswer::Yes, QStringLiteral("5"));
    const auto& boxes = scripted.messages.asked;
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(BoxKind::Error, boxes[1].kind);
    EXPECT_EQ(QString::fromUtf8(msgNoPrinter) + QStringLiteral("."), boxes[1].text);
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
    QTest::mouseClick(chat->Button4, Qt::LeftButton);
    ASSERT_EQ(1u, scripted.files.asked.size());
    const SaveFileRequest& r = scripted.files.asked[0];
    EXPECT_EQ(QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ　ﾌｧｲﾙ"), r.filterDescription);
    EXPECT_EQ(QStringLiteral("*.bmp"), r.filterPattern);
    EXPECT_EQ(QStringLiteral("bmp"), r.defaultExtension);
    EXPECT_FALSE(r.askBeforeOverwrite);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    // Confirmed: the chart at its window area's size, 24 bits a pixel.
    scripted.files.answers.push_back(name);
    QTest::mouseClick(chat->Button4, Qt::LeftButton);
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ("BM", bytes.left(2));
    EXPECT_EQ(24, static_cast<unsigned char>(bytes[28]));
    const QImage saved(name);
    EXPECT_EQ(chat->chartWidget()->size(), saved.size());
    // The red curve is in the picture: its run at 1.5 s.
    TChart& c = chat->Chart1();
    const int y = c.LeftAxis().ValueToPixel(1.5);
    const int x = (c.BottomAxis().ValueToPixel(560) + c.BottomAxis().ValueToPixel(4000)) / 2;
    EXPECT_EQ(qRgb(255, 0, 0), saved.pixel(x, y));

    // A file that cannot be written: the error box, the old file untouched.
    const QString bad = dir.filePath(QStringLiteral("no/such/folder/chart.bmp"));
    scripted.files.answers.push_back(bad);
    QTest::mouseClick(chat->Button4, Qt::LeftButton);
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
        QTest::mouseClick(chat->Button4, Qt::LeftButton);
    }
    ASSERT_EQ(3u, scripted.files.asked.size());
    EXPECT_EQ((QStringList{QStringLiteral("PNG ﾌｧｲﾙ (*.png)"), QStringLiteral("PDF ﾌｧｲﾙ (*.pdf)"),
                           QStringLiteral("SVG ﾌｧｲﾙ (*.svg)")}),
              scripted.files.asked[0].moreFilters);
    EXPECT_TRUE(scripted.messages.asked.empty());
    const QImage png(names[0], "PNG");
    EXPECT_EQ(chat->chartWidget()->size(), png.size());
    const QSize s = chat->chartWidget()->size();
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
