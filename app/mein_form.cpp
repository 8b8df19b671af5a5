// Start-up of the main window and the handlers of the setting entry.
#include "app/mein_form.h"
#include "app/store_open.h"
#include "platform/help_contexts.h"

#include "base/errors.h"
#include "base/numbers.h"
#include "chartwin/chat_form.h"
#include "chartwin/coordination_chart.h"
#include "platform/guard.h"
#include "platform/help_keys.h"
#include "relay/relay.h"
#include "store/bplustree.h"
#include "store/store_files.h"
#include "version/version_block.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>

namespace telvara {

namespace {

const QString kNoCt = QStringLiteral("CT比の入力が有りません。");
const QString kNoTap = QStringLiteral("タップの入力が有りません。");
const QString kCloseQuestion = QStringLiteral("このまま終了しますか?");
const QString kNoInstCurrent = QStringLiteral("--- A");

double readField(const QLineEdit* edit) {
    return readDecimal(edit->text().toStdString());
}

QString currentText(double amperes) {
    return QString::fromStdString(formatGeneral(amperes)) + QStringLiteral(" A");
}

// A current too wide for the room before the next caption (999999.9 A and
// up) is shown in a smaller font, never over the neighbouring caption.
void showCurrent(QLabel* label, const QString& text) {
    constexpr int kMinPixels = 6;
    const int room = label->property(kCurrentRoomProperty).toInt();
    QFont font = label->parentWidget()->font();
    const int designPixels = font.pixelSize();
    for (int pixels = designPixels; pixels > kMinPixels; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= room)
            break;
    }
    if (font.pixelSize() == designPixels)
        label->setFont(QFont()); // the window's font, as designed
    else
        label->setFont(font);
    label->setText(text);
    label->adjustSize();
}

} // namespace

