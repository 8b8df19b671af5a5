// study_bench: a study of 500 relays on 20 paths (two voltages, referred)
// opened from its file, drawn at 1920x1080 as telvara-render draws it, and
// checked along its paths. Median of N runs after one warm-up, in ms.
//
//   study_bench [--repeat N] [--keep FILE]
#include "chart/chart_renderer.h"
#include "chartwin/coordination_chart.h"
#include "chartwin/study_chart.h"
#include "platform/qt_printer_bitmap.h"
#include "study/relay_device.h"
#include "study/study_check.h"
#include "study/study_file.h"
#include "version/fonts.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace telvara;
using Clock = std::chrono::steady_clock;

constexpr int kPaths = 20;
constexpr int kRelaysPerPath = 25;

double median(int repeat, const std::function<void()>& run) {
    run();
    std::vector<double> t;
    for (int i = 0; i < repeat; ++i) {
        const auto start = Clock::now();
        run();
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

std::string text(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%.3g", v);
    return s;
}

// Each path grades from a feeder relay on the 6.6 kV bus up to relays on the
// 66 kV bus; pick-ups and times rise along the path.
TStudy bigStudy() {
    TStudy study;
    study.title = "500 relays";
    study.referenceKv = 6.6;
    study.buses = {{"66kV", 66, 8000, 5000}, {"6.6kV", 6.6, 12500, 8000}};
    for (int p = 0; p < kPaths; ++p) {
        TPath path{"経路" + std::to_string(p + 1), {}};
        for (int k = 0; k < kRelaysPerPath; ++k) {
            const bool high = k >= kRelaysPerPath / 2;
            const double tms = 0.05 + 0.1 * k + 0.001 * p;
            auto relay = std::make_unique<TRelayDevice>();
            const std::string id = "R" + std::to_string(p + 1) + "-" + std::to_string(k + 1);
            relay->fields = {"第一変電所",
                             id,
                             std::to_string(high ? 50 + 10 * k : 100 + 40 * k),
                             text(17.2 * tms),
                             text(10.0 * tms),
                             text(6.30 * tms),
                             text(4.98 * tms),
                             text(4.28 * tms),
                             text(3.53 * tms),
                             k == 0 ? "0.05" : "0",
                             "5",
                             k == 0 ? "12" : "0"};
            TDevice d(id, std::move(relay));
            d.label = id;
            d.bus = high ? "66kV" : "6.6kV";
            path.devices.push_back(id);
            study.devices.push_back(std::move(d));
        }
        study.paths.push_back(std::move(path));
    }
    return study;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    int repeat = 15;
    std::string keep;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--repeat") == 0)
            repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--keep") == 0)
            keep = argv[i + 1];
    }
    QTemporaryDir dir;
    const std::string path =
        keep.empty() ? dir.filePath(QStringLiteral("big.tvstudy")).toStdString() : keep;
    writeStudyFile(path, bigStudy());

    TStudy study;
    const double open = median(repeat, [&] { study = readStudyFile(path); });

    TChart chart;
    applyChartDesign(chart);
    chart.SetBounds(1920, 1080);
    TStudyOverlay overlay(chart);
    overlay.SetStudy(&study);
    TQtChartBitmapFactory factory;
    const double draw = median(repeat, [&] {
        drawStudy(chart, study);
        auto bitmap = TChartRenderer(chart).MakeBitmap(factory, clWhite,
                                                       {0, 0, chart.Width(), chart.Height()});
    });

    std::size_t lines = 0;
    int failing = 0;
    const double check = median(repeat, [&] {
        const auto result = checkStudy(study);
        lines = result.size();
        failing = int(std::count_if(result.begin(), result.end(),
                                    [](const TStudyCheckLine& l) { return !l.pass; }));
    });

    std::printf("study: %zu relays on %zu paths, %zu check lines (%d failing)\n",
                study.devices.size(), study.paths.size(), lines, failing);
    std::printf("open (read + parse + validate)  %8.1f ms\n", open);
    std::printf("draw at 1920x1080 (series + paint) %5.1f ms\n", draw);
    std::printf("check along paths               %8.1f ms\n", check);
    return 0;
}
