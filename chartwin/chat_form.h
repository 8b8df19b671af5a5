#pragma once
// The chart window "グラフ画面": the coordination chart below its tool bar.
// Created hidden at start-up, shown maximised from the main window, hidden
// again on close; every activation from the main window draws the main
// window's entries into the current curve.
#include "chart/print.h"
#include "chartwin/coordination_chart.h"
#include "chartwin/main_link.h"
#include "platform/services.h"
#include "study/study.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;
class QToolButton;
class QVBoxLayout;

namespace telvara {

class TChartWidget;
class TCheckTools;
class TStudyOverlay;
class TStudyPanel;
class PrintPreviewService;

// Height of the tool bar above the chart.
inline constexpr int kToolBarHeight = 41;

class TChatForm : public QWidget {
    Q_OBJECT
public:
    TChatForm(MainWindowLink& main, Services& services, QWidget* parent = nullptr);
    ~TChatForm() override;

    // "グラフ表示": shows the window maximised, or brings it to the front;
    // either way the activation handler runs. The list window shows the
    // chart this way too ("選択データ表示", and after "全データ表示").
    void showFromMain();

    // Times the activation handler ran to its end (for tests and tools).
    int activationCount() const { return activations_; }

    // The curves and their current series (for tests and tools).
    const TCoordinationChart& coordination() const { return *chart_; }

    // The list window's "全データ表示": the relays drawn by drawAllRelays,
    // each as an activation from the main window draws a relay (its colour,
    // and into the study), with the main window's time axis switch.
    // currents: the main window's, carried from relay to relay. The names of
    // the relays skipped are returned.
    std::vector<std::string> drawRelays(const std::vector<RelaySettings>& relays,
                                        RelayCurrents& currents);
    // The current curve closed into a new one, as closing the window does,
    // and removed, as "ｸﾞﾗﾌの削除" does.
    void startNewCurve();
    void removeCurrentCurve();

    // ---- the study (the window's document) ----
    // The relays shown are the study's devices; its buses' fault currents are
    // drawn as lines. Without a file it is an unnamed study.
    const TStudy& study() const { return study_; }
    // The file, empty for an unnamed study.
    const QString& studyPath() const { return studyPath_; }
    bool studyModified() const { return modified_; }
    // "新規": an empty unnamed study, after the unsaved-changes question.
    void newStudy();
    // Opens the file as the study, after the unsaved-changes question. A file
    // that cannot be read is refused with its line and fault, and the window
    // keeps what it had. False when refused or cancelled.
    bool openStudy(const QString& path);
    // "上書き保存" (an unnamed study asks for a name) and "名前を付けて保存…";
    // false when cancelled or refused.
    bool saveStudy();
    bool saveStudyAs();
    // Unsaved changes: asks "保存しますか" and saves (Yes), drops (No) or
    // stays (Cancel: false). True at once when nothing is unsaved.
    bool maybeSaveStudy();
    // Takes the study as it is (the panel's edits): redraws and marks it
    // changed, and the study before it can be had back by "元に戻す". A study
    // that validateStudy refuses raises its fault and nothing changes.
    void changeStudy(TStudy study);
    // "元に戻す" (Ctrl+Z) and "やり直し" (Ctrl+Y) of the study's changes; a new
    // or opened study starts with none.
    void undoStudy();
    void redoStudy();
    bool canUndoStudy() const { return !undo_.empty(); }
    bool canRedoStudy() const { return !redo_.empty(); }

    // The preview the window shows pages in (tests put their own).
    void setPrintPreview(PrintPreviewService* preview) { preview_ = preview; }
    // The printer "印刷" and "ﾌﾟﾚﾋﾞｭｰ" print on: the default printer unless a
    // test puts its own; nullptr: none.
    void setPrinter(TChartPrinter* printer) { printer_ = printer; }
    // The page setup "印刷" and "ﾌﾟﾚﾋﾞｭｰ" print with; the margin is the last one asked for.
    const TChartPrintOptions& printOptions() const { return renderer_->Options(); }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TChart& Chart1() { return chart_->Chart(); }

    // Handlers.
    void FormActivate();
    void StartNewCurve();
    void FormClose();
    void Button1Click();
    void Button2Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void CheckBox5Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Button3Click();
    void Button4Click();
    // "ﾌﾟﾚﾋﾞｭｰ": the page "印刷" would print, shown before printing.
    void Button5Click();
    void Chart1AfterDraw();

