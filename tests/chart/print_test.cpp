// Printing on a printer and bitmap export, through a fake printer
// and a fake bitmap that record what the chart asks of them.
#include "chart/chart.h"
#include "chart/chart_renderer.h"
#include "chart/print.h"
#include "recording_canvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace telvara;
using telvara::test::OpKind;
using telvara::test::RecordingCanvas;

namespace {

// Keeps every mapping it is given, in order.
class MappingCanvas : public RecordingCanvas {
public:
    std::vector<TMapping> mappings;
    void SetMapping(const TMapping& m) override {
        mappings.push_back(m);
        RecordingCanvas::SetMapping(m);
    }
};

// A printer with fixed page sizes: portrait 4800 x 6800, landscape 6800 x
// 4800, 600 dpi. A step named in failAt throws.
class FakePrinter : public TChartPrinter {
public:
    TPrinterOrientation orientation = poPortrait;
    int portraitW = 4800, portraitH = 6800, dpiX = 600, dpiY = 600;
    std::string title;
    std::vector<std::string> calls;
    std::string failAt;
    bool open = false;
    bool abortCloses = true;
    TPrinterOrientation orientationAtBegin = poPortrait;
    MappingCanvas canvas;

    TPrinterOrientation Orientation() override { return orientation; }
    void SetOrientation(TPrinterOrientation o) override {
        calls.push_back(o == poPortrait ? "portrait" : "landscape");
        orientation = o;
    }
    int PageWidth() override { return orientation == poPortrait ? portraitW : portraitH; }
    int PageHeight() override { return orientation == poPortrait ? portraitH : portraitW; }
    int DpiX() override { return dpiX; }
    int DpiY() override { return dpiY; }
    void SetTitle(const std::string& t) override {
        title = t;
        step("title");
    }
    void BeginDoc() override {
        step("begin");
        open = true;
        orientationAtBegin = orientation;
    }
    TCanvas3D& Canvas() override { return canvas; }
    void EndDoc() override {
        step("end");
        open = false;
    }
    void Abort() override {
        calls.push_back("abort");
        if (abortCloses)
            open = false;
    }
    bool Printing() const override { return open; }

private:
    void step(const std::string& name) {
        calls.push_back(name);
        if (failAt == name) {
            failAt.clear(); // fails once; the clean-up may call it again
            throw TelvaraError("印刷に失敗しました: " + name);
        }
    }
};

class FakeBitmap : public TChartBitmap {
public:
    FakeBitmap(int w, int h, int* alive, std::vector<std::string>* saved, bool failSave)
        : w_(w), h_(h), alive_(alive), saved_(saved), failSave_(failSave) {
        ++*alive_;
    }
    ~FakeBitmap() override { --*alive_; }
    int Width() const override { return w_; }
    int Height() const override { return h_; }
    TCanvas3D& Canvas() override { return canvas; }
    void SaveToFile(const std::string& name) override {
        if (failSave_)
            throw IoError("ファイル " + name + " を作成できません");
        saved_->push_back(name);
    }
    RecordingCanvas canvas;

private:
    int w_, h_;
    int* alive_;
    std::vector<std::string>* saved_;
    bool failSave_;
};

class FakeBitmaps : public TChartBitmapFactory {
public:
    int alive = 0;
    bool failSave = false;
    std::vector<std::string> saved;
    FakeBitmap* last = nullptr;
    std::unique_ptr<TChartBitmap> Create(int w, int h) override {
        auto b = std::make_unique<FakeBitmap>(w, h, &alive, &saved, failSave);
        last = b.get();
        return b;
    }
};

// The first ring of the raised outer bevel around r.
bool hasOuterBevel(const RecordingCanvas& c, const TRect& r) {
    const std::vector<TPoint> ring{{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 1, r.top}};
    for (const auto& op : c.of(OpKind::Polyline))
        if (op.pts == ring && op.pen.color == colorToRGB(clBtnHighlight))
            return true;
    return false;
}

struct ReleasingHost : TChartHost {
    int released = 0;
    void InvalidateChart() override {}
    void RepaintChartNow() override {}
    void SetChartCursor(TCursor) override {}
    void ReleaseBuffer() override { ++released; }
};

// The chart window's print settings on a 400 x 250 panel.
class ChartPrint : public ::testing::Test {
protected:
    void SetUp() override {
        chart.SetName("Chart1");
        chart.SetHost(&host);
        chart.SetBounds(400, 250);
        renderer.Options().proportional = false;
        chart.SetView3D(false);
        chart.Gradient().SetVisible(true);
        chart.SetBevelInner(bvLowered);
    }
    void margins(int m) { renderer.Options().marginPercent = {m, m, m, m}; }

