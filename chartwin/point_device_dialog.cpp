#include "chartwin/point_device_dialog.h"

#include "base/errors.h"
#include "base/numbers.h"
#include "chartwin/equipment_help.h"
#include "platform/guard.h"
#include "study/save_file.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace telvara {

namespace {

constexpr int kSpareRows = 1;

QTableWidget* pointTable(QWidget* parent, const char* name) {
    auto* t = new QTableWidget(0, 2, parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels({QStringLiteral("電流 (A)"), QStringLiteral("時間 (s)")});
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return t;
}

QPushButton* command(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QString cellText(const QTableWidget* t, int row, int column) {
    const QTableWidgetItem* item = t->item(row, column);
    return item ? item->text().trimmed() : QString();
}

QString kindTitle(PointKind kind) {
    switch (kind) {
    case PointKind::Fuse:
        return QStringLiteral("ヒューズ");
    case PointKind::Breaker:
        return QStringLiteral("遮断器");
    case PointKind::Device:
        break;
    }
    return QStringLiteral("特性点で与える装置");
}

} // namespace

TPointDeviceDialog::TPointDeviceDialog(PointKind kind, const PointDeviceData& data,
                                       Services& services, QWidget* parent)
    : TKindDialog(services, kPointDeviceHelpContext, parent), kind_(kind), data_(data) {
    setObjectName(QStringLiteral("PointDeviceDialog"));
    setWindowTitle(kindTitle(kind));
    resize(560, 480);
    RatingEdit = new QLineEdit(uiText(data.rating), this);
    RatingEdit->setObjectName(QStringLiteral("RatingEdit"));
    MinTable = pointTable(this, "MinTable");
    TotalTable = pointTable(this, "TotalTable");
    fill(MinTable, data.minCurve);
    fill(TotalTable, data.totalCurve);
    AddRowButton = command(this, "AddRowButton", QStringLiteral("行の追加"));
    RemoveRowButton = command(this, "RemoveRowButton", QStringLiteral("行の削除"));
    PasteButton = command(this, "PasteButton", QStringLiteral("貼り付け"));
    CsvButton = command(this, "CsvButton", QStringLiteral("CSV 読み込み…"));
    LibraryButton = command(this, "LibraryButton", QStringLiteral("ライブラリに保存…"));

    BandCheck = new QCheckBox(QStringLiteral("二つの特性の間を薄く塗る"), this);
    BandCheck->setObjectName(QStringLiteral("BandCheck"));
    BandCheck->setChecked(data.band);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("定格"), RatingEdit);
    form->addRow(BandCheck);
    auto* tables = new QHBoxLayout;
    for (auto [table, caption] : {std::pair{MinTable, minCurveCaption(kind)},
                                  std::pair{TotalTable, totalCurveCaption(kind)}}) {
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(uiText(caption), this));
        column->addWidget(table);
        tables->addLayout(column);
    }
    auto* commands = new QHBoxLayout;
    for (QPushButton* b : {AddRowButton, RemoveRowButton, PasteButton, CsvButton, LibraryButton})
        commands->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(
        QStringLiteral("一行に電流と時間。片方の特性だけでもかまいません。空の行は使いません。"),
        this));
    layout->addLayout(tables);
    layout->addLayout(commands);
    layout->addWidget(buttons());

    for (QTableWidget* t : {MinTable, TotalTable})
        connect(t, &QTableWidget::currentCellChanged, this, [this, t] { lastTable_ = t; });
    MessageService& m = services.messages;
    connect(AddRowButton, &QPushButton::clicked, this, guarded(m, [this](bool) {
                QTableWidget* t = currentTable();
                t->insertRow(t->currentRow() < 0 ? t->rowCount() : t->currentRow() + 1);
            }));
    connect(RemoveRowButton, &QPushButton::clicked, this, guarded(m, [this](bool) {
                QTableWidget* t = currentTable();
                if (t->currentRow() >= 0)
                    t->removeRow(t->currentRow());
            }));
    connect(PasteButton, &QPushButton::clicked, this, guarded(m, [this](bool) { pasteRows(); }));
    connect(CsvButton, &QPushButton::clicked, this, guarded(m, [this](bool) { readCsv(); }));
    connect(LibraryButton, &QPushButton::clicked, this,
            guarded(m, [this](bool) { saveToLibrary(); }));
}

QTableWidget* TPointDeviceDialog::currentTable() const {
    if (TotalTable->hasFocus())
        return TotalTable;
    if (MinTable->hasFocus())
        return MinTable;
    return lastTable_ ? lastTable_ : MinTable;
}

