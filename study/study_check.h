#pragma once
// The coordination check of a study. Along each path, each protective device
// is checked against the next protective device towards the source, up to the
// maximum fault current of the downstream device's bus, referred, with the
// study's grading margin for that kind of pair. Without paths every relay is
// checked against the next by pick-up (the lowest first pick-up current is
// nearest the load).
#include "relay/margins.h"
#include "study/study.h"

#include <optional>
#include <string>
#include <vector>

namespace telvara {

inline constexpr char kCheckCoord[] = "coord";

struct TStudyCheckLine {
    // The path's name; "-" for pairs of the study without paths.
    std::string path;
    // "coord" for two protective devices.
    std::string kind = kCheckCoord;
    // Downstream then upstream device (equipment first for equipment lines).
    std::string firstId;
    std::string secondId;
    // None: no common current range (or no margin for the kind of line).
    std::optional<double> margin;
    // Referred to the reference voltage, A.
    std::optional<double> current;
    bool pass = true;
    // For coord lines: where the margin lies (the chart marks failing ones).
    PairMargin detail{};
};

struct TStudyCheckOptions {
    // Instead of the study's relay–relay margin.
    std::optional<double> ctiRelayRelay;
};

// Lines in path order, pairs in path order; a device whose values cannot be
// drawn raises ConvertError naming it ("id: problem").
std::vector<TStudyCheckLine> checkStudy(const TStudy& study,
                                        const TStudyCheckOptions& options = {});

} // namespace telvara
