// A chart with two logarithmic axes and no series, painted into an image:
// gradient, bevels, title, back wall, bare axes and their titles.
#include "chart/chart.h"
#include "chart/math_util.h"
#include "platform/qt_canvas.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace telvara;

namespace {

QRgb rgbAt(const QImage& im, int x, int y) {
    return im.pixel(x, y) & 0xFFFFFF;
}

// Colour of image row y of the 250-row gradient from white (bottom) to 0x80FF80 (top).
QRgb gradientRow(int y) {
    const int h = 250;
    const int k = h - 1 - y; // one row per band
    const int v = 255 + MulDiv(k, 0x80 - 255, h - 1);
    return qRgb(v, 255, v) & 0xFFFFFF;
}

struct PictureFixture : ::testing::Test {
    TChart chart;
    QImage image{400, 250, QImage::Format_RGB32};
    void SetUp() override {
        QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), {QStringLiteral("IPAPMincho")});
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        chart.SetBevelInner(bvLowered);
        chart.Gradient().SetVisible(true);
        chart.Gradient().SetEndColor(0x80FF80);
        chart.BackWall().Brush().SetColor(clWhite);
        chart.Title().SetText({"保護協調曲線"});
        chart.BottomAxis().Title().SetCaption("過電流値（Ａ）");
        chart.LeftAxis().Title().SetCaption("時間（秒）");
        chart.BottomAxis().SetMinMaxRange(10, 100000);
        chart.BottomAxis().SetLogarithmic(true);
        chart.LeftAxis().SetMinMaxRange(0.01, 1000);
        chart.LeftAxis().SetLogarithmic(true);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        QtCanvas3D canvas(&painter);
        chart.SetBufferedDisplay(false);
        chart.DrawChart(canvas, {0, 0, 400, 250});
    }
    // Pixels in a box that are neither gradient nor magenta: drawn marks.
    int marksIn(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (rgbAt(image, x, y) != gradientRow(y))
                    ++n;
        return n;
    }
};

} // namespace

TEST_F(PictureFixture, BackgroundAndBevels) {
    // Everything painted.
    for (int y = 0; y < 250; y += 7)
        for (int x = 0; x < 400; x += 7)
            ASSERT_NE(rgbAt(image, x, y), 0xFF00FFu) << x << "," << y;
    // Outer raised bevel, then the inner lowered one.
    EXPECT_EQ(rgbAt(image, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(image, 0, 200), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(image, 399, 100), 0x808080u);
    EXPECT_EQ(rgbAt(image, 200, 249), 0x808080u);
    EXPECT_EQ(rgbAt(image, 1, 100), 0x808080u);
    EXPECT_EQ(rgbAt(image, 398, 100), 0xFFFFFFu);
    // Gradient rows in the margins: light green at the top, white at the bottom.
    EXPECT_EQ(rgbAt(image, 5, 3), gradientRow(3));
    EXPECT_EQ(gradientRow(3), (qRgb(130, 255, 130) & 0xFFFFFF));
    EXPECT_EQ(rgbAt(image, 5, 125), gradientRow(125));
    EXPECT_EQ(gradientRow(125), (qRgb(192, 255, 192) & 0xFFFFFF));
    EXPECT_EQ(rgbAt(image, 5, 246), gradientRow(246));
}

TEST_F(PictureFixture, WallAxesAndTitles) {
    const TRect r = chart.ChartRect();
    ASSERT_GT(r.Width(), 100);
    ASSERT_GT(r.Height(), 50);
    // All four sides of the plot are framed in black (wall and axis lines).
    EXPECT_EQ(rgbAt(image, r.left, chart.ChartYCenter()), 0u);
    EXPECT_EQ(rgbAt(image, r.right, chart.ChartYCenter()), 0u);
    EXPECT_EQ(rgbAt(image, chart.ChartXCenter(), r.top), 0u);
    EXPECT_EQ(rgbAt(image, chart.ChartXCenter(), r.bottom), 0u);
    // The wall is clear: the gradient shows inside, with no grid and no ticks.
    EXPECT_EQ(marksIn(r.left + 3, r.top + 3, r.right - 3, r.bottom - 3), 0);
    EXPECT_EQ(rgbAt(image, chart.ChartXCenter(), chart.ChartYCenter()),
              gradientRow(chart.ChartYCenter()));
    // No labels below the plot: only the title band has marks.
    const TChartAxis& b = chart.BottomAxis();
    EXPECT_EQ(marksIn(r.left + 3, r.bottom + 3, r.right - 3, b.LabelsPos()), 0);
    EXPECT_GT(marksIn(b.ScaleMap().CenterPixel() - 40, b.TitlePos(),
                      b.ScaleMap().CenterPixel() + 40, b.TitlePos() + 16),
              20);
    const TChartAxis& l = chart.LeftAxis();
    EXPECT_GT(marksIn(l.TitlePos() - 16, l.ScaleMap().CenterPixel() - 30, l.TitlePos() + 1,
                      l.ScaleMap().CenterPixel() + 30),
              20);
    // The chart title in blue on the top margin.
    int blue = 0;
    for (int y = 8; y < 30; ++y)
        for (int x = 150; x < 250; ++x) {
            const QRgb c = rgbAt(image, x, y);
            if (qBlue(c) > 150 && qRed(c) < 100 && qGreen(c) < 100)
                ++blue;
        }
    EXPECT_GT(blue, 20);
}
