// The Qt drawing surface: pixel semantics of lines, rectangles, clipping,
// pen modes, text metrics and the printing stretch.
#include "platform/qt_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

using namespace telvara;

namespace {

struct CanvasFixture : ::testing::Test {
    QImage image{40, 30, QImage::Format_RGB32};
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<QtCanvas3D> canvas;
    void SetUp() override {
        image.fill(Qt::white);
        painter = std::make_unique<QPainter>(&image);
        canvas = std::make_unique<QtCanvas3D>(painter.get());
    }
    QImage done() {
        canvas.reset();
        painter->end();
        return image;
    }
    static bool black(const QImage& im, int x, int y) { return (im.pixel(x, y) & 0xFFFFFF) == 0; }
    static QRgb at(const QImage& im, int x, int y) { return im.pixel(x, y) & 0xFFFFFF; }
};

} // namespace

TEST_F(CanvasFixture, LinesLeaveOutTheirLastPixel) {
    canvas->Line(2, 2, 10, 2);
    canvas->Line(5, 5, 5, 12);
    canvas->Line(20, 5, 28, 13);
    canvas->Polyline({{30, 2}, {35, 2}, {35, 8}});
    const QImage im = done();
    EXPECT_TRUE(black(im, 2, 2));
    EXPECT_TRUE(black(im, 9, 2));
    EXPECT_FALSE(black(im, 10, 2));
    EXPECT_TRUE(black(im, 5, 11));
    EXPECT_FALSE(black(im, 5, 12));
    EXPECT_TRUE(black(im, 27, 12));
    EXPECT_FALSE(black(im, 28, 13));
    EXPECT_TRUE(black(im, 35, 2)); // the corner belongs to the next segment
    EXPECT_TRUE(black(im, 35, 7));
    EXPECT_FALSE(black(im, 35, 8));
}

TEST_F(CanvasFixture, LinesDrawnLeftOrUpLeaveOutTheirLastPixelToo) {
    canvas->Line(10, 2, 2, 2);  // 10 .. 3, as a tick of the left axis
    canvas->Line(5, 20, 5, 12); // 20 .. 13, as a mark's arrow
    // A frame ring's second half: down the right edge, then left along the
    // bottom, whose corner it draws; the bottom-left corner is not its own.
    canvas->Polyline({{35, 14}, {35, 20}, {30, 20}});
    const QImage im = done();
    EXPECT_TRUE(black(im, 10, 2));
    EXPECT_TRUE(black(im, 3, 2));
    EXPECT_FALSE(black(im, 2, 2));
    EXPECT_TRUE(black(im, 5, 20));
    EXPECT_TRUE(black(im, 5, 13));
    EXPECT_FALSE(black(im, 5, 12));
    EXPECT_TRUE(black(im, 35, 19));
    EXPECT_TRUE(black(im, 35, 20));
    EXPECT_TRUE(black(im, 31, 20));
    EXPECT_FALSE(black(im, 30, 20));
}

// Every direction: the first pixel drawn, the last left out, and the same
// pixels as the line drawn the other way apart from its ends.
TEST(CanvasLines, EveryOctantLeavesOutItsLastPixel) {
    using Pixels = std::vector<std::pair<int, int>>;
    const std::pair<QPoint, Pixels> octants[] = {
        {{26, 18}, {{20, 15}, {21, 15}, {22, 16}, {23, 16}, {24, 17}, {25, 17}}},
        {{23, 21}, {{20, 15}, {20, 16}, {21, 17}, {21, 18}, {22, 19}, {22, 20}}},
        {{17, 21}, {{17, 20}, {18, 18}, {18, 19}, {19, 16}, {19, 17}, {20, 15}}},
        {{14, 18}, {{15, 17}, {16, 17}, {17, 16}, {18, 16}, {19, 15}, {20, 15}}},
        {{14, 12}, {{15, 12}, {16, 13}, {17, 13}, {18, 14}, {19, 14}, {20, 15}}},
        {{17, 9}, {{17, 10}, {18, 11}, {18, 12}, {19, 13}, {19, 14}, {20, 15}}},
        {{23, 9}, {{20, 14}, {20, 15}, {21, 12}, {21, 13}, {22, 10}, {22, 11}}},
        {{26, 12}, {{20, 15}, {21, 14}, {22, 14}, {23, 13}, {24, 13}, {25, 12}}},
    };
    auto drawn = [](auto draw) {
        QImage im(40, 40, QImage::Format_RGB32);
        im.fill(Qt::white);
        {
            QPainter p(&im);
            QtCanvas3D c(&p);
            draw(c);
        }
        Pixels out;
        for (int x = 0; x < im.width(); ++x)
            for (int y = 0; y < im.height(); ++y)
                if ((im.pixel(x, y) & 0xFFFFFF) == 0)
                    out.push_back({x, y});
        return out;
    };
    for (const auto& [end, want] : octants)
        EXPECT_EQ(drawn([&](TCanvas3D& c) { c.Line(20, 15, end.x(), end.y()); }), want)
            << "to " << end.x() << "," << end.y();

    // A V-shaped joint keeps its tip; the polyline's last point stays out.
    const Pixels v = drawn([](TCanvas3D& c) { c.Polyline({{5, 5}, {10, 30}, {15, 5}}); });
    EXPECT_EQ(v.size(), 50u);
    const auto has = [&](int x, int y) {
        return std::find(v.begin(), v.end(), std::pair{x, y}) != v.end();
    };
    EXPECT_TRUE(has(5, 5));
    EXPECT_TRUE(has(10, 30));
    EXPECT_FALSE(has(15, 5));
}

