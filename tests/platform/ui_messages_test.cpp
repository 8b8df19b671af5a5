#include "modal_helper.h"
#include "platform/ui_messages.h"
#include "qt_print.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

namespace telvara {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons; // captions of the visible buttons
};

SeenBox look(QMessageBox* box) {
    SeenBox seen{box->windowTitle(), box->text(), box->icon(), {}};
    for (QAbstractButton* button : box->buttons())
        if (!button->isHidden())
            seen.buttons << button->text();
    seen.buttons.sort(); // their order on screen is the platform's
    return seen;
}

// Opens the box through `ask`, records it, then presses `caption`
// (an empty caption closes the box with Esc).
template <typename Ask> SeenBox answerBox(const QString& caption, Ask ask) {
    SeenBox seen;
    test::whenModalOpens<QMessageBox>([&](QMessageBox* box) {
        seen = look(box);
        if (caption.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* button : box->buttons())
            if (button->text() == caption)
                button->click();
    });
    ask();
    return seen;
}

TEST(QtMessageService, PlainWarningAndErrorBoxesCarryTheirTitlesAndOneOkButton) {
    QtMessageService messages;
    SeenBox plain = answerBox("OK", [&] { messages.showMessage("レコードに追加します"); });
    EXPECT_EQ(plain.title, QStringLiteral("Telvara"));
    EXPECT_EQ(plain.text, QStringLiteral("レコードに追加します"));
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain.buttons, QStringList{"OK"});

    SeenBox warning = answerBox("OK", [&] { messages.showWarning("Error at position: 3"); });
    EXPECT_EQ(warning.title, QStringLiteral("警告"));
    EXPECT_EQ(warning.text, QStringLiteral("Error at position: 3"));
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_EQ(warning.buttons, QStringList{"OK"});

    SeenBox error = answerBox("", [&] { messages.showError("失敗."); });
    EXPECT_EQ(error.title, QStringLiteral("Telvara"));
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons, QStringList{"OK"});
}

TEST(QtMessageService, AShortTextLeavesTheTitleWhole) {
    QtMessageService messages;
    QFont bold = QApplication::font();
    bold.setBold(true);
    for (const bool confirmation : {false, true}) {
        int width = 0, needed = 0;
        test::whenModalOpens<QMessageBox>([&](QMessageBox* box) {
            // The title beside the window's icon and three title-bar buttons.
            needed = QFontMetrics(bold).horizontalAdvance(box->windowTitle()) +
                     4 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, box);
            width = box->width();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        if (confirmation)
            messages.confirm("a", ConfirmButtons::OkCancel);
        else
            messages.showMessage("a");
        EXPECT_GT(needed, 0);
        EXPECT_GE(width, needed) << confirmation;
    }
}

TEST(QtMessageService, ConfirmationsOfferTheNamedButtonsAndTellClosingApart) {
    QtMessageService messages;
    BoxAnswer answer{};
    const QString question = QStringLiteral("このまま終了しますか?");

    SeenBox okCancel = answerBox(
        "キャンセル", [&] { answer = messages.confirm(question, ConfirmButtons::OkCancel); });
    EXPECT_EQ(okCancel.title, QStringLiteral("確認"));
    EXPECT_EQ(okCancel.text, question);
    EXPECT_EQ(okCancel.icon, QMessageBox::Question);
    EXPECT_EQ(okCancel.buttons, (QStringList{"OK", "キャンセル"}));
    EXPECT_EQ(answer, BoxAnswer::Cancel);
    answerBox("OK", [&] { answer = messages.confirm(question, ConfirmButtons::OkCancel); });
    EXPECT_EQ(answer, BoxAnswer::Ok);
    answerBox("", [&] { answer = messages.confirm(question, ConfirmButtons::OkCancel); });
    EXPECT_EQ(answer, BoxAnswer::Closed);

    SeenBox yesNo = answerBox(
        "はい(&Y)", [&] { answer = messages.confirm("作成しますか？", ConfirmButtons::YesNo); });
    EXPECT_EQ(yesNo.buttons, (QStringList{"いいえ(&N)", "はい(&Y)"}));
    EXPECT_EQ(answer, BoxAnswer::Yes);
    answerBox("いいえ(&N)", [&] { answer = messages.confirm("x", ConfirmButtons::YesNo); });
    EXPECT_EQ(answer, BoxAnswer::No);
    answerBox("", [&] { answer = messages.confirm("x", ConfirmButtons::YesNo); });
    EXPECT_EQ(answer, BoxAnswer::Closed);

    SeenBox three = answerBox("キャンセル", [&] {
        answer = messages.confirm("縦方向印刷なら Ｙｅｓ? 横方向印刷なら Ｎｏ?",
                                  ConfirmButtons::YesNoCancel);
    });
    EXPECT_EQ(three.buttons, (QStringList{"いいえ(&N)", "はい(&Y)", "キャンセル"}));
    EXPECT_EQ(answer, BoxAnswer::Cancel);
}

} // namespace
} // namespace telvara
