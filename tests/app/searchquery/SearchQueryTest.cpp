// The search's query language against one small diary: words, phrases, exclusions, tags, days,
// accents and case; the index kept current; the tags and words of a text; the marked lines.
#include "app/EntryIndex.h"
#include "app/SearchableText.h"

#include "TempFolder.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillory {
namespace {

Day D(int year, int month, int day) { return *Day::FromDate(year, month, day); }

// The diary of these tests: RTF with accents written as \'hh and \uN, plain UTF-8 text, a word
// split by bold, tags in several places.
struct SmallDiary {
    TempFolder folder;
    SmallDiary()
    {
        SetProgramFolder(folder.withSlash());
        CreateEntriesFolder();
        const auto write = [](Day day, std::string_view content) { WriteEntry(day, content, std::string_view()); };
        write(D(2023, 12, 31), R"({\rtf1{\fonttbl{\f0 Arial;}}We met at the caf\'e9 by the river.\par #Friends came too.\par})");
        write(D(2024, 1, 1), "A plain text entry about a cafe and tea.\r\nNew year, #family dinner\r\n");
        write(D(2024, 3, 10), R"({\rtf1{\fonttbl{\f0 Arial;}}Sun{\b fl}ower seeds\par CAF\'c9 again, (#friends) #TEA_time\par})");
        write(D(2024, 4, 2), "\xF0\x9F\x98\x80 Сегодня ЖУК. Σοφός. Ёлка.\n#\xD0\xB4\xD0\xB0\xD1\x87\xD0\xB0 here\n");
        write(D(2024, 5, 5), "Walked along the river. mail#notatag and #1 and C#\nthe river at dawn\n");
    }
    ~SmallDiary() { SetProgramFolder(""); }
};

std::string DaysText(const std::vector<Day>& days)
{
    std::string text;
    for (const Day day : days)
        text += (text.empty() ? "" : " ") + IsoText(day).substr(2);
    return text.empty() ? "none" : text;
}

TEST(SearchQuery, FindsTheDaysOfEachKindOfTerm)
{
    SmallDiary diary;
    EntryIndex index;
    index.Build(DiaryKey{});
    ASSERT_TRUE(index.Ready());
    const struct {
        const char* query;
        const char* days;  // newest first
    } rows[] = {
        {"river", "24-05-05 23-12-31"},
        {"RIVER", "24-05-05 23-12-31"},                      // case ignored
        {"river met", "23-12-31"},                           // every word, in any order
        {"met river", "23-12-31"},
        {"river -met", "24-05-05"},                          // an excluded word
        {"-river", "24-04-02 24-03-10 24-01-01"},            // exclusions alone
        {"\"at the caf\"", "23-12-31"},                      // a phrase with its blanks
        {"\"the river at\"", "24-05-05"},                    // ... within one paragraph
        {"\"river. the\"", "none"},                          // ... never across two
        {"\"met the\"", "none"},                             // words in another order
        {"cafe", "24-03-10 24-01-01 23-12-31"},              // a plain word finds its accented forms
        {"café", "24-03-10 23-12-31"},                       // an accented word only itself
        {"CAFÉ", "24-03-10 23-12-31"},
        {"cafè", "none"},                                    // ... with its own accents
        {"afé by", "23-12-31"},                              // an accent inside a phrase
        {"ЁЛКА", "24-04-02"},
        {"ёж", "none"},
        {"caf*by", "23-12-31"},
        {"café*river", "23-12-31"},                          // an accented part of a `*` word
        {"caf", "24-03-10 24-01-01 23-12-31"},               // anywhere in a word
        {"sunflower", "24-03-10"},                           // a word split by bold
        {"seeds*again", "none"},                             // `*`: later in the same paragraph
        {"caf*river", "23-12-31"},
        {"жук", "24-04-02"},                                 // any script, any case
        {"ΣΟΦΟΣ", "24-04-02"},                               // Greek without its accent
        {"σοφός", "24-04-02"},
        {"елка", "24-04-02"},                                // е finds ё
        {"#friends", "24-03-10 23-12-31"},                   // tags: case ignored
        {"#FRIENDS -#tea_time", "23-12-31"},
        {"#tea_time", "24-03-10"},
        {"#tea", "none"},                                    // a tag is matched whole
        {"#дача", "24-04-02"},
        {"#notatag", "none"},                                // inside a word: no tag
        {"#family dinner", "24-01-01"},
        {"from:2024-01-01 until:2024-03-31 caf", "24-03-10 24-01-01"},
        {"from:2024-03 river", "24-05-05"},                  // a month names its first day ...
        {"until:2024-01 caf", "24-01-01 23-12-31"},          // ... or its last
        {"from:20240402", "24-05-05 24-04-02"},              // days alone
        {"until:2023", "23-12-31"},
        {"zebra", "none"},
        {"", "none"},                                        // nothing asked, nothing listed
        {"   ", "none"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.query);
        EXPECT_EQ(DaysText(index.Search(ParseQuery(row.query))), row.days);
    }
}

TEST(SearchQuery, ReportsWhatIsNotADay)
{
    for (const char* text : {"from:2024-02-30", "until:", "from:24-1-1", "until:2024-13", "from:2024-0"}) {
        const SearchQuery query = ParseQuery(std::string("river ") + text);
        EXPECT_EQ(query.problems, std::vector<std::string>{text}) << text;
        EXPECT_EQ(query.terms.size(), 1u);  // the rest of the query holds
    }
    EXPECT_TRUE(ParseQuery("from:2024-02-29 until:20240301").problems.empty());
}

TEST(SearchQuery, AnUnclosedPhraseRunsToTheEnd)
{
    const SearchQuery query = ParseQuery("\"at the caf");
    ASSERT_EQ(query.terms.size(), 1u);
    EXPECT_EQ(query.terms[0].parts, std::vector<std::string>{"at the caf"});
}

// Typing one more letter narrows a query; the panel then looks only at the last results.
TEST(SearchQuery, KnowsWhenAQueryNarrowsAnother)
{
    const struct {
        const char* narrower;
        const char* wider;
        bool narrows;
    } rows[] = {
        {"rive", "riv", true},   {"river", "ver", true},  {"river met", "river", true},
        {"café", "cafe", true},  {"cafe", "café", false}, {"river", "river met", false},
        {"-rive", "-riv", false}, {"x -riv", "-riv", true}, {"#a #b", "#a", true},
        {"#ab", "#a", false},    {"riv from:2024-01-01", "riv", true}, {"riv", "riv from:2024-01-01", false},
        {"a*b", "a*b", true},    {"ab*c", "a*c", false},  {"riv", "", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Narrows(ParseQuery(row.narrower), ParseQuery(row.wider)), row.narrows)
            << row.narrower << " / " << row.wider;
}

TEST(EntryIndex, FollowsSavesAndDeletions)
{
    SmallDiary diary;
    EntryIndex index;
    index.Build(DiaryKey{});
    index.Update(D(2024, 6, 1), "a new #walk by the river\r\n");
    index.Update(D(2023, 12, 31), "nothing of that now\r\n");
    index.Remove(D(2024, 5, 5));
    EXPECT_EQ(DaysText(index.Search(ParseQuery("river"))), "24-06-01");
    EXPECT_EQ(DaysText(index.Search(ParseQuery("#walk"))), "24-06-01");
    // The narrower query among the wider one's results finds what a full search finds.
    const std::vector<Day> wide = index.Search(ParseQuery("ca"));
    EXPECT_EQ(index.Search(ParseQuery("caf"), wide), index.Search(ParseQuery("caf")));
}

// A save while the build runs is not overwritten by the build's older read of the file.
TEST(EntryIndex, ASaveDuringTheBuildWins)
{
    SmallDiary diary;
    EntryIndex index;
    bool done = false;
    index.StartBuilding(DiaryKey{}, [&] { done = true; });
    index.Update(D(2024, 5, 5), "only mountains now\r\n");
    index.Wait();
    EXPECT_TRUE(done);
    EXPECT_TRUE(index.Ready());
    EXPECT_EQ(DaysText(index.Search(ParseQuery("river"))), "23-12-31");
    EXPECT_EQ(DaysText(index.Search(ParseQuery("mountains"))), "24-05-05");
}

TEST(EntryIndex, CountsTagsMostUsedFirst)
{
    SmallDiary diary;
    EntryIndex index;
    index.Build(DiaryKey{});
    const std::vector<std::pair<std::string, int>> expected = {
        {"friends", 2}, {"family", 1}, {"tea_time", 1}, {"\xD0\xB4\xD0\xB0\xD1\x87\xD0\xB0", 1}};
    EXPECT_EQ(index.Tags(), expected);
}

TEST(SearchableText, FindsTagsWhereTheyStandAlone)
{
    const struct {
        const char* text;
        std::vector<std::string> tags;
    } rows[] = {
        {"#start of a line", {"start"}},
        {"after punctuation:#one,(#two) \"#three\"", {"one", "two", "three"}},
        {"in the mid#dle of a word", {}},
        {"digits first #2024 or #_x, C# and ##double", {}},
        {"a url http://x.org/#anchor and &#amp", {}},
        {"#Well-Being_2 ends at a dot #done.", {"well-being_2", "done"}},
        {"trailing marks #dash- #under__ stop", {"dash", "under"}},
        {"#Ärger #été #ДАЧА #東京", {"ärger", "été", "дача", "東京"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TagsIn(row.text), row.tags) << row.text;
}

TEST(SearchableText, CountsWords)
{
    const struct {
        const char* text;
        std::uint32_t words;
    } rows[] = {
        {"", 0}, {"  one  ", 1}, {"two words", 2}, {"don't stop", 2}, {"l\u2019été est là", 3},
        {"a-b, c.d", 4}, {"1999 was 25 years ago", 5}, {"東京へ行く", 5}, {"Жук и ёж", 3}, {"' quoted '", 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CountWords(row.text), row.words) << row.text;
}

TEST(SearchableText, MarksEveryHitInTheLine)
{
    const SearchQuery query = ParseQuery("cafe #tea river");
    const std::string paragraph = "By the river, a CAFÉ; then #Tea at the Cafe\xCC\x81 once more.";  // the last é decomposed
    const MarkedLine line = MarkLine(paragraph, HitsInParagraph(query, paragraph));
    std::vector<std::string> marked;
    for (const TextSpan& mark : line.marks)
        marked.push_back(line.text.substr(mark.start, mark.length));
    EXPECT_EQ(marked, (std::vector<std::string>{"river", "CAFÉ", "#Tea", "Cafe\xCC\x81"}));
}

TEST(SearchableText, ListsTheParagraphsThatHoldAHit)
{
    const std::string entry = "First line\r\nthe river\r\n\r\nno\r\nriver again\r\n";
    const auto hits = FindParagraphHits(ParseQuery("RIVER"), entry, 10);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].paragraph, 1u);
    EXPECT_EQ(hits[0].first.start, 4u);
    EXPECT_EQ(hits[1].paragraph, 4u);
    EXPECT_EQ(FindParagraphHits(ParseQuery("RIVER"), entry, 1).size(), 1u);
    // Only exclusions: the entry's first line, unmarked.
    const auto first = FindParagraphHits(ParseQuery("-zebra"), "\r\n  \r\nHello\r\n", 10);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].line.text, "Hello");
    EXPECT_TRUE(first[0].line.marks.empty());
}

} // namespace
} // namespace quillory