TMeinForm::TMeinForm(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      services_(services) {
    buildControls();
    bindHandlers();
    watchControls();
    installHelpKey(this, services_.messages, services_.help);
    connect(qApp, &QApplication::focusChanged, this, &TMeinForm::onFocusChanged);
    runGuarded(services_.messages, [this] { FormCreate(); });
}

TMeinForm::~TMeinForm() {
    // Focus moves while the controls are destroyed are no entries or exits.
    disconnect(qApp, nullptr, this, nullptr);
}

void TMeinForm::bindHandlers() {
    bindExit(Edit1, [this] { Edit1Exit(); });
    bindExit(Edit9, [this] { Edit9Exit(); });
    bindExit(Edit10, [this] { Edit10Exit(); });
    for (std::size_t column = 0; column < kTimeFieldCount; ++column)
        bindExit(TimeEdits[column], [this, column] { TimeEditExit(column); });
    bindEnter(TimeEdits[kInstColumn], [this] { Edit8Enter(); });
    bindEnter(Button1, [this] { Edit8Enter(); });

    MessageService& messages = services_.messages;
    connect(RadioButtons, &QButtonGroup::idClicked, this,
            guarded(messages, [this](int) { RadioGroup1Click(); }));
    connect(ColorButton, &QPushButton::clicked, this,
            guarded(messages, [this](bool) { ColorButtonClick(); }));
    connect(Button1, &QPushButton::clicked, this,
            guarded(messages, [this](bool) { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this,
            guarded(messages, [this](bool) { Button2Click(); }));
}

// --- start-up -------------------------------------------------------------

void TMeinForm::FormCreate() {
    services_.random.seedFromClock();
    store_ = std::make_unique<TBPlusTree>();
    OpenFiles();
    const std::string module = GetModuleName();
    if (!module.empty())
        VersionNoLbl->setText(QString::fromStdString(GetFileVersion(module)));
    VersionNoLbl->adjustSize();
}

void TMeinForm::OpenFiles() {
    // The program's folder: the program path cut back to its last separator.
    QString folder = QString::fromStdString(GetModuleName());
    while (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    // Asked again while the chosen folder's store cannot be opened.
    for (;;) {
        const std::optional<QString> chosen =
            services_.directories.chooseDirectory(folder, kDataFolderHelpContext);
        if (!chosen) {
            terminationRequested_ = true;
            return;
        }
        if (openStoreForWindow(*store_, QFile::encodeName(*chosen).toStdString(),
                               services_.messages)) {
            services_.directories.rememberFolder(*chosen);
            services_.files.setDataFolder(*chosen);
            showStoreState();
            return;
        }
    }
}

void TMeinForm::showStoreState() {
    const bool readOnly = store_ && store_->isOpen() && !store_->WriteBlocked().empty();
    setWindowTitle(readOnly ? kMeinFormTitle + QStringLiteral(" [読み取り専用]") : kMeinFormTitle);
}

void TMeinForm::requireWritable() {
    if (const std::string why = store_->WriteBlocked(); !why.empty())
        throw IoError(why);
}

// --- what the chart window reads ------------------------------------------

std::string TMeinForm::timeText(int index) const {
    if (index < 0 || std::size_t(index) >= kTimeFieldCount)
        return {};
    return TimeEdits[std::size_t(index)]->text().toStdString();
}

std::string TMeinForm::deviceText() const {
    return Debaisu->text().toStdString();
}

std::string TMeinForm::companyText() const {
    return kaisya->text().toStdString();
}

std::string TMeinForm::ctText() const {
    return Edit1->text().toStdString();
}

std::string TMeinForm::tapText() const {
    return Edit9->text().toStdString();
}

std::string TMeinForm::instTapText() const {
    return Edit10->text().toStdString();
}

bool TMeinForm::timeCheckChecked() const {
    return TimeCheck->isChecked();
}

int TMeinForm::colorRadioIndex() const {
    return RadioButtons->checkedId();
}

std::string TMeinForm::versionCaption() const {
    return VersionNoLbl->text().toStdString();
}

void TMeinForm::refuseStoreFile(const std::string& path) const {
    if (store_->isOpen())
        telvara::refuseStoreFile(
            std::filesystem::path(store_->pageFilePath()).parent_path().string(), path);
}

TColor TMeinForm::ColorSelect() {
    return services_.random.next(0x1000000);
}

// --- setting entry ----------------------------------------------------------

void TMeinForm::Edit1Exit() {
    if (readField(Edit1) > 0) {
        // The currents follow a changed CT at once, for the taps that allow them.
        double tap = 0;
        if (tryReadDecimal(Edit9->text().toStdString(), tap) && tap > 0) {
            deriveTapCurrents(Edit1->text().toStdString(), Edit9->text().toStdString(), currents_);
            showTapCurrents();
        }
        double instTap = 0;
        if (tryReadDecimal(Edit10->text().toStdString(), instTap))
            Edit8Enter();
        return;
    }
    services_.messages.showMessage(kNoCt);
    Edit1->setText(QStringLiteral("0"));
    focusControl(Edit1);
}

void TMeinForm::Edit9Exit() {
    if (!deriveEnteredTapCurrents(Edit1->text().toStdString(), Edit9->text().toStdString(),
                                  currents_)) {
        services_.messages.showMessage(kNoTap);
        focusControl(Edit9);
    }
    showTapCurrents();
}

void TMeinForm::showTapCurrents() {
    const RelayCurrents& c = currents_;
    const double multiples[] = {c.Current150, c.Current200, c.Current300,
                                c.Current400, c.Current500, c.Current700};
    for (std::size_t column = 0; column < std::size(multiples); ++column)
        showCurrent(CurrentLabels[column], currentText(multiples[column]));
}

void TMeinForm::Edit10Exit() {
    Edit8Enter();
}

void TMeinForm::Edit8Enter() {
    QLabel* label = CurrentLabels[kInstColumn];
    if (deriveInstCurrent(Edit1->text().toStdString(), Edit10->text().toStdString(), currents_))
        showCurrent(label, currentText(currents_.InstCurrent));
    else
        showCurrent(label, kNoInstCurrent);
}

void TMeinForm::TimeEditExit(std::size_t column) {
    QLineEdit* edit = TimeEdits[column];
    const int position = strictNumberPosition(edit->text().toStdString());
    if (position != 0) {
        services_.messages.showWarning(QStringLiteral("Error at position: ") +
                                       QString::number(position));
        focusControl(edit);
        return;
    }
    // Enter or Tab pass the focus on to "グラフ表示"; a click on another
    // control keeps it there, so that the clicked control acts.
    if (column == kInstColumn && QGuiApplication::mouseButtons() == Qt::NoButton)
        focusControl(Button1);
}

// --- colour, chart, help, close -------------------------------------------

void TMeinForm::RadioGroup1Click() {
    ColorButton->setEnabled(RadioButtons->checkedId() != 1);
}

void TMeinForm::ColorButtonClick() {
    if (const std::optional<TColor> picked = services_.colors.chooseColor(dialogColor_))
        dialogColor_ = *picked;
}

void TMeinForm::Button1Click() {
    if (chart_)
        chart_->showFromMain();
}

void TMeinForm::Button2Click() {
    services_.help.setHelpFile(QStringLiteral("ZubHelp.HLP"));
    services_.help.showTopic(QStringLiteral("目次"));
}

void TMeinForm::FormCloseQuery(bool& canClose) {
    canClose =
        services_.messages.confirm(kCloseQuestion, ConfirmButtons::OkCancel) == BoxAnswer::Ok;
}

} // namespace telvara
