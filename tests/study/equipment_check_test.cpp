// The check along paths with fuses and equipment, against margins worked out
// by hand.
#include "base/errors.h"
#include "study/study_check.h"
#include "study/study_file.h"

#include <gtest/gtest.h>

#include <cmath>

namespace telvara {
namespace {

// F1 melts at t = 100 (100 / I)^4 from 100 A and clears at 100 (150 / I)^4
// from 150 A (0.01 s from 1000 and 1500 A); F2 melts at 100 (200 / I)^4.
// R1 trips in 1.2 s from 480 A (CT 400/5, tap 4). M2 sits on 3.3 kV: its
// currents are halved at the reference 6.6 kV.
constexpr char kStudy[] = R"({"format": "telvara-study", "version": 1, "reference_kv": 6.6,
  "buses": [{"name": "6.6kV", "kv": 6.6, "fault_max_a": 8000}, {"name": "3.3kV", "kv": 3.3}],
  "devices": [
    {"id": "M1", "kind": "motor", "bus": "6.6kV", "fla_a": 50, "accel_s": 5},
    {"id": "M2", "kind": "motor", "bus": "3.3kV", "fla_a": 240, "accel_s": 5},
    {"id": "F1", "kind": "fuse", "bus": "6.6kV", "min_curve": [[100, 100], [1000, 0.01]],
     "total_curve": [[150, 100], [1500, 0.01]]},
    {"id": "F2", "kind": "fuse", "bus": "6.6kV", "min_curve": [[200, 100], [2000, 0.01]]},
    {"id": "C1", "kind": "cable", "bus": "6.6kV", "mm2": 50},
    {"id": "T1", "kind": "transformer", "bus": "6.6kV", "kva": 500, "kv_primary": 6.6,
     "kv_secondary": 0.44, "z_percent": 4, "shift58": true},
    {"id": "R1", "kind": "relay", "bus": "6.6kV", "relay": {"name": "R1", "device": "51",
     "ct": "400", "t150": "1.2", "t200": "1.2", "t300": "1.2", "t400": "1.2", "t500": "1.2",
     "t700": "1.2", "tinst": "0", "tap": "4", "inst_tap": "0"}}],
  "paths": [{"name": "P1", "devices": ["M1", "F1", "C1", "R1"]},
            {"name": "P2", "devices": ["T1", "F1", "F2", "C1"]},
            {"name": "P3", "devices": ["M2", "F1"]}]})";

std::string row(const TStudyCheckLine& l) {
    const auto number = [](const std::optional<double>& v) {
        return v ? std::to_string(*v) : std::string("-");
    };
    return l.path + " " + l.kind + l.caption + " " + l.firstId + " " + l.secondId + " " +
           number(l.margin) + " " + number(l.current) + (l.pass ? " OK" : " NG");
}

