#pragma once
// Small studies built in code for the study tests.
#include "study/relay_device.h"
#include "study/study.h"

#include <string>

namespace telvara::test {

// A relay with flat times: `time` s at every multiple from 150 % of
// CT / 5 x 5 A, and the INST step at CT x instTap (none when instTap is "0").
inline TDevice flatRelay(const std::string& id, const std::string& bus, const std::string& ct,
                         const std::string& time, const std::string& instTap = "0",
                         const std::string& instTime = "0") {
    auto relay = std::make_unique<TRelayDevice>();
    relay->fields = {"試験", id, ct, time, time, time, time, time, time, instTime, "5", instTap};
    TDevice d(id, std::move(relay));
    d.label = id;
    d.bus = bus;
    return d;
}

} // namespace telvara::test
