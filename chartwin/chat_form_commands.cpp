// The chart window's tool bar commands: switches, manual points, printing
// and the bitmap file.
#include "base/numbers.h"
#include "chart/print.h"
#include "chartwin/chat_form.h"

#include <QCheckBox>
#include <QLineEdit>

namespace telvara {

namespace {

const QString kOrientationQuestion = QStringLiteral("縦方向印刷なら Ｙｅｓ? 横方向印刷なら Ｎｏ?");
const QString kMarginCaption = QStringLiteral("用紙マージン設定");
const QString kMarginPrompt = QStringLiteral("紙の大きさに対する割合で示されます。");
const QString kMarginInitial = QStringLiteral("5");

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

void TChatForm::Button3Click() {
    const BoxAnswer orientation =
        services_.messages.confirm(kOrientationQuestion, ConfirmButtons::YesNoCancel);
    if (orientation != BoxAnswer::Yes && orientation != BoxAnswer::No)
        return;
    const QString answer = services_.input.inputBox(kMarginCaption, kMarginPrompt, kMarginInitial)
                               .value_or(kMarginInitial);
    int margin = 0;
    const int position = integerCheckPosition(answer.toStdString(), &margin);
    if (position != 0) {
        services_.messages.showWarning(marginWarning(position));
        return;
    }
    Chart1().SetPrintMarginPercent({margin, margin, margin, margin});
    if (orientation == BoxAnswer::Yes)
        Chart1().PrintChartPortrait();
    else
        Chart1().PrintChartLandscape();
}

void TChatForm::Button4Click() {
    SaveFileRequest request;
    request.filterDescription = QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ　ﾌｧｲﾙ");
    request.filterPattern = QStringLiteral("*.bmp");
    request.defaultExtension = QStringLiteral("bmp");
    request.askBeforeOverwrite = false;
    if (const auto file = services_.files.chooseSaveFile(request))
        Chart1().SaveChartBitmap(file->toStdString());
}

} // namespace telvara
