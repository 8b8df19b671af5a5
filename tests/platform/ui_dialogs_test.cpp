#include "modal_helper.h"
#include "platform/services_random.h"
#include "platform/ui_dialogs.h"
#include "qt_print.h"

#include <QColorDialog>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

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

// Opens the chooser's dialog, notes the folder it starts in and the type and
// date it shows for the folder "sub" there, and chooses `name` in it.
struct SeenFileDialog {
    QString folder, subType, subDate;
};

SeenFileDialog chooseIn(QtFileSaveChooser& files, const QString& name) {
    SeenFileDialog seen;
    test::whenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
        seen.folder = dialog->directory().absolutePath();
        // The details view, as the user sees it.
        auto* details = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        const auto subRow = [&]() -> QModelIndex {
            const QModelIndex root = details->rootIndex();
            for (int r = 0; r < details->model()->rowCount(root); ++r)
                if (details->model()->index(r, 0, root).data().toString() == QStringLiteral("sub"))
                    return details->model()->index(r, 0, root);
            return {};
        };
        if (QTest::qWaitFor([&] { return subRow().isValid(); }, 3000)) {
            const QModelIndex sub = subRow();
            seen.subType = sub.siblingAtColumn(2).data().toString();
            seen.subDate = sub.siblingAtColumn(3).data().toString();
        }
        // Typed into the name field, as a user would.
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
        QMetaObject::invokeMethod(dialog, "accept");
        if (dialog->isVisible()) // the name was refused: the test goes on
            dialog->reject();
    });
    files.chooseSaveFile({QStringLiteral("CSV書き出し"),
                          QStringLiteral("CSV"),
                          QStringLiteral("*.csv"),
                          QStringLiteral("csv"),
                          false,
                          {}});
    return seen;
}

TEST(QtFileSaveChooser, StartsInTheDataFolderThenTheLastFolderAndSpeaksJapanese) {
    QTemporaryDir data;
    QDir(data.path()).mkpath("sub/sub");
    QtFileSaveChooser files;
    files.setDataFolder(data.path());
    const SeenFileDialog first = chooseIn(files, "sub/a.csv");
    EXPECT_EQ(first.folder, data.path());
    EXPECT_EQ(first.subType, QStringLiteral("フォルダー"));
    const QDateTime changed = QFileInfo(data.filePath("sub")).lastModified();
    EXPECT_EQ(first.subDate, changed.toString(QStringLiteral("yyyy/MM/dd H:mm")));
    // The next dialog starts where the last file went.
    EXPECT_EQ(chooseIn(files, "b.csv").folder, data.filePath("sub"));
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
