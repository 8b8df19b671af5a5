// telvara-check: the time margins between neighbouring stored relays.
//
//   telvara-check DIR [--cti S] [--fault-current A] [--record NAME DEVICE]...
//
// One pair a line, tab-separated: downstream name, device, upstream name,
// device, smallest margin (s), current (A), OK or NG; a pair with no common
// current up to the fault current shows "-" in the last three columns.
// Exit status: 0 every pair passes, 1 a pair fails, 2 anything else failed.
#include "base/errors.h"
#include "base/os/program.h"
#include "base/numbers.h"
#include "relay/margins.h"
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
    "使い方: telvara-check DIR [--cti S] [--fault-current A] [--record NAME DEVICE]...\n";

struct Options {
    std::string dir;
    MarginOptions margins;
    std::vector<std::pair<std::string, std::string>> records;
};

// Options are script input: always a decimal point.
double positive(const std::string& text) {
    double v = 0;
    if (!tryReadDecimal(text, v, NumberLocale{".", ""}) || !(v > 0))
        throw TUsageError("正の数ではありません: " + text + "\n");
    return v;
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
        } else if (a == "--fault-current") {
            o.margins.maxFaultCurrent = positive(value());
        } else if (a == "--record") {
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

} // namespace

int main(int argc, char** argv) {
    os::prepareConsole();
    try {
        // The stored numbers were typed with the user's decimal separator.
        setNumberLocale(environmentNumberLocale());
        return check(parse(os::utf8Arguments(argc, argv)));
    } catch (const std::exception& e) {
        std::cout.flush();
        return reportFailure(e);
    }
}
