#pragma once
// The chart window with a fake main window and scripted platform services.
#include "base/numbers.h"
#include "chartwin/chat_form.h"
#include "platform/chart_widget.h"
#include "platform/services_scripted.h"
#include "tests/platform/window_parts.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <map>

namespace telvara::test {

// What the chart window reads from the main window, set by the test.
class FakeMain : public QWidget, public MainWindowLink {
public:
    FakeMain() { resize(300, 200); }
    std::array<std::string, 7> times{"0", "0", "0", "0", "0", "0", "0"};
    std::string device = "51R";
    std::string company;
    // The example relay's CT比, タップ and INSTタップ.
    std::string ct = "100";
    std::string tap = "4";
    std::string instTap = "40";
    bool timeCheck = false;
    int radio = -1;
    TColor dialog = clBlack;
    std::string version = "Version 1.2.3.4";
    std::deque<TColor> randomColours;
    int colourSelects = 0;
    RelayCurrents derived;
    // The store's relays by company name and device number.
    std::map<std::pair<std::string, std::string>, RelaySettings> stored;

    std::string timeText(int index) const override { return times.at(std::size_t(index)); }
    std::string deviceText() const override { return device; }
    std::string companyText() const override { return company; }
    std::string ctText() const override { return ct; }
    std::string tapText() const override { return tap; }
    std::string instTapText() const override { return instTap; }
    RelayCurrents currents() const override { return derived; }
    bool timeCheckChecked() const override { return timeCheck; }
    int colorRadioIndex() const override { return radio; }
    TColor dialogColor() const override { return dialog; }
    std::string versionCaption() const override { return version; }
    std::optional<RelaySettings> storedRelay(const std::string& company,
                                             const std::string& device) const override {
        const auto it = stored.find({company, device});
        return it == stored.end() ? std::nullopt : std::optional<RelaySettings>(it->second);
    }
    TColor ColorSelect() override {
        ++colourSelects;
        const TColor colour = randomColours.empty() ? 0x123456 : randomColours.front();
        if (!randomColours.empty())
            randomColours.pop_front();
        return colour;
    }
};

class ChatFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        setNumberLocale({".", ","});
        // The windows' remembered switches live in a folder of the test's own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        services = std::make_unique<Services>(scripted.services());
        chat = std::make_unique<TChatForm>(main, *services);
    }
    void TearDown() override { chat.reset(); }

    // The example relay: CT 100, tap 4, INST tap 40 and its seven times.
    void enterExample() {
        RelayCurrents& v = main.derived;
        v.TapCurrent = 80;
        v.Current150 = 120;
        v.Current200 = 160;
        v.Current300 = 240;
        v.Current400 = 320;
        v.Current500 = 400;
        v.Current700 = 560;
        v.InstCurrent = 4000;
        main.times = {"10", "5", "3", "2.2", "1.8", "1.5", "0.05"};
    }

    static void settle() {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
            QTest::qWait(1);
        }
    }

    void activate(QWidget& w) {
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        settle();
    }

    // The main window shown and active, as when the user works in it.
    void showMain() {
        main.show();
        activate(main);
    }

    // "グラフ表示" from the main window.
    void showChart() {
        chat->showFromMain();
        ASSERT_TRUE(QTest::qWaitForWindowActive(chat.get()));
        settle();
    }

    // A complete paint of the chart, as the next paint request would do.
    void paintChart() {
        chartWidget()->grab();
        settle();
    }

    // A control of the chart window by its design name.
    template <class T = QWidget> T* control(const char* name) const {
        return partOf<T>(chat.get(), name);
    }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QCheckBox* checkBox(const char* name) const { return control<QCheckBox>(name); }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
    QLabel* label(const char* name) const { return control<QLabel>(name); }
    QToolButton* toolButton(const char* name) const { return control<QToolButton>(name); }
    TChartWidget* chartWidget() const { return control<TChartWidget>("Chart1"); }
    TChart& chart() const { return chartWidget()->Chart(); }

    TChartSeries* series(int i) { return chart().SeriesAt(i); }
    int seriesCounter() const { return chat->coordination().SeriesCounter(); }

    FakeMain main;
    ScriptedServices scripted;
    QTemporaryDir settingsDir;
    std::unique_ptr<Services> services;
    std::unique_ptr<TChatForm> chat;
};

} // namespace telvara::test
