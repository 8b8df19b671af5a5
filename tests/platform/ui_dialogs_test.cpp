#include "modal_helper.h"
#include "platform/services_random.h"
#include "platform/ui_dialogs.h"
#include "qt_print.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace telvara {
namespace {

QStringList buttonTexts(QWidget* dialog) {
    QStringList texts;
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (!button->isHidden())
            texts << button->text();
    texts.sort();
    return texts;
}

TEST(QtInputService, AsksWithCaptionPromptAndInitialTextAndTellsCancelApart) {
    QtInputService input;
    QString caption, label;
    QStringList buttons;
    test::whenModalOpens<QInputDialog>([&](QInputDialog* box) {
        caption = box->windowTitle();
        label = box->labelText();
        buttons = buttonTexts(box);
        EXPECT_EQ(box->textValue(), QStringLiteral("5"));
        box->setTextValue(" 10");
        box->accept();
    });
    EXPECT_EQ(input.inputBox("用紙マージン設定", "紙の大きさに対する割合で示されます。", "5"),
              std::optional<QString>(" 10"));
    EXPECT_EQ(caption, QStringLiteral("用紙マージン設定"));
    EXPECT_EQ(label, QStringLiteral("紙の大きさに対する割合で示されます。"));
    EXPECT_EQ(buttons, (QStringList{"OK", "キャンセル"}));

    test::whenModalOpens<QInputDialog>([](QInputDialog* box) { box->reject(); });
    EXPECT_EQ(input.inputBox("c", "p", "5"), std::nullopt);
}

TEST(QtColorChooser, PreselectsTheColourAndReturnsThePickedOne) {
    QtColorChooser colors;
    QColor preselected;
    test::whenModalOpens<QColorDialog>([&](QColorDialog* dialog) {
        preselected = dialog->currentColor();
        dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
        dialog->accept();
    });
    EXPECT_EQ(colors.chooseColor(rgb(0xFF, 0x80, 0x00)), std::optional<TColor>(0x563412));
    EXPECT_EQ(preselected, QColor(0xFF, 0x80, 0x00));

    test::whenModalOpens<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(colors.chooseColor(clBlack), std::nullopt);
}

TEST(ClockRandomSource, DrawsWithinTheRange) {
    ClockRandomSource random;
    random.seedFromClock();
    for (int i = 0; i < 1000; ++i)
        EXPECT_LT(random.next(0x1000000), 0x1000000u);
    EXPECT_EQ(random.next(1), 0u);
    EXPECT_EQ(random.next(0), 0u);
}

} // namespace
} // namespace telvara
