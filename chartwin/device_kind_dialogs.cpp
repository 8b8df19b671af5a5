#include "chartwin/device_kind_dialogs.h"

#include "chartwin/cable_dialog.h"
#include "chartwin/motor_dialog.h"
#include "chartwin/point_device_dialog.h"
#include "chartwin/transformer_dialog.h"
#include "study/cable_device.h"
#include "study/motor_device.h"
#include "study/point_device.h"
#include "study/transformer_device.h"

namespace telvara {

namespace {

// Runs the dialog on the kind's data; takes its result when accepted (and changed).
template <typename Dialog, typename Data> bool run(Dialog& dialog, Data& data, bool takeUnchanged) {
    if (dialog.exec() != QDialog::Accepted || (!takeUnchanged && dialog.Data() == data))
        return false;
    data = dialog.Data();
    return true;
}

} // namespace

bool hasKindDialog(const TDeviceKind& kind) {
    return dynamic_cast<const TPointDevice*>(&kind) ||
           dynamic_cast<const TTransformerDevice*>(&kind) ||
           dynamic_cast<const TCableDevice*>(&kind) || dynamic_cast<const TMotorDevice*>(&kind);
}

bool editDeviceKind(TDeviceKind& kind, Services& services, QWidget* parent, bool takeUnchanged) {
    if (auto* p = dynamic_cast<TPointDevice*>(&kind)) {
        TPointDeviceDialog d(p->kind, p->data, services, parent);
        return run(d, p->data, takeUnchanged);
    }
    if (auto* t = dynamic_cast<TTransformerDevice*>(&kind)) {
        TTransformerDialog d(t->data, services, parent);
        return run(d, t->data, takeUnchanged);
    }
    if (auto* c = dynamic_cast<TCableDevice*>(&kind)) {
        TCableDialog d(c->data, services, parent);
        return run(d, c->data, takeUnchanged);
    }
    if (auto* m = dynamic_cast<TMotorDevice*>(&kind)) {
        TMotorDialog d(m->data, services, parent);
        return run(d, m->data, takeUnchanged);
    }
    return false;
}

} // namespace telvara