    FakePrinter printer;
    FakeBitmaps bitmaps;
    ReleasingHost host;
    TChart chart;
    TChartRenderer renderer{chart};
};

} // namespace

TEST_F(ChartPrint, Defaults) {
    TChart fresh;
    const TChartRenderer options(fresh);
    EXPECT_EQ(options.Options().marginPercent, (TRect{15, 15, 15, 15}));
    EXPECT_TRUE(options.Options().proportional);
    EXPECT_EQ(options.Options().resolution, 0);
    EXPECT_FALSE(fresh.Printing());
}

TEST_F(ChartPrint, PageRectangleForMarginsInBothOrientations) {
    struct Case {
        int margin;
        TPrinterOrientation o;
        TRect expected;
    };
    const Case cases[] = {
        {0, poPortrait, {0, 0, 4800, 6800}},        {0, poLandscape, {0, 0, 6800, 4800}},
        {5, poPortrait, {240, 340, 4560, 6460}},    {5, poLandscape, {340, 240, 6460, 4560}},
        {25, poPortrait, {1200, 1700, 3600, 5100}}, {25, poLandscape, {1700, 1200, 5100, 3600}},
        {50, poPortrait, {2400, 3400, 2400, 3400}}, {50, poLandscape, {3400, 2400, 3400, 2400}},
        {60, poPortrait, {2880, 4080, 1920, 2720}},
    };
    for (const Case& c : cases) {
        margins(c.margin);
        printer.orientation = c.o;
        EXPECT_EQ(renderer.PageRect(printer), c.expected) << "margin " << c.margin;
    }
    // Halves go to the even neighbour: 2.5 -> 2, 3.5 -> 4.
    printer.portraitW = 250;
    printer.portraitH = 350;
    printer.dpiX = printer.dpiY = 1;
    printer.orientation = poPortrait;
    margins(1);
    EXPECT_EQ(renderer.PageRect(printer), (TRect{2, 4, 248, 346}));
    // Each side its own margin; the margins are not changed by the computation.
    printer.portraitW = 4800;
    printer.portraitH = 6800;
    printer.dpiX = 600;
    printer.dpiY = 300;
    renderer.Options().marginPercent = {0, 10, 20, 30};
    EXPECT_EQ(renderer.PageRect(printer), (TRect{0, 680, 3840, 4760}));
    EXPECT_EQ(renderer.Options().marginPercent, (TRect{0, 10, 20, 30}));
}

TEST_F(ChartPrint, ProportionalMarginsKeepTheScreenAspect) {
    renderer.Options().proportional = true;
    margins(5);
    const TRect r = renderer.PageRect(printer);
    // 400 x 250 on screen: 1.6 wide for 1 high, centred across the page.
    EXPECT_NEAR(static_cast<double>(r.Width()) / r.Height(), 1.6, 0.03);
    EXPECT_EQ(r.left, 240);
    EXPECT_EQ(r.right, 4560);
    EXPECT_NEAR(r.top + r.bottom, 6800, 70);
}

TEST_F(ChartPrint, OneJobTitledWithTheChartName) {
    margins(5);
    renderer.PrintOriented(printer, poLandscape);
    EXPECT_EQ(printer.title, "Chart1");
    const std::vector<std::string> expected{"landscape", "title", "begin", "end", "portrait"};
    EXPECT_EQ(printer.calls, expected);
    EXPECT_EQ(printer.orientationAtBegin, poLandscape);
    EXPECT_EQ(printer.orientation, poPortrait);
    EXPECT_FALSE(printer.open);
    EXPECT_FALSE(chart.Printing());
}

