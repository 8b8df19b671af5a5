// The chart window's document: the open study, its file commands, and the
// relays the main window shows going into it.
#include "chartwin/chat_form.h"

#include "chartwin/study_chart.h"
#include "chartwin/study_panel.h"
#include "platform/guard.h"
#include "study/relay_device.h"
#include "study/study_file.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QSettings>
#include <QToolButton>

#include <cstdio>
#include <functional>

namespace telvara {

namespace {

const QString kRecentKey = QStringLiteral("RecentStudies");
constexpr int kRecentCount = 8;

const SaveFileRequest kStudyFiles{QStringLiteral("検討ファイル"),
                                  QStringLiteral("検討ファイル"),
                                  QStringLiteral("*.tvstudy"),
                                  QStringLiteral("tvstudy"),
                                  true,
                                  {}};

std::unique_ptr<QSettings> settings() {
    return std::make_unique<QSettings>(QStringLiteral("Telvara"), QStringLiteral("telvara"));
}

std::string hexColour(TColor c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(c), greenOf(c), blueOf(c));
    return text;
}

// An id the study does not hold yet: the device number, else with "-2", "-3", …
std::string freeId(const TStudy& study, const std::string& wanted) {
    const std::string base = wanted.empty() ? std::string("R") : wanted;
    std::string id = base;
    for (int n = 2; study.FindDevice(id); ++n)
        id = base + "-" + std::to_string(n);
    return id;
}

TRelayDevice* relayOf(TDevice& d) {
    return dynamic_cast<TRelayDevice*>(d.kind.get());
}

} // namespace

