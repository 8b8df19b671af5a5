#pragma once
// "協調チェック": the coordination check of the chart window. Its tool bar
// part (the command and the read-out of current and time under the mouse)
// and its dialog (interval, fault currents, the table of pairs, the legend
// option).
#include "chartwin/coordination_check.h"
#include "platform/help_contexts.h"
#include "platform/services.h"

#include <QDialog>
#include <QPoint>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace telvara {

class TChartWidget;

// The open study the check works on when it has paths, and where the marks
// of its failing pairs go.
struct TStudyCheckSource {
    std::function<const TStudy*()> study;
    std::function<void(std::vector<TStudyCheckLine>)> showMarks;
};

class TCheckDialog : public QDialog {
    Q_OBJECT
public:
    TCheckDialog(TCoordinationChart& chart, TCheckOverlay& overlay, Services& services,
                 QWidget* parent, TStudyCheckSource source = {});

    // The last check again on the chart's curves as they are now; the table
    // is filled anew when its rows changed. Nothing before the first check.
    void refresh();

private:
    // "チェック": reads the fields, fills the table, draws lines and marks.
    void runCheck();
    // The rows of a check: along the study's paths when it has some, else
    // the chart's curves by pick-up.
    std::vector<CheckRow> checkRows(const CheckSettings& settings);
    void fillTable(std::vector<CheckRow> rows);
    // "コピー": the table as tab-separated text on the clipboard.
    void copyTable();
    // False, after a warning naming the field, when it holds no positive number.
    bool readField(QLineEdit* edit, const QString& name, bool optional,
                   std::optional<double>& value);

    // Controls; each control's objectName is its name.
    QLineEdit* CtiEdit = nullptr;
    QLineEdit* MaxFaultEdit = nullptr;
    QLineEdit* MinFaultEdit = nullptr;
    QCheckBox* LegendCheck = nullptr;
    QPushButton* CheckButton = nullptr;
    QPushButton* CopyButton = nullptr;
    QTableWidget* Table = nullptr;

    TCoordinationChart& chart_;
    TCheckOverlay& overlay_;
    Services& services_;
    TStudyCheckSource source_;
    std::vector<CheckRow> rows_;
    std::optional<CheckSettings> checked_; // of the last "チェック"
};

// The chart window's part of the check: created with the window, its
// widget placed on the tool bar.
class TCheckTools : public QObject {
    Q_OBJECT
public:
    TCheckTools(TCoordinationChart& chart, TChartWidget& chartWidget, Services& services,
                QWidget* window);
    ~TCheckTools() override;

    // The command and the read-out, for the window's tool bar.
    QWidget* toolBarWidget() const { return bar_; }
    // A study with paths is checked along them (before the dialog first opens).
    void setStudySource(TStudyCheckSource source) { source_ = std::move(source); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // "協調チェック": the dialog (objectName "CheckDialog"), made at the first use.
    void openDialog();
    void showReadOut(int x, int y);
    // After a paint: the read-out for the axes as now drawn (a zoom or its
    // undo moves them under a still mouse); an open dialog checks the curves
    // again, once the paint is over.
    void chartPainted();

    // Controls on the tool bar; each control's objectName is its name.
    QPushButton* CheckCommand = nullptr; // "協調チェック"
    QLabel* ReadOut = nullptr;           // current and time under the mouse
    QCheckBox* MarksCheck = nullptr;     // "表示": the check's lines and marks

    TCoordinationChart& chart_;
    TChartWidget& chartWidget_;
    Services& services_;
    QWidget* window_;
    QWidget* bar_ = nullptr;
    std::unique_ptr<TCheckOverlay> overlay_;
    TCheckDialog* dialog_ = nullptr;
    TStudyCheckSource source_;
    // The mouse over the chart, while it is there.
    std::optional<QPoint> mouse_;
};

} // namespace telvara