TEST_F(ChartPrint, OrientationRestoredAfterSuccessAndFailure) {
    margins(5);
    printer.orientation = poLandscape;
    renderer.PrintOriented(printer, poPortrait);
    EXPECT_EQ(printer.orientationAtBegin, poPortrait);
    EXPECT_EQ(printer.orientation, poLandscape);

    for (const char* step : {"title", "begin", "end"}) {
        printer.calls.clear();
        printer.failAt = step;
        printer.orientation = poPortrait;
        try {
            renderer.PrintOriented(printer, poLandscape);
            ADD_FAILURE() << "no failure at " << step;
        } catch (const TelvaraError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("印刷に失敗しました: ") + step);
        }
        EXPECT_EQ(printer.orientation, poPortrait) << step;
        EXPECT_EQ(printer.calls.back(), "portrait") << step;
        EXPECT_FALSE(chart.Printing()) << step;
    }
}

TEST_F(ChartPrint, FailureWhileDrawingAbortsClearsAndRestores) {
    margins(5);
    bool printingSeen = false, paintRefused = false;
    chart.OnAfterDraw = [&](TCustomChartPanel& p) {
        printingSeen = p.Printing();
        paintRefused = !p.NeedsFullPaint();
        throw std::runtime_error("描画に失敗しました");
    };
    printer.abortCloses = false; // the document stays open after the abort
    EXPECT_THROW(renderer.PrintOriented(printer, poLandscape), std::runtime_error);
    EXPECT_TRUE(printingSeen);
    EXPECT_TRUE(paintRefused);
    const std::vector<std::string> expected{"landscape", "title", "begin",
                                            "abort",     "end",   "portrait"};
    EXPECT_EQ(printer.calls, expected);
    EXPECT_FALSE(printer.open);
    // The chart is back to painting the screen.
    EXPECT_FALSE(chart.Printing());
    EXPECT_TRUE(chart.BufferedDisplay());
    EXPECT_TRUE(chart.NeedsFullPaint());
    EXPECT_EQ(printer.canvas.mapping, TMapping{});
    const auto& ops = printer.canvas.ops;
    ASSERT_GE(ops.size(), 2u);
    EXPECT_EQ(ops[ops.size() - 2].kind, OpKind::UnClip);
    EXPECT_EQ(ops.back().kind, OpKind::Mapping);
}