    void buildToolBar();
    // The study panel beside the chart, its tool-bar switch "検討パネル" and the
    // undo commands; the chart and the panel in the splitter returned.
    QSplitter* buildStudyPanel();
    // The study as it is before a change, for "元に戻す".
    void rememberForUndo();
    void clearUndo();
    // The panel's edit taken, or refused with the fault shown; true when taken.
    bool takePanelEdit(TStudy study);
    void buildFileMenu(QHBoxLayout* bar);
    void fillRecentMenu();
    void addRecent(const QString& path);
    void openChosenStudy();
    void updateTitle();
    void setModified(bool modified);
    bool writeStudy(const QString& path);
    // The relay the activation drew, into the study as a device of its own
    // (the same relay's device takes the new values).
    void putShownRelay(const RelaySettings& shown, const TChartSeries& series);
    // The curves of the study's shown relays, drawn anew.
    void showStudy();
    // The relay's device out of the study and its paths.
    void removeStudyRelay(const std::string& company, const std::string& device);
    // A device that is no relay out of the study and its paths, its lines
    // with it.
    void removeStudyDevice(const std::string& id);
    void addPreviewButton(QHBoxLayout* bar);
    // The orientation question and the margin box of "印刷"; the margins are
    // set, nothing when the user cancelled or the margin was refused.
    std::optional<TPrinterOrientation> askPageSetup();
    // Fails with "プリンタが設定されていません" when there is none.
    TChartPrinter& printer() const;
    // The relay the main window's fields hold.
    RelaySettings mainRelay() const;
    // The colour the main window's choice gives a curve drawn for it.
    void colourCurve(TChartSeries& curve);
    // What ends every drawing of a relay for the main window.
    void relayActivated();
    void bindHandlers();
    void setManualInputVisible(bool visible);
    void windowActivated();
    QWidget* mainWindow() const;

    // Controls, named as in the window's design; each control's objectName
    // is its name (the chart widget's is "Chart1").
    QWidget* Panel1 = nullptr;           // the tool bar
    QPushButton* Button3 = nullptr;      // "印刷"
    QPushButton* Button1 = nullptr;      // "ｸﾞﾗﾌの追加"
    QCheckBox* CheckBox1 = nullptr;      // "値表示"
    QCheckBox* CheckBox2 = nullptr;      // "３Ｄ表示"
    QPushButton* Button2 = nullptr;      // "ｸﾞﾗﾌの削除"
    QPushButton* Button4 = nullptr;      // "BMP保存"
    QPushButton* Button5 = nullptr;      // "ﾌﾟﾚﾋﾞｭｰ"
    QCheckBox* CheckBox3 = nullptr;      // "ｸﾞﾗﾃﾞｰｼｮﾝ表示"
    QCheckBox* CheckBox5 = nullptr;      // "電流軸最小値"
    QCheckBox* CheckBox4 = nullptr;      // "入力"
    QToolButton* SpeedButton2 = nullptr; // clear the points
    QLineEdit* Edit3 = nullptr;          // device number
    QLineEdit* Edit1 = nullptr;          // current
    QLineEdit* Edit2 = nullptr;          // time
    QToolButton* SpeedButton1 = nullptr; // add a point
    QLabel* Label1 = nullptr;            // producer line
    QLabel* Label3 = nullptr;            // "Version"
    QLabel* Label2 = nullptr;            // version number
    QToolButton* FileButton = nullptr;   // "ファイル"
    QMenu* FileMenu = nullptr;
    QMenu* RecentMenu = nullptr;        // "最近使った検討"
    QToolButton* PanelToggle = nullptr; // "検討パネル"
    QAction* UndoAction = nullptr;      // "元に戻す"
    QAction* RedoAction = nullptr;      // "やり直し"

    MainWindowLink& main_;
    Services services_;
    // The default printer, kept for the program's life; printer_ is it unless
    // setPrinter gave another.
    std::unique_ptr<TChartPrinter> defaultPrinter_;
    TChartPrinter* printer_;
    std::unique_ptr<TCoordinationChart> chart_;
    // Prints and exports Chart1 with the window's print settings.
    std::unique_ptr<TChartRenderer> renderer_;
    PrintPreviewService* preview_;
    TChartWidget* chartWidget_ = nullptr;
    TCheckTools* check_ = nullptr;
    // The window of this program that was active before this one; nullptr
    // after the program lost the focus to another program.
    QPointer<QWidget> previousActive_;
    bool activationRequested_ = false;
    int activations_ = 0;

    TStudy study_;
    QString studyPath_;
    bool modified_ = false;
    // The study as last opened or saved: "*" while the study differs from it.
    TStudy saved_;
    std::vector<TStudy> undo_;
    std::vector<TStudy> redo_;
    std::unique_ptr<TStudyOverlay> overlay_;
    TStudyPanel* panel_ = nullptr;
};

} // namespace telvara
