#include "study/equipment_fields.h"

#include <cmath>

namespace telvara {

int readWhole(TJsonObject& device, const char* key, int absent) {
    const std::optional<double> v = device.OptionalNumber(key);
    if (!v)
        return absent;
    if (std::trunc(*v) != *v || std::fabs(*v) > 1e6)
        device.Fail(key, "整数でなければなりません");
    return int(*v);
}

void failAt(TJsonObject& device, const std::optional<FieldFault>& fault) {
    if (fault)
        device.Fail(fault->key, fault->message);
}

} // namespace telvara
