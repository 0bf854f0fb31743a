// The search across entries: which days are walked, in which order, how one entry's text is
// matched (as the editor's FindText matches it), and what a match's line of context shows.
#include "app/EntrySearch.h"

#include "TempFolder.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quillory {
namespace {

namespace fs = std::filesystem;

Day D(int year, int month, int day) { return *Day::FromDate(year, month, day); }

std::string Found(std::string_view rtf, std::string_view pattern)
{
    const auto match = FindInEntry(rtf, EntryQuery(pattern));
    return match ? std::to_string(match->paragraph) + ":" + std::to_string(match->start) + "+"
                       + std::to_string(match->length)
                 : "none";
}

TEST(FindInEntry, MatchesTheTextNeverTheMarkup)
{
    const std::string entry = R"({\rtf1\ansi{\fonttbl{\f0\fswiss Arial;}{\f1 Wingdings;}})"
                              R"(\f0 Caf\'e9 with Sun{\b fl}ower seeds\par)"
                              R"(\f1 The day we met, {\i finally}.\par})";
    const struct {
        const char* pattern;
        const char* found;
    } rows[] = {
        {"sunflower", "0:10+9"},          // split by bold, any case
        {"FLOW", "0:13+4"},               // inside a word
        {"CAF\xc9", "0:0+4"},             // an accented capital matches its small letter
        {"day * finally", "1:4+19"},      // the wildcard within one paragraph
        {"seeds*The", "none"},            // ... but never across paragraphs
        {"*FLOWER", "0:13+6"},            // nothing before the `*`: the part after alone
        {"sun*", "0:10+3"},
        {"s*fl*wer", "0:10+9"},           // a further `*` stands for one character
        {"Arial", "none"},                // a font name is markup
        {"Wingdings", "none"},
        {"par", "none"},                  // so are control words
        {"fonttbl", "none"},
        {"", "none"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pattern);
        EXPECT_EQ(Found(entry, row.pattern), row.found);
    }
}

TEST(FindInEntry, OnlyTheFirst255CharactersOfAPatternCount)
{
    const std::string word(255, 'x');
    const std::string entry = "{\\rtf1 " + word + "}";
    EXPECT_EQ(Found(entry, word + "yyyyy"), "0:0+255");  // a 260-character query
    EXPECT_EQ(Found(entry, word + "x"), "0:0+255");
}

TEST(MatchContext, ShowsALineAroundTheMatchCutAtBlanks)
{
    const std::string long_ =
        "It was a bright cold day in April, and the clocks were striking thirteen; we met at the station.";
    const std::size_t at = long_.find("clocks");
    const std::string line = MatchContext(long_, long(at), 6);
    EXPECT_NE(line.find("clocks were striking"), std::string::npos) << line;
    EXPECT_EQ(line.front(), '\x85') << line;  // cut before
    EXPECT_EQ(line.back(), '\x85') << line;   // and after
    EXPECT_EQ(line[1], 'c') << line;          // at a word's start...
    EXPECT_LE(line.size(), 84u);

    EXPECT_EQ(MatchContext("short\tone\x01", 0, 5), "short one ");  // tabs and placeholders as blanks
}

class EntrySearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        fs::create_directories(folder.path() / "Entries");
    }
    void TearDown() override { SetProgramFolder(previous); }

    void Write(Day day, std::string_view text, std::string_view password = {}) const
    {
        WriteEntry(day, "{\\rtf1\\ansi " + std::string(text) + "}", password);
    }

    std::vector<Day> Matches(Day from, Day until, std::string_view pattern, std::string_view password,
                             std::vector<Day>* visited = nullptr, std::vector<Day>* unreadable = nullptr) const
    {
        std::vector<Day> days;
        SearchHooks hooks;
        hooks.visiting = [&](Day day) {
            if (visited)
                visited->push_back(day);
        };
        hooks.found = [&](Day day, const TextMatch&) {
            days.push_back(day);
            return true;
        };
        hooks.unreadable = [&](Day day, const std::string&) {
            if (unreadable)
                unreadable->push_back(day);
        };
        SearchEntries(from, until, EntryQuery(pattern), password, hooks);
        return days;
    }

    TempFolder folder;
    std::string previous = DiaryFolder();
};

