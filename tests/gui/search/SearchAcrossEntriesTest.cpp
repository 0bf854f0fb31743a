// Find Any, Find Next and Find All over a small diary, driven through the main window's menu
// with the query dialog and the message boxes answered by script.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/forms/Foundlist.h"
#include "app/forms/Lookfor.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Utf8.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "platform/Cp1252.h"
#include "platform/qt/QtText.h"
#include "richtext/edit/EditorCore.h"
#include "richtext/qt/RichText.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace quillory {
namespace {

namespace fs = std::filesystem;

Day D(int year, int month, int day) { return *Day::FromDate(year, month, day); }
const Day kToday = D(2026, 12, 6);

class SearchAcrossEntriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        fs::create_directories(folder.path() / "Entries");
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    void Entry(Day day, std::string_view body, std::string_view password = {}) const
    {
        WriteEntry(day, "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Garamond;}}\\f0 " + std::string(body) + "}",
                   password);
    }

    std::unique_ptr<TMainScreen> Open()
    {
        auto window = std::make_unique<TMainScreen>();
        window->FormActivate();
        return window;
    }

    // Runs a Find command whose query dialog gets `query` and `result`.
    void Find(QAction* command, const QString& query, int result = QDialog::Accepted)
    {
        ModalScript script;
        script.Then<TLookForAll>([&](TLookForAll& dialog) {
            EXPECT_TRUE(dialog.LookForText->text().isEmpty());
            dialog.LookForText->setText(query);
            return result;
        });
        command->trigger();
        EXPECT_TRUE(script.Finished());
    }

    static QString Selected(TMainScreen& window)
    {
        const EditorCore& core = window.WPRichText1->core();
        const long start = core.SelStartPosition();
        const long length = window.WPRichText1->SelLength();
        if (length == 0)
            return {};
        std::string all;
        for (const TParagraph* p = window.WPRichText1->RtfText().firstParagraph(); p; p = p->next())
            all += p->text() + "\n";
        return TextToQString(std::string_view(all).substr(std::size_t(start), std::size_t(length)));
    }

    // UTF-8 text as RTF writes what cp1252 cannot hold: \uN with a fallback, surrogate pairs
    // past U+FFFF.
    static std::string Rtf(std::string_view utf8)
    {
        std::string rtf = "\\uc1 ";
        const std::u32string characters = DecodeUtf8(utf8).value();
        for (const char32_t c : characters) {
            if (c < 0x80) {
                rtf += char(c);
                continue;
            }
            const auto unit = [&](long n) { rtf += "\\u" + std::to_string(n > 32767 ? n - 65536 : n) + "?"; };
            if (c > 0xFFFF) {
                unit(HighSurrogate(c));
                unit(LowSurrogate(c));
            } else {
                unit(long(c));
            }
        }
        return rtf;
    }

    std::vector<QString> Boxes() const
    {
        std::vector<QString> texts;
        for (const auto& box : boxes.Shown())
            texts.push_back(box.text);
        return texts;
    }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{kToday};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
};

TEST_F(SearchAcrossEntriesTest, FirstMatchWinsFindNextGoesOnAndStopsAfterTheLast)
{
    Entry(D(2026, 1, 5), "The day we {\\b me}t.\\par Nothing else.");
    Entry(D(2026, 2, 1), "Lunch with the team; METAL music");
    Entry(D(2026, 3, 1), "no match here");
    Entry(kToday, "Met again today");
    auto window = Open();

    Find(window->mnuFindentrycontaining, QStringLiteral("MET"));
    EXPECT_EQ(window->CurrentDay, D(2026, 1, 5));
    EXPECT_EQ(window->DateLabel->text(), QStringLiteral("Monday, January 5, 2026"));
    EXPECT_EQ(Selected(*window), QStringLiteral("met"));  // split by bold, found in any case
    EXPECT_TRUE(window->mnuFindNextBig->isEnabled());

    window->mnuFindNextBig->trigger();
    EXPECT_EQ(window->CurrentDay, D(2026, 2, 1));
    EXPECT_EQ(Selected(*window), QStringLiteral("MET"));  // inside a longer word
    window->mnuFindNextBig->trigger();
    EXPECT_EQ(window->CurrentDay, kToday);
    EXPECT_TRUE(Boxes().empty());

    window->mnuFindNextBig->trigger();
    EXPECT_EQ(Boxes(), std::vector<QString>{QStringLiteral("No matches")});
    EXPECT_EQ(boxes.Shown().back().caption, QStringLiteral("Information"));
    EXPECT_EQ(window->CurrentDay, kToday);
    EXPECT_FALSE(window->mnuFindNextBig->isEnabled());
    EXPECT_EQ(window->LastSearchText, QStringLiteral("MET"));
}

