// telvara-check: the time margins between neighbouring stored relays, or
// along the paths of a study.
//
//   telvara-check DIR [--cti S] [--fault-current A] [--record NAME DEVICE]...
//   telvara-check FILE.tvstudy [--cti S]
//
// One pair a line, tab-separated. A store: downstream name, device, upstream
// name, device, smallest margin (s), current (A), OK or NG. A study: path,
// kind ("coord" for two protective devices), downstream id, upstream id,
// smallest margin (s), current (A) referred to the reference voltage, OK or
// NG. A pair with no common current up to the fault current shows "-" in the
// last three columns and does not fail. --cti replaces the relay-relay margin.
// Exit status: 0 every pair passes, 1 a pair fails, 2 anything else failed.
#include "base/errors.h"
#include "base/os/program.h"
#include "base/numbers.h"
#include "relay/margins.h"
#include "study/study_check.h"
#include "study/study_file.h"
#include "tools/render_store.h"
#include "tools/tool_status.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace telvara;

constexpr int kFails = kExitNotFound;

const char kUsage[] =
    "使い方: telvara-check DIR [--cti S] [--fault-current A] [--record NAME DEVICE]...\n"
    "       telvara-check FILE.tvstudy [--cti S]\n";

struct Options {
    std::string dir;
    MarginOptions margins;
    bool ctiGiven = false;
    bool storeOptionsGiven = false;
    std::vector<std::pair<std::string, std::string>> records;
};

// Options are script input: always a decimal point.
double positive(const std::string& text) {
    double v = 0;
    if (!tryReadDecimal(text, v, NumberLocale{".", ""}) || !(v > 0))
        throw TUsageError("正の数ではありません: " + text + "\n");
    return v;
}

bool isStudy(const Options& o) {
    return o.dir.ends_with(kStudyExtension);
}

Options parse(const std::vector<std::string>& args) {
    Options o;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&] {
            if (++i >= args.size())
                throw TUsageError(kUsage);
            return args[i];
        };
        if (a == "--cti") {
            o.margins.cti = positive(value());
            o.ctiGiven = true;
        } else if (a == "--fault-current") {
            o.margins.maxFaultCurrent = positive(value());
            o.storeOptionsGiven = true;
        } else if (a == "--record") {
            o.storeOptionsGiven = true;
            const std::string name = value();
            o.records.emplace_back(name, value());
        } else if (a.starts_with("--")) {
            throw TUsageError(kUsage);
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 1)
        throw TUsageError(kUsage);
    o.dir = positional[0];
    if (isStudy(o) && o.storeOptionsGiven)
        throw TUsageError(kUsage);
    return o;
}

std::string fixed(double v, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

int check(const Options& o) {
    const std::vector<RelaySettings> relays = storedRelays(o.dir, o.records);
    std::vector<std::vector<CurvePoint>> curves;
    for (const RelaySettings& r : relays) {
        try {
            curves.push_back(relayCurve(r));
        } catch (const ConvertError& e) {
            throw TelvaraError(r.company + "," + r.device + ": " + e.what());
        }
    }
    bool allPass = true;
    for (const PairMargin& p : checkMargins(curves, o.margins)) {
        const RelaySettings& down = relays[p.downstream];
        const RelaySettings& up = relays[p.upstream];
        std::cout << down.company << '\t' << down.device << '\t' << up.company << '\t' << up.device
                  << '\t';
        if (!p.commonRange) {
            std::cout << "-\t-\t-\n";
            continue;
        }
        allPass = allPass && p.pass;
        std::cout << fixed(p.margin, 3) << '\t' << fixed(p.current, 1) << '\t'
                  << (p.pass ? "OK" : "NG") << '\n';
    }
    return allPass ? 0 : kFails;
}

int checkStudyFile(const Options& o) {
    const TStudy study = readStudyFile(o.dir);
    TStudyCheckOptions options;
    if (o.ctiGiven)
        options.ctiRelayRelay = o.margins.cti;
    bool allPass = true;
    for (const TStudyCheckLine& line : checkStudy(study, options)) {
        std::cout << line.path << '\t' << line.kind << '\t' << line.firstId << '\t' << line.secondId
                  << '\t' << (line.margin ? fixed(*line.margin, 3) : "-") << '\t'
                  << (line.current ? fixed(*line.current, 1) : "-") << '\t';
        if (!line.margin && line.pass) {
            std::cout << "-\n";
            continue;
        }
        allPass = allPass && line.pass;
        std::cout << (line.pass ? "OK" : "NG") << '\n';
    }
    return allPass ? 0 : kFails;
}

} // namespace

int main(int argc, char** argv) {
    os::prepareConsole();
    try {
        // The stored numbers were typed with the user's decimal separator.
        setNumberLocale(environmentNumberLocale());
        const Options o = parse(os::utf8Arguments(argc, argv));
        return isStudy(o) ? checkStudyFile(o) : check(o);
    } catch (const std::exception& e) {
        std::cout.flush();
        return reportFailure(e);
    }
}
