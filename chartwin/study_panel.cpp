// "検討パネル": the list of the open study and its marks; the commands are in
// study_panel_commands.cpp.
#include "chartwin/study_panel.h"

#include "base/errors.h"
#include "base/numbers.h"
#include "chartwin/study_panel_dialogs.h"
#include "platform/guard.h"
#include "platform/help_contexts.h"
#include "platform/help_keys.h"
#include "study/relay_device.h"

#include <QAction>
#include <QColor>
#include <QGridLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace telvara {

namespace {

constexpr int kSectionRole = Qt::UserRole;
constexpr int kIndexRole = Qt::UserRole + 1;
constexpr int kPositionRole = Qt::UserRole + 2;

const QString kDiffers = QStringLiteral("保存データと異なります");
const QString kNotStored = QStringLiteral("保存データにありません");

QString amps(const std::optional<double>& a) {
    return a ? QString::fromStdString(formatFloatPattern(*a, "#,##0.###")) + QStringLiteral(" A")
             : QStringLiteral("-");
}

QString number(double v) {
    return QString::fromStdString(formatGeneral(v));
}

QIcon swatch(const std::optional<std::string>& colour) {
    QPixmap p(12, 12);
    p.fill(colour ? QColor(QString::fromStdString(*colour)) : QColor(Qt::transparent));
    QPainter painter(&p);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, 11, 11);
    return QIcon(p);
}

const TRelayDevice* relayOf(const TDevice& d) {
    return dynamic_cast<const TRelayDevice*>(d.kind.get());
}

} // namespace

TStudyPanel::TStudyPanel(TStudyPanelHost host, Services& services, QWidget* parent)
    : QWidget(parent), host_(std::move(host)), services_(services) {
    setObjectName(QStringLiteral("StudyPanel"));
    setHelpContext(this, kStudyPanelHelpContext);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    Tree = new QTreeWidget(this);
    Tree->setObjectName(QStringLiteral("Tree"));
    Tree->setColumnCount(2);
    Tree->setHeaderLabels({QStringLiteral("名前"), QStringLiteral("内容")});
    Tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    Tree->setContextMenuPolicy(Qt::ActionsContextMenu);
    column->addWidget(Tree, 1);
    buttons_ = new QGridLayout;
    buttons_->setSpacing(2);
    column->addLayout(buttons_);
    buildButtons();
    connect(Tree, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    // Both edit the study, which lists it anew: they run once the list's
    // own handling of the click is over.
    connect(
        Tree, &QTreeWidget::itemDoubleClicked, this,
        [this](QTreeWidgetItem*, int) {
            if (ChangeAction->isEnabled())
                ChangeAction->trigger();
        },
        Qt::QueuedConnection);
    connect(Tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (filling_ || item->data(0, kSectionRole).toInt() != DeviceRow)
            return;
        const int index = item->data(0, kIndexRole).toInt();
        const bool shown = item->checkState(0) == Qt::Checked;
        QMetaObject::invokeMethod(
            this,
            [this, index, shown] {
                runGuarded(services_.messages, [&] { setDeviceVisible(index, shown); });
            },
            Qt::QueuedConnection);
    });
    refresh();
}

QAction* TStudyPanel::addCommand(const char* name, const QString& text, int r, int c,
                                 std::function<void()> run, int span) {
    auto* a = new QAction(text, this);
    a->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
    if (run)
        connect(a, &QAction::triggered, this, [this, run] { runGuarded(services_.messages, run); });
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setDefaultAction(a);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    buttons_->addWidget(b, r, c, 1, span);
    Tree->addAction(a);
    return a;
}

// A command whose button opens a menu at once.
static QMenu* menuOf(QAction* a, QWidget* panel, const char* name) {
    auto* menu = new QMenu(panel);
    menu->setObjectName(QString::fromLatin1(name));
    a->setMenu(menu);
    for (auto* b : panel->findChildren<QToolButton*>())
        if (b->defaultAction() == a)
            b->setPopupMode(QToolButton::InstantPopup);
    return menu;
}

