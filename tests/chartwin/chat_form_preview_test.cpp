// "ﾌﾟﾚﾋﾞｭｰ": the questions of "印刷", then the page as it will print.
#include "chat_form_fixture.h"
#include "platform/paper_size.h"
#include "platform/print_preview.h"
#include "platform/qt_printer.h"
#include "tests/platform/modal_helper.h"
#include "tests/platform_chart/pdf_pages.h"

#include <QAction>
#include <QDialog>
#include <QLabel>

#include <QPushButton>
#include <QTemporaryDir>

namespace telvara {
namespace {

// Draws the preview's page once, onto the printer it is given (a PDF file).
class PagePreview : public PrintPreviewService {
public:
    std::vector<QPageLayout::Orientation> shown;
    QPageSize paper;
    QString printOff;
    QString sheetFile;
    void preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint,
                 const QString& off) override {
        shown.push_back(printer.pageLayout().orientation());
        paper = printer.pageLayout().pageSize();
        printOff = off;
        // A sheet without a file (no printer) is drawn into sheetFile.
        if (printer.outputFileName().isEmpty())
            printer.setOutputFileName(sheetFile);
        paint(printer);
    }
};

class ChatFormPreviewTest : public test::ChatFormTest {
protected:
    void SetUp() override {
        ChatFormTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
        pdf.setPageOrientation(QPageLayout::Portrait);
        chat->setPrinter(&printer);
        chat->setPrintPreview(&pages);
        pages.sheetFile = dir.filePath(QStringLiteral("sheet.pdf"));
    }

    QTemporaryDir dir;
    QPrinter pdf{QPrinter::HighResolution};
    TQtPrinter printer{pdf};
    PagePreview pages;
};

TEST_F(ChatFormPreviewTest, ShowsThePagePrintingWouldPrint) {
    enterExample();
    showMain();
    showChart();
    EXPECT_TRUE(button("Button5")->isVisible());

    // Cancel in the orientation question: no preview.
    scripted.messages.answers.push_back(BoxAnswer::Cancel);
    QTest::mouseClick(button("Button5"), Qt::LeftButton);
    EXPECT_TRUE(pages.shown.empty());
    EXPECT_TRUE(scripted.input.asked.empty());

    // Landscape with 10 % margins, the printer's portrait back afterwards.
    scripted.messages.answers.push_back(BoxAnswer::No);
    scripted.input.answers.push_back(QStringLiteral("10"));
    QTest::mouseClick(button("Button5"), Qt::LeftButton);
    ASSERT_EQ(1u, scripted.input.asked.size());
    EXPECT_EQ(QStringLiteral("用紙マージン設定"), scripted.input.asked[0].caption);
    EXPECT_EQ(2u, scripted.messages.asked.size());
    EXPECT_EQ((std::vector{QPageLayout::Landscape}), pages.shown);
    EXPECT_EQ(QPageLayout::Portrait, pdf.pageLayout().orientation());
    EXPECT_EQ((TRect{10, 10, 10, 10}), chat->printOptions().marginPercent);

    const QString file = pdf.outputFileName();
    EXPECT_EQ(1, test::pdfPageCount(file));
    EXPECT_EQ(QStringLiteral("Chart1"), test::pdfInfo(file, QStringLiteral("Title")));
    QString words;
    ASSERT_TRUE(test::runPoppler(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}, &words));
    EXPECT_TRUE(words.contains(QStringLiteral("保護協調曲線")));
    // The chart within the margins of a landscape page.
    const QImage page = test::renderFirstPage(file, 36);
    ASSERT_GT(page.width(), page.height());
    const QRect dark = test::darkBoundingBox(page);
    EXPECT_GE(dark.left(), page.width() / 10 - 1);
    EXPECT_LE(dark.right(), page.width() - page.width() / 10 + 1);
    EXPECT_TRUE(pages.printOff.isEmpty());
}

// Without a printer: the questions, then the page on the system's paper
// (here $PAPERSIZE) with printing off and the reason given.
TEST_F(ChatFormPreviewTest, WorksWithoutAPrinter) {
    enterExample();
    showMain();
    showChart();
    chat->setPrinter(nullptr);
    qputenv("PAPERSIZE", "letter");
    scripted.messages.answers.push_back(BoxAnswer::Yes);
    scripted.input.answers.push_back(QStringLiteral("5"));
    QTest::mouseClick(button("Button5"), Qt::LeftButton);
    qunsetenv("PAPERSIZE");
    ASSERT_EQ(1u, scripted.messages.asked.size()); // the orientation question, no failure
    EXPECT_EQ((std::vector{QPageLayout::Portrait}), pages.shown);
    EXPECT_EQ(QPageSize::Letter, pages.paper.id());
    EXPECT_EQ(QStringLiteral("612 x 792 pts (letter)"),
              test::pdfInfo(pages.sheetFile, QStringLiteral("Page size")));
    EXPECT_EQ(QStringLiteral("プリンタが設定されていないため、印刷できません。"
                             "ページはシステムの既定の用紙に描いています。"
                             "プリンタを設定してから、もう一度ﾌﾟﾚﾋﾞｭｰを開くと印刷できます。"),
              pages.printOff);

    EXPECT_EQ(QPageSize::A4, paperSizeNamed(QStringLiteral("A4")).id());
    EXPECT_EQ(QPageSize::Legal, paperSizeNamed(QStringLiteral(" legal\n")).id());
    EXPECT_FALSE(paperSizeNamed(QStringLiteral("napkin")).isValid());
}

// Qt's preview with printing off: its print command is disabled and the
// reason is shown under the page.
TEST_F(ChatFormPreviewTest, QtPreviewShowsWhyPrintingIsOff) {
    QPrinter sheet(QPrinter::HighResolution);
    sheet.setOutputFormat(QPrinter::PdfFormat);
    bool printEnabled = true;
    QString reason, tip;
    test::whenModalOpens<QDialog>([&](QDialog* dialog) {
        if (QAction* print = previewPrintAction(*dialog)) {
            printEnabled = print->isEnabled();
            tip = print->toolTip();
        }
        if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("printOffReason")))
            reason = label->text();
        dialog->reject();
    });
    int paints = 0;
    QtPrintPreview().preview(
        sheet, [&](QPrinter&) { ++paints; }, QStringLiteral("理由"));
    EXPECT_FALSE(printEnabled);
    EXPECT_EQ(QStringLiteral("理由"), tip);
    EXPECT_EQ(QStringLiteral("理由"), reason);
    EXPECT_GE(paints, 1);
}

} // namespace
} // namespace telvara