TEST_F(ChartPrint, ScreenLayoutStretchedOntoThePage) {
    // The screen laid out and painted first: printing leaves its layout and
    // kept picture as they were.
    RecordingCanvas screen;
    chart.DrawChart(screen, {0, 0, 400, 250});
    const TRect plot = chart.ChartRect();
    const TScaleMap bottom = chart.BottomAxis().ScaleMap();
    const int released = host.released;
    TRect pageBounds, pagePlot;
    chart.OnAfterDraw = [&](TCustomChartPanel& p) {
        pageBounds = p.ChartBounds();
        pagePlot = p.ChartRect();
    };
    margins(5);
    renderer.PrintOriented(printer, poPortrait);
    EXPECT_EQ(chart.ChartBounds(), (TRect{0, 0, 400, 250}));
    EXPECT_EQ(chart.ChartRect(), plot);
    EXPECT_EQ(chart.BottomAxis().ScaleMap().StartPixel(), bottom.StartPixel());
    EXPECT_EQ(chart.BottomAxis().ScaleMap().EndPixel(), bottom.EndPixel());
    EXPECT_EQ(host.released, released);
    EXPECT_FALSE(chart.NeedsFullPaint());
    const std::vector<TMapping>& maps = printer.canvas.mappings;
    ASSERT_EQ(maps.size(), 2u);
    TMapping stretch;
    stretch.anisotropic = true;
    stretch.winExtX = 400;
    stretch.winExtY = 250;
    stretch.viewExtX = 4320;
    stretch.viewExtY = 6120;
    EXPECT_EQ(maps[0], stretch);
    EXPECT_EQ(maps[1], TMapping{});

    // The page (240, 340)-(4560, 6460) in logical units, 4320/400 and 6120/250.
    const TRect logical{22, 14, 422, 264};
    const auto& ops = printer.canvas.ops;
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(ops[1].kind, OpKind::ClipRect);
    EXPECT_EQ(ops[1].rect, logical);
    EXPECT_EQ(pageBounds, logical);
    EXPECT_EQ(pagePlot.left - logical.left, plot.left);
    EXPECT_EQ(pagePlot.bottom - logical.top, plot.bottom);
    // The gradient's 250 bands cover the logical rectangle; no bevels on paper.
    const auto fills = printer.canvas.of(OpKind::FillRect);
    ASSERT_GE(fills.size(), 250u);
    EXPECT_EQ(fills[0].rect.bottom, logical.bottom);
    EXPECT_EQ(fills[249].rect.top, logical.top);
    EXPECT_EQ(fills[249].rect.left, logical.left);
    EXPECT_EQ(fills[249].rect.right, logical.right);
    EXPECT_FALSE(hasOuterBevel(printer.canvas, logical));
    EXPECT_TRUE(printer.canvas.of(OpKind::BeginBuffer).empty());

    // Landscape: the same layout, stretched wider.
    printer.canvas.mappings.clear();
    renderer.PrintOriented(printer, poLandscape);
    ASSERT_FALSE(printer.canvas.mappings.empty());
    EXPECT_EQ(printer.canvas.mappings[0].viewExtX, 6120);
    EXPECT_EQ(printer.canvas.mappings[0].viewExtY, 4320);
    EXPECT_EQ(printer.canvas.mappings[0].winExtX, 400);
    EXPECT_EQ(printer.canvas.mappings[0].winExtY, 250);
}

TEST_F(ChartPrint, InvertedAndEmptyPageRectangles) {
    // 60 on every side: the inverted rectangle is put in order, inside the page.
    margins(60);
    renderer.PrintOriented(printer, poPortrait);
    ASSERT_FALSE(printer.canvas.mappings.empty());
    EXPECT_EQ(printer.canvas.mappings[0].viewExtX, 960);
    EXPECT_EQ(printer.canvas.mappings[0].viewExtY, 1360);
    const auto clips = printer.canvas.of(OpKind::ClipRect);
    ASSERT_FALSE(clips.empty());
    // (1920, 2720)-(2880, 4080) at 400/960 and 250/1360.
    EXPECT_EQ(clips[0].rect, (TRect{800, 500, 1200, 750}));

    // 50 on every side leaves nothing: an empty page, nothing drawn.
    printer.canvas.clear();
    printer.canvas.mappings.clear();
    printer.calls.clear();
    margins(50);
    renderer.PrintOriented(printer, poPortrait);
    EXPECT_TRUE(printer.canvas.ops.empty());
    const std::vector<std::string> expected{"portrait", "title", "begin", "end", "portrait"};
    EXPECT_EQ(printer.calls, expected);
    EXPECT_FALSE(chart.Printing());
}

TEST_F(ChartPrint, HugeMarginsAndAMissingResolutionKeepThePageInIntegers) {
    // 44739242 % of 4800 would be 2147483616 pixels: each margin is held to
    // 2^29, so the ordered page is 1073737024 x 1073735024 device pixels and
    // the 400 x 250 picture is centred on the page's middle.
    margins(44739242);
    EXPECT_EQ(renderer.PageRect(printer),
              (TRect{536870912, 536870912, 4800 - 536870912, 6800 - 536870912}));
    renderer.PrintOriented(printer, poPortrait);
    ASSERT_FALSE(printer.canvas.mappings.empty());
    EXPECT_EQ(printer.canvas.mappings[0].viewExtX, 1073737024);
    EXPECT_EQ(printer.canvas.mappings[0].viewExtY, 1073735024);
    const auto clips = printer.canvas.of(OpKind::ClipRect);
    ASSERT_FALSE(clips.empty());
    EXPECT_EQ(clips[0].rect, (TRect{-200, -125, 200, 125}));
    EXPECT_FALSE(chart.Printing());
    // A printer that reports no resolution still gets the margins.
    margins(5);
    printer.dpiX = printer.dpiY = 0;
    EXPECT_EQ(renderer.PageRect(printer), (TRect{240, 340, 4560, 6460}));
}

