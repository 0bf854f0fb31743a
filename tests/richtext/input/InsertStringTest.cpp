// InsertString's per-character rules, checked as text before and after with the caret marked.
#include "InputFixture.h"

#include "richtext/model/DocumentDump.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

struct TypingCase {
    const char* name;
    const char* before;
    const char* typed;
    const char* after;
};

std::ostream& operator<<(std::ostream& out, const TypingCase& c) { return out << c.name; }

class InsertStringCases : public testing::TestWithParam<TypingCase> {};

TEST_P(InsertStringCases, GivesTheText)
{
    const TypingCase& c = GetParam();
    TypingDocument d(c.before);
    d.input.InsertString(c.typed);
    EXPECT_EQ(d.marked(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Typing, InsertStringCases,
    testing::Values(
        TypingCase{"InsertsInTheMiddle", "he^llo", "XY", "heXY^llo"},
        TypingCase{"StopsAtAZeroByte", "^", std::string_view("ab\0cd", 5).data(), "ab^"},
        TypingCase{"BackspaceDeletesBefore", "he^llo", "\b", "h^llo"},
        TypingCase{"BackspaceAtDocumentStartDoesNothing", "^hello", "\b\b", "^hello"},
        TypingCase{"BackspaceAtParagraphStartJoins", "ab|^cd", "\b", "ab^cd"},
        TypingCase{"BackspaceJoinsIntoAnEmptyParagraph", "|^cd", "\b", "^cd"},
        TypingCase{"DeleteRemovesAtTheCaret", "he^llo", "\x7f", "he^lo"},
        TypingCase{"DeleteAtParagraphEndJoins", "ab^|cd|ef", "\x7f", "ab^cd|ef"},
        TypingCase{"DeleteAtDocumentEndDeletesNothing", "ab|cd^", "\x7f\x7f", "ab|cd^"},
        TypingCase{"EnterSplits", "ab^cd", "\r", "ab|^cd"},
        TypingCase{"EnterAtTheEndAddsAnEmptyParagraph", "abcd^", "\rx", "abcd|x^"},
        TypingCase{"EnterAtDocumentStartAddsAParagraphBefore", "^abcd", "\r", "|^abcd"},
        TypingCase{"TabAndSoftBreakAreText", "a^b", "\t\n", "a\t/^b"},
        TypingCase{"EnterThenBackspaceIsNoChange", "ab^cd", "\r\b", "ab^cd"},
        TypingCase{"TextThatIsNotUtf8IsReadAsCp1252", "^", "\xe9\x80", "\xc3\xa9\xe2\x82\xac^"},
        // Backspace and Delete take whole clusters: a flag, a skin-toned emoji, a letter with
        // its combining mark, a joined family; a Chinese character is one cluster of 3 bytes.
        TypingCase{"BackspaceRemovesAFlag", "a\U0001F1F5\U0001F1F1^b", "\b", "a^b"},
        TypingCase{"DeleteRemovesASkinTonedEmoji", "a^\U0001F44D\U0001F3FDb", "\x7f", "a^b"},
        TypingCase{"BackspaceRemovesALetterWithItsMark", "xe\u0301^", "\b", "x^"},
        TypingCase{"DeleteRemovesAJoinedFamily", "^\U0001F468\u200D\U0001F469\u200D\U0001F467!", "\x7f", "^!"},
        TypingCase{"BackspaceRemovesOneIdeograph", "\u4e2d\u6587^", "\b", "\u4e2d^"}),
    [](const testing::TestParamInfo<TypingCase>& info) { return std::string(info.param.name); });

// Lines of 20 characters: the text wraps after "dddd ". Where a wrapped line starts, Backspace
// and Delete used to only move the caret between the two lines, so a keystroke seemed lost.
TEST(InsertString, BackspaceAndDeleteReachAcrossAWrappedLine)
{
    TypingDocument d("aaaa bbbb cccc dddd ^eeee ffff");
    ASSERT_GT(d.doc.firstParagraph()->lineCount(), 1);
    d.input.InsertString("\b");
    EXPECT_EQ(d.marked(), "aaaa bbbb cccc dddd^eeee ffff");

    d.load("aaaa bbbb cccc dddd ^eeee ffff");
    d.input.InsertString("\x7f");
    EXPECT_EQ(d.marked(), "aaaa bbbb cccc dddd ^eee ffff");
}

// Keyboards and input methods send an emoji's or a flag's code points one by one: each joins
// the cluster before it, and one Backspace takes the whole of it again.
TEST(InsertString, CodePointsTypedOneByOneJoinTheirCluster)
{
    TypingDocument d("^");
    for (const char* typed : {"\U0001F1F5", "\U0001F1F1", "\U0001F44D", "\U0001F3FD", "e", "\u0301"})
        d.input.InsertString(typed);
    EXPECT_EQ(d.marked(), "\U0001F1F5\U0001F1F1\U0001F44D\U0001F3FDe\u0301^");
    for (const char* left : {"\U0001F1F5\U0001F1F1\U0001F44D\U0001F3FD^", "\U0001F1F5\U0001F1F1^", "^"}) {
        d.input.InsertString("\b");
        EXPECT_EQ(d.marked(), left);
    }
}

TEST(InsertString, TypedTextReplacesTheSelection)
{
    TypingDocument d("a^bcd|ef");
    d.input.SetSelection(1, 6); // "bcd", the paragraph end and "e"
    d.input.InsertString("X");
    EXPECT_EQ(d.marked(), "aX^f");
    EXPECT_FALSE(d.input.HasSelection());

    d.input.SetSelection(0, 2);
    d.input.InsertString("\b");
    EXPECT_EQ(d.marked(), "^f");
}

TEST(InsertString, OverwriteReplacesAndAppendsAtTheEnd)
{
    TypingDocument d("a^bcd");
    d.input.Inserting = false;
    d.input.InsertString("XY");
    EXPECT_EQ(d.marked(), "aXY^d");
    d.input.InsertString("ZW");
    EXPECT_EQ(d.marked(), "aXYZW^");

    // A cluster takes the place of a cluster; a combining mark adds to the letter before it.
    d.load("^\U0001F1F5\U0001F1F1\u4e2dz");
    d.input.InsertString("\u00e9\u0416");
    EXPECT_EQ(d.marked(), "\u00e9\u0416^z");
    d.input.InsertString("\u0301");
    EXPECT_EQ(d.marked(), "\u00e9\u0416\u0301^z");
}

TEST(InsertString, PageBreakTogglesAtTheStartAndSplitsInTheMiddle)
{
    TypingDocument d("ab|^cd");
    TParagraph* second = d.doc.paragraphAt(1);
    d.input.InsertString("\f");
    EXPECT_TRUE(second->hasFlag(ParFlag::PageBreakBefore));
    d.input.InsertString("\f");
    EXPECT_FALSE(second->hasFlag(ParFlag::PageBreakBefore));

    d.load("ab^cd");
    d.input.InsertString("\f");
    EXPECT_EQ(d.marked(), "ab|^cd");
    EXPECT_FALSE(d.doc.firstParagraph()->hasFlag(ParFlag::PageBreakBefore));
    EXPECT_TRUE(d.doc.paragraphAt(1)->hasFlag(ParFlag::PageBreakBefore));
    EXPECT_EQ(d.paint.pageCount(), 2);
}

TEST(InsertString, SplitHalvesInheritPropertiesButNotThePageBreak)
{
    TypingDocument d("ab^cd");
    TParagraph* first = d.doc.firstParagraph();
    first->alignment = Alignment::Center;
    first->leftIndent = 720;
    first->flags |= ParFlag::PageBreakBefore | ParFlag::KeepWithNext;
    first->border.flags = BorderFlag::Present | BorderFlag::Box | BorderFlag::RunEnds;
    d.input.InsertString("\r");
    EXPECT_EQ(DumpDocument(d.doc, DumpSegments::Joined),
              "qc li720 page keep brd41:00:0:00 | \"ab\" | 2 f0\n"
              "qc li720 keep brd43:00:0:00 | \"cd\" | 2 f0\n");
}

TEST(InsertString, DeleteAtTheVeryEndClearsFrameShadingAndFlags)
{
    TypingDocument d("ab|cd^");
    TParagraph* last = d.doc.lastParagraph();
    last->border.flags = BorderFlag::Present | BorderFlag::Box;
    last->shadingPercent = 20;
    last->flags = ParFlag::KeepWithNext;
    EXPECT_EQ(d.input.InsertString("\x7f"), Redraw::Everything);
    EXPECT_EQ(DumpParagraph(*last, DumpSegments::Joined), "- | \"cd\" | 2 f0");
    EXPECT_EQ(d.marked(), "ab|cd^");
}

class TableCell : public testing::Test {
protected:
    // Two cells of one row, then an ordinary paragraph.
    TypingDocument d{"ab|cd|ef"};
    TParagraph* first = d.doc.paragraphAt(0);
    TParagraph* second = d.doc.paragraphAt(1);

    void SetUp() override
    {
        first->flags = ParFlag::TableCell | ParFlag::MoreCellsFollow;
        second->flags = ParFlag::TableCell | ParFlag::CellNotFirst;
        first->cellWidth = second->cellLeft = second->cellWidth = 127;
        d.paint.reformatAll();
    }
};

TEST_F(TableCell, EnterMakesASoftBreak)
{
    d.input.SetCaretOffset(1);
    d.input.InsertString("\r");
    EXPECT_EQ(d.marked(), "a/^b|cd|ef");
    EXPECT_EQ(d.doc.paragraphCount(), 3);
}

// Joining across the table's edge would move text into or out of a cell and change the row.
TEST_F(TableCell, NothingJoinsAcrossTheTableEdge)
{
    d.input.SetCaretOffset(3); // start of the second cell
    d.input.InsertString("\b");
    d.input.SetCaretOffset(5); // end of the second cell
    d.input.InsertString("\x7f");
    d.input.SetCaretOffset(6); // start of the paragraph after the table
    d.input.InsertString("\b");
    EXPECT_EQ(d.marked(), "ab|cd|^ef");
}

TEST_F(TableCell, AFullCellRefusesCharactersWithABeep)
{
    d.input.SetCaretOffset(1);
    first->cellFill = 240;
    d.input.InsertString("x");
    EXPECT_EQ(d.marked(), "a^b|cd|ef");
    EXPECT_EQ(d.beeps, 1);
}

TEST(InsertString, ProtectedTextRefusesTypingAndDeletingWithoutABeep)
{
    TypingDocument d("ab^cd");
    TTextLine* line = d.doc.firstParagraph()->firstLine();
    line->attrs()[2].flags |= AttrFlag::Protected;
    // Without ppProtected the flag is only a look.
    d.input.InsertString("x\b");
    EXPECT_EQ(d.marked(), "ab^cd");

    d.doc.protectedProp = ProtectProp::ppProtected;
    d.input.InsertString("x");
    d.input.InsertString("\x7f");
    EXPECT_EQ(d.marked(), "ab^cd");
    EXPECT_EQ(d.beeps, 0);
    d.input.InsertString("\b"); // 'b' is not protected
    EXPECT_EQ(d.marked(), "a^cd");
}

TEST(InsertString, HiddenInsertionAttributesInsertNothingUnlessAutomatic)
{
    TypingDocument d("a^b");
    d.doc.insertionAttr.flags = AttrFlag::Hidden;
    d.input.InsertString("x");
    EXPECT_EQ(d.marked(), "a^b");
    d.input.AutomaticInsertion = true;
    d.input.InsertString("x");
    EXPECT_EQ(d.marked(), "ax^b");
}

TEST(InsertString, InsertPointAndObjectFlagsAreNotTypedOn)
{
    TypingDocument d("^");
    d.doc.insertionAttr.flags = AttrFlag::InsertPoint | AttrFlag::Object | AttrFlag::Protected;
    d.input.InsertString("x");
    EXPECT_EQ(d.doc.firstParagraph()->firstLine()->attrs()[0].flags, AttrFlag::Protected);
}

TEST(InsertString, ReadOnlyRefusesEverything)
{
    TypingDocument d("ab^cd");
    d.input.ReadOnly = true;
    EXPECT_EQ(d.input.InsertString("x\b\r\x7f"), Redraw::Nothing);
    EXPECT_EQ(d.marked(), "ab^cd");
    EXPECT_FALSE(d.input.changed());
}

TEST(InsertString, SegmentsGrowByTenAndSplitAtTheLineLimit)
{
    TWPRTFText doc;
    TWPRTFTextInput input(doc, nullptr);
    TTextLine* line = doc.firstParagraph()->firstLine();
    ASSERT_EQ(line->capacity(), 8);
    input.InsertString("abcdef");
    EXPECT_EQ(line->capacity(), 18);

    // A segment full at the limit is split instead of failing.
    line->resize(MaxLineCapacity);
    line->setLength(MaxLineCapacity - 1);
    std::fill_n(line->text(), MaxLineCapacity - 1, 'a');
    input.SetCaretOffset(MaxLineCapacity - 1);
    EXPECT_NO_THROW(input.InsertString("bc"));
    EXPECT_EQ(doc.firstParagraph()->length(), MaxLineCapacity + 1);
    EXPECT_EQ(doc.firstParagraph()->text().substr(MaxLineCapacity - 2), "abc");
    EXPECT_EQ(input.caretOffset(), MaxLineCapacity + 1);

    // The halves of a full segment part between clusters, not inside a character.
    doc.clear();
    line = doc.firstParagraph()->firstLine();
    line->resize(MaxLineCapacity);
    std::string full;
    while (full.size() + 2 < std::size_t(MaxLineCapacity))
        full += "\u00e9";
    full += "z"; // an odd length puts the middle inside a character
    std::copy(full.begin(), full.end(), line->text());
    line->setLength(int(full.size()));
    input.SetCaretOffset(long(full.size()));
    input.InsertString("\u0416");
    const TParagraph& paragraph = *doc.firstParagraph();
    ASSERT_EQ(paragraph.lineCount(), 2);
    EXPECT_EQ(paragraph.firstLine()->length() % 2, 0);
    EXPECT_EQ(paragraph.text(), full + "\u0416");
    EXPECT_EQ(input.caretOffset(), long(full.size()) + 2);
}

TEST(InsertString, TypingLaysOutOnlyTheEditedParagraph)
{
    TypingDocument d("first|sec^ond|third");
    d.paint.resetCounters();
    EXPECT_EQ(d.input.InsertString("x"), Redraw::Line);
    EXPECT_EQ(d.paint.paragraphsBroken(), 1);
    EXPECT_EQ(d.paint.lines().size(), 3u);

    // A word that no longer fits goes to a line of its own: everything below moves.
    EXPECT_EQ(d.input.InsertString(" a-long-word-wraps"), Redraw::Everything);
    EXPECT_EQ(d.doc.paragraphAt(1)->lineCount(), 2);
    EXPECT_EQ(d.input.caret().segment, 1);
    EXPECT_EQ(d.marked(), "first|secx a-long-word-wraps^ond|third");
}

} // namespace
} // namespace quillory