void TStudyPanel::buildButtons() {
    addCommand("SettingsButton", QStringLiteral("検討の設定…"), 0, 0, [this] { editSettings(); });
    addCommand("AddBusButton", QStringLiteral("母線の追加…"), 0, 1, [this] { addBus(); });
    QMenu* kinds = menuOf(addCommand("AddDeviceButton", QStringLiteral("装置の追加"), 0, 2, {}),
                          this, "DeviceKindMenu");
    for (const std::string& kind : deviceKindNames()) {
        if (kind == TRelayDevice::kName)
            continue; // relays come from the main window
        QAction* a = kinds->addAction(kindCaption(kind) + QStringLiteral("…"));
        a->setObjectName(QStringLiteral("Add_") + QString::fromStdString(kind));
        connect(a, &QAction::triggered, this, [this, kind] {
            runGuarded(services_.messages, [this, kind] { addDevice(kind); });
        });
    }
    addCommand("AddPathButton", QStringLiteral("経路の追加…"), 1, 0, [this] { addPath(); });
    ChangeAction =
        addCommand("ChangeButton", QStringLiteral("変更…"), 1, 1, [this] { changeSelected(); });
    RemoveAction =
        addCommand("RemoveButton", QStringLiteral("削除"), 1, 2, [this] { removeSelected(); });
    UpAction = addCommand("UpButton", QStringLiteral("上へ"), 2, 0, [this] { moveSelected(-1); });
    DownAction =
        addCommand("DownButton", QStringLiteral("下へ"), 2, 1, [this] { moveSelected(+1); });
    // Del in the list removes what is selected there.
    RemoveAction->setShortcut(QKeySequence::Delete);
    RemoveAction->setShortcutContext(Qt::WidgetShortcut);
    UpAction->setToolTip(QStringLiteral("経路の中で負荷側へ"));
    DownAction->setToolTip(QStringLiteral("経路の中で電源側へ"));
    ToPathAction = addCommand("ToPathButton", QStringLiteral("経路に加える"), 2, 2, {});
    PathMenu = menuOf(ToPathAction, this, "PathMenu");
    connect(PathMenu, &QMenu::aboutToShow, this, [this] { fillPathMenu(); });
    TakeStoredAction = addCommand(
        "TakeStoredButton", QStringLiteral("保存データを取り込む"), 3, 0,
        [this] { takeStored(false); }, 2);
    TakeStoredAction->setToolTip(QStringLiteral("選んだ継電器に保存データの値を取り込みます"));
    addCommand("TakeAllStoredButton", QStringLiteral("すべて取り込む"), 3, 2, [this] {
        takeStored(true);
    })->setToolTip(QStringLiteral("保存データと異なる継電器すべてに保存データを取り込みます"));
}

void TStudyPanel::addUndoButtons(QAction* undo, QAction* redo) {
    int c = 0;
    for (QAction* a : {undo, redo}) {
        auto* b = new QToolButton(this);
        b->setDefaultAction(a);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        buttons_->addWidget(b, 4, c);
        ++c;
    }
}

// ---- the list --------------------------------------------------------------

void TStudyPanel::refresh() {
    const Selection keep = pending_.value_or(selected());
    pending_.reset();
    filling_ = true;
    fill();
    filling_ = false;
    select(keep);
    updateButtons();
}

QTreeWidgetItem* TStudyPanel::row(QTreeWidgetItem* parent, Section section, int index, int position,
                                  const QString& first, const QString& second) {
    auto* item = new QTreeWidgetItem(parent, {first, second});
    item->setData(0, kSectionRole, int(section));
    item->setData(0, kIndexRole, index);
    item->setData(0, kPositionRole, position);
    return item;
}

void TStudyPanel::fill() {
    const TStudy& s = study();
    Tree->clear();
    auto top = [this](const QString& caption) {
        auto* item = new QTreeWidgetItem(Tree, {caption});
        item->setFlags(Qt::ItemIsEnabled);
        item->setExpanded(true);
        return item;
    };
    QTreeWidgetItem* settings = top(QStringLiteral("検討の設定"));
    row(settings, SettingsRow, 0, -1, QStringLiteral("題名"), QString::fromStdString(s.title));
    row(settings, SettingsRow, 1, -1, QStringLiteral("基準電圧"),
        s.referenceKv ? number(*s.referenceKv) + QStringLiteral(" kV")
                      : QStringLiteral("なし（換算しない）"));
    row(settings, SettingsRow, 2, -1, QStringLiteral("協調時間間隔"),
        QStringLiteral("継電器どうし %1 s・継電器と特性点 %2 s・特性点どうし %3 s")
            .arg(number(studyCti(s, "relay_relay")), number(studyCti(s, "relay_point")),
                 number(studyCti(s, "point_point"))));
    QTreeWidgetItem* buses = top(QStringLiteral("母線"));
    for (std::size_t i = 0; i < s.buses.size(); ++i) {
        const TBus& b = s.buses[i];
        row(buses, BusRow, int(i), -1, QString::fromStdString(b.name),
            (b.kv ? number(*b.kv) + QStringLiteral(" kV") : QStringLiteral("- kV")) +
                QStringLiteral("  最大 ") + amps(b.faultMaxA) + QStringLiteral("  最小 ") +
                amps(b.faultMinA));
    }
    fillDevices(top(QStringLiteral("装置")));
    fillPaths(top(QStringLiteral("経路")));
}

