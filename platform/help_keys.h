#pragma once
// F1 opens the help at the context of the focused control, else of its window.
// A control or window carries its context in the dynamic property "helpContext".
#include "platform/services.h"

class QWidget;

namespace telvara {

inline constexpr char kHelpContextProperty[] = "helpContext";

void setHelpContext(QWidget* widget, int context);

// The context for F1 in this window: the nearest non-zero context from the
// focused control up to the window; 0 when none.
int helpContextAt(QWidget* window);

// Binds F1 in the window to the help service, behind the handler guard.
void installHelpKey(QWidget* window, MessageService& messages, HelpService& help);

} // namespace telvara
