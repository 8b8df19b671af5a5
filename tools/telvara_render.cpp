// telvara-render: draws stored relays as the chart window shows them after
// "全データ表示", or a study as the chart window shows it, into an image
// file, without a window.
//
//   telvara-render DIR OUT [--size WxH] [--time-max 10|1000] [--current-min 1|10]
//                  [--record NAME DEVICE]...
//   telvara-render FILE.tvstudy OUT [--size WxH]
//
// OUT is a 24-bit BMP file, or a PNG, PDF or SVG file when it ends in ".png",
// ".pdf" or ".svg". Default size 1024x768: the chart fills the image as it
// fills the window's chart area; a PDF or SVG page is that many points.
// Exit status: 0 drawn, 1 a named record not found, 2 anything else failed.
#include "base/errors.h"
#include "base/numbers.h"
#include "chartwin/coordination_chart.h"
#include "chartwin/study_chart.h"
#include "platform/chart_export.h"
#include "platform/number_locale.h"
#include "store/store_files.h"
#include "study/study_file.h"
#include "tools/render_store.h"
#include "tools/tool_status.h"
#include "version/fonts.h"

#include <QGuiApplication>

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace telvara;

constexpr int kMaxSide = 16384;

const char kUsage[] = "使い方: telvara-render DIR OUT [--size WxH] [--time-max 10|1000] "
                      "[--current-min 1|10] [--record NAME DEVICE]...\n"
                      "       telvara-render FILE.tvstudy OUT [--size WxH]\n";

struct Options {
    std::string dir;
    std::string out;
    int width = 1024;
    int height = 768;
    bool timeCheck = false;
    bool currentFromOne = false;
    std::vector<std::pair<std::string, std::string>> records;
    bool storeOptionsGiven = false;
};

int side(const std::string& text) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        throw TUsageError(kUsage);
    const int v = std::stoi(text);
    if (v < 1 || v > kMaxSide)
        throw TUsageError("画像の大きさは 1 から " + std::to_string(kMaxSide) + " までです\n");
    return v;
}

Options parse(const std::vector<std::string>& args) {
    Options o;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::size_t n = 1) {
            if (i + n >= args.size())
                throw TUsageError(kUsage);
            i += n;
            return args[i - n + 1];
        };
        if (a == "--size") {
            const std::string v = value();
            const std::size_t x = v.find('x');
            if (x == std::string::npos)
                throw TUsageError(kUsage);
            o.width = side(v.substr(0, x));
            o.height = side(v.substr(x + 1));
        } else if (a == "--time-max") {
            const std::string v = value();
            if (v != "10" && v != "1000")
                throw TUsageError(kUsage);
            o.timeCheck = v == "1000";
            o.storeOptionsGiven = true;
        } else if (a == "--current-min") {
            const std::string v = value();
            if (v != "1" && v != "10")
                throw TUsageError(kUsage);
            o.currentFromOne = v == "1";
            o.storeOptionsGiven = true;
        } else if (a == "--record") {
            const std::string name = value();
            const std::string device = value();
            o.records.emplace_back(name, device);
            o.storeOptionsGiven = true;
        } else if (a.starts_with("--")) {
            throw TUsageError(kUsage);
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2)
        throw TUsageError(kUsage);
    o.dir = positional[0];
    o.out = positional[1];
    if (o.dir.ends_with(kStudyExtension) && o.storeOptionsGiven)
        throw TUsageError(kUsage);
    return o;
}

int renderStudy(const Options& o) {
    const TStudy study = readStudyFile(o.dir);
    TChart chart;
    applyChartDesign(chart);
    chart.SetBounds(o.width, o.height);
    TStudyOverlay overlay(chart);
    overlay.SetStudy(&study);
    const std::vector<std::string> skipped = drawStudy(chart, study);
    TChartRenderer renderer(chart, chartPrintOptions());
    SaveChartFile(renderer, QString::fromStdString(o.out));
    for (const std::string& s : skipped)
        std::cerr << "描けないので飛ばしました: " << s << "\n";
    return skipped.empty() ? 0 : kExitFailed;
}

int render(const Options& o) {
    refuseStoreFile(o.dir, o.out);
    const std::vector<RelaySettings> relays = storedRelays(o.dir, o.records);

    TChart chart;
    RelayCurrents currents;
    TCoordinationChart coordination(chart);
    chart.SetBounds(o.width, o.height);
    // An empty store still shows the axes of an activated window, not the design state.
    if (relays.empty())
        coordination.SetActivationAxes(o.timeCheck);
    const std::vector<std::string> skipped =
        drawAllRelays(coordination, relays, o.timeCheck, currents);
    // "電流軸最小値" checked after the chart was shown.
    if (o.currentFromOne)
        coordination.SetCurrentAxisFromOne(true);

    TChartRenderer renderer(chart, chartPrintOptions());
    SaveChartFile(renderer, QString::fromStdString(o.out));
    // The picture holds every other relay; the ones left out make it a failure.
    for (const std::string& s : skipped)
        std::cerr << "描けないので飛ばしました: " << s << "\n";
    return skipped.empty() ? 0 : kExitFailed;
}

} // namespace

int main(int argc, char** argv) {
    // Drawing needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        installFontSubstitutions();
        readNumberLocale();
        const Options o = parse(std::vector<std::string>(argv + 1, argv + argc));
        return o.dir.ends_with(kStudyExtension) ? renderStudy(o) : render(o);
    } catch (const TRecordNotFound& e) {
        std::cerr << e.what() << "\n";
        return kExitNotFound;
    } catch (const std::exception& e) {
        return reportFailure(e);
    }
}
