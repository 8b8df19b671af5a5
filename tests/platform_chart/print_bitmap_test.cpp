// Saving the chart as a BMP file: a 24-bit picture of exactly the panel's
// client size showing what the screen shows; write failures reported with
// the file's name, the old file kept and the screen still painting.
#include "chart/chart_renderer.h"
#include "platform/chart_widget.h"
#include "platform/qt_printer_bitmap.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <sys/resource.h>

using namespace telvara;

namespace {

std::uint32_t le32(const QByteArray& b, int at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

std::uint16_t le16(const QByteArray& b, int at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                      static_cast<std::uint8_t>(b[at + 1]) << 8);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Pixels where a and b differ (ignoring the unused alpha byte).
int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                ++n;
    return n;
}

// The chart window's look: white panel, green-to-white gradient, raised
// outer and lowered inner bevel, the title.
struct BitmapExport : ::testing::Test {
    TQtChartDevices devices;
    TChartWidget widget;
    QTemporaryDir dir;
    int draws = 0;
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        TChart& c = widget.Chart();
        c.SetName("Chart1");
        c.SetView3D(false);
        c.SetColor(clWhite);
        c.SetBevelInner(bvLowered);
        c.Gradient().SetVisible(true);
        c.Gradient().SetEndColor(8454016);
        c.Title().SetText({"保護協調曲線"});
        c.OnAfterDraw = [this](TCustomChartPanel&) { ++draws; };
        widget.resize(500, 300);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
        widget.repaint();
        ASSERT_EQ(widget.Buffer().size(), QSize(500, 300));
    }
    // Paints the window again and gives the kept picture.
    QImage screen() {
        widget.repaint();
        return widget.Buffer().copy();
    }
};

} // namespace

TEST_F(BitmapExport, TwentyFourBitFileOfTheClientSizeShowingTheScreen) {
    const QImage shown = screen();
    const QString path = dir.filePath("chart.bmp");
    const int before = draws;
    TChartRenderer(widget.Chart()).SaveBitmap(devices.Bitmaps(), path.toStdString());

    const QByteArray bmp = readAll(path);
    const int stride = (500 * 3 + 3) / 4 * 4;
    ASSERT_EQ(bmp.size(), 54 + stride * 300);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(le32(bmp, 2), std::uint32_t(bmp.size()));
    EXPECT_EQ(le32(bmp, 10), 54u);  // pixels right after the headers
    EXPECT_EQ(le32(bmp, 14), 40u);  // plain info header
    EXPECT_EQ(le32(bmp, 18), 500u); // width
    EXPECT_EQ(le32(bmp, 22), 300u); // height, rows bottom-up
    EXPECT_EQ(le16(bmp, 26), 1);
    EXPECT_EQ(le16(bmp, 28), 24); // bits per pixel
    EXPECT_EQ(le32(bmp, 30), 0u); // uncompressed

    const QImage saved(path);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(differingPixels(saved, shown), 0);
    // Bevels included: the outer shadow on the right, the lowered inner
    // bevel's shadow one pixel in on the left; the gradient's end colour on top.
    EXPECT_EQ(saved.pixel(499, 150) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(saved.pixel(1, 150) & 0xFFFFFF, 0x808080u);
    const QRgb top = saved.pixel(250, 2);
    EXPECT_TRUE(qGreen(top) == 0xFF && qRed(top) < 0x88 && qBlue(top) < 0x88) << std::hex << top;
    // Rows bottom-up: the file starts with the outer bevel's shadow along the
    // bottom and ends with its highlight along the top.
    EXPECT_EQ(bmp.mid(54 + 250 * 3, 3), QByteArray("\x80\x80\x80", 3));
    EXPECT_EQ(bmp.mid(54 + stride * 299 + 250 * 3, 3), QByteArray("\xFF\xFF\xFF", 3));

    // The bitmap was drawn in full; the screen keeps its picture.
    EXPECT_EQ(draws, before + 1);
    EXPECT_FALSE(widget.Chart().Dirty());
    EXPECT_EQ(differingPixels(widget.Buffer(), shown), 0);

    // Saving again replaces the file.
    widget.Chart().SetColor(clYellow);
    widget.Chart().Gradient().SetVisible(false);
    TChartRenderer(widget.Chart()).SaveBitmap(devices.Bitmaps(), path.toStdString());
    EXPECT_EQ(QImage(path).pixel(250, 150) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"chart.bmp"});
}

TEST_F(BitmapExport, WriteFailuresNameTheFileAndKeepTheOldOne) {
    const QImage shown = screen();
    const std::string missing = dir.filePath("no-such-folder/chart.bmp").toStdString();
    try {
        TChartRenderer(widget.Chart()).SaveBitmap(devices.Bitmaps(), missing);
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル " + missing + " を作成できません");
    }
    EXPECT_FALSE(widget.Chart().Printing());
    EXPECT_EQ(differingPixels(screen(), shown), 0);

    // The file system refuses the data half-way (a file size limit applies to
    // every user): the old file stays as it was, no partial file is left.
    const QString path = dir.filePath("kept.bmp");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old picture");
    }
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        TChartRenderer(widget.Chart()).SaveBitmap(devices.Bitmaps(), path.toStdString());
    } catch (const IoError& e) {
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(message, "ファイル " + path.toStdString() + " に書き込めません");
    EXPECT_EQ(readAll(path), QByteArray("old picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.bmp"});
    EXPECT_EQ(differingPixels(screen(), shown), 0);
}

TEST(BmpWriter, AnyDrawingFormatIsWrittenWithThreeBytesAPixel) {
    QTemporaryDir dir;
    for (const QImage::Format f :
         {QImage::Format_ARGB32, QImage::Format_RGB32, QImage::Format_RGB888}) {
        QImage img(3, 2, f);
        img.fill(QColor(10, 20, 30));
        img.setPixelColor(0, 0, QColor(200, 100, 50));
        const QString path = dir.filePath("small.bmp");
        WriteBmp24(img, path);
        const QByteArray bmp = readAll(path);
        ASSERT_EQ(bmp.size(), 54 + 12 * 2) << f;
        EXPECT_EQ(le16(bmp, 28), 24) << f;
        // Top-left pixel: last row of the file, blue green red.
        EXPECT_EQ(bmp.mid(54 + 12, 3), QByteArray("\x32\x64\xC8", 3)) << f;
        EXPECT_EQ(bmp.mid(54, 3), QByteArray("\x1E\x14\x0A", 3)) << f;
    }
}
