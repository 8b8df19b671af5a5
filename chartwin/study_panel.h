#pragma once
// "検討パネル": the open study beside the chart. Lists the study's settings,
// buses, devices and paths, and edits them: every edit builds a new study
// and hands it to the window, which refuses a broken one. A relay whose
// stored record differs from the study's copy is marked, and its stored
// values can be taken in.
#include "platform/services.h"
#include "relay/relay.h"
#include "study/study.h"

#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>

class QAction;
class QGridLayout;
class QMenu;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace telvara {

// What the panel reads from and hands to its window.
struct TStudyPanelHost {
    std::function<const TStudy&()> study;
    // Takes the edited study (shows a refusal itself); true when taken.
    std::function<bool(TStudy)> change;
    // The stored relay of this company name and device number, if any.
    std::function<std::optional<RelaySettings>(const std::string&, const std::string&)> stored;
};

// How a relay device's copy compares with the store.
enum class StoredState { Same, Differs, NotStored, Unreadable };

class TStudyPanel : public QWidget {
    Q_OBJECT
public:
    TStudyPanel(TStudyPanelHost host, Services& services, QWidget* parent);

    // Lists the study anew, keeping the selection, and compares each relay
    // with the store.
    void refresh();
    // The undo and redo commands of the window, as buttons of the panel.
    void addUndoButtons(QAction* undo, QAction* redo);
    // The marks of the last refresh, by device id (relays only).
    const std::map<std::string, StoredState>& storedStates() const { return stored_; }

private:
    enum Section { SettingsRow, BusRow, DeviceRow, PathRow, PathDeviceRow };
    struct Selection {
        int section = -1;
        int index = -1;
        int position = -1;
    };

    void buildButtons();
    // A command: an action in the list's context menu and a button (objectName
    // `name`) at row, column of the button grid.
    QAction* addCommand(const char* name, const QString& text, int row, int column,
                        std::function<void()> run, int span = 1);
    void fill();
    void fillDevices(QTreeWidgetItem* top);
    void fillPaths(QTreeWidgetItem* top);
    void markStored(QTreeWidgetItem* item, const TDevice& device);
    QTreeWidgetItem* row(QTreeWidgetItem* parent, Section section, int index, int position,
                         const QString& first, const QString& second);
    Selection selected() const;
    void select(Selection s);
    void updateButtons();
    // Hands the study over, and selects `then` once it is listed.
    void apply(TStudy study, Selection then);
    const TStudy& study() const { return host_.study(); }

    // Commands.
    void editSettings();
    void addBus();
    void addDevice(const std::string& kind);
    void addPath();
    void changeSelected();
    void removeSelected();
    void moveSelected(int step);
    void addToPath(std::size_t path);
    void fillPathMenu();
    void takeStored(bool all);
    void setDeviceVisible(int index, bool shown);
    void changeBus(int index);
    void changeDevice(int index);
    void renamePath(int index);
    // A path name typed in the input box: none when cancelled or refused.
    std::optional<std::string> askPathName(const QString& caption, const QString& initial,
                                           int except);

    TStudyPanelHost host_;
    Services& services_;
    QTreeWidget* Tree = nullptr;
    QGridLayout* buttons_ = nullptr;
    QAction* ChangeAction = nullptr;     // "変更…"
    QAction* RemoveAction = nullptr;     // "削除"
    QAction* UpAction = nullptr;         // "上へ"
    QAction* DownAction = nullptr;       // "下へ"
    QAction* ToPathAction = nullptr;     // "経路に加える", a menu of the paths
    QAction* TakeStoredAction = nullptr; // "保存データを取り込む"
    QMenu* PathMenu = nullptr;
    std::map<std::string, StoredState> stored_;
    std::optional<Selection> pending_;
    bool filling_ = false;
};

} // namespace telvara
