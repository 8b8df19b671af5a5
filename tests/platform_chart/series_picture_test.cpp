// Three line series on log-log axes painted into an image through the Qt
// surface: the curves over the grid, and the legend of their colours.
#include "chart/chart.h"
#include "chart/line_series.h"
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

// TColor 0x00BBGGRR as the image's 0xRRGGBB.
QRgb qrgb(TColor c) {
    return qRgb(redOf(c), greenOf(c), blueOf(c)) & 0xFFFFFF;
}

struct SeriesPicture : ::testing::Test {
    TChart chart;
    TLineSeries* level = &chart.AddSeries(std::make_unique<TLineSeries>()); // red, at 1 s
    TLineSeries* step = &chart.AddSeries(std::make_unique<TLineSeries>());  // green, step at 20 kA
    TLineSeries* curve = &chart.AddSeries(std::make_unique<TLineSeries>()); // yellow, a curve
    QImage image{600, 400, QImage::Format_RGB32};

    void SetUp() override {
        QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), {QStringLiteral("IPAPMincho")});
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        chart.BackWall().Brush().SetColor(clWhite);
        chart.Title().SetText({"保護協調曲線"});
        chart.BottomAxis().SetMinMaxRange(10, 100000);
        chart.BottomAxis().SetLogarithmic(true);
        chart.LeftAxis().SetMinMaxRange(0.01, 1000);
        chart.LeftAxis().SetLogarithmic(true);
        for (auto [s, title] : {std::pair{level, "51R"}, {step, "51S"}, {curve, "51T"}})
            s->SetTitle(title);
        level->AddPoint(5, 1); // left of the axis: starts at the plot's edge
        level->AddPoint(50000, 1);
        step->AddPoint(20000, 10);
        step->AddPoint(20000, 0.1);
        for (auto [x, y] : {std::pair{120.0, 10.0},
                            {160.0, 5.0},
                            {240.0, 3.0},
                            {400.0, 1.8},
                            {4000.0, 1.5},
                            {4000.0, 0.05}})
            curve->AddPoint(x, y);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        QtCanvas3D canvas(&painter);
        chart.SetBufferedDisplay(false);
        chart.DrawChart(canvas, {0, 0, 600, 400});
    }
    int x(double v) { return chart.BottomAxis().ValueToPixel(v); }
    int y(double v) { return chart.LeftAxis().ValueToPixel(v); }
};

} // namespace

TEST_F(SeriesPicture, PaletteColoursInAttachOrder) {
    EXPECT_EQ(level->SeriesColor(), clRed);
    EXPECT_EQ(step->SeriesColor(), clGreen);
    EXPECT_EQ(curve->SeriesColor(), clYellow);
}

TEST_F(SeriesPicture, CurvesLieOverTheGrid) {
    const TRect r = chart.ChartRect();
    const int row = y(1);
    ASSERT_GT(row, r.top + 5);
    ASSERT_LT(row, r.bottom - 5);
    // The red line covers its whole run on the grid row of 1 s, but for the
    // two later curves' steps crossing it...
    for (int px = r.left + 1; px < x(50000); ++px) {
        if (px != x(20000) && px != x(4000)) {
            ASSERT_EQ(rgbAt(image, px, row), qrgb(clRed)) << px;
        }
    }
    // ...and the dotted grey grid line shows on the same row outside it.
    int grey = 0;
    for (int px = x(50000) + 1; px < r.right; ++px)
        if (rgbAt(image, px, row) == qrgb(clGray))
            ++grey;
    EXPECT_GT(grey, 3);
    // The grid row of 10 s has no curve on it left of the curves.
    int greyTen = 0;
    for (int px = r.left + 2; px < x(100); ++px)
        if (rgbAt(image, px, y(10)) == qrgb(clGray))
            ++greyTen;
    EXPECT_GT(greyTen, 3);
    // The vertical step in green from 10 s down to 0.1 s, over the red line.
    const int sx = x(20000);
    for (int py = y(10); py < y(0.1); ++py)
        ASSERT_EQ(rgbAt(image, sx, py), qrgb(clGreen)) << py;
    // The relay curve's INST step and a sloping part, in yellow.
    EXPECT_EQ(rgbAt(image, x(4000), (y(1.5) + y(0.05)) / 2), qrgb(clYellow));
    const int mx = (x(400) + x(4000)) / 2, my = (y(1.8) + y(1.5)) / 2;
    int yellow = 0;
    for (int py = my - 1; py <= my + 1; ++py)
        yellow += rgbAt(image, mx, py) == qrgb(clYellow);
    EXPECT_EQ(yellow, 1);
    // Clipped at the plot: the wall's black frame stays, no red outside it.
    EXPECT_EQ(rgbAt(image, r.left, row), 0u);
    for (int px = r.left - 12; px < r.left; ++px)
        EXPECT_NE(rgbAt(image, px, row), qrgb(clRed)) << px;
}

TEST_F(SeriesPicture, LegendBoxesInSeriesColours) {
    const TChartLegend& l = chart.Legend();
    ASSERT_EQ(l.NumRows, 3);
    const TRect lr = chart.Layout().legendRect;
    const int h = (lr.bottom - lr.top - 2) / 3;
    ASSERT_GT(h, 8);
    // The plot ends left of the legend.
    EXPECT_LT(chart.ChartRect().right, lr.left);
    const TColor colours[] = {clRed, clGreen, clYellow};
    for (int i = 0; i < 3; ++i) {
        const int mid = lr.top + 1 + i * h + h / 2;
        const int boxLeft = lr.left + 4, boxRight = boxLeft + l.ColorWidthPixels;
        for (int px = boxLeft; px < boxRight; ++px)
            ASSERT_EQ(rgbAt(image, px, mid), qrgb(colours[i])) << i << " " << px;
        // White around the symbol line.
        EXPECT_EQ(rgbAt(image, boxLeft, mid - 3), 0xFFFFFFu);
    }
    // Black frame one pixel outside, black shadow three pixels beyond it.
    EXPECT_EQ(rgbAt(image, lr.left - 1, lr.top + 5), 0u);
    EXPECT_EQ(rgbAt(image, lr.right, lr.top + 5), 0u);
    EXPECT_EQ(rgbAt(image, lr.right + 3, lr.top + 10), 0u);
    EXPECT_EQ(rgbAt(image, lr.right + 4, lr.top + 10), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(image, lr.left + 2, lr.bottom + 3), 0xFFFFFFu); // shadow starts at left + 3
    EXPECT_EQ(rgbAt(image, lr.left + 3, lr.bottom + 3), 0u);
}
