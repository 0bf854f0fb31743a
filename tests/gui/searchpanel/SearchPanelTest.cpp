// The search panel of the main window driven by keys: Ctrl+Shift+F, typing one key at a time,
// the arrows, Enter and Escape; the list newest first with a day's further lines under it; the
// index following saves; only the rows on screen read.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "app/EntryFiles.h"
#include "app/EntryIndex.h"
#include "app/EntryStore.h"
#include "app/forms/SearchPanel.h"
#include "app/forms/SearchResults.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/PrinterList.h"
#include "platform/qt/QtText.h"
#include "richtext/edit/EditorCore.h"
#include "richtext/qt/RichText.h"

#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace quillory {
namespace {

Day D(int year, int month, int day) { return *Day::FromDate(year, month, day); }
const Day kToday = D(2026, 12, 6);

class SearchPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        std::filesystem::create_directories(folder.path() / "Entries");
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    static void Entry(Day day, std::string_view body)
    {
        WriteEntry(day, "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0 " + std::string(body) + "}", std::string_view());
    }

    // The window on screen with its index read.
    std::unique_ptr<TMainScreen> Open()
    {
        auto window = std::make_unique<TMainScreen>();
        window->FormActivate();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QCoreApplication::processEvents();  // the index starts once the window shows
        window->Index->Wait();
        QCoreApplication::processEvents();
        return window;
    }

    // Each key is one pass of the event loop, as when a person types.
    static void Type(QWidget* target, const QString& text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClicks(target, QString(c));
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QCoreApplication::processEvents();
        }
    }
    static void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(target, key, modifiers);
        QCoreApplication::processEvents();
    }

    static std::string Listed(const TSearchPanel& panel)
    {
        std::string days;
        for (const Day day : panel.ListedDays())
            days += (days.empty() ? "" : " ") + IsoText(day);
        return days;
    }
    static QString Selected(TMainScreen& window)
    {
        const EditorCore& core = window.WPRichText1->core();
        std::string all;
        for (const TParagraph* p = window.WPRichText1->RtfText().firstParagraph(); p; p = p->next())
            all += p->text() + "\n";
        return TextToQString(std::string_view(all).substr(std::size_t(core.SelStartPosition()),
                                                          std::size_t(window.WPRichText1->SelLength())));
    }
    static QString CurrentLine(const TSearchPanel& panel)
    {
        return panel.ResultList->currentIndex().data(TSearchResults::SegmentsRole).toStringList().join(QString());
    }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{kToday};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
};

