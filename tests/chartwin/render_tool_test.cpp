// telvara-render on a store made by telvara-store: the image it writes is the
// chart window's picture, at the computed pixels and as a whole.
#include "base/numbers.h"
#include "chartwin/coordination_chart.h"
#include "chartwin/study_chart.h"
#include "platform/qt_printer_bitmap.h"
#include "store/bplustree.h"
#include "study/study_file.h"
#include "tests/platform_chart/pdf_pages.h"
#include "version/fonts.h"

#include <cmath>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace telvara {
namespace {

struct ToolRun {
    int exitCode;
    QString err;
};

ToolRun runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProgram(program);
    p.setArguments(args);
    p.start();
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

RelaySettings relay(std::string device, std::string ct, std::string tap, std::string instTap,
                    std::array<std::string, 7> times, std::string company) {
    return {std::move(device),  std::move(ct),    std::move(tap),
            std::move(instTap), std::move(times), std::move(company)};
}

// The three stored relays, in key order.
const RelaySettings kA51 =
    relay("51R", "100", "4", "40", {"10", "5", "3", "2.2", "1.8", "1.5", "0.05"}, "A電力");
const RelaySettings kA67 =
    relay("67", "200", "2.", "20", {"0", "2", "0", "1", "0", "0", "0.1"}, "A電力");
const RelaySettings kB51 =
    relay("51R", "50", "2", "0", {"5", "0", "0", "0", "0", "0", "0.04"}, "B電力");

// The chart painted as the window paints it, on a white picture of its size;
// the chart keeps the layout, as the window's chart does.
QImage paintAsWindow(TChart& chart) {
    TQtChartBitmapFactory factory;
    auto bitmap = factory.Create(chart.Width(), chart.Height());
    chart.DrawChart(bitmap->Canvas(), {0, 0, chart.Width(), chart.Height()});
    return static_cast<TQtChartBitmap&>(*bitmap).Image().convertToFormat(QImage::Format_RGB32);
}

class RenderToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        store = dir.filePath(QStringLiteral("store"));
        ASSERT_TRUE(QDir().mkpath(store));
        installFontSubstitutions();
        setNumberLocale({".", ","});
        add({"A電力", "51R", "100", "10", "5", "3", "2.2", "1.8", "1.5", "0.05", "4", "40"});
        add({"B電力", "51R", "50", "5", "0", "0", "0", "0", "0", "0.04", "2", "0"});
        add({"A電力", "67", "200", "0", "2", "0", "1", "0", "0", "0.1", "2.", "20"});
    }

    void add(const QStringList& fields) {
        const ToolRun r = runTool(QStringLiteral(TELVARA_STORE_TOOL),
                                  QStringList{store, QStringLiteral("add")} << fields);
        ASSERT_EQ(0, r.exitCode) << r.err.toStdString();
    }

    ToolRun render(const QStringList& args) {
        return runTool(QStringLiteral(TELVARA_RENDER_TOOL), args);
    }

    // The same relays drawn here through the chart window's own code.
    QImage expected(const std::vector<RelaySettings>& relays, int w, int h, bool timeCheck = false,
                    bool fromOne = false) {
        RelayCurrents values;
        TCoordinationChart coord(chart);
        chart.SetBounds(w, h);
        drawAllRelays(coord, relays, timeCheck, values);
        if (fromOne)
            coord.SetCurrentAxisFromOne(true);
        return paintAsWindow(chart);
    }

    QTemporaryDir dir;
    QString store;
    TChart chart;
};

int countColour(const QImage& img, int x0, int y0, int x1, int y1, QRgb colour) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

