// Value marks: texts, box size and place, arrow colour, no clipping.
#include "base/numbers.h"
#include "series_test_util.h"

#include <gtest/gtest.h>

using namespace telvara;
using namespace telvara::test;

namespace {

struct Marks : ::testing::Test {
    PlainChart p;
    TLineSeries* s = nullptr;
    void SetUp() override {
        setNumberLocale({".", ","});
        s = p.add(clRed);
        p.unitAxes();
        s->Marks().SetStyle(smsValue);
        s->Marks().SetVisible(true);
    }
    // Ops after the series' clip was released: the marks.
    std::vector<Op> markOps(OpKind k) const {
        std::vector<Op> out;
        bool after = false;
        for (const Op& op : p.c.ops) {
            if (op.kind == OpKind::UnClip)
                after = true;
            else if (after && op.kind == k)
                out.push_back(op);
        }
        return out;
    }
};

} // namespace

TEST_F(Marks, ValueTextsInTheDisplayPattern) {
    s->AddPoint(1, 1234.56789);
    s->AddPoint(2, 5);
    s->AddPoint(3, 0.0004);
    s->AddPoint(4, 1234567);
    s->AddPoint(5, -2.5005);
    EXPECT_EQ(s->MarkText(0), "1,234.568");
    EXPECT_EQ(s->MarkText(1), "5");
    EXPECT_EQ(s->MarkText(2), "0");
    EXPECT_EQ(s->MarkText(3), "1,234,567");
    EXPECT_EQ(s->MarkText(4), "-2.501");
    p.paint();
    // The mark of a point a million pixels away is skipped like its line.
    auto texts = markOps(OpKind::Text);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "1,234.568");
    EXPECT_EQ(texts[3].text, "-2.501");
    p.chart.LeftAxis().SetMinMaxRange(-10, 2e6);
    p.paint();
    texts = markOps(OpKind::Text);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[3].text, "1,234,567");
    // The user's separators.
    setNumberLocale({",", "."});
    EXPECT_EQ(s->MarkText(0), "1.234,568");
    setNumberLocale({".", ","});
    // The label style falls back to the value without a label.
    s->Marks().SetStyle(smsLabel);
    s->AddPoint(6, 7, "six");
    EXPECT_EQ(s->MarkText(5), "six");
    EXPECT_EQ(s->MarkText(1), "5");
    s->Marks().SetStyle(smsXValue);
    EXPECT_EQ(s->MarkText(5), "6");
}

TEST_F(Marks, BoxArrowAndTextPlaces) {
    s->AddPoint(100, 100); // at (112, 140)
    p.paint();
    // "100": 3 x 6 pixels + "W" 6 + frame 2 = 26 wide; 16 + 2 = 18 high.
    const auto boxes = markOps(OpKind::Rectangle);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rect, (TRect{99, 115, 125, 133}));
    EXPECT_EQ(boxes[0].brush.color, 0x80FFFFu);
    EXPECT_EQ(boxes[0].brush.style, bsSolid);
    EXPECT_EQ(boxes[0].pen.color, clBlack);
    const auto arrows = markOps(OpKind::Line);
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0].pts, (std::vector<TPoint>{{112, 140}, {112, 132}}));
    // White arrow on the white panel comes out black.
    EXPECT_EQ(arrows[0].pen.color, clBlack);
    const auto texts = markOps(OpKind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].pts[0], (TPoint{112, 116})); // below the frame line
    EXPECT_EQ(texts[0].ha, htaCenter);
    EXPECT_EQ(texts[0].brush.style, bsClear);
    const auto& pos = s->Marks().Position(0);
    ASSERT_TRUE(pos.has_value());
    EXPECT_EQ(pos->Bounds(), (TRect{99, 115, 125, 133}));
    EXPECT_FALSE(pos->Custom);

    // Without a frame, on a transparent box: no rectangle, text at the top.
    s->Marks().Frame().SetVisible(false);
    s->Marks().SetTransparent(true);
    p.paint();
    EXPECT_TRUE(markOps(OpKind::Rectangle).empty());
    EXPECT_EQ(markOps(OpKind::Text)[0].pts[0], (TPoint{112, 117})); // 24 x 16: top 140-16+1-8
    // A custom position is kept.
    TSeriesMarkPosition custom = *s->Marks().Position(0);
    custom.Custom = true;
    custom.Left = 20;
    custom.Top = 30;
    s->Marks().SetPosition(0, custom);
    p.paint();
    EXPECT_EQ(markOps(OpKind::Text)[0].pts[0], (TPoint{32, 30}));
}

