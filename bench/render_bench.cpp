// render_bench: the coordination chart drawn by our engine into a QImage, the
// way telvara-render draws it, against matplotlib (Agg) drawing the same
// curves on the same log-log axes; and one frame of the animated zoom.
//
//   render_bench [--repeat N] [--out DIR] [--python PATH] [--no-mpl]
//
// Relays come from a fixed seed. The pictures of both sides are left in DIR
// (default: a new temporary folder) to be compared by eye.
#include "base/numbers.h"
#include "bench/render_bench_scene.h"
#include "chart/chart_renderer.h"
#include "platform/chart_export.h"
#include "platform/qt_canvas.h"
#include "platform/qt_printer_bitmap.h"
#include "version/fonts.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace telvara;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kSeed = 20240607;
constexpr int kCounts[] = {1, 10, 100};
struct Size {
    int w, h;
};
constexpr Size kSizes[] = {{1024, 768}, {1920, 1080}};

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Median of repeat runs after one warm-up run, in milliseconds.
double median(int repeat, const std::function<void()>& run) {
    run();
    std::vector<double> t;
    for (int i = 0; i < repeat; ++i) {
        const auto start = Clock::now();
        run();
        t.push_back(ms(Clock::now() - start));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// The chart of telvara-render: window design, all relays drawn, at w x h.
struct Scene {
    TChart chart;
    RelayCurrents currents;
    TCoordinationChart coordination{chart};
    Scene(const std::vector<RelaySettings>& relays, int w, int h) {
        chart.SetBounds(w, h);
        drawAllRelays(coordination, relays, false, currents);
    }
};

QImage drawEngine(TChart& chart) {
    TQtChartBitmapFactory bitmaps;
    std::unique_ptr<TChartBitmap> bitmap =
        TChartRenderer(chart).MakeBitmap(bitmaps, clWhite, {0, 0, chart.Width(), chart.Height()});
    return static_cast<TQtChartBitmap&>(*bitmap).Image();
}

// As telvara-render writes its PNG, into memory.
QByteArray encodePng(const QImage& image) {
    return EncodePng(image);
}

// The chart window's host during the animated zoom: every step repaints at
// once through the kept off-screen image onto the window's picture.
class FrameHost final : public TChartHost {
public:
    FrameHost(TChart& chart, int w, int h)
        : chart_(chart), screen_(w, h, QImage::Format_ARGB32_Premultiplied) {}
    void InvalidateChart() override {}
    void SetChartCursor(TCursor) override {}
    void RepaintChartNow() override {
        frames.push_back({chart_.BottomAxis().Minimum(), chart_.BottomAxis().Maximum(),
                          chart_.LeftAxis().Minimum(), chart_.LeftAxis().Maximum()});
        const auto start = Clock::now();
        QPainter painter(&screen_);
        QtCanvas3D canvas(&painter, &keep_);
        chart_.DrawChart(canvas, {0, 0, screen_.width(), screen_.height()});
        painter.end();
        times.push_back(ms(Clock::now() - start));
    }
    std::vector<AxisFrame> frames;
    std::vector<double> times;

private:
    TChart& chart_;
    QImage screen_;
    QImage keep_;
};

// Zooms into the middle decades and back, rounds times; the median frame.
double zoomFrame(Scene& s, int rounds, std::vector<AxisFrame>& frames) {
    FrameHost host(s.chart, s.chart.Width(), s.chart.Height());
    s.chart.SetHost(&host);
    TChart& c = s.chart;
    std::vector<double> all;
    for (int i = 0; i <= rounds; ++i) {
        host.times.clear();
        host.frames.clear();
        c.Zoomer().ApplyZoom(0.05, 5, c.RightAxis().Minimum(), c.RightAxis().Maximum(),
                             c.TopAxis().Minimum(), c.TopAxis().Maximum(), 100, 10000);
        c.Zoomer().UndoZoom();
        if (i > 0) // the first round warms up
            all.insert(all.end(), host.times.begin(), host.times.end());
    }
    frames = host.frames;
    s.chart.SetHost(nullptr);
    std::sort(all.begin(), all.end());
    return all.empty() ? 0 : all[all.size() / 2];
}

struct Options {
    int repeat = 10;
    std::string out;
    std::string python = "/usr/bin/python3";
    bool mpl = true;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--repeat" && i + 1 < argc)
            o.repeat = std::max(1, std::atoi(argv[++i]));
        else if (a == "--out" && i + 1 < argc)
            o.out = argv[++i];
        else if (a == "--python" && i + 1 < argc)
            o.python = argv[++i];
        else if (a == "--no-mpl")
            o.mpl = false;
        else {
            std::fprintf(stderr, "usage: render_bench [--repeat N] [--out DIR] [--python PATH] "
                                 "[--no-mpl]\n");
            std::exit(2);
        }
    }
    return o;
}

// "RESULT <case> <metric> <ms>" lines of the matplotlib side.
std::map<std::string, double> runMatplotlib(const Options& o, const std::string& dir) {
    std::map<std::string, double> r;
    const std::string cmd = "'" + o.python + "' '" RENDER_BENCH_MPL_SCRIPT "' --repeat " +
                            std::to_string(o.repeat) + " '" + dir + "'";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return r;
    char line[512];
    while (std::fgets(line, sizeof line, p)) {
        std::istringstream in(line);
        std::string tag, name, metric;
        double value = 0;
        if (in >> tag >> name >> metric >> value && tag == "RESULT")
            r[name + " " + metric] = value;
        else
            std::fputs(line, stderr);
    }
    if (pclose(p) != 0)
        std::fprintf(stderr, "matplotlib side failed (%s)\n", cmd.c_str());
    return r;
}

std::string ratio(double mpl, double ours) {
    if (mpl <= 0 || ours <= 0)
        return "-";
    char text[16];
    std::snprintf(text, sizeof text, "%.1fx", mpl / ours);
    return text;
}

std::string cell(const std::map<std::string, double>& m, const std::string& key) {
    const auto it = m.find(key);
    if (it == m.end())
        return "-";
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", it->second);
    return text;
}

double value(const std::map<std::string, double>& m, const std::string& key) {
    const auto it = m.find(key);
    return it == m.end() ? 0 : it->second;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const Options o = parse(argc, argv);
    installFontSubstitutions();
    setNumberLocale({".", ","});

    QTemporaryDir temp;
    const std::string dir = o.out.empty() ? temp.path().toStdString() : o.out;
    QDir().mkpath(QString::fromStdString(dir));

    std::map<std::string, double> ours;
    for (int n : kCounts) {
        const std::vector<RelaySettings> relays = benchRelays(n, kSeed);
        for (const Size& size : kSizes) {
            const std::string name =
                std::to_string(n) + "_" + std::to_string(size.w) + "x" + std::to_string(size.h);
            std::vector<AxisFrame> frames;
            {
                Scene s(relays, size.w, size.h);
                ours[name + " cold"] = median(o.repeat, [&] {
                    Scene fresh(relays, size.w, size.h);
                    drawEngine(fresh.chart);
                });
                ours[name + " draw"] = median(o.repeat, [&] { drawEngine(s.chart); });
                const QImage image = drawEngine(s.chart);
                ours[name + " png"] = median(o.repeat, [&] { encodePng(image); });
                ours[name + " draw+png"] =
                    median(o.repeat, [&] { encodePng(drawEngine(s.chart)); });
                image.save(QString::fromStdString(dir + "/engine_" + name + ".png"));
                if (size.w == 1920)
                    ours[name + " zoom_frame"] = zoomFrame(s, o.repeat, frames);
                drawEngine(s.chart); // the scene as first drawn, for its plot rectangle
                std::ofstream(dir + "/scene_" + name + ".json")
                    << sceneJson(s.chart, size.w, size.h, frames);
            }
        }
    }

    std::map<std::string, double> mpl;
    if (o.mpl)
        mpl = runMatplotlib(o, dir);

    std::printf("Coordination chart: our engine into QImage vs matplotlib %s (Agg), median ms of "
                "%d runs\n",
                o.mpl ? "" : "(skipped)", o.repeat);
    std::printf("%-16s %-10s %9s %9s %9s %9s %8s\n", "relays, size", "part", "engine", "mpl",
                "mpl noAA", "ratio", "ratio nA");
    const char* parts[] = {"draw", "png", "draw+png", "cold", "zoom_frame"};
    for (int n : kCounts) {
        for (const Size& size : kSizes) {
            const std::string name =
                std::to_string(n) + "_" + std::to_string(size.w) + "x" + std::to_string(size.h);
            for (const char* part : parts) {
                const std::string key = name + " " + part;
                if (!ours.count(key))
                    continue;
                const std::string noAa = name + " noaa_" + part;
                std::printf("%-16s %-10s %9s %9s %9s %9s %8s\n", name.c_str(), part,
                            cell(ours, key).c_str(), cell(mpl, key).c_str(),
                            cell(mpl, noAa).c_str(),
                            ratio(value(mpl, key), value(ours, key)).c_str(),
                            ratio(value(mpl, noAa), value(ours, key)).c_str());
            }
        }
    }
    std::printf("ratio: matplotlib time / engine time (above 1: the engine is faster).\n");
    std::printf("pictures and scenes: %s%s\n", dir.c_str(),
                o.out.empty() ? " (removed on exit; keep them with --out)" : "");
    return 0;
}
