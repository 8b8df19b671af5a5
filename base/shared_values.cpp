#include "base/shared_values.h"

namespace telvara {

SharedValues& shared() {
    static SharedValues values;
    return values;
}

} // namespace telvara
