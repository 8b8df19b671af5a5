// The chart window's tool bar commands: switches, manual points, printing
// and the chart's file (bitmap, PNG, PDF or SVG).
#include "base/errors.h"
#include "base/numbers.h"
#include "chart/print.h"
#include "chartwin/chat_form.h"
#include "platform/chart_export.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>

namespace telvara {

namespace {

const QString kOrientationQuestion = QStringLiteral("縦方向印刷なら Ｙｅｓ? 横方向印刷なら Ｎｏ?");
const QString kMarginCaption = QStringLiteral("用紙マージン設定");
const QString kMarginPrompt = QStringLiteral("紙の大きさに対する割合で示されます。");
const QString kMarginInitial = QStringLiteral("5");

// Beside the bitmap, the other files the chart is saved as (by the name's ending).
QStringList chartFileFilters() {
    return {QStringLiteral("PNG ﾌｧｲﾙ (*.png)"), QStringLiteral("PDF ﾌｧｲﾙ (*.pdf)"),
            QStringLiteral("SVG ﾌｧｲﾙ (*.svg)")};
}

QString marginWarning(int position) {
    return QString::number(position) + QStringLiteral("番目に整数以外の文字が含まれています？") +
           QStringLiteral("\r\n") + QStringLiteral("印刷を取り消します。 ");
}

} // namespace

void TChatForm::CheckBox1Click() {
    chart_->SetMarksVisible(CheckBox1->isChecked());
}

void TChatForm::CheckBox2Click() {
    Chart1().SetView3D(CheckBox2->isChecked());
}

void TChatForm::CheckBox3Click() {
    Chart1().Gradient().SetVisible(CheckBox3->isChecked());
}

void TChatForm::CheckBox5Click() {
    chart_->SetCurrentAxisFromOne(CheckBox5->isChecked());
}

void TChatForm::CheckBox4Click() {
    const bool on = CheckBox4->isChecked();
    setManualInputVisible(on);
    // Every check starts another curve for the typed points.
    if (on)
        chart_->StartManualCurve();
}

void TChatForm::SpeedButton1Click() {
    chart_->AddManualPoint(Edit3->text().toStdString(), Edit1->text().toStdString(),
                           Edit2->text().toStdString());
}

void TChatForm::SpeedButton2Click() {
    chart_->ClearCurrentPoints();
}

std::optional<TPrinterOrientation> TChatForm::askPageSetup() {
    const BoxAnswer orientation =
        services_.messages.confirm(kOrientationQuestion, ConfirmButtons::YesNoCancel);
    if (orientation != BoxAnswer::Yes && orientation != BoxAnswer::No)
        return std::nullopt;
    const QString answer = services_.input.inputBox(kMarginCaption, kMarginPrompt, kMarginInitial)
                               .value_or(kMarginInitial);
    int margin = 0;
    const int position = integerCheckPosition(answer.toStdString(), &margin);
    if (position != 0) {
        services_.messages.showWarning(marginWarning(position));
        return std::nullopt;
    }
    renderer_->Options().marginPercent = {margin, margin, margin, margin};
    return orientation == BoxAnswer::Yes ? poPortrait : poLandscape;
}

TChartPrinter& TChatForm::printer() const {
    if (!printer_)
        throw TelvaraError(msgNoPrinter);
    return *printer_;
}

void TChatForm::Button3Click() {
    if (!printer().Available())
        throw TelvaraError(msgNoPrinter);
    const std::optional<TPrinterOrientation> orientation = askPageSetup();
    if (!orientation)
        return;
    renderer_->PrintOriented(printer(), *orientation);
}

void TChatForm::Button4Click() {
    SaveFileRequest request;
    request.filterDescription = QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ　ﾌｧｲﾙ");
    request.filterPattern = QStringLiteral("*.bmp");
    request.defaultExtension = QStringLiteral("bmp");
    request.askBeforeOverwrite = false;
    request.moreFilters = chartFileFilters();
    if (const auto file = services_.files.chooseSaveFile(request)) {
        main_.refuseStoreFile(QFile::encodeName(*file).toStdString());
        SaveChartFile(*renderer_, *file);
    }
}

} // namespace telvara