TEST_F(RenderToolTest, DrawsEveryRecordInKeyOrderAsTheWindowDoes) {
    const QString out = dir.filePath(QStringLiteral("all.bmp"));
    const ToolRun r = render({store, out, QStringLiteral("--size"), QStringLiteral("800x600")});
    ASSERT_EQ(0, r.exitCode) << r.err.toStdString();

    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ("BM", bytes.left(2));
    EXPECT_EQ(24, static_cast<unsigned char>(bytes[28])); // bits per pixel
    EXPECT_EQ(54 + 800 * 600 * 3, bytes.size());

    QImage img(out);
    ASSERT_EQ(QSize(800, 600), img.size());
    img = img.convertToFormat(QImage::Format_RGB32);
    const QImage mine = expected({kA51, kA67, kB51}, 800, 600);
    EXPECT_TRUE(img == mine) << "differs from the window's drawing";

    // Three curves, no empty one left behind.
    ASSERT_EQ(3, chart.NumSeries());
    EXPECT_EQ(clRed, chart.SeriesAt(0)->SeriesColor());
    EXPECT_EQ(clGreen, chart.SeriesAt(1)->SeriesColor());
    EXPECT_EQ(clYellow, chart.SeriesAt(2)->SeriesColor());
    EXPECT_EQ("67", chart.SeriesAt(1)->Title());

    TChartAxis& bottom = chart.BottomAxis();
    TChartAxis& left = chart.LeftAxis();
    const int plotTop = chart.ChartRect().top, plotBottom = chart.ChartRect().bottom;
    const int plotLeft = chart.ChartRect().left;
    // The red curve's horizontal run at 1.5 s from 560 A to the INST current.
    const int y15 = left.ValueToPixel(1.5);
    for (int x = bottom.ValueToPixel(560) + 2; x < bottom.ValueToPixel(4000) - 1; x += 7)
        ASSERT_EQ(qRgb(255, 0, 0), img.pixel(x, y15)) << x;
    // The green curve at 1 s from 400 A to 4000 A.
    const int y1 = left.ValueToPixel(1);
    for (int x = bottom.ValueToPixel(400) + 2; x < bottom.ValueToPixel(4000) - 1; x += 7)
        ASSERT_EQ(qRgb(0, 128, 0), img.pixel(x, y1)) << x;
    // The dotted grey grid lines at 100 A and at 1 s.
    const QRgb grey = qRgb(128, 128, 128);
    const int x100 = bottom.ValueToPixel(100);
    const int span = plotBottom - plotTop - 2;
    EXPECT_GT(countColour(img, x100, plotTop + 1, x100, plotBottom - 1, grey), span / 4);
    EXPECT_EQ(0,
              countColour(img, x100 + 3, plotTop + 1, x100 + 3, plotBottom - 1, grey) > span / 4);
    EXPECT_GT(countColour(img, plotLeft + 1, y1, x100, y1, grey), (x100 - plotLeft) / 4);
    // The 100 A label under its grid line keeps its number.
    EXPECT_EQ(x100, bottom.ValueToPixel(100));
}

TEST_F(RenderToolTest, NamedRecordsInTheirOrderAndTheAxisSwitches) {
    const QString out = dir.filePath(QStringLiteral("two.PNG"));
    const ToolRun r =
        render({store, out, QStringLiteral("--record"), QStringLiteral("B電力"),
                QStringLiteral("51R"), QStringLiteral("--record"), QStringLiteral("A電力"),
                QStringLiteral("51R"), QStringLiteral("--time-max"), QStringLiteral("1000"),
                QStringLiteral("--current-min"), QStringLiteral("1")});
    ASSERT_EQ(0, r.exitCode) << r.err.toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QByteArray("\x89PNG\r\n\x1a\n", 8), file.read(8));
    file.close();
    QImage img(out);
    ASSERT_EQ(QSize(1024, 768), img.size());
    img = img.convertToFormat(QImage::Format_RGB32);
    // B's relay takes the INST current 0 of a fresh start: its curve ends at the axis edge.
    RelaySettings first = kB51;
    const QImage mine = expected({first, kA51}, 1024, 768, true, true);
    EXPECT_TRUE(img == mine);
    EXPECT_EQ(1, chart.BottomAxis().Minimum());
    EXPECT_EQ(1000, chart.LeftAxis().Maximum());
    ASSERT_EQ(2, chart.NumSeries());
    EXPECT_EQ(clRed, chart.SeriesAt(0)->SeriesColor());
    EXPECT_EQ(2, chart.SeriesAt(0)->Count());
    // The first curve runs in red from the axis edge up to (30 A, 5 s), whose
    // own pixel ends the line and is left to a next segment.
    const int x = chart.BottomAxis().ValueToPixel(30);
    const int y = chart.LeftAxis().ValueToPixel(5);
    EXPECT_NE(qRgb(255, 0, 0), img.pixel(x, y));
    EXPECT_GT(countColour(img, x - 2, y, x - 1, y + 2, qRgb(255, 0, 0)), 0);
    EXPECT_EQ(0, countColour(img, x + 1, y - 2, x + 3, y + 2, qRgb(255, 0, 0)));
}

