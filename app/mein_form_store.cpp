// The store commands of the main window: Add, the search that loads a
// record, Remove and the input data list.
#include "app/mein_form.h"
#include "app/struct_form.h"

#include "base/cp932.h"
#include "base/shared_values.h"
#include "chartwin/coordination_chart.h"
#include "store/bplustree.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <optional>

namespace telvara {

namespace {

const QString kNoName = QStringLiteral("会社名の入力がありません？");
const QString kNoDevice = QStringLiteral("ﾃﾞﾊﾞｲｽNo. の入力がありません？");
const QString kOverwriteQuestion = QStringLiteral(" は、すでに存在するDATAです上書きしますか？");
const QString kAdded = QStringLiteral("レコードに追加します");
const QString kNotFound = QStringLiteral("見つかりません？");
const QString kRemoveQuestion = QStringLiteral("次のレコードを削除します '");

QString fromStore(std::string_view bytes) {
    return QString::fromStdString(cp932ToUtf8(bytes));
}

std::string toStore(const QString& text) {
    return utf8ToCp932(text.toStdString());
}

// The first character of the text that code page 932 cannot hold.
std::optional<QString> firstUnrepresentable(const QString& text) {
    for (const char32_t c : text.toUcs4()) {
        const QString character = QString::fromUcs4(&c, 1);
        if (!isCp932Representable(character.toStdString()))
            return character;
    }
    return std::nullopt;
}

} // namespace

// The twelve entry controls and the record fields they hold, with the name
// a refusal gives the control.
struct EntryField {
    QLineEdit* edit;
    TRecordField field;
    const char* name;
};

static std::array<EntryField, kRecordFieldCount> entryFields(const TMeinForm& f) {
    return {{
        {f.kaisya, TRecordField::KaisyaName, "会社名"},
        {f.Debaisu, TRecordField::DebaisuNo, "ﾃﾞﾊﾞｲｽNo."},
        {f.Edit1, TRecordField::CTPrimary, "CT比"},
        {f.Edit2, TRecordField::Time150, "150%の時間"},
        {f.Edit3, TRecordField::Time200, "200%の時間"},
        {f.Edit4, TRecordField::Time300, "300%の時間"},
        {f.Edit5, TRecordField::Time400, "400%の時間"},
        {f.Edit6, TRecordField::Time500, "500%の時間"},
        {f.Edit7, TRecordField::Time700, "700%の時間"},
        {f.Edit8, TRecordField::TimeInst, "INSTの時間"},
        {f.Edit9, TRecordField::Tap, "タップ"},
        {f.Edit10, TRecordField::InstTap, "INSTタップ"},
    }};
}

void TMeinForm::CmdAddClick() {
    // A character without a CP932 form is refused before anything is looked
    // up or stored; it is never replaced silently.
    const auto fields = entryFields(*this);
    std::array<std::string, kRecordFieldCount> texts;
    for (const EntryField& f : fields) {
        if (const std::optional<QString> bad = firstUnrepresentable(f.edit->text())) {
            services_.messages.showMessage(
                QString::fromUtf8(f.name) +
                QStringLiteral("に Shift-JIS で表せない文字が含まれています：「") + *bad +
                QStringLiteral("」"));
            focusControl(f.edit);
            return;
        }
        texts[std::size_t(f.field)] = toStore(f.edit->text());
    }

    // The key as the record will hold it, so a record saved from long texts
    // is found again by the same texts.
    const std::string key = recordKey(texts[std::size_t(TRecordField::KaisyaName)],
                                      texts[std::size_t(TRecordField::DebaisuNo)]);
    const bool found = store_->FindKey(key);
    if (kaisya->text().isEmpty()) {
        services_.messages.showMessage(kNoName);
        focusControl(kaisya);
        return;
    }
    if (Debaisu->text().isEmpty()) {
        services_.messages.showMessage(kNoDevice);
        focusControl(Debaisu);
        return;
    }
    if (found) {
        // Only an explicit "はい(&Y)" replaces the stored record.
        const QString question = fromStore(store_->CurrentRecord().key()) + kOverwriteQuestion;
        if (services_.messages.confirm(question, ConfirmButtons::YesNo) != BoxAnswer::Yes)
            return;
    }
    // The replacement is one operation: the old record never goes alone.
    TStoreTransaction transaction(*store_);
    if (found)
        store_->DeleteCurrent();
    TRelayRecord& record = store_->CurrentRecord();
    record = TRelayRecord{};
    for (const EntryField& f : fields)
        record.setField(f.field, texts[std::size_t(f.field)]);
    store_->InsertCurrent();
    transaction.commit();
    ShowStats();
    services_.messages.showMessage(kAdded);
}

void TMeinForm::CmdSearchClick() {
    DataSearch();
}

void TMeinForm::DataSearch() {
    const std::string key =
        recordKey(toStore(SearchKaisyaName->text()), toStore(SearchDebisuNo->text()));
    searchFound_ = store_->FindKey(key);
    ShowCurrent();
    ShowStats();
    CmdRemove->setEnabled(searchFound_);
    if (!searchFound_) {
        services_.messages.showMessage(kNotFound);
        return;
    }
    deriveLoadedCurrents();
}

// The derived currents of a loaded record, without the tap check and its
// message.
void TMeinForm::deriveLoadedCurrents() {
    deriveTapCurrents(Edit1->text().toStdString(), Edit9->text().toStdString(), shared());
    showTapCurrents();
    Edit8Enter(); // InstCurrent and Label15 by the INST rule
}

void TMeinForm::ShowCurrent() {
    const auto fields = entryFields(*this);
    if (store_->CurrentRecNo() == kNone) {
        for (const EntryField& f : fields) {
            const bool name =
                f.field == TRecordField::KaisyaName || f.field == TRecordField::DebaisuNo;
            f.edit->setText(name ? QString() : QStringLiteral("0"));
        }
        return;
    }
    const TRelayRecord& record = store_->CurrentRecord();
    for (const EntryField& f : fields)
        f.edit->setText(fromStore(record.field(f.field)));
}

void TMeinForm::CmdRemoveClick() {
    const QString question =
        kRemoveQuestion + fromStore(store_->CurrentRecord().key()) + QStringLiteral("'?");
    if (services_.messages.confirm(question, ConfirmButtons::YesNo) != BoxAnswer::Yes)
        return;
    // The record the deletion leaves current is not one the user loaded:
    // another press must not remove it.
    CmdRemove->setEnabled(false);
    store_->DeleteCurrent();
    ShowCurrent();
    ShowStats();
}

void TMeinForm::Button3Click() {
    ShowStructure();
}

void TMeinForm::ShowStructure() {
    TStructForm list(*this);
    store_->Refresh(); // records another program added since are listed too
    list.setListing(store_->Height() == 0 ? std::string("< Empty >") : store_->ListKeys());
    list.exec();
}

} // namespace telvara
