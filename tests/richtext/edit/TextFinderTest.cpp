// The finder's pattern rules and the spell checker's word walk.
#include "richtext/edit/EditorCore.h"
#include "richtext/edit/TextFinder.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quillory {

void PrintTo(const FoundRange& range, std::ostream* out)
{
    *out << range.start << "+" << range.length;
}

namespace {

// A row's text marks the expected match with brackets ("Dear [Diary]"); a text without them
// expects no match.
struct FindRow {
    const char* text;
    const char* pattern;
    bool matchCase = false;
    bool wholeWord = false;
};

void CheckRows(const std::vector<FindRow>& rows)
{
    for (const FindRow& row : rows) {
        std::string text = row.text;
        const std::size_t open = text.find('[');
        std::optional<FoundRange> expected;
        if (open != std::string::npos) {
            text.erase(open, 1);
            const std::size_t close = text.find(']');
            text.erase(close, 1);
            expected = FoundRange{long(open), long(close - open)};
        }
        const TWPTextFinder finder(row.pattern, FindOptions{false, row.matchCase, row.wholeWord});
        SCOPED_TRACE(std::string(row.text) + " / " + row.pattern);
        EXPECT_EQ(finder.FindInText(text, 0), expected);
    }
}

// The document's paragraphs as UTF-8, one a line.
std::string Paragraphs(const TWPRTFText& document)
{
    std::string text;
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next())
        text += p->text() + "\n";
    return text;
}

TEST(TextFinder, PatternTable)
{
    CheckRows({
        {"Dear [Diary]", "diary"},                    // case-insensitive by default
        {"Dear Diary", "diary", true},                // match case
        {"Dear [Diary]", "Diary", true},
        {"catalog [cat]", "cat", false, true},        // whole word skips "catalog"
        {"the [cat] sat on the mat", "c*t"},          // part before, later the part after
        {"the [cat sat on the mat]", "cat*mat"},
        {"abc xyz", "abc*q"},                         // part after missing
        {"[cot] cut", "c*t"},
        {"[a-b-c]", "a*b*c"},                         // further `*`: exactly one character
        {"a-bxyc", "a*b*c"},
        {"note: [abc]", "*abc"},                      // empty part before
        {"note", "*"},                                // nothing to look for
        {"", "a"},
    });
}

// Without "match case", letters of every script match their other case by Unicode's simple
// folding; offsets are bytes of the original, whatever the folding did to their length.
TEST(TextFinder, CaseFoldingInEveryScript)
{
    CheckRows({
        {"Мы нашли [Жука]", "жука"},                  // Russian
        {"[ЖУК] и жук", "жук"},
        {"Мы нашли жука", "ЖУКА", true},              // match case: capitals are other letters
        {"[ΟΔΥΣΣΕΥΣ]", "οδυσσευς"},                   // Greek: final sigma is sigma
        {"ο [Οδυσσεύς]", "ΟΔΥΣΣΕΎΣ"},
        {"[σοφός]", "ΣΟΦΌΣ"},
        {"Zażółć [gęślą] jaźń", "GĘŚLĄ"},             // Polish
        {"[ZAŻÓŁĆ]", "zażółć"},
        {"Die [Straße]", "STRAẞE"},                   // German: capital sharp s
        {"[Äpfel] und äpfel", "äPFEL"},
        {"Die Straße", "STRASSE"},                    // simple folding: ß is not "ss"
        {"Un [CAFÉ] noir", "café"},
        {"5 [\u212Aelvin]", "kelvin"},                // Kelvin sign: 3 bytes fold to 1
        {"\u023A [b]", "B"},                          // Ⱥ: 2 bytes fold to 3
        {"x[\u023A]y", "\u2C65"},
        {"жуковский [жук]", "ЖУК", false, true},      // whole word in Cyrillic
        {"жуковский", "жук", false, true},
    });
}

// A match never splits a grapheme cluster: no letter without its accent, no half an emoji.
TEST(TextFinder, MatchesLieOnClusterBoundaries)
{
    const std::string decomposed = "cafe\u0301";  // e + combining acute
    CheckRows({
        {"un cafe\u0301", "cafe"},
        {"un [cafe\u0301]", "CAFE\u0301"},
        {"\U0001F44D\U0001F3FD", "\U0001F44D"},  // thumbs up with a skin tone
        {"\U0001F600[\U0001F44D\U0001F3FD]", "\U0001F44D\U0001F3FD"},
        {"[a-\U0001F44D\U0001F3FD-c]", "a*-*-c"},     // a further `*` takes the whole cluster
        {"\U0001F600 [\u0416]", "*\u0436"},           // "*ж" after an emoji
    });
}