void TStudyPanel::fillDevices(QTreeWidgetItem* top) {
    const TStudy& s = study();
    stored_.clear();
    for (std::size_t i = 0; i < s.devices.size(); ++i) {
        const TDevice& d = s.devices[i];
        QString text = kindCaption(d.kind ? d.kind->Name() : std::string()) + QStringLiteral("  ") +
                       QString::fromStdString(d.label);
        if (!d.bus.empty())
            text += QStringLiteral("  [") + QString::fromStdString(d.bus) + QStringLiteral("]");
        QTreeWidgetItem* item = row(top, DeviceRow, int(i), -1, QString::fromStdString(d.id), text);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, d.visible ? Qt::Checked : Qt::Unchecked);
        item->setIcon(1, swatch(d.color));
        item->setToolTip(0, QStringLiteral("チェックを外すとグラフに描きません"));
        markStored(item, d);
    }
}

void TStudyPanel::markStored(QTreeWidgetItem* item, const TDevice& d) {
    const TRelayDevice* relay = relayOf(d);
    if (!relay || !host_.stored)
        return;
    const RelaySettings mine = relay->Settings();
    StoredState state = StoredState::Same;
    QString why;
    try {
        const std::optional<RelaySettings> stored = host_.stored(mine.company, mine.device);
        state = !stored                      ? StoredState::NotStored
                : relay->SameValues(*stored) ? StoredState::Same
                                             : StoredState::Differs;
    } catch (const TelvaraError& e) {
        state = StoredState::Unreadable;
        why = QStringLiteral("保存データを読めません：") + QString::fromStdString(e.what());
    }
    stored_[d.id] = state;
    if (state == StoredState::Differs) {
        item->setText(0, QStringLiteral("⚠ ") + item->text(0));
        for (int c = 0; c < 2; ++c) {
            item->setForeground(c, QColor(0xc0, 0x50, 0x00));
            item->setToolTip(c, kDiffers);
        }
    } else if (state != StoredState::Same) {
        item->setForeground(1, QColor(Qt::gray));
        item->setToolTip(1, state == StoredState::NotStored ? kNotStored : why);
    }
}

void TStudyPanel::fillPaths(QTreeWidgetItem* top) {
    const TStudy& s = study();
    for (std::size_t i = 0; i < s.paths.size(); ++i) {
        const TPath& p = s.paths[i];
        QTreeWidgetItem* path =
            row(top, PathRow, int(i), -1, QString::fromStdString(p.name),
                QStringLiteral("負荷側から電源側へ %1 台").arg(p.devices.size()));
        path->setExpanded(true);
        for (std::size_t k = 0; k < p.devices.size(); ++k) {
            const TDevice* d = s.FindDevice(p.devices[k]);
            row(path, PathDeviceRow, int(i), int(k),
                QStringLiteral("%1. ").arg(k + 1) + QString::fromStdString(p.devices[k]),
                d ? QString::fromStdString(d->label) : QString());
        }
    }
}

TStudyPanel::Selection TStudyPanel::selected() const {
    const QTreeWidgetItem* item = Tree->currentItem();
    if (!item || !item->data(0, kSectionRole).isValid())
        return {};
    return {item->data(0, kSectionRole).toInt(), item->data(0, kIndexRole).toInt(),
            item->data(0, kPositionRole).toInt()};
}

void TStudyPanel::select(Selection s) {
    for (QTreeWidgetItemIterator it(Tree); *it; ++it) {
        const QTreeWidgetItem* item = *it;
        if (item->data(0, kSectionRole).isValid() &&
            item->data(0, kSectionRole).toInt() == s.section &&
            item->data(0, kIndexRole).toInt() == s.index &&
            item->data(0, kPositionRole).toInt() == s.position) {
            Tree->setCurrentItem(*it);
            Tree->scrollToItem(*it);
            return;
        }
    }
}

void TStudyPanel::updateButtons() {
    const Selection s = selected();
    const TStudy& st = study();
    const bool device = s.section == DeviceRow;
    const bool member = s.section == PathDeviceRow;
    ChangeAction->setEnabled(s.section == BusRow || device || s.section == PathRow ||
                             s.section == SettingsRow);
    RemoveAction->setEnabled(s.section == BusRow || device || s.section == PathRow || member);
    const int count = member ? int(st.paths.at(std::size_t(s.index)).devices.size()) : 0;
    UpAction->setEnabled(member && s.position > 0);
    DownAction->setEnabled(member && s.position + 1 < count);
    ToPathAction->setEnabled(device && !st.paths.empty());
    const auto state =
        device ? stored_.find(st.devices.at(std::size_t(s.index)).id) : stored_.end();
    TakeStoredAction->setEnabled(state != stored_.end() && state->second == StoredState::Differs);
}

void TStudyPanel::apply(TStudy changed, Selection then) {
    pending_ = then;
    if (!host_.change(std::move(changed)))
        pending_.reset();
}

} // namespace telvara
