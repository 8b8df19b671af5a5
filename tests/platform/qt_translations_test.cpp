// Qt's own dialogs in Japanese once the program's translations are installed.
#include "platform/qt_translations.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace telvara;

TEST(QtTranslations, ColourDialogAndStandardButtonsSpeakJapanese) {
    ASSERT_TRUE(installQtTranslations(*QApplication::instance()))
        << "Qt's Japanese translations are needed (Debian: qt6-translations-l10n)";
    QColorDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("色を選択"));
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
}
