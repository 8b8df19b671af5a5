// The chart window's study panel beside the chart, its switch on the tool
// bar, and the undo of the study's changes.
#include "chartwin/chat_form.h"

#include "chartwin/study_panel.h"
#include "platform/chart_widget.h"
#include "platform/guard.h"

#include <QAction>
#include <QHBoxLayout>
#include <QSettings>
#include <QSplitter>
#include <QToolButton>

namespace telvara {

namespace {

const QString kPanelShownKey = QStringLiteral("StudyPanelShown");
// Studies kept for "元に戻す".
constexpr std::size_t kUndoDepth = 100;

QSettings settings() {
    return QSettings(QStringLiteral("Telvara"), QStringLiteral("telvara"));
}

} // namespace

QSplitter* TChatForm::buildStudyPanel() {
    UndoAction = new QAction(QStringLiteral("元に戻す"), this);
    UndoAction->setObjectName(QStringLiteral("UndoAction"));
    UndoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoAction = new QAction(QStringLiteral("やり直し"), this);
    RedoAction->setObjectName(QStringLiteral("RedoAction"));
    RedoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* a : {UndoAction, RedoAction})
        a->setEnabled(false);
    connect(UndoAction, &QAction::triggered, this,
            [this] { runGuarded(services_.messages, [this] { undoStudy(); }); });
    connect(RedoAction, &QAction::triggered, this,
            [this] { runGuarded(services_.messages, [this] { redoStudy(); }); });
    addActions({UndoAction, RedoAction});

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("StudySplitter"));
    splitter->setChildrenCollapsible(false);
    chartWidget_->setParent(splitter);
    splitter->addWidget(chartWidget_);
    panel_ = new TStudyPanel({[this]() -> const TStudy& { return study_; },
                              [this](TStudy s) { return takePanelEdit(std::move(s)); },
                              [this](const std::string& company, const std::string& device) {
                                  return main_.storedRelay(company, device);
                              }},
                             services_, splitter);
    panel_->addUndoButtons(UndoAction, RedoAction);
    splitter->addWidget(panel_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({1000, 420});

    // The switch goes beside "ファイル"; the panel is never printed or exported.
    PanelToggle = new QToolButton(Panel1);
    PanelToggle->setObjectName(QStringLiteral("PanelToggle"));
    PanelToggle->setText(QStringLiteral("検討パネル"));
    PanelToggle->setCheckable(true);
    auto* bar = static_cast<QHBoxLayout*>(Panel1->layout());
    bar->insertWidget(bar->indexOf(FileButton) + 1, PanelToggle);
    // Hidden until the user first switches it on: the chart keeps the whole
    // width, the size "BMP保存" and telvara-render draw it at.
    const bool shown = settings().value(kPanelShownKey, false).toBool();
    PanelToggle->setChecked(shown);
    panel_->setVisible(shown);
    connect(PanelToggle, &QToolButton::toggled, this, [this](bool on) {
        panel_->setVisible(on);
        settings().setValue(kPanelShownKey, on);
    });
    return splitter;
}

bool TChatForm::takePanelEdit(TStudy study) {
    try {
        changeStudy(std::move(study));
        return true;
    } catch (const TelvaraError& e) {
        // Refused: the study stays as it was.
        services_.messages.showWarning(QString::fromStdString(e.what()));
        return false;
    }
}

void TChatForm::rememberForUndo() {
    undo_.push_back(study_);
    if (undo_.size() > kUndoDepth)
        undo_.erase(undo_.begin());
    redo_.clear();
}

void TChatForm::clearUndo() {
    undo_.clear();
    redo_.clear();
}

void TChatForm::undoStudy() {
    if (undo_.empty())
        return;
    redo_.push_back(std::move(study_));
    study_ = std::move(undo_.back());
    undo_.pop_back();
    showStudy();
    setModified(!(study_ == saved_));
}

void TChatForm::redoStudy() {
    if (redo_.empty())
        return;
    undo_.push_back(std::move(study_));
    study_ = std::move(redo_.back());
    redo_.pop_back();
    showStudy();
    setModified(!(study_ == saved_));
}

} // namespace telvara