TEST_F(EntrySearchTest, OneListingGivesTheEntryDaysInDateOrder)
{
    for (const char* name : {"20240310.QLE", "20240101.qle", "20231231.QLE", "2024011.QLE", "20240230.QLE",
                             "20240105.QLE.bak", "notes.txt", "20240107x.QLE"})
        folder.write(std::string("Entries/") + name, "{\\rtf1 x}");
    fs::create_directories(folder.path() / "Entries" / "20240108.QLE");  // a folder is no entry

    EXPECT_EQ(EntryDaysBetween(Day::First(), Day::Last()),
              (std::vector<Day>{D(2023, 12, 31), D(2024, 1, 1), D(2024, 3, 10)}));
    EXPECT_EQ(EntryDaysBetween(D(2024, 1, 1), D(2024, 3, 10)), (std::vector<Day>{D(2024, 1, 1), D(2024, 3, 10)}));
    EXPECT_TRUE(EntryDaysBetween(D(2024, 3, 11), D(2024, 3, 10)).empty());

    fs::remove_all(folder.path() / "Entries");
    EXPECT_TRUE(EntryDaysBetween(Day::First(), Day::Last()).empty());
}

TEST_F(EntrySearchTest, WalksEveryEntryInTheRangeAndDeciphersInMemory)
{
    for (const std::string password : {"", "Se cret"}) {
        SCOPED_TRACE(password);
        Write(D(2024, 1, 1), "we {\\b me}t at noon", password);
        Write(D(2024, 1, 2), "nothing here", password);
        Write(D(2024, 1, 3), "MET again", password);
        std::vector<Day> visited;
        EXPECT_EQ(Matches(Day::First(), Day::Last(), "met", password, &visited),
                  (std::vector<Day>{D(2024, 1, 1), D(2024, 1, 3)}));
        EXPECT_EQ(visited, (std::vector<Day>{D(2024, 1, 1), D(2024, 1, 2), D(2024, 1, 3)}));
        EXPECT_EQ(Matches(D(2024, 1, 2), D(2024, 1, 2), "met", password), std::vector<Day>{});
        // Nothing but the entries themselves in the folders: no plain copy was written.
        EXPECT_FALSE(fs::exists(folder.path() / "Eraseme.rtf"));
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "Entries"), fs::directory_iterator()), 3);
    }
}

TEST_F(EntrySearchTest, TheWalkStopsAtAMatchOrWhenCancelled)
{
    Write(D(2024, 1, 1), "alpha");
    Write(D(2024, 1, 2), "alpha");
    std::vector<Day> first;
    SearchHooks hooks;
    hooks.found = [&](Day day, const TextMatch&) {
        first.push_back(day);
        return false;
    };
    SearchEntries(Day::First(), Day::Last(), EntryQuery("alpha"), "", hooks);
    EXPECT_EQ(first, std::vector<Day>{D(2024, 1, 1)});

    // Cancelled before the second entry: it is not even read.
    std::vector<Day> visited;
    SearchHooks cancelling;
    cancelling.visiting = [&](Day day) { visited.push_back(day); };
    cancelling.cancelled = [&] { return visited.size() == 1; };
    SearchEntries(Day::First(), Day::Last(), EntryQuery("nowhere"), "", cancelling);
    EXPECT_EQ(visited, std::vector<Day>{D(2024, 1, 1)});
}

TEST_F(EntrySearchTest, AnUnreadableEntryIsReportedAndTheWalkGoesOn)
{
    Write(D(2024, 1, 2), "alpha");
    // A file that opens but fails on the first read (the process's own memory at address 0).
    fs::create_symlink("/proc/self/mem", folder.path() / "Entries" / "20240101.QLE");
    std::vector<Day> unreadable;
    EXPECT_EQ(Matches(Day::First(), Day::Last(), "alpha", "", nullptr, &unreadable), std::vector<Day>{D(2024, 1, 2)});
    EXPECT_EQ(unreadable, std::vector<Day>{D(2024, 1, 1)});
}

} // namespace
} // namespace quillory