TEST_F(Marks, ArrowColourRule) {
    s->AddPoint(100, 100);
    p.chart.SetColor(clBtnFace);
    p.paint();
    EXPECT_EQ(markOps(OpKind::Line)[0].pen.color, clWhite);
    // In the point's colour: black.
    s->Marks().Arrow().SetColor(clRed);
    p.paint();
    EXPECT_EQ(markOps(OpKind::Line)[0].pen.color, clBlack);
    // On a black panel: white.
    p.chart.SetColor(clBlack);
    s->Marks().Arrow().SetColor(clBlack);
    p.paint();
    EXPECT_EQ(markOps(OpKind::Line)[0].pen.color, clWhite);
    s->Marks().Arrow().SetVisible(false);
    p.paint();
    EXPECT_TRUE(markOps(OpKind::Line).empty());
}

TEST_F(Marks, SinglePointDrawsOnlyItsMark) {
    s->AddPoint(100, 100);
    s->Marks().SetVisible(false);
    p.paint();
    EXPECT_TRUE(p.clippedOf(OpKind::Line).empty());
    EXPECT_TRUE(markOps(OpKind::Text).empty());
    s->Marks().SetVisible(true);
    p.paint();
    EXPECT_TRUE(p.clippedOf(OpKind::Line).empty());
    EXPECT_EQ(markOps(OpKind::Text).size(), 1u);
    EXPECT_EQ(markOps(OpKind::Line).size(), 1u); // the arrow
}

TEST_F(Marks, NotClippedNullAndEmptyTextsSkipped) {
    s->AddPoint(100, 230); // on the top edge: y 10
    s->AddPoint(200, 50, "", clNone);
    s->AddPoint(300, 60);
    s->OnGetMarkText = [](TChartSeries&, int index, std::string& text) {
        if (index == 2)
            text.clear();
        else
            text = "<" + text + ">";
    };
    p.paint();
    const auto texts = markOps(OpKind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "<230>");
    // Above the plot rectangle, drawn after the clip was released.
    const auto boxes = markOps(OpKind::Rectangle);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_LT(boxes[0].rect.top, 10);
    EXPECT_EQ(boxes[0].rect.top, 10 - 18 + 1 - 8);
    // With Clip the marks are drawn inside a clip of the plot.
    s->Marks().SetClip(true);
    p.paint();
    EXPECT_EQ(p.c.of(OpKind::ClipRect).size(), 2u);
}

TEST_F(Marks, ClearAndDeleteForgetPositions) {
    s->AddPoint(100, 100);
    s->AddPoint(200, 100);
    p.paint();
    ASSERT_TRUE(s->Marks().Position(1).has_value());
    EXPECT_EQ(s->Marks().Position(1)->ArrowFrom, (TPoint{212, 140}));
    // A point inserted before moves the remembered positions along.
    s->AddPoint(50, 1);
    EXPECT_FALSE(s->Marks().Position(0).has_value());
    EXPECT_EQ(s->Marks().Position(2)->ArrowFrom, (TPoint{212, 140}));
    s->DeletePoint(0);
    EXPECT_EQ(s->Marks().Position(1)->ArrowFrom, (TPoint{212, 140}));
    s->ClearPoints();
    EXPECT_TRUE(s->Marks().Positions().empty());
}

TEST_F(Marks, CrLfCrAndLfEachEndOneLine) {
    s->Marks().SetStyle(smsLabel);
    s->AddPoint(100, 100, "one\r\ntwo\rthree\nfour");
    p.paint();
    const auto texts = markOps(OpKind::Text);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "one");
    EXPECT_EQ(texts[1].text, "two");
    EXPECT_EQ(texts[2].text, "three");
    EXPECT_EQ(texts[3].text, "four");
    const int h = texts[1].pts[0].y - texts[0].pts[0].y;
    EXPECT_GT(h, 0);
    EXPECT_EQ(texts[3].pts[0].y - texts[0].pts[0].y, 3 * h);
}