TEST(TextFinder, PatternIsCutAt255Characters)
{
    const std::string text = std::string(255, 'x') + "Y";
    // Without `*` only the first 255 characters count: the trailing "Z" is never looked for.
    EXPECT_TRUE(TWPTextFinder(std::string(255, 'x') + "Z", {}).FindInText(text, 0).has_value());
    // A `*` past the first 255 characters is no wildcard: the pattern is cut before it.
    EXPECT_TRUE(TWPTextFinder(std::string(255, 'x') + "*Q", {}).FindInText(text, 0).has_value());
    // The part after a `*` is cut to 255 characters as well.
    const std::string after = std::string(255, 'y') + "never";
    EXPECT_TRUE(TWPTextFinder("a*" + after, {}).FindInText("a" + std::string(255, 'y'), 0).has_value());
    // Characters, not bytes: 255 Cyrillic letters are 510 bytes.
    std::string zhe;
    for (int i = 0; i < 255; ++i)
        zhe += "ж";
    EXPECT_EQ(TWPTextFinder(zhe + "Z", {}).FindInText(zhe + "Y", 0), (FoundRange{0, 510}));
    EXPECT_EQ(TWPTextFinder("Ж*" + zhe + "Z", {}).FindInText("жx" + zhe, 0), (FoundRange{0, 513}));
}

// Emoji (4 bytes each, a flag of two) before a match: the selection covers exactly the bytes
// of the match, forwards, backwards and for Find Next.
TEST(TextFinder, SelectsTheMatchByTheBytesOfTheText)
{
    EditorCore core;
    core.InsertText("\U0001F600\U0001F44D\U0001F3FD Привет\r\n\U0001F1F5\U0001F1F1 мир, МИР!");
    ASSERT_TRUE(core.FindText("Мир", false));
    EXPECT_EQ(core.SelStartPosition(), 35);  // 25 bytes, a paragraph end, 9 bytes
    EXPECT_EQ(core.SelLength(), 6);
    EXPECT_EQ(core.SelectedText(), "мир");
    ASSERT_TRUE(core.FindNext("мИр", {}));
    EXPECT_EQ(core.SelStartPosition(), 43);
    EXPECT_EQ(core.SelectedText(), "МИР");
    EXPECT_FALSE(core.FindNext("мир", {}));
    ASSERT_TRUE(core.FindText("привет", true));
    EXPECT_EQ(core.SelStartPosition(), 13);
    EXPECT_EQ(core.SelectedText(), "Привет");
}

TEST(TextFinder, ReplaceAllInAnyScript)
{
    EditorCore core;
    core.InsertText("Жук и жук, ЖУК\r\n\u03A3\u03BF\u03C6\u03CC\u03C2 \u03C3\u03BF\u03C6\u03CC\u03C3");
    EXPECT_EQ(core.ReplaceAll("жук", "ёж", {}), 3);
    EXPECT_EQ(core.ReplaceAll("ΣΟΦΌΣ", "\U0001F989", {}), 2);  // σοφός with a final sigma too
    EXPECT_EQ(Paragraphs(core.document()), "ёж и ёж, ёж\n\U0001F989 \U0001F989\n");
}

TEST(TextFinder, WildcardMatchStaysInOneParagraph)
{
    EditorCore core;
    core.InsertText("first cat\r\nmat second\r\ncat on a mat");
    EXPECT_TRUE(core.FindText("cat*mat", false));
    EXPECT_EQ(core.SelStartPosition(), 21); // in the third paragraph, not across the first end
    EXPECT_EQ(core.SelLength(), 12);
    EXPECT_EQ(core.CaretPosition(), 33) << "forwards: the caret goes after the match";
}

TEST(TextFinder, BackwardsFindsTheLastMatchAndPutsTheCaretAtItsStart)
{
    EditorCore core;
    core.InsertText("one two\r\none two three");
    ASSERT_TRUE(core.FindText("two", true));
    EXPECT_EQ(core.SelStartPosition(), 12);
    EXPECT_EQ(core.CaretPosition(), 12);
    ASSERT_TRUE(core.FindText("two", false));
    EXPECT_EQ(core.SelStartPosition(), 4);
}

TEST(TextFinder, FailedSearchChangesNothing)
{
    EditorCore core;
    core.InsertText("abc");
    core.Select(1, 1);
    EXPECT_FALSE(core.FindText("zzz", false));
    EXPECT_EQ(core.SelStartPosition(), 1);
    EXPECT_EQ(core.SelLength(), 1);
}

