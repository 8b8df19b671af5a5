// The study panel's commands: each builds the edited study and hands it to
// the window.
#include "chartwin/device_kind_dialogs.h"
#include "chartwin/study_edits.h"
#include "chartwin/study_panel.h"
#include "chartwin/study_panel_dialogs.h"
#include "platform/guard.h"
#include "study/relay_device.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace telvara {

namespace {

// The id a new device of the kind starts from.
std::string idBase(const std::string& kind) {
    static const std::map<std::string, std::string> bases{{"fuse", "PF"},  {"breaker", "CB"},
                                                          {"device", "D"}, {"transformer", "TR"},
                                                          {"cable", "CA"}, {"motor", "M"}};
    const auto it = bases.find(kind);
    return it == bases.end() ? std::string("D") : it->second;
}

} // namespace

void TStudyPanel::editSettings() {
    TStudySettingsDialog d(study(), services_, this);
    if (d.exec() == QDialog::Accepted)
        apply(d.Result(), selected());
}

void TStudyPanel::addBus() {
    TBusDialog d(TBus{}, services_, this);
    d.setWindowTitle(QStringLiteral("母線の追加"));
    if (d.exec() == QDialog::Accepted)
        apply(withBus(study(), std::nullopt, d.Result()), {BusRow, int(study().buses.size()), -1});
}

void TStudyPanel::changeBus(int index) {
    TBusDialog d(study().buses.at(std::size_t(index)), services_, this);
    if (d.exec() == QDialog::Accepted)
        apply(withBus(study(), std::size_t(index), d.Result()), {BusRow, index, -1});
}

void TStudyPanel::addDevice(const std::string& kind) {
    std::unique_ptr<TDeviceKind> made = makeDeviceKind(kind);
    if (!made || !editDeviceKind(*made, services_, this, true))
        return;
    TDevice device(freeDeviceId(study(), idBase(kind)), std::move(made));
    device.label = kindCaption(kind).toStdString();
    TDeviceDialog d(device, study(), services_, this);
    d.setWindowTitle(QStringLiteral("装置の追加 - ") + kindCaption(kind));
    if (d.exec() == QDialog::Accepted)
        apply(withDevice(study(), std::nullopt, d.Result()),
              {DeviceRow, int(study().devices.size()), -1});
}

void TStudyPanel::changeDevice(int index) {
    TDeviceDialog d(study().devices.at(std::size_t(index)), study(), services_, this);
    if (d.exec() == QDialog::Accepted)
        apply(withDevice(study(), std::size_t(index), d.Result()), {DeviceRow, index, -1});
}

std::optional<std::string> TStudyPanel::askPathName(const QString& caption, const QString& initial,
                                                    int except) {
    const std::optional<QString> typed =
        services_.input.inputBox(caption, QStringLiteral("経路の名前"), initial);
    if (!typed)
        return std::nullopt;
    const std::string name = typed->trimmed().toStdString();
    if (name.empty()) {
        services_.messages.showWarning(QStringLiteral("経路の名前を入れてください"));
        return std::nullopt;
    }
    const auto& paths = study().paths;
    for (std::size_t i = 0; i < paths.size(); ++i)
        if (int(i) != except && paths[i].name == name) {
            services_.messages.showWarning(
                QStringLiteral("経路「%1」はすでにあります").arg(QString::fromStdString(name)));
            return std::nullopt;
        }
    return name;
}

void TStudyPanel::addPath() {
    const QString initial = QStringLiteral("経路%1").arg(study().paths.size() + 1);
    if (const auto name = askPathName(QStringLiteral("経路の追加"), initial, -1))
        apply(withPath(study(), *name), {PathRow, int(study().paths.size()), -1});
}

void TStudyPanel::renamePath(int index) {
    const QString now = QString::fromStdString(study().paths.at(std::size_t(index)).name);
    if (const auto name = askPathName(QStringLiteral("経路の名前の変更"), now, index))
        apply(withPathName(study(), std::size_t(index), *name), {PathRow, index, -1});
}

void TStudyPanel::changeSelected() {
    const Selection s = selected();
    switch (s.section) {
    case SettingsRow:
        return editSettings();
    case BusRow:
        return changeBus(s.index);
    case DeviceRow:
        return changeDevice(s.index);
    case PathRow:
        return renamePath(s.index);
    default:
        return;
    }
}

