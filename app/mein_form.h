#pragma once
// The main window "保護協調曲線": entry of one relay's settings, the derived
// currents, the colour choice, help and the close question. It owns the
// record store for the whole run.
#include "base/colors.h"
#include "chartwin/main_link.h"
#include "platform/services.h"

#include <QHash>
#include <QList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace telvara {

class TBPlusTree;
class TChatForm;

// Outer size of the window, centred on the desktop.
inline constexpr int kMeinFormWidth = 768;
inline constexpr int kMeinFormHeight = 242;
inline const QString kMeinFormTitle = QStringLiteral("保護協調曲線");
// The width a current label may take (an int property of Label9 to Label15).
inline constexpr char kCurrentRoomProperty[] = "currentRoom";

class TMeinForm : public QWidget, public MainWindowLink {
    Q_OBJECT
public:
    // Builds the controls and runs the creation handler (FormCreate).
    explicit TMeinForm(Services services, QWidget* parent = nullptr);
    ~TMeinForm() override;

    // The chart window "グラフ表示" shows.
    void setChartWindow(TChatForm* chart) { chart_ = chart; }
    TChatForm* chartWindow() const { return chart_; }
    // True when the data-folder dialog was cancelled: the program ends
    // without showing this window.
    bool terminationRequested() const { return terminationRequested_; }
    TBPlusTree& store() { return *store_; }
    Services& services() { return services_; }

    // Loads the stored relay under a listed key (UTF-8 texts) into the entry
    // fields through the hidden search "検索", as the input data list does:
    // the derived currents follow; a key that names no record clears the
    // fields and says "見つかりません？". True when the record was found.
    bool loadRecord(const std::string& company, const std::string& device);
    // The currents the list window's drawing of many relays left: a relay
    // loaded next with an INST tap of 0 keeps their INST current, as it does
    // after loading each of those relays in turn.
    void carryCurrents(const RelayCurrents& currents) { currents_ = currents; }

    // MainWindowLink: what the chart window reads at every activation.
    std::string timeText(int index) const override;
    std::string deviceText() const override;
    std::string companyText() const override;
    std::string ctText() const override;
    std::string tapText() const override;
    std::string instTapText() const override;
    RelayCurrents currents() const override { return currents_; }
    bool timeCheckChecked() const override;
    int colorRadioIndex() const override;
    TColor dialogColor() const override { return dialogColor_; }
    std::string versionCaption() const override;
    TColor ColorSelect() override;
    void refuseStoreFile(const std::string& path) const override;
    std::optional<RelaySettings> storedRelay(const std::string& company,
                                             const std::string& device) const override;

signals:
    // The window closed after the close question: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads the focus bookkeeping (the control regarded as focused, the tab
    // chain) in the window's tests.
    friend class TMeinFormTestAccess;

    // Start-up (runs from the constructor).
    void FormCreate();
    void OpenFiles();

    // Handlers of the entry fields and buttons.
    void Edit1Exit();
    void Edit9Exit();
    void Edit10Exit();
    // Leaving a time field Edit2 .. Edit8 (column 0 .. 6).
    void TimeEditExit(std::size_t column);
    void Edit8Enter();
    void RadioGroup1Click();
    void ColorButtonClick();
    void Button1Click();
    void Button2Click();
    void FormCloseQuery(bool& canClose);

    // Store commands: add, the hidden search, remove and the input data list.
    void CmdAddClick();
    void CmdSearchClick();
    void DataSearch();
    void CmdRemoveClick();
    void Button3Click();
    // "反限時特性": the six times from a characteristic.
    void CurveButtonClick();
    void ShowCurrent();
    void ShowStructure();
    // "読み取り専用" in the title while the store refuses to write.
    void showStoreState();
    // Raises the store's refusal before anything is asked.
    void requireWritable();

    // Moves the focus to a control. Inside an exit handler this redirects
    // the focus change in progress (focus back into a field, or on).
    void focusControl(QWidget* control);
    // The control the window regards as focused (where an exit check runs).
    QWidget* activeControl() const { return activeControl_; }

    // Exit and entry handlers of a control; each runs behind the guard.
    void bindExit(QWidget* control, std::function<void()> handler);
    void bindEnter(QWidget* control, std::function<void()> handler);
    // The tab order of the window's controls, first to last.
    void setTabChain(const QList<QWidget*>& chain);
    QList<QWidget*> tabChain() const { return tabChain_; }
    // Watches the mouse on every control, so that a click whose focus change
    // an exit check refused does nothing. Call again after adding controls.
    void watchControls();

    // The twelve entry controls and the record fields they hold.
    struct EntryField;
    std::vector<EntryField> entryFields() const;

    void buildControls();
    void createDataGroup();
    void createTimeColumns();
    void createHelpButton();
    void createChartOptions();
    void createChartButton();
    void createVersionLabels();
    void createStoreControls();
    void createCurveControls();
    void deriveLoadedCurrents();
    void bindHandlers();
    void onFocusChanged(QWidget* old, QWidget* now);
    // False when the handler failed (and was reported).
    bool runHandler(const QHash<QWidget*, std::function<void()>>& handlers, QWidget* control);
    void showTapCurrents();
    void fitOuterSize();
    void centreOnDesktop();

    // Controls, named as in the window's design; each
    // control's objectName is its name.
    QGroupBox* GroupBox2 = nullptr; // "保護協調 DATA"
    QLineEdit* kaisya = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QLineEdit* Debaisu = nullptr;
    // The time columns 150 % .. 700 % and INST: their fields Edit2 .. Edit8
    // and the currents Label9 .. Label15 above them.
    static constexpr std::size_t kInstColumn = kTimeFieldCount - 1;
    std::array<QLineEdit*, kTimeFieldCount> TimeEdits{};
    std::array<QLabel*, kTimeFieldCount> CurrentLabels{};
    QPushButton* Button1 = nullptr; // "グラフ表示"
    QPushButton* Button2 = nullptr; // "?"
    QPushButton* ColorButton = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* RadioItem0 = nullptr; // "指定色を交える"
    QRadioButton* RadioItem1 = nullptr; // "ランダム付ける"
    QButtonGroup* RadioButtons = nullptr;
    QCheckBox* TimeCheck = nullptr;
    QLabel* ProducerLbl = nullptr;
    QLabel* VersionLbl = nullptr;
    QLabel* VersionNoLbl = nullptr;
    QPushButton* CmdAdd = nullptr;    // "Add"
    QPushButton* CmdRemove = nullptr; // "ﾚｺｰﾄﾞ削除"
    QPushButton* Button3 = nullptr;   // "一覧"
    QGroupBox* GroupBox1 = nullptr;   // "検索", never shown
    QLineEdit* SearchKaisyaName = nullptr;
    QLineEdit* SearchDebisuNo = nullptr;
    QPushButton* CmdSearch = nullptr;

    QPushButton* CurveButton = nullptr; // "反限時特性"

    Services services_;
    std::unique_ptr<TBPlusTree> store_;
    TChatForm* chart_ = nullptr;
    bool terminationRequested_ = false;
    TColor dialogColor_ = clBlack;
    // The derived currents of the relay the fields hold.
    RelayCurrents currents_;

    QHash<QWidget*, std::function<void()>> exitHandlers_;
    QHash<QWidget*, std::function<void()>> enterHandlers_;
    QList<QWidget*> tabChain_;
    QWidget* activeControl_ = nullptr;
    int focusChangeDepth_ = 0;
    QWidget* swallowMouse_ = nullptr;
    QObject* swallowRelease_ = nullptr;
    bool sizeFitted_ = false;
    bool searchFound_ = false;
};

} // namespace telvara