TEST_F(SearchAcrossEntriesTest, MarkupAndFontNamesAreNotTextAndNothingFoundKeepsTheDay)
{
    Entry(D(2026, 1, 5), "{\\f1 plain words}\\par");
    auto window = Open();
    window->CurrentDay = D(2026, 1, 5);
    window->FindDateRecord();
    window->LoadRichText();
    for (const char* query : {"Garamond", "fonttbl", "par", "plain*Arial"}) {
        SCOPED_TRACE(query);
        Find(window->mnuFindentrycontaining, QString::fromLatin1(query));
        EXPECT_EQ(Boxes().back(), QStringLiteral("No matches"));
        EXPECT_EQ(window->CurrentDay, D(2026, 1, 5));
        EXPECT_EQ(window->WPRichText1->SelLength(), 0);
    }
    Find(window->mnuFindentrycontaining, QStringLiteral("plain*s"));  // the wildcard within a paragraph
    EXPECT_EQ(Selected(*window), QStringLiteral("plain words"));
}

TEST_F(SearchAcrossEntriesTest, EmptyQueryAndCancelWalkNothing)
{
    Entry(D(2026, 1, 5), "alpha");
    auto window = Open();
    // No search yet: an empty query ends with the notice, as the old program did.
    Find(window->mnuFindentrycontaining, QString());
    EXPECT_EQ(Boxes(), std::vector<QString>{QStringLiteral("No matches")});

    Find(window->mnuFindentrycontaining, QStringLiteral("alpha"));
    EXPECT_EQ(window->CurrentDay, D(2026, 1, 5));
    window->CurrentDay = kToday;
    window->FindDateRecord();
    window->LoadRichText();
    // After a match an empty query reloads the day on screen with the last query selected
    // where it occurs; the query is kept.
    QTest::keyClicks(window->WPRichText1, "alpha beta");
    Find(window->mnuFindentrycontaining, QString());
    EXPECT_EQ(window->CurrentDay, kToday);
    EXPECT_EQ(Selected(*window), QStringLiteral("alpha"));
    EXPECT_EQ(window->LastSearchText, QStringLiteral("alpha"));

    // Cancel: the typing was saved before the dialog, nothing else happens.
    QTest::keyClick(window->WPRichText1, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(window->WPRichText1, "!");
    Find(window->mnuFindentrycontaining, QStringLiteral("beta"), QDialog::Rejected);
    EXPECT_NE(ReadEntry(kToday, "").find("alpha beta!"), std::string::npos);
    EXPECT_EQ(window->CurrentDay, kToday);
    EXPECT_EQ(window->LastSearchText, QStringLiteral("alpha"));
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(SearchAcrossEntriesTest, OnlyTheFirst255CharactersOfTheQueryCount)
{
    const std::string word(255, 'q');
    Entry(D(2026, 1, 5), word + "rest");
    auto window = Open();
    Find(window->mnuFindentrycontaining, QString::fromStdString(word + std::string(45, 'z')));
    EXPECT_EQ(window->CurrentDay, D(2026, 1, 5));
    EXPECT_EQ(window->WPRichText1->SelLength(), 255);
}

TEST_F(SearchAcrossEntriesTest, WithAPasswordEntriesAreDecipheredInMemory)
{
    folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
    auto window = Open();
    window->SetDiaryPassword("Key 42");
    Entry(D(2026, 1, 5), "caf\\'e9 au lait", "Key 42");
    Entry(D(2026, 2, 5), "CAF\\'c9 NOIR", "Key 42");
    Find(window->mnuFindentrycontaining, QStringLiteral("CAFÉ"));
    EXPECT_EQ(window->CurrentDay, D(2026, 1, 5));
    EXPECT_EQ(Selected(*window), QStringLiteral("café"));
    window->mnuFindNextBig->trigger();
    EXPECT_EQ(window->CurrentDay, D(2026, 2, 5));
    EXPECT_FALSE(fs::exists(folder.path() / "Eraseme.rtf"));
    EXPECT_FALSE(fs::exists(folder.path() / "Eraseme.RTF"));
}

// A query in Russian or Greek finds its entries in any case (Ж = ж, Σ = σ = ς); the match is
// selected exactly, after emoji too, and Find All shows its line in the script it is in.
TEST_F(SearchAcrossEntriesTest, AQueryInAnyScriptFindsSelectsAndListsItsEntries)
{
    Entry(D(2025, 12, 24), Rtf("\U0001F600\U0001F44D\U0001F3FD Мы встретили Жука у моста."));
    Entry(D(2026, 1, 5), Rtf("Σήμερα: ΣΟΦΌΣ και σοφός"));
    Entry(D(2026, 3, 2), Rtf("Ничего.\\par А потом снова ЖУК!"));
    auto window = Open();

    Find(window->mnuFindentrycontaining, QStringLiteral("жук"));
    EXPECT_EQ(window->CurrentDay, D(2025, 12, 24));
    EXPECT_EQ(Selected(*window), QStringLiteral("Жук"));
    window->mnuFindNextBig->trigger();
    EXPECT_EQ(window->CurrentDay, D(2026, 3, 2));
    EXPECT_EQ(Selected(*window), QStringLiteral("ЖУК"));
    window->mnuFindNextBig->trigger();
    EXPECT_EQ(Boxes(), std::vector<QString>{QStringLiteral("No matches")});

    Find(window->mnuFindAll, QStringLiteral("σοφός"));
    ASSERT_TRUE(window->FoundEntries);
    TFoundEntries& list = *window->FoundEntries;
    ASSERT_EQ(list.MatchCount(), 1);
    EXPECT_EQ(list.DayOfRow(0), D(2026, 1, 5));
    EXPECT_EQ(list.Results->topLevelItem(0)->text(1), QStringLiteral("Σήμερα: ΣΟΦΌΣ και σοφός"));
    list.Results->setCurrentItem(list.Results->topLevelItem(0));
    QTest::keyClick(list.Results, Qt::Key_Return);
    EXPECT_EQ(window->CurrentDay, D(2026, 1, 5));
    EXPECT_EQ(Selected(*window), QStringLiteral("ΣΟΦΌΣ"));
}

TEST_F(SearchAcrossEntriesTest, FindNextSavesTheEntryOnScreenFirst)
{
    Entry(D(2026, 1, 5), "alpha");
    Entry(D(2026, 2, 5), "alpha");
    auto window = Open();
    Find(window->mnuFindentrycontaining, QStringLiteral("alpha"));
    QTest::keyClicks(window->WPRichText1, "typed ");
    window->mnuFindNextBig->trigger();
    EXPECT_EQ(window->CurrentDay, D(2026, 2, 5));
    EXPECT_NE(ReadEntry(D(2026, 1, 5), "").find("typed"), std::string::npos);
}

TEST_F(SearchAcrossEntriesTest, FindAllListsEveryMatchingDayInOrderAndShowsTheOneChosen)
{
    Entry(D(2025, 12, 24), "Snow all day. We met at the old bridge before dinner.");
    Entry(D(2026, 1, 5), "Nothing to note.");
    Entry(D(2026, 3, 2), "\\par Rain.\\par Coffee: we {\\i met} again, by chance.");
    auto window = Open();
    Find(window->mnuFindAll, QStringLiteral("we met"));
    ASSERT_TRUE(window->FoundEntries);
    TFoundEntries& list = *window->FoundEntries;
    ASSERT_EQ(list.MatchCount(), 2);
    EXPECT_EQ(list.DayOfRow(0), D(2025, 12, 24));
    EXPECT_EQ(list.DayOfRow(1), D(2026, 3, 2));
    EXPECT_EQ(list.Results->topLevelItem(0)->text(0), QStringLiteral("12/24/2025"));
    EXPECT_EQ(list.Results->topLevelItem(1)->text(1), QStringLiteral("Coffee: we met again, by chance."));
    EXPECT_EQ(list.Status->text(), QStringLiteral("2 entries found"));
    EXPECT_EQ(window->CurrentDay, kToday);  // nothing moves until a row is chosen

    list.Results->setCurrentItem(list.Results->topLevelItem(1));
    QTest::keyClick(list.Results, Qt::Key_Return);
    EXPECT_EQ(window->CurrentDay, D(2026, 3, 2));
    EXPECT_EQ(Selected(*window), QStringLiteral("we met"));
    EXPECT_TRUE(window->mnuFindNextBig->isEnabled());

    Find(window->mnuFindAll, QStringLiteral("nowhere"));
    ASSERT_TRUE(window->FoundEntries);
    EXPECT_EQ(window->FoundEntries->MatchCount(), 0);
    EXPECT_EQ(window->FoundEntries->Status->text(), QStringLiteral("No matches"));
    EXPECT_TRUE(Boxes().empty());
}

} // namespace
} // namespace quillory
