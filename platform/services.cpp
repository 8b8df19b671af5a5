#include "platform/services.h"

namespace telvara {

QString boxTitle(BoxKind kind) {
    switch (kind) {
    case BoxKind::Warning:
        return kWarningTitle;
    case BoxKind::Confirm:
        return kConfirmTitle;
    case BoxKind::Message:
    case BoxKind::Error:
        break;
    }
    return kApplicationTitle;
}

} // namespace telvara
