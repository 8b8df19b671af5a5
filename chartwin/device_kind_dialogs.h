#pragma once
// The dialog of each device kind but the relay (whose settings come from the
// main window): fuse, breaker, device, transformer, cable, motor. The study
// panel opens a device's dialog through this one call.
#include "platform/services.h"
#include "study/device_kind.h"

class QWidget;

namespace telvara {

// True when the kind has a dialog here.
bool hasKindDialog(const TDeviceKind& kind);

// Opens the kind's dialog on its values; true when OK took changed values
// into `kind`, false when cancelled, unchanged or a kind without a dialog.
// With takeUnchanged, OK on unchanged values is true too (a new device's
// defaults accepted).
bool editDeviceKind(TDeviceKind& kind, Services& services, QWidget* parent,
                    bool takeUnchanged = false);

} // namespace telvara
