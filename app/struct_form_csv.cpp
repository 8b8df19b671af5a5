// The list window's CSV commands: every stored relay out to a spreadsheet
// file, and the relays of such a file in, checked first and stored at once.
#include "app/mein_form.h"
#include "app/struct_form.h"
#include "base/cp932.h"
#include "platform/guard.h"
#include "platform/save_file.h"
#include "relay/relay_csv.h"
#include "store/find_relay.h"
#include "store/store_files.h"
#include "store/stored_relays.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QProgressDialog>

#include <filesystem>
#include <memory>

namespace telvara {

namespace {

// Files of more rows than this show their progress.
constexpr int kProgressRows = 300;
// Problems named in one box; the rest are counted.
constexpr std::size_t kShownProblems = 20;

SaveFileRequest csvRequest(bool save) {
    SaveFileRequest r;
    r.filterDescription = QStringLiteral("CSV ﾌｧｲﾙ");
    r.filterPattern = QStringLiteral("*.csv");
    r.defaultExtension = QStringLiteral("csv");
    r.askBeforeOverwrite = save;
    r.moreFilters = {QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ (*.txt *.tsv)")};
    return r;
}

QString problemText(const std::vector<std::string>& problems) {
    QString text = QStringLiteral("取り込みませんでした。次の行を直してください。");
    for (std::size_t i = 0; i < problems.size() && i < kShownProblems; ++i)
        text += QStringLiteral("\r\n") + QString::fromStdString(problems[i]);
    if (problems.size() > kShownProblems)
        text += QStringLiteral("\r\nほか %1 件").arg(problems.size() - kShownProblems);
    return text;
}

int storedAlready(TBPlusTree& store, const std::vector<CsvRow>& rows) {
    int n = 0;
    for (const CsvRow& row : rows)
        n += relayRecord(store, utf8ToCp932(row.texts[0]), utf8ToCp932(row.texts[1])) ? 1 : 0;
    return n;
}

} // namespace

void TStructForm::addCsvCommands() {
    // Above the drawing commands, which stay last where the keyboard's Up finds them.
    ExportCsv = new QAction(QStringLiteral("CSV書き出し"), PopupMenu1);
    ExportCsv->setObjectName(QStringLiteral("ExportCsv"));
    ImportCsv = new QAction(QStringLiteral("CSV読み込み"), PopupMenu1);
    ImportCsv->setObjectName(QStringLiteral("ImportCsv"));
    PopupMenu1->insertActions(Find1, {ExportCsv, ImportCsv});
    PopupMenu1->insertSeparator(Find1);
    MessageService& messages = main_.services().messages;
    connect(ExportCsv, &QAction::triggered, this,
            guarded(messages, [this](bool) { ExportCsvClick(); }));
    connect(ImportCsv, &QAction::triggered, this,
            guarded(messages, [this](bool) { ImportCsvClick(); }));
}

void TStructForm::ExportCsvClick() {
    Services& services = main_.services();
    const std::optional<QString> file = services.files.chooseSaveFile(csvRequest(true));
    if (!file)
        return;
    TBPlusTree& store = main_.store();
    refuseStoreFile(std::filesystem::path(store.pageFilePath()).parent_path().string(),
                    QFile::encodeName(*file).toStdString());
    store.Refresh();
    const std::vector<RecordTexts> records = storedRecords(store);
    const std::string bytes = relayCsv(records);
    writeFile(*file, [&](QIODevice& out) {
        return out.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
    });
    services.messages.showMessage(QStringLiteral("%1 件を書き出しました。").arg(records.size()));
}

void TStructForm::ImportCsvClick() {
    Services& services = main_.services();
    const std::optional<QString> file = services.files.chooseOpenFile(csvRequest(false));
    if (!file)
        return;
    QFile in(*file);
    if (!in.open(QIODevice::ReadOnly))
        throw IoError("ファイル " + file->toStdString() + " を開けません");
    const QByteArray bytes = in.readAll();
    const CsvReading reading =
        readRelayCsv(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!reading.problems.empty()) {
        services.messages.showWarning(problemText(reading.problems));
        return;
    }
    TBPlusTree& store = main_.store();
    store.Refresh();
    bool replace = false;
    if (const int stored = storedAlready(store, reading.rows); stored > 0) {
        const BoxAnswer a = services.messages.confirm(
            QStringLiteral("%1 件は既に登録されています。置き換えますか？\r\n"
                           "（いいえ：登録済みのデーターはそのまま残します）")
                .arg(stored),
            ConfirmButtons::YesNoCancel);
        if (a != BoxAnswer::Yes && a != BoxAnswer::No)
            return;
        replace = a == BoxAnswer::Yes;
    }
    std::unique_ptr<QProgressDialog> progress;
    if (reading.rows.size() > std::size_t(kProgressRows)) {
        progress = std::make_unique<QProgressDialog>(QStringLiteral("取り込み中…"), kCancelCaption,
                                                     0, int(reading.rows.size()), this);
        progress->setObjectName(QStringLiteral("ImportProgress"));
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
    }
    ImportSummary summary;
    bool cancelled = false;
    try {
        summary = importRelays(store, reading.rows, replace, [&](int done, int) {
            if (!progress)
                return true;
            progress->setValue(done);
            QCoreApplication::processEvents();
            cancelled = progress->wasCanceled();
            return !cancelled;
        });
    } catch (const TImportRefused& e) {
        progress.reset();
        if (cancelled)
            services.messages.showMessage(QString::fromStdString(e.problems.front()));
        else
            services.messages.showWarning(problemText(e.problems));
        return;
    }
    progress.reset();
    listStore(store);
    services.messages.showMessage(QString::fromStdString(importSummaryText(summary)));
}

} // namespace telvara
