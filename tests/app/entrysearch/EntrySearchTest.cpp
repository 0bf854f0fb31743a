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
        {"sunflower", "0:11+9"},          // split by bold, any case
        {"FLOW", "0:14+4"},               // inside a word
        {"CAF\u00C9", "0:0+5"},           // an accented capital matches its small letter
        {"day * finally", "1:4+19"},      // the wildcard within one paragraph
        {"seeds*The", "none"},            // ... but never across paragraphs
        {"*FLOWER", "0:14+6"},            // nothing before the `*`: the part after alone
        {"sun*", "0:11+3"},
        {"s*fl*wer", "0:11+9"},           // a further `*` stands for one character
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

// Entries in any script: the query is folded as the text is (Ж = ж, Σ = σ = ς), in RTF written
// with \uN and in plain UTF-8 text, and a match's offsets are bytes of the paragraph.
TEST(FindInEntry, MatchesTextOfEveryScriptWithoutRegardToCase)
{
    const std::string rtf = R"({\rtf1\ansi\uc1 \u-10179?\u-8704? \u1046?\u1091?\u1082? \u1080? \u1105?\u1078?\par)"
                            R"(\u931?\u959?\u966?\u972?\u962?})";  // 😀 Жук и ёж / Σοφός
    const std::string text = "Zażółć gęślą jaźń\r\n\U0001F600 Жук и ёж\r\nΣοφός\r\n";
    const struct {
        const char* pattern;
        const char* inRtf;
        const char* inText;
    } rows[] = {
        {"жук", "0:5+6", "1:5+6"},
        {"ЁЖ", "0:15+4", "1:15+4"},
        {"жук*ёж", "0:5+14", "1:5+14"},
        {"σοφόσ", "1:0+10", "2:0+10"},      // final sigma is sigma
        {"ΣΟΦΌΣ", "1:0+10", "2:0+10"},
        {"GĘŚLĄ", "none", "0:11+8"},
        {"жуки", "none", "none"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pattern);
        EXPECT_EQ(Found(rtf, row.pattern), row.inRtf);
        EXPECT_EQ(Found(text, row.pattern), row.inText);
    }
}

TEST(MatchContext, ShowsALineAroundTheMatchCutAtBlanks)
{
    const std::string long_ =
        "It was a bright cold day in April, and the clocks were striking thirteen; we met at the station.";
    const std::size_t at = long_.find("clocks");
    const std::string line = MatchContext(long_, long(at), 6);
    EXPECT_NE(line.find("clocks were striking"), std::string::npos) << line;
    EXPECT_TRUE(line.starts_with("\u2026cold day")) << line;  // cut before, at a word's start
    EXPECT_TRUE(line.ends_with("\u2026")) << line;          // and after
    EXPECT_LE(line.size(), 80u + 2 * 3);

    EXPECT_EQ(MatchContext("short\tone\x01", 0, 5), "short one ");  // tabs and placeholders as blanks
}

// Cut in any script, the line never ends inside a character or a cluster: Cyrillic letters
// are two bytes, emoji four (eight with a skin tone), and no blank offers a cut.
TEST(MatchContext, CutsOnCharacterAndClusterBoundaries)
{
    const std::string thumbs = "\U0001F44D\U0001F3FD";
    const std::string e = "e\u0301";  // e with a combining accent
    struct Row {
        std::string unit;  // one character or cluster, repeated
        std::string match;
    } rows[] = {{"ж", "ЖУК"}, {thumbs, "ЖУК"}, {e, "\u03A3"}, {"東", "東京"}};
    for (const Row& row : rows) {
        std::string paragraph, before, after;
        for (int i = 0; i < 120; ++i)
            before += row.unit;
        for (int i = 0; i < 120; ++i)
            after += row.unit;
        paragraph = before + row.match + after;
        const std::string line = MatchContext(paragraph, long(before.size()), long(row.match.size()));
        SCOPED_TRACE(row.unit);
        ASSERT_TRUE(line.starts_with("\u2026") && line.ends_with("\u2026")) << line;
        const std::string inner = line.substr(3, line.size() - 6);
        EXPECT_NE(inner.find(row.match), std::string::npos);
        // What stands either side of the match is whole units: 30 before, up to 80 in all.
        const std::size_t at = inner.find(row.match);
        EXPECT_EQ(at % row.unit.size(), 0u);
        EXPECT_EQ((inner.size() - at - row.match.size()) % row.unit.size(), 0u);
        EXPECT_EQ(at / row.unit.size(), 30u);
        EXPECT_TRUE(inner.starts_with(row.unit)) << line;
    }
    // A match at the very start of a paragraph of one long word.
    EXPECT_EQ(MatchContext("Жук", 0, 6), "Жук");
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
