// The chart on a scaled screen: the kept picture is drawn at the screen's
// resolution, while what leaves the program keeps the logical size, the same
// bytes as on an unscaled screen.
#include "chart/chart_renderer.h"
#include "platform/chart_widget.h"
#include "platform/qt_printer_bitmap.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>

using namespace telvara;

namespace {

// The chart window's title on its gradient, saved as a BMP.
void showTitledChart(TChartWidget& widget) {
    TChart& c = widget.Chart();
    c.SetView3D(false);
    c.SetColor(clWhite);
    c.Gradient().SetVisible(true);
    c.Gradient().SetEndColor(8454016);
    c.Title().SetText({"保護協調曲線"});
    widget.resize(400, 240);
    widget.show();
    QTest::qWaitForWindowExposed(&widget);
    widget.repaint();
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// 2x2 blocks at even positions whose four pixels are not all alike: none in
// a picture drawn at the logical size and enlarged.
int unevenBlocks(const QImage& image, int rows) {
    int n = 0;
    for (int y = 0; y + 1 < rows; y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p)
                ++n;
        }
    return n;
}

} // namespace

TEST(HiDpiChart, KeptPictureAtTheScreenRatioSavedBitmapAsUnscaled) {
    TQtChartDevices devices;
    TChartWidget widget;
    showTitledChart(widget);
    ASSERT_EQ(widget.devicePixelRatioF(), 2.0);
    const QImage& kept = widget.Buffer();
    EXPECT_EQ(kept.size(), QSize(800, 480));
    EXPECT_EQ(kept.devicePixelRatio(), 2.0);
    // The title's glyphs are drawn at twice the resolution, not doubled.
    EXPECT_GT(unevenBlocks(kept, 40), 20);

    QTemporaryDir dir;
    const QString scaled = dir.filePath("scaled.bmp");
    const QString plain = dir.filePath("plain.bmp");
    TChartRenderer(widget.Chart()).SaveBitmap(devices.Bitmaps(), scaled.toStdString());
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_SCALE_FACTOR", "1");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--save-unscaled", plain});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    const QByteArray bytes = readAll(scaled);
    EXPECT_EQ(bytes.size(), 54 + 400 * 240 * 3);
    EXPECT_TRUE(bytes == readAll(plain));
}

// Tests run on a screen of ratio 2; "--save-unscaled FILE" saves the same
// chart from an unscaled screen for the comparison.
int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--save-unscaled") == 0) {
        QApplication app(argc, argv);
        TQtChartDevices devices;
        TChartWidget widget;
        showTitledChart(widget);
        if (widget.devicePixelRatioF() != 1.0)
            return 3;
        TChartRenderer(widget.Chart()).SaveBitmap(devices.Bitmaps(), argv[2]);
        return 0;
    }
    qputenv("QT_SCALE_FACTOR", "2");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