TEST_F(ChartPrint, PrintResolutionShrinksTheLogicalSize) {
    margins(0);
    renderer.Options().resolution = 50;
    TRect pageBounds;
    chart.OnAfterDraw = [&](TCustomChartPanel& p) { pageBounds = p.ChartBounds(); };
    renderer.PrintOriented(printer, poPortrait);
    ASSERT_FALSE(printer.canvas.mappings.empty());
    EXPECT_EQ(printer.canvas.mappings[0].winExtX, 200);
    EXPECT_EQ(printer.canvas.mappings[0].winExtY, 125);
    EXPECT_EQ(pageBounds, (TRect{0, 0, 200, 125}));
}

TEST_F(ChartPrint, BitmapOfTheClientSizeAsOnScreen) {
    bool printingSeen = true;
    TRect bitmapBounds;
    chart.OnAfterDraw = [&](TCustomChartPanel& p) {
        printingSeen = p.Printing();
        bitmapBounds = p.ChartBounds();
    };
    const int releasedBefore = host.released;
    renderer.SaveBitmap(bitmaps, "/tmp/chart.bmp");
    ASSERT_NE(bitmaps.last, nullptr);
    EXPECT_EQ(bitmaps.alive, 0);
    EXPECT_EQ(bitmaps.saved, std::vector<std::string>{"/tmp/chart.bmp"});
    EXPECT_FALSE(printingSeen);
    EXPECT_EQ(host.released, releasedBefore); // the screen's picture is kept
    EXPECT_TRUE(chart.BufferedDisplay());
    EXPECT_EQ(bitmapBounds, (TRect{0, 0, 400, 250}));

    // Drawn straight onto the bitmap, bevels included, not pre-filled white.
    std::unique_ptr<TChartBitmap> b = renderer.MakeBitmap(bitmaps, clWhite, renderer.ExportRect());
    EXPECT_EQ(b->Width(), 400);
    EXPECT_EQ(b->Height(), 250);
    const auto& ops = bitmaps.last->canvas.ops;
    ASSERT_FALSE(ops.empty());
    EXPECT_TRUE(bitmaps.last->canvas.of(OpKind::BeginBuffer).empty());
    const auto fills = bitmaps.last->canvas.of(OpKind::FillRect);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.front().rect, (TRect{0, 249, 400, 250})); // the gradient's first band
    EXPECT_TRUE(hasOuterBevel(bitmaps.last->canvas, {0, 0, 400, 250}));

    // Another background colour is filled first.
    b = renderer.MakeBitmap(bitmaps, clRed, renderer.ExportRect());
    const auto first = bitmaps.last->canvas.of(OpKind::FillRect).front();
    EXPECT_EQ(first.rect, (TRect{0, 0, 400, 250}));
    EXPECT_EQ(first.brush.color, clRed);
}

TEST_F(ChartPrint, BitmapWriteFailureReachesTheCaller) {
    bitmaps.failSave = true;
    try {
        renderer.SaveBitmap(bitmaps, "/nowhere/chart.bmp");
        ADD_FAILURE() << "no failure";
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "ファイル /nowhere/chart.bmp を作成できません");
    }
    EXPECT_EQ(bitmaps.alive, 0);
    EXPECT_TRUE(chart.BufferedDisplay());

    // A failure while drawing frees the bitmap and restores the display too.
    bitmaps.failSave = false;
    chart.OnAfterDraw = [](TCustomChartPanel&) { throw std::runtime_error("x"); };
    EXPECT_THROW(renderer.SaveBitmap(bitmaps, "/tmp/chart.bmp"), std::runtime_error);
    EXPECT_EQ(bitmaps.alive, 0);
    EXPECT_TRUE(chart.BufferedDisplay());
    EXPECT_TRUE(bitmaps.saved.empty());
}
