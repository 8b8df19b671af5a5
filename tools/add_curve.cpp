#include "tools/add_curve.h"

#include "base/errors.h"
#include "base/numbers.h"
#include "relay/characteristics.h"

namespace telvara {

std::vector<std::string> curveRecordFields(const std::vector<std::string>& args) {
    const std::string &name = args[0], &device = args[1], &ct = args[2], &curve = args[3],
                      &multiplier = args[4], &tInst = args[5], &tap = args[6], &instTap = args[7];
    const std::optional<Characteristic> c = characteristicByName(curve);
    if (!c) {
        std::string names;
        for (const CharacteristicInfo& info : characteristics())
            names += (names.empty() ? "" : ", ") + std::string(info.name);
        throw TelvaraError("不明な特性 " + curve + "（" + names + " のどれか）");
    }
    const std::array<std::string, 6> times =
        characteristicTimeTexts(*c, readDecimal(multiplier, NumberLocale{}));
    std::vector<std::string> fields{name, device, ct};
    fields.insert(fields.end(), times.begin(), times.end());
    fields.insert(fields.end(), {tInst, tap, instTap});
    return fields;
}

} // namespace telvara