void TPointDeviceDialog::fill(QTableWidget* table, const std::vector<CurvePoint>& points) {
    table->setRowCount(int(points.size()) + kSpareRows);
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < 2; ++c) {
            const bool given = r < int(points.size());
            const double v = given ? (c == 0 ? points[r].current : points[r].time) : 0;
            table->setItem(r, c, new QTableWidgetItem(given ? numberText(v) : QString()));
        }
}

bool TPointDeviceDialog::readTable(QTableWidget* table, const QString& caption,
                                   std::vector<CurvePoint>& out) {
    out.clear();
    for (int r = 0; r < table->rowCount(); ++r) {
        const QString current = cellText(table, r, 0), time = cellText(table, r, 1);
        if (current.isEmpty() && time.isEmpty())
            continue;
        CurvePoint p{};
        for (auto [text, value] : {std::pair{current, &p.current}, std::pair{time, &p.time}}) {
            if (!tryReadDecimal(text.toStdString(), *value)) {
                services_.messages.showWarning(
                    caption + QStringLiteral("の ") + QString::number(r + 1) +
                    QStringLiteral(" 行目: 「") + text + QStringLiteral("」は数値ではありません"));
                table->setFocus();
                table->setCurrentCell(r, value == &p.current ? 0 : 1);
                return false;
            }
        }
        out.push_back(p);
    }
    return true;
}

bool TPointDeviceDialog::readTables(PointDeviceData& d) {
    d.rating = RatingEdit->text().trimmed().toStdString();
    d.band = BandCheck->isChecked();
    return readTable(MinTable, uiText(minCurveCaption(kind_)), d.minCurve) &&
           readTable(TotalTable, uiText(totalCurveCaption(kind_)), d.totalCurve);
}

void TPointDeviceDialog::take(const PointTable& t) {
    if (!t.minCurve.empty())
        fill(MinTable, t.minCurve);
    if (!t.totalCurve.empty())
        fill(TotalTable, t.totalCurve);
}

void TPointDeviceDialog::pasteRows() {
    const QTableWidget* target = currentTable();
    const CurveRole untagged =
        target == TotalTable ? CurveRole::TotalClearing : CurveRole::MinimumMelting;
    try {
        take(readPointTable(QApplication::clipboard()->text().toStdString(), untagged));
    } catch (const TelvaraError& e) {
        services_.messages.showWarning(QStringLiteral("貼り付け: ") + uiText(e.what()));
    }
}

void TPointDeviceDialog::readCsv() {
    SaveFileRequest request;
    request.caption = QStringLiteral("CSV 読み込み");
    request.filterDescription = QStringLiteral("CSV ファイル");
    request.filterPattern = QStringLiteral("*.csv");
    request.defaultExtension = QStringLiteral("csv");
    const std::optional<QString> path = services_.files.chooseOpenFile(request);
    if (!path)
        return;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(path->toStdString() + " を開けません");
    const QByteArray bytes = file.readAll();
    const CurveRole untagged =
        currentTable() == TotalTable ? CurveRole::TotalClearing : CurveRole::MinimumMelting;
    try {
        // Files always write numbers with ".".
        take(readPointTable(bytes.toStdString(), untagged, NumberLocale{".", ","}));
        // A library file is named after the device.
        if (RatingEdit->text().trimmed().isEmpty())
            RatingEdit->setText(QFileInfo(*path).completeBaseName());
    } catch (const TelvaraError& e) {
        services_.messages.showWarning(*path + QStringLiteral(": ") + uiText(e.what()));
    }
}

std::optional<PointDeviceData> TPointDeviceDialog::readChecked() {
    PointDeviceData d;
    if (!readTables(d))
        return std::nullopt;
    if (const auto fault = pointDeviceFault(d, kind_)) {
        showFault(*fault);
        return std::nullopt;
    }
    return d;
}

void TPointDeviceDialog::saveToLibrary() {
    const std::optional<PointDeviceData> d = readChecked();
    if (!d)
        return;
    SaveFileRequest request;
    request.caption = QStringLiteral("ライブラリに保存");
    request.filterDescription = QStringLiteral("CSV ファイル");
    request.filterPattern = QStringLiteral("*.csv");
    request.defaultExtension = QStringLiteral("csv");
    request.askBeforeOverwrite = true;
    const std::optional<QString> path = services_.files.chooseSaveFile(request);
    if (!path)
        return;
    saveFileAtomically(path->toStdString(), writePointTable(*d));
}

void TPointDeviceDialog::accept() {
    const std::optional<PointDeviceData> d = readChecked();
    if (!d)
        return;
    data_ = *d;
    QDialog::accept();
}

} // namespace telvara
