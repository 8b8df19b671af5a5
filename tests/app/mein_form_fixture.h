#pragma once
// The real main window, shown offscreen and active, with scripted services.
#include "qt_print.h"

#include "app/mein_form.h"
#include "app/startup.h"
#include "base/numbers.h"
#include "base/shared_values.h"
#include "platform/services_scripted.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace telvara::test {

class MeinFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        shared() = SharedValues{};
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
        for (QLabel* label : {form->Label9, form->Label10, form->Label11, form->Label12,
                              form->Label13, form->Label14})
            texts << label->text();
        return texts;
    }

    QWidget* focused() const { return QApplication::focusWidget(); }

    ScriptedServices scripted;
    std::unique_ptr<TMeinForm> form;
};

} // namespace telvara::test
