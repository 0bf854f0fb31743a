// The finder's pattern rules and the spell checker's word walk.
#include "richtext/edit/EditorCore.h"
#include "richtext/edit/TextFinder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillory {
namespace {

struct FindRow {
    const char* text;
    const char* pattern;
    bool matchCase;
    bool wholeWord;
    long start; // -1: no match
    long length;
};

TEST(TextFinder, PatternTable)
{
    const std::string longPart(300, 'x');
    const std::vector<FindRow> rows = {
        {"Dear Diary", "diary", false, false, 5, 5},           // case-insensitive by default
        {"Dear Diary", "diary", true, false, -1, 0},            // match case
        {"Dear Diary", "Diary", true, false, 5, 5},
        {"\xC4pfel und \xE4pfel", "\xE4PFEL", false, false, 0, 5}, // cp1252 letters fold too
        {"catalog cat", "cat", false, true, 8, 3},              // whole word skips "catalog"
        {"the cat sat on the mat", "c*t", false, false, 4, 3},  // part before, later the part after
        {"the cat sat on the mat", "cat*mat", false, false, 4, 18},
        {"abc xyz", "abc*q", false, false, -1, 0},              // part after missing
        {"cot cut", "c*t", false, false, 0, 3},
        {"a-b-c", "a*b*c", false, false, 0, 5},                 // further `*`: exactly one character
        {"a-bxyc", "a*b*c", false, false, -1, 0},
        {"note: abc", "*abc", false, false, 6, 3},              // empty part before
        {"note", "*", false, false, -1, 0},                     // nothing to look for
        {"", "a", false, false, -1, 0},
    };
    for (const FindRow& row : rows) {
        const TWPTextFinder finder(row.pattern, FindOptions{false, row.matchCase, row.wholeWord});
        const auto found = finder.FindInText(row.text, 0);
        SCOPED_TRACE(std::string(row.text) + " / " + row.pattern);
        if (row.start < 0) {
            EXPECT_FALSE(found.has_value());
        } else {
            ASSERT_TRUE(found.has_value());
            EXPECT_EQ(*found, (FoundRange{row.start, row.length}));
        }
    }
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

TEST(NextWord, WalksWordsByTheSpellCheckerRules)
{
    EditorCore core;
    // Digits and punctuation end words; an apostrophe inside a word belongs to it, one at its
    // edge does not; cp1252 letters (\x8A, \xE9) are word characters.
    core.InsertText("It's 42nd 'quoted' caf\xE9 \x8A" "koda\r\nx1y");
    std::vector<std::string> words;
    for (auto word = core.NextWord(true); word; word = core.NextWord())
        words.push_back(*word);
    EXPECT_EQ(words, (std::vector<std::string>{"It's", "nd", "quoted", "caf\xE9", "\x8A" "koda", "x", "y"}));
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

} // namespace
} // namespace quillory
