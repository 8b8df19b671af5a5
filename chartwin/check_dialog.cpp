#include "chartwin/check_dialog.h"

#include "base/numbers.h"
#include "platform/chart_widget.h"
#include "platform/guard.h"
#include "platform/help_keys.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QVBoxLayout>

namespace telvara {

namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QLineEdit* field(QWidget* parent, const char* name, const QString& value) {
    auto* e = new QLineEdit(value, parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QPushButton* command(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

// The switch of the check's lines and marks, kept in the user's settings.
const QString kSettingsOrganization = QStringLiteral("Telvara");
const QString kSettingsApplication = QStringLiteral("telvara");
const QString kMarksVisibleKey = QStringLiteral("ChartWindow/CheckMarksVisible");

} // namespace

TCheckDialog::TCheckDialog(TCoordinationChart& chart, TCheckOverlay& overlay, Services& services,
                           QWidget* parent, TStudyCheckSource source)
    : QDialog(parent), chart_(chart), overlay_(overlay), services_(services),
      source_(std::move(source)) {
    setObjectName(QStringLiteral("CheckDialog"));
    setWindowTitle(QStringLiteral("協調チェック"));
    resize(640, 360);
    auto* form = new QFormLayout;
    CtiEdit = field(this, "CtiEdit", QStringLiteral("0.3"));
    MaxFaultEdit = field(this, "MaxFaultEdit", {});
    MinFaultEdit = field(this, "MinFaultEdit", {});
    form->addRow(QStringLiteral("協調時間間隔 CTI (秒)"), CtiEdit);
    form->addRow(QStringLiteral("最大故障電流 (A)"), MaxFaultEdit);
    form->addRow(QStringLiteral("最小故障電流 (A)"), MinFaultEdit);
    LegendCheck = new QCheckBox(QStringLiteral("凡例に会社名を表示"), this);
    LegendCheck->setObjectName(QStringLiteral("LegendCheck"));

    Table = new QTableWidget(0, 6, this);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setHorizontalHeaderLabels({QStringLiteral("経路"), QStringLiteral("下位側"),
                                      QStringLiteral("上位側"), QStringLiteral("最小時間差(秒)"),
                                      QStringLiteral("電流(A)"), QStringLiteral("判定")});
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->horizontalHeader()->setStretchLastSection(true);

    CheckButton = command(this, "CheckButton", QStringLiteral("チェック"));
    CopyButton = command(this, "CopyButton", QStringLiteral("コピー"));
    auto* closeButton = command(this, "CloseButton", QStringLiteral("閉じる"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckButton);
    buttons->addWidget(CopyButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(LegendCheck);
    layout->addWidget(Table, 1);
    layout->addLayout(buttons);

    connect(CheckButton, &QPushButton::clicked, this,
            guarded(services_.messages, [this](auto&&...) { runCheck(); }));
    connect(CopyButton, &QPushButton::clicked, this,
            guarded(services_.messages, [this](auto&&...) { copyTable(); }));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::hide);
    connect(LegendCheck, &QCheckBox::toggled, this, guarded(services_.messages, [this](auto&&...) {
                chart_.SetLegendWithCompany(LegendCheck->isChecked());
            }));
    setHelpContext(this, kCheckHelpContext);
    installHelpKey(this, services_.messages, services_.help);
}

bool TCheckDialog::readField(QLineEdit* edit, const QString& name, bool optional,
                             std::optional<double>& value) {
    const std::string text = edit->text().trimmed().toStdString();
    value.reset();
    if (text.empty() && optional)
        return true;
    double v = 0;
    if (!tryReadDecimal(text, v) || !(v > 0)) {
        services_.messages.showWarning(name + QStringLiteral("には正の数を入力して下さい"));
        edit->setFocus();
        return false;
    }
    value = v;
    return true;
}

void TCheckDialog::runCheck() {
    CheckSettings settings;
    std::optional<double> cti;
    if (!readField(CtiEdit, QStringLiteral("CTI"), false, cti) ||
        !readField(MaxFaultEdit, QStringLiteral("最大故障電流"), true, settings.maxFaultCurrent) ||
        !readField(MinFaultEdit, QStringLiteral("最小故障電流"), true, settings.minFaultCurrent))
        return;
    settings.cti = *cti;
    fillTable(checkRows(settings));
    checked_ = settings;
    // A study's pairs are marked by the study's own lines, its buses' fault
    // currents drawn with it.
    const TStudy* study = source_.study ? source_.study() : nullptr;
    if (study && !study->paths.empty())
        overlay_.Clear();
    else
        overlay_.Show(settings);
}

std::vector<CheckRow> TCheckDialog::checkRows(const CheckSettings& settings) {
    // A study with paths: its pairs, each up to its bus's fault current.
    const TStudy* study = source_.study ? source_.study() : nullptr;
    if (study && !study->paths.empty()) {
        std::vector<TStudyCheckLine> lines;
        std::vector<CheckRow> rows = checkStudyRows(*study, settings.cti, &lines);
        if (source_.showMarks)
            source_.showMarks(std::move(lines));
        return rows;
    }
    if (source_.showMarks)
        source_.showMarks({});
    return checkChart(chart_, settings);
}

void TCheckDialog::refresh() {
    if (!checked_)
        return;
    std::vector<CheckRow> rows = checkRows(*checked_);
    if (checkTableText(rows) != checkTableText(rows_))
        fillTable(std::move(rows));
}

void TCheckDialog::fillTable(std::vector<CheckRow> rows) {
    rows_ = std::move(rows);
    Table->setRowCount(int(rows_.size()));
    for (int r = 0; r < int(rows_.size()); ++r) {
        const auto cells = checkRowCells(rows_[std::size_t(r)]);
        for (int c = 0; c < int(cells.size()); ++c)
            Table->setItem(r, c, new QTableWidgetItem(text(cells[std::size_t(c)])));
    }
}

void TCheckDialog::copyTable() {
    QApplication::clipboard()->setText(text(checkTableText(rows_)));
}

// ---- the tool bar part ------------------------------------------------------

TCheckTools::TCheckTools(TCoordinationChart& chart, TChartWidget& chartWidget, Services& services,
                         QWidget* window)
    : QObject(window), chart_(chart), chartWidget_(chartWidget), services_(services),
      window_(window), overlay_(std::make_unique<TCheckOverlay>(chart)) {
    bar_ = new QWidget(window);
    bar_->setObjectName(QStringLiteral("CheckBar"));
    auto* row = new QHBoxLayout(bar_);
    row->setContentsMargins(0, 8, 8, 8);
    CheckCommand = command(bar_, "CheckCommand", QStringLiteral("協調チェック"));
    CheckCommand->setToolTip(QStringLiteral("隣り合う曲線の時間差を故障電流までチェックします"));
    setHelpContext(CheckCommand, kCheckHelpContext);
    ReadOut = new QLabel(bar_);
    ReadOut->setObjectName(QStringLiteral("ReadOut"));
    ReadOut->setMinimumWidth(220);
    MarksCheck = new QCheckBox(QStringLiteral("表示"), bar_);
    MarksCheck->setObjectName(QStringLiteral("MarksCheck"));
    MarksCheck->setToolTip(
        QStringLiteral("協調チェックの故障電流の線と不合格の印をグラフに表示します"));
    MarksCheck->setChecked(QSettings(kSettingsOrganization, kSettingsApplication)
                               .value(kMarksVisibleKey, true)
                               .toBool());
    overlay_->SetVisible(MarksCheck->isChecked());
    row->addWidget(CheckCommand);
    row->addWidget(MarksCheck);
    row->addWidget(ReadOut);
    connect(CheckCommand, &QPushButton::clicked, this,
            guarded(services_.messages, [this](auto&&...) { openDialog(); }));
    connect(
        MarksCheck, &QCheckBox::toggled, this, guarded(services_.messages, [this](bool on) {
            overlay_->SetVisible(on);
            QSettings(kSettingsOrganization, kSettingsApplication).setValue(kMarksVisibleKey, on);
        }));
    overlay_->OnPaint = [this] { chartPainted(); };
    chartWidget_.installEventFilter(this);
}

void TCheckTools::chartPainted() {
    if (mouse_)
        showReadOut(mouse_->x(), mouse_->y());
    if (!dialog_ || !dialog_->isVisible())
        return;
    TCheckDialog* dialog = dialog_;
    QMetaObject::invokeMethod(
        dialog, [this, dialog] { runGuarded(services_.messages, [dialog] { dialog->refresh(); }); },
        Qt::QueuedConnection);
}

TCheckTools::~TCheckTools() {
    overlay_->OnPaint = nullptr;
    delete dialog_;
    chartWidget_.removeEventFilter(this);
}

void TCheckTools::openDialog() {
    if (!dialog_)
        dialog_ = new TCheckDialog(chart_, *overlay_, services_, window_, source_);
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

bool TCheckTools::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &chartWidget_) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseMove || type == QEvent::MouseButtonPress ||
            type == QEvent::MouseButtonRelease) {
            mouse_ = static_cast<QMouseEvent*>(event)->position().toPoint();
            showReadOut(mouse_->x(), mouse_->y());
        } else if (type == QEvent::Leave) {
            mouse_.reset();
            ReadOut->clear();
        }
    }
    return QObject::eventFilter(watched, event);
}

void TCheckTools::showReadOut(int x, int y) {
    TChart& c = chart_.Chart();
    const TRect plot = c.ChartRect();
    if (x < plot.left || x >= plot.right || y < plot.top || y >= plot.bottom) {
        ReadOut->clear();
        return;
    }
    const double current = c.BottomAxis().PixelToValue(x);
    const double time = c.LeftAxis().PixelToValue(y);
    ReadOut->setText(QStringLiteral("電流 %1 A　時間 %2 s")
                         .arg(text(formatFloatPattern(current, "#,##0.###")),
                              text(formatFloatPattern(time, "#,##0.###"))));
}

} // namespace telvara
