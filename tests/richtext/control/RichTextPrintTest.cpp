// Printing into a PDF (no printer is installed in the tests): the text arrives, pages follow the
// range, and the header and footer events are called per page.
#include "richtext/qt/RichText.h"
#include "platform/qt/PrinterList.h"

#include "TempFolder.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace quillory {
namespace {

QString pdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(RichTextPrint, PrintsTheTextIntoAPdfWithHeaderEventsPerPage)
{
    TempFolder folder;
    ScopedPrinterNames noPrinters({});
    TWPRichText editor;
    editor.resize(500, 400);
    QString text;
    for (int i = 1; i <= 120; ++i)
        text += QStringLiteral("Line number %1 of the entry\r").arg(i);
    editor.InsertText(text + QStringLiteral("Caf\u00e9 end"));

    std::vector<int> headerPages;
    editor.PrintHeader = [&](TWPRichText&, Canvas&, int, int, int w, int h, int page, int) {
        EXPECT_GT(w, 0);
        headerPages.push_back(page);
    };
    const QString pdf = QString::fromStdString((folder.path() / "out.pdf").string());
    ASSERT_TRUE(editor.Print(0, 16777215, pdf));
    const QString printed = pdfText(pdf);
    EXPECT_TRUE(printed.contains(QStringLiteral("Line number 1 of the entry")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Caf\u00e9 end")));
    ASSERT_GE(headerPages.size(), 2u) << "120 lines take more than one Letter page";
    EXPECT_EQ(headerPages.front(), 1);

    const QString second = QString::fromStdString((folder.path() / "page2.pdf").string());
    headerPages.clear();
    ASSERT_TRUE(editor.Print(1, 1, second));
    EXPECT_EQ(headerPages.size(), 1u);
    const QString page2 = pdfText(second);
    EXPECT_FALSE(page2.contains(QStringLiteral("Line number 1 of the entry")));
    EXPECT_TRUE(page2.contains(QStringLiteral("Line number 120 of the entry")));
}

} // namespace
} // namespace quillory
