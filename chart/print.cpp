#include "chart/print.h"

namespace telvara {

const char* const msgNoPrinter = "プリンタが設定されていません";

} // namespace telvara