TEST_F(CanvasFixture, RectanglesExcludeRightAndBottom) {
    canvas->AssignBrush({clRed, bsSolid});
    canvas->Rectangle(2, 2, 10, 8); // outline 2..9 x 2..7, red inside
    canvas->AssignBrush({clBlue, bsSolid});
    canvas->FillRect({20, 2, 25, 6});
    canvas->AssignBrush({clBlue, bsClear});
    canvas->Rectangle(30, 2, 35, 6);
    const QImage im = done();
    EXPECT_TRUE(black(im, 2, 2));
    EXPECT_TRUE(black(im, 9, 7));
    EXPECT_EQ(at(im, 10, 7), 0xFFFFFFu);
    EXPECT_EQ(at(im, 9, 8), 0xFFFFFFu);
    EXPECT_EQ(at(im, 5, 5), 0xFF0000u); // red in Qt's RGB order
    EXPECT_EQ(at(im, 20, 2), 0x0000FFu);
    EXPECT_EQ(at(im, 24, 5), 0x0000FFu);
    EXPECT_EQ(at(im, 25, 5), 0xFFFFFFu);
    EXPECT_EQ(at(im, 24, 6), 0xFFFFFFu);
    EXPECT_TRUE(black(im, 34, 5));
    EXPECT_EQ(at(im, 32, 4), 0xFFFFFFu); // clear brush
}

TEST_F(CanvasFixture, ClipIntersectsAndUnclips) {
    canvas->AssignBrush({clBlack, bsSolid});
    canvas->ClipRectangle({0, 0, 20, 20});
    canvas->ClipRectangle({10, 10, 40, 30});
    canvas->FillRect({0, 0, 40, 30});
    canvas->UnClipRectangle();
    canvas->ClipPolygon({{30, 0}, {40, 0}, {40, 10}, {30, 10}});
    canvas->ClipRectangle({35, 0, 40, 30});
    canvas->FillRect({0, 0, 40, 30});
    canvas->UnClipRectangle();
    canvas->FillRect({0, 25, 5, 30});
    const QImage im = done();
    EXPECT_TRUE(black(im, 10, 10));
    EXPECT_TRUE(black(im, 19, 19));
    EXPECT_FALSE(black(im, 20, 19));
    EXPECT_FALSE(black(im, 9, 15));
    EXPECT_TRUE(black(im, 37, 5));
    EXPECT_FALSE(black(im, 32, 5));
    EXPECT_TRUE(black(im, 2, 27)); // no clip left
}

TEST_F(CanvasFixture, NotXorTwiceRestores) {
    canvas->AssignBrush({clRed, bsSolid});
    canvas->FillRect({0, 0, 40, 30});
    const TPenState frame{clBlack, 1, psSolid, pmNotXor};
    canvas->AssignPen(frame);
    canvas->AssignBrush({clWhite, bsClear});
    canvas->Rectangle(5, 5, 20, 20);
    painter->end();
    const QRgb once = image.pixel(5, 10) & 0xFFFFFF;
    painter->begin(&image);
    canvas = std::make_unique<QtCanvas3D>(painter.get());
    canvas->AssignPen(frame);
    canvas->AssignBrush({clWhite, bsClear});
    canvas->Rectangle(5, 5, 20, 20);
    const QImage im = done();
    EXPECT_NE(once, 0xFF0000u);
    EXPECT_EQ(at(im, 5, 10), 0xFF0000u);
    EXPECT_EQ(at(im, 19, 19), 0xFF0000u);
}

TEST_F(CanvasFixture, DottedPenLeavesGaps) {
    canvas->AssignPen({clBlack, 1, psDot, pmCopy});
    canvas->SetBackMode(cbmTransparent);
    canvas->Line(0, 3, 30, 3);
    const QImage im = done();
    int on = 0;
    for (int x = 0; x < 30; ++x)
        on += black(im, x, 3);
    EXPECT_GT(on, 5);
    EXPECT_LT(on, 25);
}