TEST(EquipmentCheck, LinesAlongPaths) {
    const TStudy study = parseStudy(kStudy, "s.tvstudy");
    const std::vector<TStudyCheckLine> lines = checkStudy(study);
    std::vector<std::string> rows;
    for (const TStudyCheckLine& l : lines)
        rows.push_back(row(l));
    const auto n = [](double v) { return std::to_string(v); };
    // T1: 500 kVA at 6.6 kV, I_r = 43.74 A, category I, I_max = 25 I_r.
    const double ir = 500 / (std::sqrt(3.0) * 6.6);
    // The cable: k = 226 √ln(484.5 / 324.5), t = (50 k / I)², up to the bus's 8000 A.
    const double k = 226 * std::sqrt(std::log((250 + 234.5) / (90 + 234.5)));
    // The 58 % line at 150 A, where F1 starts clearing: 150 / (0.58 I_r) on
    // the thermal part between (4.75, 60 s) and (6.7, 30 s).
    const double at58 =
        60 * std::pow(150 / (0.58 * ir) / 4.75, std::log(0.5) / std::log(6.7 / 4.75));
    const std::vector<std::string> expected{
        // Starting: F1 melts at 300 A in 100 / 81 s, before the 5 s start.
        "P1 start M1 F1 " + n(100.0 / 81 - 5) + " 300.000000 NG",
        // Fuse below relay: 0.2 s; at 480 A F1 clears in 100 (150 / 480)^4.
        "P1 coord F1 R1 " + n(1.2 - 100 * std::pow(150.0 / 480, 4)) + " 480.000000 OK",
        "P1 damage C1 R1 " + n(std::pow(50 * k / 8000, 2) - 1.2) + " 8000.000000 NG",
        // The damage curve's end: 2 s less F1's clearing at 25 I_r.
        "P2 damage T1 F1 " + n(2 - 100 * std::pow(150 / (25 * ir), 4)) + " " + n(25 * ir) + " OK",
        // Inrush 12 I_r for 0.1 s: F1 melts at 100 (100 / 12 I_r)^4.
        "P2 inrush T1 F1 " + n(100 * std::pow(100 / (12 * ir), 4) - 0.1) + " " + n(12 * ir) + " OK",
        "P2 damage58% T1 F1 " + n(at58 - 100) + " 150.000000 NG",
        // Two fuses: the bands touch from 2000 A on, a margin of 0.
        "P2 coord F1 F2 0.000000 2000.000000 OK",
        // M2's 240 A at 3.3 kV are 120 A at 6.6 kV, where F1 melts.
        "P3 start M2 F1 - 120.000000 NG",
    };
    EXPECT_EQ(expected, rows);
    EXPECT_NEAR(0.2463, *lines[1].margin, 1e-4);

    // The relay–fuse margin is the study's: 0.25 s fails the pair.
    TStudy strict = study;
    strict.cti.emplace_back("relay_point", 0.25);
    EXPECT_FALSE(checkStudy(strict)[1].pass);

    // A device that does not operate at the inrush or starting current passes
    // without a margin; one that operates nowhere below the damage curve fails.
    const TStudy far = parseStudy(R"({"format": "telvara-study", "version": 1,
      "buses": [{"name": "b", "fault_max_a": 1000}],
      "devices": [
        {"id": "M", "kind": "motor", "fla_a": 10, "accel_s": 2},
        {"id": "T", "kind": "transformer", "bus": "b", "kva": 500, "kv_primary": 6.6,
         "kv_secondary": 0.44, "z_percent": 4},
        {"id": "F", "kind": "fuse", "total_curve": [[5000, 1], [9000, 0.1]]}],
      "paths": [{"name": "p", "devices": ["M", "T", "F"]}]})",
                                  "s.tvstudy");
    rows.clear();
    for (const TStudyCheckLine& l : checkStudy(far))
        rows.push_back(row(l));
    EXPECT_EQ((std::vector<std::string>{"p start M F - 60.000000 OK", "p damage T F - - NG",
                                        "p inrush T F - " + n(12 * ir) + " OK"}),
              rows);

    // The cable's line starts at 50 k / √5 = 3199 A: a bus that never sees
    // that much leaves nothing to check, and nothing fails.
    TStudy low = study;
    low.buses[0].faultMaxA = 3000;
    EXPECT_EQ("P1 damage C1 R1 - - OK", row(checkStudy(low)[2]));

    // Drawn on its 0.44 kV side but sitting on the 6.6 kV bus: its currents
    // would be referred fifteenfold wrong, so the transformer is named instead.
    const std::string wrong =
        std::string(kStudy).replace(std::string(kStudy).find(R"("shift58": true)"), 15,
                                    R"("shift58": true, "side": "secondary")");
    try {
        checkStudy(parseStudy(wrong, "s.tvstudy"));
        ADD_FAILURE() << "checked";
    } catch (const TelvaraError& e) {
        EXPECT_STREQ("T1: 母線「6.6kV」の電圧 6.6 kV と装置の電圧 0.44 kV が違います", e.what());
    }
}

} // namespace
} // namespace telvara