TEST(TextFinder, FindNextContinuesAfterTheSelection)
{
    EditorCore core;
    core.InsertText("ab ab\r\nab");
    core.GoTo(0);
    std::vector<long> starts;
    while (core.FindNext("ab", {}))
        starts.push_back(core.SelStartPosition());
    EXPECT_EQ(starts, (std::vector<long>{0, 3, 6}));
    FindOptions back;
    back.backwards = true;
    ASSERT_TRUE(core.FindNext("ab", back));
    EXPECT_EQ(core.SelStartPosition(), 3);
}

std::vector<std::string> Words(std::string_view text)
{
    EditorCore core;
    core.InsertText(text);
    std::vector<std::string> words;
    for (auto word = core.NextWord(true); word; word = core.NextWord())
        words.push_back(*word);
    return words;
}

TEST(NextWord, WalksWordsByTheSpellCheckerRules)
{
    // Digits and punctuation end words; an apostrophe inside a word belongs to it (the
    // typographic one too), one at its edge does not; accented letters are word characters.
    EXPECT_EQ(Words("It's 42nd 'quoted' café Škoda isn’t\r\nx1y"),
              (std::vector<std::string>{"It's", "nd", "quoted", "café", "Škoda", "isn’t", "x", "y"}));
}

TEST(NextWord, LettersOfEveryScriptMakeWords)
{
    // Combining marks stay with their letters; emoji and CJK punctuation are no words.
    EXPECT_EQ(Words("Жук, ёж; Οδυσσέας! e\u0301te\u0301 \U0001F600 naïve\u3002"),
              (std::vector<std::string>{"Жук", "ёж", "Οδυσσέας", "e\u0301te\u0301", "naïve"}));
    // Thai and Japanese are written without spaces: Unicode's word boundaries split a run.
    for (const std::string run : {"ภาษาไทยง่ายนิดเดียว", "東京都に行きました"}) {
        const auto words = Words(run);
        SCOPED_TRACE(run);
        EXPECT_GT(words.size(), 1u);
        std::string joined;
        for (const std::string& word : words)
            joined += word;
        EXPECT_EQ(joined, run);
    }
}

TEST(NextWord, SkipsHiddenTextAndObjects)
{
    EditorCore core;
    core.InsertText("see ");
    TAttr hidden = core.GetCurrentAttr();
    hidden.flags |= AttrFlag::Hidden;
    core.SetCurrentAttr(hidden);
    core.InsertText("secret");
    TAttr plain = hidden;
    plain.flags = 0;
    core.SetCurrentAttr(plain);
    core.InsertText(" you");
    std::vector<std::string> words;
    for (auto word = core.NextWord(true); word; word = core.NextWord())
        words.push_back(*word);
    EXPECT_EQ(words, (std::vector<std::string>{"see", "you"}));
}

TEST(NextWord, ContinuesAfterAReplacedWord)
{
    EditorCore core;
    core.InsertText("teh cat teh");
    ASSERT_EQ(core.NextWord(true), "teh");
    core.ReplaceSelection("the");
    ASSERT_EQ(core.NextWord(), "cat");
    ASSERT_EQ(core.NextWord(), "teh");
    EXPECT_FALSE(core.NextWord().has_value());
    EXPECT_EQ(core.NextWord(true), "the") << "restart goes back to the document start";
}

// The spell checker's walk stops only where its filter says, across paragraphs, selecting the
// word at its place in the document; a replacement of another length shifts nothing it finds.
TEST(NextWord, StopsOnlyAtTheWordsItsFilterWants)
{
    EditorCore core;
    core.InsertText("good teh\rgood\r\rgood recieve good teh");
    const auto unknown = [](std::string_view word) { return word != "good"; };
    ASSERT_EQ(core.NextWord(true, unknown), "teh");
    EXPECT_EQ(core.SelStartPosition(), 5);
    ASSERT_TRUE(core.ReplaceSelection("the"));
    ASSERT_EQ(core.NextWord(false, unknown), "recieve");
    EXPECT_EQ(core.SelectedText(), "recieve");
    ASSERT_TRUE(core.ReplaceSelection("receive it"));
    ASSERT_EQ(core.NextWord(false, unknown), "teh");
    EXPECT_EQ(core.SelectedText(), "teh");
    EXPECT_FALSE(core.NextWord(false, unknown).has_value());
    EXPECT_FALSE(core.NextWord(false, unknown).has_value());  // and stays at the end
}

} // namespace
} // namespace quillory
