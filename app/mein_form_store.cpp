// The store commands of the main window: Add, the search that loads a
// record, Remove and the input data list.
#include "app/mein_form.h"
#include "app/struct_form.h"

#include "base/cp932.h"
#include "chartwin/coordination_chart.h"
#include "relay/record_check.h"
#include "store/bplustree.h"
#include "store/find_relay.h"
#include "store/stored_relays.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <vector>

namespace telvara {

namespace {

const QString kNoName = QStringLiteral("会社名の入力がありません？");
const QString kNoDevice = QStringLiteral("ﾃﾞﾊﾞｲｽNo. の入力がありません？");
const QString kOverwriteQuestion = QStringLiteral(" は、すでに存在するDATAです上書きしますか？");
const QString kAdded = QStringLiteral("レコードに追加します");
const QString kNotFound = QStringLiteral("見つかりません？");
const QString kRemoveQuestion = QStringLiteral("次のレコードを削除します '");
const char kSameCutKey[] =
    " とキーの先頭 41 バイトが同じです。別の会社名かﾃﾞﾊﾞｲｽNo. にしてください。";

QString fromStore(std::string_view bytes) {
    return QString::fromStdString(cp932ToUtf8(bytes));
}

std::string toStore(const QString& text) {
    return utf8ToCp932(text.toStdString());
}

// The typed text as UTF-8 for the field check. Qt would turn a lone
// surrogate (pasted from a broken source) into "?" silently; it is kept here
// as its three ill-formed bytes, so that the check refuses it by field.
std::string typedUtf8(const QString& text) {
    std::string out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool pair =
            QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair || !QChar::isSurrogate(unit)) {
            out += QStringView(text).mid(i, pair ? 2 : 1).toUtf8().toStdString();
            i += pair;
            continue;
        }
        out += char(0xE0 | (unit >> 12));
        out += char(0x80 | ((unit >> 6) & 0x3F));
        out += char(0x80 | (unit & 0x3F));
    }
    return out;
}

} // namespace

struct TMeinForm::EntryField {
    QLineEdit* edit;
    TRecordField field;
};

std::vector<TMeinForm::EntryField> TMeinForm::entryFields() const {
    std::vector<EntryField> fields = {{kaisya, TRecordField::KaisyaName},
                                      {Debaisu, TRecordField::DebaisuNo},
                                      {Edit1, TRecordField::CTPrimary}};
    for (std::size_t column = 0; column < kTimeFieldCount; ++column)
        fields.push_back(
            {TimeEdits[column], TRecordField(int(TRecordField::Time150) + int(column))});
    fields.push_back({Edit9, TRecordField::Tap});
    fields.push_back({Edit10, TRecordField::InstTap});
    return fields;
}

void TMeinForm::CmdAddClick() {
    requireWritable();
    // A text that does not fit its field whole, or a number the chart cannot
    // draw, is refused before anything is looked up or stored; nothing is cut
    // or replaced silently. Empty names are refused after the lookup below.
    const auto fields = entryFields();
    std::array<std::string, kRecordFieldCount> texts;
    for (const EntryField& f : fields) {
        const std::string typed = typedUtf8(f.edit->text());
        const std::string problem = checkField(f.field, typed);
        const bool emptyName = typed.empty() && (f.edit == kaisya || f.edit == Debaisu);
        if (!problem.empty() && !emptyName) {
            services_.messages.showMessage(QString::fromStdString(problem));
            focusControl(f.edit);
            return;
        }
        texts[std::size_t(f.field)] = toStore(f.edit->text());
    }

    const std::string& name = texts[std::size_t(TRecordField::KaisyaName)];
    const std::string& device = texts[std::size_t(TRecordField::DebaisuNo)];
    const bool found = findRelay(*store_, name, device);
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
    if (!found) {
        // Another relay under the same first 41 key bytes would be lost.
        std::string problem =
            checkNewKey(kaisya->text().toStdString(), Debaisu->text().toStdString());
        if (problem.empty() && store_->CurrentRecNo() != kNone)
            problem = cp932ToUtf8(store_->CurrentRecord().key()) + kSameCutKey;
        if (!problem.empty()) {
            services_.messages.showMessage(QString::fromStdString(problem));
            focusControl(Debaisu);
            return;
        }
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
    services_.messages.showMessage(kAdded);
}

bool TMeinForm::loadRecord(const std::string& company, const std::string& device) {
    SearchKaisyaName->setText(QString::fromStdString(company));
    SearchDebisuNo->setText(QString::fromStdString(device));
    CmdSearchClick();
    return searchFound_;
}

void TMeinForm::CmdSearchClick() {
    DataSearch();
}

void TMeinForm::DataSearch() {
    // The list window asks by the listed line, which is the key as a tree page
    // keeps it.
    searchFound_ = findListedRelay(*store_, toStore(SearchKaisyaName->text()),
                                   toStore(SearchDebisuNo->text()));
    ShowCurrent();
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
    deriveTapCurrents(Edit1->text().toStdString(), Edit9->text().toStdString(), currents_);
    showTapCurrents();
    Edit8Enter(); // InstCurrent and Label15 by the INST rule
}

void TMeinForm::ShowCurrent() {
    const auto fields = entryFields();
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
    requireWritable();
    const QString question =
        kRemoveQuestion + fromStore(store_->CurrentRecord().key()) + QStringLiteral("'?");
    if (services_.messages.confirm(question, ConfirmButtons::YesNo) != BoxAnswer::Yes)
        return;
    // The record the deletion leaves current is not one the user loaded:
    // another press must not remove it.
    CmdRemove->setEnabled(false);
    store_->DeleteCurrent();
    ShowCurrent();
}

std::optional<RelaySettings> TMeinForm::storedRelay(const std::string& company,
                                                    const std::string& device) const {
    // A name Shift-JIS cannot hold was never stored.
    if (!store_ || !store_->isOpen() || !isCp932Representable(company) ||
        !isCp932Representable(device))
        return std::nullopt;
    const auto record = relayRecord(*store_, utf8ToCp932(company), utf8ToCp932(device));
    if (!record)
        return std::nullopt;
    return telvara::storedRelay(*record);
}

void TMeinForm::Button3Click() {
    ShowStructure();
}

void TMeinForm::ShowStructure() {
    TStructForm list(*this);
    store_->Refresh(); // records another program added since are listed too
    list.listStore(*store_);
    list.exec();
}

} // namespace telvara