void TChatForm::buildFileMenu(QHBoxLayout* bar) {
    FileButton = new QToolButton(Panel1);
    FileButton->setObjectName(QStringLiteral("FileButton"));
    FileButton->setText(QStringLiteral("ファイル"));
    FileButton->setPopupMode(QToolButton::InstantPopup);
    FileMenu = new QMenu(FileButton);
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    auto add = [this](const char* name, const QString& text, const QKeySequence& keys,
                      std::function<void()> f) {
        QAction* a = FileMenu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(keys);
        connect(a, &QAction::triggered, this, [this, f] { runGuarded(services_.messages, f); });
    };
    add("NewStudy", QStringLiteral("新規"), QKeySequence::New, [this] { newStudy(); });
    add("OpenStudy", QStringLiteral("開く…"), QKeySequence::Open, [this] { openChosenStudy(); });
    add("SaveStudy", QStringLiteral("上書き保存"), QKeySequence::Save, [this] { saveStudy(); });
    add("SaveStudyAs", QStringLiteral("名前を付けて保存…"), QKeySequence::SaveAs,
        [this] { saveStudyAs(); });
    FileMenu->addSeparator();
    RecentMenu = FileMenu->addMenu(QStringLiteral("最近使った検討"));
    RecentMenu->setObjectName(QStringLiteral("RecentMenu"));
    connect(RecentMenu, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
    FileButton->setMenu(FileMenu);
    // The shortcuts work while the window has the focus.
    addActions(FileMenu->actions());
    bar->addWidget(FileButton);
    fillRecentMenu();
}

void TChatForm::fillRecentMenu() {
    RecentMenu->clear();
    const QStringList recent = settings()->value(kRecentKey).toStringList();
    for (const QString& path : recent) {
        QAction* a =
            RecentMenu->addAction(QFileInfo(path).fileName() + QStringLiteral("  ") + path);
        connect(a, &QAction::triggered, this, [this, path] {
            runGuarded(services_.messages, [this, path] { openStudy(path); });
        });
    }
    RecentMenu->setEnabled(!recent.isEmpty());
}

void TChatForm::addRecent(const QString& path) {
    auto s = settings();
    QStringList recent = s->value(kRecentKey).toStringList();
    const QString full = QFileInfo(path).absoluteFilePath();
    recent.removeAll(full);
    recent.prepend(full);
    while (recent.size() > kRecentCount)
        recent.removeLast();
    s->setValue(kRecentKey, recent);
}

void TChatForm::updateTitle() {
    if (studyPath_.isEmpty() && !modified_) {
        setWindowTitle(QStringLiteral("グラフ画面"));
        return;
    }
    const QString name =
        studyPath_.isEmpty() ? QStringLiteral("無題") : QFileInfo(studyPath_).fileName();
    setWindowTitle(name + (modified_ ? QStringLiteral("*") : QString()) +
                   QStringLiteral(" - グラフ画面"));
}

void TChatForm::setModified(bool modified) {
    modified_ = modified;
    updateTitle();
    // Every change, opening and saving of the study ends here.
    UndoAction->setEnabled(!undo_.empty());
    RedoAction->setEnabled(!redo_.empty());
    if (panel_)
        panel_->refresh();
}

bool TChatForm::maybeSaveStudy() {
    if (!modified_)
        return true;
    const QString name =
        studyPath_.isEmpty() ? QStringLiteral("無題の検討") : QFileInfo(studyPath_).fileName();
    switch (services_.messages.confirm(name + QStringLiteral(" への変更を保存しますか？"),
                                       ConfirmButtons::YesNoCancel)) {
    case BoxAnswer::Yes:
        return saveStudy();
    case BoxAnswer::No:
        return true;
    default:
        return false;
    }
}

void TChatForm::newStudy() {
    if (!maybeSaveStudy())
        return;
    study_ = TStudy{};
    saved_ = study_;
    clearUndo();
    studyPath_.clear();
    showStudy();
    setModified(false);
}

void TChatForm::openChosenStudy() {
    if (!maybeSaveStudy())
        return;
    SaveFileRequest request = kStudyFiles;
    request.caption = QStringLiteral("検討を開く");
    if (const std::optional<QString> path = services_.files.chooseOpenFile(request))
        openStudy(*path);
}

bool TChatForm::openStudy(const QString& path) {
    if (!maybeSaveStudy())
        return false;
    TStudy opened;
    try {
        opened = readStudyFile(path.toStdString());
    } catch (const TelvaraError& e) {
        // Refused: the window keeps the study it had.
        services_.messages.showError(QString::fromStdString(e.what()));
        return false;
    }
    study_ = std::move(opened);
    saved_ = study_;
    clearUndo();
    studyPath_ = path;
    showStudy();
    setModified(false);
    addRecent(path);
    return true;
}

bool TChatForm::saveStudy() {
    if (studyPath_.isEmpty())
        return saveStudyAs();
    return writeStudy(studyPath_);
}

bool TChatForm::saveStudyAs() {
    SaveFileRequest request = kStudyFiles;
    request.caption = QStringLiteral("名前を付けて保存");
    const std::optional<QString> path = services_.files.chooseSaveFile(request);
    return path && writeStudy(*path);
}

bool TChatForm::writeStudy(const QString& path) {
    // A relay that could not be read back is named before anything is written.
    for (const TDevice& d : study_.devices) {
        const auto* relay = dynamic_cast<const TRelayDevice*>(d.kind.get());
        if (!relay)
            continue;
        if (const auto problems = checkRecord(relay->fields); !problems.empty()) {
            services_.messages.showError(QStringLiteral("装置「%1」は保存できません：%2")
                                             .arg(QString::fromStdString(d.id),
                                                  QString::fromStdString(problems[0].message)));
            return false;
        }
    }
    writeStudyFile(path.toStdString(), study_);
    saved_ = study_;
    studyPath_ = path;
    setModified(false);
    addRecent(path);
    return true;
}

void TChatForm::changeStudy(TStudy study) {
    validateStudy(study);
    if (study == study_)
        return;
    rememberForUndo();
    study_ = std::move(study);
    showStudy();
    setModified(!(study_ == saved_));
}

void TChatForm::putShownRelay(const RelaySettings& shown, const TChartSeries& series) {
    // A curve without points is nothing to keep (the main window's empty entries).
    if (series.Count() == 0)
        return;
    for (TDevice& d : study_.devices) {
        TRelayDevice* relay = relayOf(d);
        if (!relay || !relay->SameRelay(shown))
            continue;
        if (!relay->SameValues(shown)) {
            rememberForUndo();
            relay->fields = TRelayDevice::FromStored(shown).fields;
            setModified(true);
        }
        // Referred: the study's own drawing, not the main window's currents.
        if (referralFactor(study_, d) != 1)
            showStudy();
        return;
    }
    TDevice d(freeId(study_, shown.device),
              std::make_unique<TRelayDevice>(TRelayDevice::FromStored(shown)));
    d.label = series.Title();
    d.color = hexColour(series.SeriesColor());
    rememberForUndo();
    study_.devices.push_back(std::move(d));
    setModified(true);
}

void TChatForm::removeStudyRelay(const std::string& company, const std::string& device) {
    RelaySettings shown;
    shown.company = company;
    shown.device = device;
    for (auto it = study_.devices.begin(); it != study_.devices.end(); ++it) {
        TRelayDevice* relay = relayOf(*it);
        if (!relay || !relay->SameRelay(shown))
            continue;
        rememberForUndo();
        for (TPath& p : study_.paths)
            std::erase(p.devices, it->id);
        study_.devices.erase(it);
        setModified(true);
        return;
    }
}

void TChatForm::showStudy() {
    // Typed points are no part of the study: they stay as they were.
    const std::vector<TypedCurve> typed = chart_->RemoveAllCurves();
    double highest = 0;
    for (const TDevice& d : study_.devices) {
        if (!d.visible)
            continue;
        std::vector<DeviceCurve> curves;
        try {
            curves = referredCurves(study_, d);
        } catch (const TelvaraError&) {
            continue; // named by the check; the other curves are drawn
        }
        if (const auto* relay = dynamic_cast<const TRelayDevice*>(d.kind.get())) {
            if (curves.empty() || curves[0].points.empty())
                continue;
            const RelaySettings r = relay->Settings();
            TChartSeries& s =
                chart_->DrawCurve({r.company, r.device, false},
                                  d.label.empty() ? r.device : d.label, curves[0].points);
            if (d.color)
                s.SetSeriesColor(studyColour(*d.color));
            for (const CurvePoint& p : curves[0].points)
                highest = std::max(highest, p.time);
            continue;
        }
        drawDeviceLines(d, curves, [&](const std::string& title) -> TChartSeries& {
            return chart_->AddEquipmentCurve(d.id, title);
        });
        // A starting profile reaches the top of whatever axis is shown.
        for (const DeviceCurve& c : curves)
            if (c.role != CurveRole::Marker)
                for (const CurvePoint& p : c.points)
                    highest = std::max(highest, p.time);
    }
    chart_->RestoreTypedCurves(typed);
    if (!chart_->CurrentSeries())
        chart_->StartNewCurve();
    chart_->SetActivationAxes(highest > 10);
    Chart1().BottomAxis().Title().SetCaption(currentAxisCaption(study_));
    Chart1().Title().SetText({study_.title.empty() ? "保護協調曲線" : study_.title});
    overlay_->SetStudy(&study_);
}

void TChatForm::removeStudyDevice(const std::string& id) {
    rememberForUndo();
    std::erase_if(study_.devices, [&](const TDevice& d) { return d.id == id; });
    for (TPath& p : study_.paths)
        std::erase(p.devices, id);
    setModified(true);
    showStudy();
}

} // namespace telvara
