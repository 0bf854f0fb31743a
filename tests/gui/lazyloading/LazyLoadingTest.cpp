// What the start leaves until it is needed: the symbol fonts (until an entry, a paste, the
// symbol selector, the font list or printing wants them) and the printer list (until it is
// asked for). A program of its own, so that nothing has loaded the fonts before it looks.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "app/EntryFiles.h"
#include "app/forms/Startup.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/PrinterList.h"
#include "richtext/qt/SymbolFonts.h"
#include "richtext/qt/ToolBar.h"

#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <gtest/gtest.h>

#include <filesystem>

namespace quillory {
namespace {

const Day kToday = *Day::FromDate(2026, 12, 6);

bool Listed(const QString& family)
{
    return QFontDatabase::families().contains(family);
}

TEST(LazyLoadingTest, TheSymbolFontsWaitForAnEntryThatNamesOne)
{
    if (!QDir(SymbolFontFolder()).exists(QStringLiteral("wingding.ttf")))
        GTEST_SKIP() << "no symbol fonts in " << SymbolFontFolder().toStdString();
    TempFolder folder;
    const std::string previous = DiaryFolder();
    SetProgramFolder(folder.withSlash());
    folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
    std::filesystem::create_directories(folder.path() / "Entries");
    WriteEntry(kToday, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 A plain day.}", "");
    const Day tomorrow = kToday + 1;
    WriteEntry(tomorrow, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fnil\\fcharset2 Wingdings;}}\\f0 Ticked: \\f1 J}", "");
    ScopedFixedToday today{kToday};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;

    {
        TMainScreen window;
        window.FormActivate();
        QComboBox* fonts = window.WPToolBar2->ListBox(ToolListId::SelFontName);
        ASSERT_NE(fonts, nullptr);
        EXPECT_FALSE(Listed(QStringLiteral("Wingdings")));  // a plain entry needs none
        EXPECT_EQ(fonts->findText(QStringLiteral("Wingdings")), -1);

        window.NextButtonClick();
        EXPECT_TRUE(Listed(QStringLiteral("Wingdings")));  // loaded before the entry was laid out
        EXPECT_GE(fonts->findText(QStringLiteral("Wingdings")), 0);
        const int at = fonts->findText(QStringLiteral("Wingdings"));
        if (at > 0)  // in alphabetical order
            EXPECT_LT(QString::compare(fonts->itemText(at - 1), QStringLiteral("Wingdings"), Qt::CaseInsensitive), 0);
        window.close();
    }
    SetProgramFolder(previous);
}

TEST(LazyLoadingTest, ThePrintersAreFirstAskedForWhenTheListIsWanted)
{
    int asked = 0;
    const PrinterNamesProvider previous = SetPrinterNamesProvider([&] {
        ++asked;
        return QStringList{QStringLiteral("Document Rendering Driver")};
    });
    ApplyPrinterTest();
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(InstalledPrinterNames(), QStringList());  // the start's rule, applied on first use
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(InstalledPrinterNames(), QStringList());  // and kept
    SetPrinterNamesProvider(previous);
}

} // namespace
} // namespace quillory