TEST_F(CanvasFixture, TextMetricsAndAlignment) {
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), {QStringLiteral("IPAPMincho")});
    TFontState f;
    f.height = 12;
    canvas->AssignFont(f);
    QFont qf(QStringLiteral("ＭＳ Ｐ明朝"));
    qf.setPixelSize(12);
    const QFontMetrics fm(qf);
    EXPECT_EQ(canvas->TextHeight("W"), fm.height());
    EXPECT_EQ(canvas->TextWidth("1,000"), fm.horizontalAdvance(QStringLiteral("1,000")));
    EXPECT_GT(canvas->TextWidth("保護"), canvas->TextWidth("1"));
    // Right/top alignment: the text lies left of x and below y.
    canvas->AssignBrush({clWhite, bsClear});
    canvas->SetTextAlign(htaRight, vtaTop);
    canvas->TextOut(30, 5, "WW");
    const QImage im = done();
    int minX = 99, maxX = -1, minY = 99;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if ((im.pixel(x, y) & 0xFF) < 128) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
            }
    EXPECT_LE(maxX, 30);
    EXPECT_GE(minX, 30 - fm.horizontalAdvance(QStringLiteral("WW")) - 1);
    EXPECT_GE(minY, 5);
}

TEST_F(CanvasFixture, RotatedTextReadsUpwards) {
    TFontState f;
    f.height = 12;
    canvas->AssignFont(f);
    canvas->AssignBrush({clWhite, bsClear});
    canvas->SetTextAlign(htaLeft, vtaBottom);
    canvas->RotatedTextOut(20, 28, "WWW", 90);
    const QImage im = done();
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if ((im.pixel(x, y) & 0xFF) < 128) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    // Upward from y 28, glyphs to the left of x 20 (their foot on x 20).
    EXPECT_LE(maxY, 28);
    EXPECT_GT(maxY - minY, maxX - minX);
    EXPECT_LE(maxX, 20);
}

TEST_F(CanvasFixture, MappingStretchesLogicalUnits) {
    TMapping m;
    m.anisotropic = true;
    m.winExtX = 20;
    m.winExtY = 10;
    m.viewExtX = 40;
    m.viewExtY = 30;
    const TMapping saved = canvas->GetMapping();
    EXPECT_FALSE(saved.anisotropic);
    canvas->SetMapping(m);
    EXPECT_EQ(canvas->GetMapping(), m);
    canvas->AssignBrush({clBlack, bsSolid});
    canvas->FillRect({5, 5, 10, 10}); // device 10..19 x 15..29
    canvas->SetMapping(saved);
    canvas->FillRect({0, 0, 2, 2});
    const QImage im = done();
    EXPECT_TRUE(black(im, 10, 15));
    EXPECT_TRUE(black(im, 19, 29));
    EXPECT_FALSE(black(im, 9, 15));
    EXPECT_FALSE(black(im, 20, 20));
    EXPECT_TRUE(black(im, 1, 1));
    EXPECT_FALSE(black(im, 2, 2));
}

TEST_F(CanvasFixture, BufferGoesToTheKeptImage) {
    QImage keep;
    canvas = std::make_unique<QtCanvas3D>(painter.get(), &keep);
    ASSERT_TRUE(canvas->BeginBuffer(10, 8, false));
    EXPECT_EQ(keep.size(), QSize(10, 8));
    canvas->AssignBrush({clBlack, bsSolid});
    canvas->FillRect({0, 0, 10, 8});
    canvas->EndBuffer(5, 6);
    const QImage im = done();
    EXPECT_TRUE(black(im, 5, 6));
    EXPECT_TRUE(black(im, 14, 13));
    EXPECT_FALSE(black(im, 15, 13));
    EXPECT_FALSE(black(im, 4, 6));
    // Without a kept image the surface draws straight to its target.
    QImage other(4, 4, QImage::Format_RGB32);
    QPainter p(&other);
    QtCanvas3D direct(&p);
    EXPECT_FALSE(direct.BeginBuffer(4, 4, false));
}

TEST_F(CanvasFixture, PenWidthsUnderThePrintingStretch) {
    TMapping m;
    m.anisotropic = true;
    m.winExtX = 10;
    m.winExtY = 10;
    m.viewExtX = 40;
    m.viewExtY = 40;
    canvas->SetMapping(m);
    canvas->AssignPen({clBlack, 1, psSolid, pmCopy});
    canvas->Line(1, 2, 9, 2); // one logical unit thick: 4 device rows
    canvas->AssignPen({clBlack, 0, psSolid, pmCopy});
    canvas->Line(1, 5, 9, 5); // the thinnest line: 1 device row
    const QImage im = done();
    auto rows = [&](int x, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            n += black(im, x, y);
        return n;
    };
    EXPECT_EQ(rows(20, 4, 14), 4);
    EXPECT_EQ(rows(20, 16, 26), 1);
}