TEST_F(RenderToolTest, EmptyStoreDrawsTheAxesOfAnActivatedWindow) {
    const QString emptied = dir.filePath(QStringLiteral("emptied"));
    ASSERT_TRUE(QDir().mkpath(emptied));
    const ToolRun made = runTool(QStringLiteral(TELVARA_STORE_TOOL), {emptied, "list"});
    ASSERT_EQ(2, made.exitCode); // no store yet: make one through add and remove
    ASSERT_EQ(0,
              runTool(QStringLiteral(TELVARA_STORE_TOOL),
                      {emptied, "add", "A", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1"})
                  .exitCode);
    ASSERT_EQ(0,
              runTool(QStringLiteral(TELVARA_STORE_TOOL), {emptied, "remove", "A", "1"}).exitCode);
    const QString out = dir.filePath(QStringLiteral("empty.bmp"));
    const ToolRun r = render({emptied, out, QStringLiteral("--size"), QStringLiteral("640x480")});
    ASSERT_EQ(0, r.exitCode) << r.err.toStdString();
    const QImage img = QImage(out).convertToFormat(QImage::Format_RGB32);

    const QImage design = expected({}, 640, 480);
    TChart fresh;
    TCoordinationChart coord(fresh);
    fresh.SetBounds(640, 480);
    coord.SetActivationAxes(false);
    EXPECT_EQ(10, fresh.BottomAxis().Minimum());
    EXPECT_EQ(100000, fresh.BottomAxis().Maximum());
    EXPECT_EQ(0.01, fresh.LeftAxis().Minimum());
    EXPECT_EQ(10, fresh.LeftAxis().Maximum());
    const QImage activated = paintAsWindow(fresh);
    EXPECT_FALSE(design == activated);
    EXPECT_TRUE(img == activated) << "not the activated window's axes";
}

TEST_F(RenderToolTest, FailuresAreReportedAndChangeNothing) {
    // No store in the folder: none is created.
    const QString empty = dir.filePath(QStringLiteral("empty"));
    ASSERT_TRUE(QDir().mkpath(empty));
    const QString out = dir.filePath(QStringLiteral("x.bmp"));
    ToolRun r = render({empty, out});
    EXPECT_EQ(2, r.exitCode);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ZuboK.dat がありません"))) << r.err.toStdString();
    EXPECT_TRUE(QDir(empty).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    EXPECT_FALSE(QFile::exists(out));

    r = render(
        {store, out, QStringLiteral("--record"), QStringLiteral("C電力"), QStringLiteral("51R")});
    EXPECT_EQ(1, r.exitCode);
    EXPECT_TRUE(r.err.contains(QStringLiteral("見つかりません: C電力,51R"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));

    const QString bad = dir.filePath(QStringLiteral("no/such/folder/x.bmp"));
    r = render({store, bad});
    EXPECT_EQ(2, r.exitCode);
    EXPECT_TRUE(r.err.contains(QStringLiteral("を作成できません"))) << r.err.toStdString();

    // The store's own files are never drawn over.
    const QString dat = store + QStringLiteral("/./ZuboK.dat");
    QFile datFile(dat);
    ASSERT_TRUE(datFile.open(QIODevice::ReadOnly));
    const QByteArray datBytes = datFile.readAll();
    r = render({store, dat});
    EXPECT_EQ(2, r.exitCode);
    EXPECT_TRUE(r.err.contains(QStringLiteral("はデーターの保存ファイルです")))
        << r.err.toStdString();
    QFile datAfter(dat); // a new open: a replaced file would show
    ASSERT_TRUE(datAfter.open(QIODevice::ReadOnly));
    EXPECT_EQ(datBytes, datAfter.readAll());

    for (const QStringList& args :
         {QStringList{store},
          QStringList{store, out, QStringLiteral("--size"), QStringLiteral("0x5")},
          QStringList{store, out, QStringLiteral("--time-max"), QStringLiteral("100")},
          QStringList{store, out, QStringLiteral("--record"), QStringLiteral("A電力")}}) {
        r = render(args);
        EXPECT_EQ(2, r.exitCode);
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));

    // A record written elsewhere that the chart cannot draw is named and
    // skipped; the others are drawn, and the run counts as failed.
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    {
        TBPlusTree written;
        written.OpenStore(elsewhere.toStdString());
        written.CurrentRecord().setField(TRecordField::KaisyaName, "Z");
        written.CurrentRecord().setField(TRecordField::DebaisuNo, "1");
        written.CurrentRecord().setField(TRecordField::CTPrimary, "-5");
        written.InsertCurrent();
    }
    r = render({elsewhere, out});
    EXPECT_EQ(2, r.exitCode);
    EXPECT_TRUE(r.err.endsWith(QStringLiteral(
        "描けないので飛ばしました: Z,1: CT比には 0 より大きい数を入れてください：「-5」\n")))
        << r.err.toStdString();
    EXPECT_TRUE(QFile::remove(out));

    // An existing file that cannot be replaced keeps its contents.
    const QString locked = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    const QString kept = locked + QStringLiteral("/kept.bmp");
    {
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    r = render({store, kept});
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (r.exitCode == 0)
        return; // running with rights that ignore folder permissions
    EXPECT_EQ(2, r.exitCode);
    QFile f(kept);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ("old", f.readAll());
}

// Pages of the size asked for in points, drawn as vectors: the texts stay
// texts and the curves lie where the window draws them.
TEST_F(RenderToolTest, PdfAndSvgPagesKeepTextsAndLines) {
    const QStringList texts{QStringLiteral("保護協調曲線"), QStringLiteral("過電流値（Ａ）"),
                            QStringLiteral("時間（秒）"),   QStringLiteral("1,000"),
                            QStringLiteral("0.05"),         QStringLiteral("67")};
    const QString pdf = dir.filePath(QStringLiteral("all.Pdf"));
    ToolRun r = render({store, pdf, QStringLiteral("--size"), QStringLiteral("600x400")});
    ASSERT_EQ(0, r.exitCode) << r.err.toStdString();
    EXPECT_EQ(1, test::pdfPageCount(pdf));
    EXPECT_EQ(QStringLiteral("600 x 400 pts"), test::pdfInfo(pdf, QStringLiteral("Page size")));
    QString words;
    ASSERT_TRUE(test::runPoppler(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}, &words));
    for (const QString& t : texts)
        EXPECT_TRUE(words.contains(t)) << t.toStdString();
    // The red curve's run at 1.5 s, on the page at one pixel a point.
    expected({kA51, kA67, kB51}, 600, 400);
    const QImage page = test::renderFirstPage(pdf, 72);
    ASSERT_EQ(QSize(600, 400), page.size());
    const int y15 = chart.LeftAxis().ValueToPixel(1.5);
    const int x0 = chart.BottomAxis().ValueToPixel(600), x1 = chart.BottomAxis().ValueToPixel(3000);
    int red = 0;
    for (int x = x0; x <= x1; ++x)
        for (int y = y15 - 1; y <= y15 + 1; ++y)
            red += qRed(page.pixel(x, y)) > 160 && qGreen(page.pixel(x, y)) < 100;
    EXPECT_GE(red, x1 - x0 + 1);

    const QString svg = dir.filePath(QStringLiteral("all.svg"));
    r = render({store, svg, QStringLiteral("--size"), QStringLiteral("720x360")});
    ASSERT_EQ(0, r.exitCode) << r.err.toStdString();
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList svgTexts;
    int lines = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QStringLiteral("svg")) {
            EXPECT_EQ(QStringLiteral("254mm"), xml.attributes().value("width").toString());
            EXPECT_EQ(QStringLiteral("0 0 720 360"), xml.attributes().value("viewBox").toString());
        } else if (xml.name() == QStringLiteral("text")) {
            svgTexts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (xml.name() == QStringLiteral("polyline") ||
                   xml.name() == QStringLiteral("path")) {
            ++lines;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    // A text of several scripts is written as one run for each.
    for (const QString& t : texts)
        EXPECT_TRUE(svgTexts.contains(t) || svgTexts.join(QString()).contains(t))
            << t.toStdString();
    EXPECT_GT(lines, 3);
    // Each label once: the current axis' 10 at its left end, the time axis' 10 at its top.
    EXPECT_EQ(2, svgTexts.count(QStringLiteral("10")));
}

TEST_F(RenderToolTest, DrawsAStudyReferredWithItsBusLinesAsTheWindowDoes) {
    const QString study = QStringLiteral(TELVARA_EXAMPLES "/substation.tvstudy");
    const QString out = dir.filePath(QStringLiteral("study.bmp"));
    const ToolRun r = render({study, out, QStringLiteral("--size"), QStringLiteral("1000x700")});
    ASSERT_EQ(0, r.exitCode) << r.err.toStdString();
    const QImage img = QImage(out).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(QSize(1000, 700), img.size());

    const TStudy s = readStudyFile(study.toStdString());
    applyChartDesign(chart);
    chart.SetBounds(1000, 700);
    TStudyOverlay overlay(chart);
    overlay.SetStudy(&s);
    drawStudy(chart, s);
    const QImage mine = paintAsWindow(chart);
    EXPECT_TRUE(img == mine) << "differs from the window's drawing";

    EXPECT_EQ("過電流値（Ａ） 6.6kV換算", chart.BottomAxis().Title().Caption());
    // The 66 kV bus's 8,000 A drawn at 80,000 A: a dashed blue line on the
    // log paper from 10 A to 100 kA, at 3.903 decades of 4 across the plot.
    const TRect plot = chart.ChartRect();
    const int x =
        plot.left + int(std::lround((plot.right - plot.left) * (std::log10(80000.0) - 1) / 4));
    int blue = 0;
    for (int dx = -1; dx <= 1; ++dx)
        blue += countColour(img, x + dx, plot.top + 1, x + dx, plot.bottom - 1, qRgb(0, 0, 255));
    EXPECT_GT(blue, (plot.bottom - plot.top) / 3);
    // 51T (CT 150/5, tap 5 at 66 kV) picks up at 225 A: 2250 A at 6.6 kV, purple.
    const int x2250 =
        plot.left + int(std::lround((plot.right - plot.left) * (std::log10(2250.0) - 1) / 4));
    const int y688 = chart.LeftAxis().ValueToPixel(6.88);
    EXPECT_GT(countColour(img, x2250 - 2, y688 - 2, x2250 + 2, y688 + 2, qRgb(128, 0, 128)), 0);
}

TEST_F(RenderToolTest, ABrokenStudyIsNamedByItsLineAndLeftAsItWas) {
    const QString study = dir.filePath(QStringLiteral("broken.tvstudy"));
    const QByteArray text = "{\n  \"format\": \"telvara-study\",\n  \"version\": 1,\n"
                            "  \"devices\": [{\"id\": \"A\", \"kind\": \"relay\"}]\n}\n";
    QFile f(study);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    const QString out = dir.filePath(QStringLiteral("never.png"));
    const ToolRun r = render({study, out});
    EXPECT_EQ(2, r.exitCode);
    // Qt may warn first (no runtime folder); the tool's line ends the output.
    EXPECT_TRUE(r.err.endsWith(study + QStringLiteral(": 4 行目: \"relay\": ありません\n")))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(text, f.readAll());
}

} // namespace
} // namespace telvara