void TStudyPanel::removeSelected() {
    const Selection s = selected();
    const TStudy& st = study();
    const std::size_t i = std::size_t(s.index);
    switch (s.section) {
    case BusRow: {
        const std::string& name = st.buses.at(i).name;
        const std::vector<std::string> on = devicesOnBus(st, name);
        if (!on.empty()) {
            QStringList ids;
            for (const std::string& id : on)
                ids << QString::fromStdString(id);
            const QString question =
                QStringLiteral("母線「%1」には装置 %2 が付いています。母線を削除し、"
                               "これらの装置を母線なし（換算しない）にしますか？")
                    .arg(QString::fromStdString(name), ids.join(QStringLiteral("、")));
            if (services_.messages.confirm(question, ConfirmButtons::YesNo) != BoxAnswer::Yes)
                return;
        }
        return apply(withoutBus(st, i), {BusRow, std::max(0, s.index - 1), -1});
    }
    case DeviceRow:
        return apply(withoutDevice(st, i), {DeviceRow, std::max(0, s.index - 1), -1});
    case PathRow:
        return apply(withoutPath(st, i), {PathRow, std::max(0, s.index - 1), -1});
    case PathDeviceRow: {
        // The neighbour towards the load stays selected, else the path itself.
        const Selection then = st.paths.at(i).devices.size() > 1
                                   ? Selection{PathDeviceRow, s.index, std::max(0, s.position - 1)}
                                   : Selection{PathRow, s.index, -1};
        return apply(withoutPathDevice(st, i, std::size_t(s.position)), then);
    }
    default:
        return;
    }
}

void TStudyPanel::moveSelected(int step) {
    const Selection s = selected();
    if (s.section != PathDeviceRow)
        return;
    apply(withPathDeviceMoved(study(), std::size_t(s.index), std::size_t(s.position), step),
          {PathDeviceRow, s.index, s.position + step});
}

void TStudyPanel::fillPathMenu() {
    PathMenu->clear();
    const Selection s = selected();
    if (s.section != DeviceRow)
        return;
    const std::string id = study().devices.at(std::size_t(s.index)).id;
    const auto& paths = study().paths;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        QAction* a = PathMenu->addAction(QString::fromStdString(paths[i].name));
        const bool in = std::find(paths[i].devices.begin(), paths[i].devices.end(), id) !=
                        paths[i].devices.end();
        a->setEnabled(!in);
        if (in)
            a->setToolTip(QStringLiteral("この経路にすでにあります"));
        connect(a, &QAction::triggered, this,
                [this, i] { runGuarded(services_.messages, [this, i] { addToPath(i); }); });
    }
}

void TStudyPanel::addToPath(std::size_t path) {
    const Selection s = selected();
    if (s.section != DeviceRow)
        return;
    const TStudy& st = study();
    apply(withPathDevice(st, path, st.devices.at(std::size_t(s.index)).id),
          {PathDeviceRow, int(path), int(st.paths.at(path).devices.size())});
}

void TStudyPanel::takeStored(bool all) {
    const Selection s = selected();
    TStudy changed = study();
    int taken = 0;
    for (std::size_t i = 0; i < changed.devices.size(); ++i) {
        if (!all && !(s.section == DeviceRow && std::size_t(s.index) == i))
            continue;
        const auto* relay = dynamic_cast<const TRelayDevice*>(changed.devices[i].kind.get());
        if (!relay)
            continue;
        const RelaySettings mine = relay->Settings();
        const std::optional<RelaySettings> stored = host_.stored(mine.company, mine.device);
        if (!stored || relay->SameValues(*stored))
            continue;
        changed = withStoredRelay(changed, i, *stored);
        ++taken;
    }
    if (taken == 0) {
        services_.messages.showMessage(QStringLiteral("保存データと異なる継電器はありません"));
        return;
    }
    apply(std::move(changed), s);
}

void TStudyPanel::setDeviceVisible(int index, bool shown) {
    if (std::size_t(index) >= study().devices.size())
        return;
    TDevice d = study().devices.at(std::size_t(index));
    if (d.visible == shown)
        return;
    d.visible = shown;
    apply(withDevice(study(), std::size_t(index), std::move(d)), {DeviceRow, index, -1});
}

} // namespace telvara