TEST_F(SearchPanelTest, TypingListsTheDaysAndEnterShowsTheMatch)
{
    Entry(D(2026, 1, 5), "We walked by the River.\\par It was cold.");
    Entry(D(2026, 3, 1), "Lunch at the caf\\'e9, then the {\\b riv}er again.");
    Entry(D(2026, 2, 1), "Nothing of the sort.");
    auto window = Open();
    TSearchPanel& panel = *window->SearchPanel;
    EXPECT_FALSE(window->SearchDock->isVisible());

    Key(window->WPRichText1, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(window->SearchDock->isVisible());
    ASSERT_TRUE(panel.Field->hasFocus());

    Type(panel.Field, QStringLiteral("ri"));
    EXPECT_EQ(Listed(panel), "2026-03-01 2026-01-05");  // newest first, at every key
    Type(panel.Field, QStringLiteral("ver cafe"));        // every word; cafe finds café
    EXPECT_EQ(Listed(panel), "2026-03-01");
    EXPECT_EQ(panel.Status->text(), QStringLiteral("1 day"));
    Key(panel.Field, Qt::Key_Backspace);
    Type(panel.Field, QStringLiteral("é"));
    EXPECT_EQ(Listed(panel), "2026-03-01");
    for (int i = 0; i < 4; ++i)  // back to "river "
        Key(panel.Field, Qt::Key_Backspace);
    Type(panel.Field, QStringLiteral("-lunch"));
    EXPECT_EQ(Listed(panel), "2026-01-05");

    // The row shows the matching line with the match marked.
    QCoreApplication::processEvents();
    const QStringList segments = panel.ResultList->currentIndex().data(TSearchResults::SegmentsRole).toStringList();
    ASSERT_EQ(segments.size(), 3);
    EXPECT_EQ(segments[1], QStringLiteral("River"));
    EXPECT_EQ(segments.join(QString()), QStringLiteral("We walked by the River."));

    Key(panel.Field, Qt::Key_Return);
    EXPECT_EQ(window->CurrentDay, D(2026, 1, 5));
    EXPECT_EQ(Selected(*window), QStringLiteral("River"));
    EXPECT_TRUE(window->WPRichText1->hasFocus());

    // Back to the field; the arrows move through the list, Escape returns to the entry.
    Key(window->WPRichText1, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(panel.Field->hasFocus());
    EXPECT_TRUE(panel.Field->selectedText() == panel.Field->text());
    Type(panel.Field, QStringLiteral("river"));
    Key(panel.Field, Qt::Key_Down);
    EXPECT_TRUE(panel.Field->hasFocus());  // typing can go on
    EXPECT_EQ(panel.ResultList->currentIndex().row(), 1);
    Key(panel.Field, Qt::Key_Return);
    EXPECT_EQ(window->CurrentDay, D(2026, 1, 5));
    Key(window->WPRichText1, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    Key(panel.Field, Qt::Key_Up);
    Key(panel.Field, Qt::Key_Enter);
    EXPECT_EQ(window->CurrentDay, D(2026, 3, 1));
    EXPECT_EQ(Selected(*window), QStringLiteral("river"));  // split by bold, selected whole
    Key(window->WPRichText1, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    Key(panel.Field, Qt::Key_Escape);
    EXPECT_TRUE(window->WPRichText1->hasFocus());
}

TEST_F(SearchPanelTest, FurtherLinesOfADayStandUnderIt)
{
    Entry(D(2026, 1, 5), "Tea first.\\par Nothing.\\par More #tea at four.\\par Tea again.");
    auto window = Open();
    TSearchPanel& panel = *window->SearchPanel;
    Key(window->WPRichText1, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    Type(panel.Field, QStringLiteral("tea"));
    QTest::qWait(20);  // painted, then the day's further lines come in under it
    const QModelIndex day = panel.Results().index(0, 0);
    ASSERT_EQ(panel.Results().rowCount(day), 2);
    EXPECT_TRUE(panel.ResultList->isExpanded(day));
    EXPECT_EQ(CurrentLine(panel), QStringLiteral("Tea first."));
    Key(panel.Field, Qt::Key_Down);
    Key(panel.Field, Qt::Key_Down);
    EXPECT_EQ(CurrentLine(panel), QStringLiteral("Tea again."));
    Key(panel.Field, Qt::Key_Return);
    EXPECT_EQ(window->CurrentDay, D(2026, 1, 5));
    EXPECT_EQ(window->WPRichText1->CaretParagraph(), 3);
    EXPECT_EQ(Selected(*window), QStringLiteral("Tea"));
}

TEST_F(SearchPanelTest, TheIndexFollowsSavesAndDeletions)
{
    Entry(D(2026, 1, 5), "An old zebra.");
    auto window = Open();
    TSearchPanel& panel = *window->SearchPanel;
    window->WPRichText1->InsertText(QStringLiteral("A zebra crossing today"));
    ASSERT_TRUE(window->SaveButtonClick());
    Key(window->WPRichText1, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    Type(panel.Field, QStringLiteral("zebra"));
    EXPECT_EQ(Listed(panel), "2026-12-06 2026-01-05");

    // Deleted (emptied and saved): gone from the list that shows.
    window->WPRichText1->SelectAll();
    window->WPRichText1->DeleteSelection();
    window->WPRichText1->Changed();
    ASSERT_TRUE(window->SaveButtonClick());
    EXPECT_EQ(Listed(panel), "2026-01-05");
}

// A keystroke reads the entries of the rows on screen, not of every day found.
TEST_F(SearchPanelTest, OnlyTheRowsOnScreenAreRead)
{
    for (int i = 0; i < 400; ++i)
        Entry(D(2025, 1, 1) + i, "A day by the river.\\par And the river again.");
    auto window = Open();
    TSearchPanel& panel = *window->SearchPanel;
    Key(window->WPRichText1, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    Type(panel.Field, QStringLiteral("river"));
    QTest::qWait(20);
    EXPECT_EQ(panel.ListedDays().size(), 400u);
    EXPECT_GT(panel.Results().RowsRead(), 0);
    EXPECT_LT(panel.Results().RowsRead(), 60);
}

} // namespace
} // namespace quillory
