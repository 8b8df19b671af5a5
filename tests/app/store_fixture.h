#pragma once
// The main window on a store in a fresh folder, with helpers to enter a
// relay, press the store buttons and read the store back.
#include "mein_form_fixture.h"

#include "base/cp932.h"
#include "chartwin/chat_form.h"
#include "store/bplustree.h"

#include <QTemporaryDir>

#include <array>
#include <string>

namespace telvara::test {

// The texts of the twelve entry fields, UTF-8.
struct Relay {
    std::string name = "A電力";
    std::string device = "51R";
    std::string ct = "100";
    std::string tap = "4";
    std::string instTap = "40";
    std::array<std::string, 7> times{"10", "5", "3", "2.2", "1.8", "1.5", "0.05"};
};

class StoreTest : public MeinFormTest {
protected:
    void SetUp() override {
        MeinFormTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        open(dir.path());
        ASSERT_TRUE(form->store().isOpen());
    }
    void TearDown() override {
        // The chart window reads the main window; it goes first.
        chart.reset();
        form.reset();
    }

    QList<QLineEdit*> timeFields() const {
        return {edit("Edit2"), edit("Edit3"), edit("Edit4"), edit("Edit5"),
                edit("Edit6"), edit("Edit7"), edit("Edit8")};
    }

    // Sets the twelve fields as typed, without leaving any of them.
    void enter(const Relay& r) {
        edit("kaisya")->setText(QString::fromStdString(r.name));
        edit("Debaisu")->setText(QString::fromStdString(r.device));
        edit("Edit1")->setText(QString::fromStdString(r.ct));
        edit("Edit9")->setText(QString::fromStdString(r.tap));
        edit("Edit10")->setText(QString::fromStdString(r.instTap));
        for (int i = 0; i < 7; ++i)
            timeFields()[i]->setText(QString::fromStdString(r.times[std::size_t(i)]));
    }

    // The twelve field texts, in record order.
    QStringList fieldTexts() const {
        QStringList texts{edit("kaisya")->text(), edit("Debaisu")->text(), edit("Edit1")->text()};
        for (QLineEdit* edit : timeFields())
            texts << edit->text();
        texts << edit("Edit9")->text() << edit("Edit10")->text();
        return texts;
    }

    static QStringList textsOf(const Relay& r) {
        QStringList texts{QString::fromStdString(r.name), QString::fromStdString(r.device),
                          QString::fromStdString(r.ct)};
        for (const std::string& t : r.times)
            texts << QString::fromStdString(t);
        texts << QString::fromStdString(r.tap) << QString::fromStdString(r.instTap);
        return texts;
    }

    // A button pressed as the user would: the focus moves onto it, then the click.
    void press(QPushButton* button) {
        focusOn(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    // Stores a relay through the window's "Add", answering any overwrite
    // question yes; the boxes it showed are forgotten.
    void add(const Relay& r) {
        enter(r);
        scripted.messages.answers.push_back(BoxAnswer::Yes);
        press(button("CmdAdd"));
        ASSERT_EQ(scripted.messages.asked.back().text, QStringLiteral("レコードに追加します"));
        scripted.messages.answers.clear();
        scripted.messages.asked.clear();
    }

    // Stores a relay straight into the store (UTF-8 texts, cut by the record).
    void store(const Relay& r) {
        TRelayRecord& record = form->store().CurrentRecord();
        record = TRelayRecord{};
        const auto put = [&record](TRecordField f, const std::string& text) {
            record.setField(f, utf8ToCp932(text));
        };
        put(TRecordField::KaisyaName, r.name);
        put(TRecordField::DebaisuNo, r.device);
        put(TRecordField::CTPrimary, r.ct);
        put(TRecordField::Tap, r.tap);
        put(TRecordField::InstTap, r.instTap);
        for (int i = 0; i < 7; ++i)
            put(TRecordField(int(TRecordField::Time150) + i), r.times[std::size_t(i)]);
        form->store().InsertCurrent();
    }

    // The lines of the store's key listing, UTF-8.
    QStringList listing() {
        if (form->store().Height() == 0)
            return {};
        QStringList lines = QString::fromStdString(cp932ToUtf8(form->store().ListKeys()))
                                .split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.back().isEmpty())
            lines.pop_back();
        return lines;
    }

    // The stored texts of the record under the key, or nothing.
    std::optional<QStringList> stored(const std::string& name, const std::string& device) {
        TBPlusTree& s = form->store();
        if (!s.FindKey(recordKey(utf8ToCp932(name), utf8ToCp932(device))))
            return std::nullopt;
        QStringList texts;
        for (int f = 0; f < kRecordFieldCount; ++f)
            texts << QString::fromStdString(cp932ToUtf8(s.CurrentRecord().field(TRecordField(f))));
        return texts;
    }

    // Loads a record through the hidden search "検索"; the window's guard
    // reports what fails.
    void search(const QString& name, const QString& device) {
        edit("SearchKaisyaName")->setText(name);
        edit("SearchDebisuNo")->setText(device);
        button("CmdSearch")->click();
        QCoreApplication::processEvents();
    }

    // The chart window beside the main window, as at start-up.
    TChatForm& withChart() {
        chartServices = std::make_unique<Services>(scripted.services());
        chart = std::make_unique<TChatForm>(*form, *chartServices);
        form->setChartWindow(chart.get());
        return *chart;
    }

    QTemporaryDir dir;
    std::unique_ptr<Services> chartServices;
    std::unique_ptr<TChatForm> chart;
};

} // namespace telvara::test
