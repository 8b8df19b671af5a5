#pragma once
// The real main window, shown offscreen and active, with scripted services.
#include "qt_print.h"

#include "app/mein_form.h"
#include "app/startup.h"
#include "base/numbers.h"
#include "platform/services_scripted.h"
#include "tests/platform/window_parts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace telvara {

// Reads the main window's focus bookkeeping, which no other window needs.
class TMeinFormTestAccess {
public:
    static QWidget* activeControl(const TMeinForm& form) { return form.activeControl(); }
    static QList<QWidget*> tabChain(const TMeinForm& form) { return form.tabChain(); }
};

} // namespace telvara

namespace telvara::test {

class MeinFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        setNumberLocale(NumberLocale{});
        scripted.help.file = kStartHelpFile;
    }

    // Creates the window; the data-folder dialog answers `folder` (nothing: cancelled).
    TMeinForm& open(std::optional<QString> folder = std::nullopt) {
        scripted.directories.answers = {folder};
        form = std::make_unique<TMeinForm>(scripted.services());
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    // Puts the focus on a control as the user would (exit checks run).
    void focusOn(QWidget* control) {
        control->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }

    // Tab from the focused control.
    void tab() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
    }

    // Types a field's text without leaving anything, then leaves it with Tab.
    void leave(QLineEdit* field, const QString& text) {
        focusOn(field);
        field->setText(text);
        tab();
    }

    QStringList currentLabels() const {
        QStringList texts;
        for (const char* name : {"Label9", "Label10", "Label11", "Label12", "Label13", "Label14"})
            texts << label(name)->text();
        return texts;
    }

    QWidget* focused() const { return QApplication::focusWidget(); }

    // The main window's derived currents.
    RelayCurrents currents() const { return form->currents(); }
    // One of them set, as the relays loaded before would have left it.
    void setCurrent(double RelayCurrents::*which, double value) {
        RelayCurrents c = form->currents();
        c.*which = value;
        form->carryCurrents(c);
    }

    // A control of a window by its design name.
    template <class T> static T* partOf(const QObject* window, const char* name) {
        return test::partOf<T>(window, name);
    }
    // A control of the main window by its design name.
    template <class T = QWidget> T* control(const char* name) const {
        return partOf<T>(form.get(), name);
    }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
    QLabel* label(const char* name) const { return control<QLabel>(name); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }

    QWidget* activeControl() const { return TMeinFormTestAccess::activeControl(*form); }
    QList<QWidget*> tabChain() const { return TMeinFormTestAccess::tabChain(*form); }

    ScriptedServices scripted;
    std::unique_ptr<TMeinForm> form;
};

} // namespace telvara::test
