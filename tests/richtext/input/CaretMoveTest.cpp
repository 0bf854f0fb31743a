// Caret moves: the word rules, hidden characters, line ends, vertical moves with the remembered
// column, page moves and selection anchoring.
#include "InputFixture.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

struct MoveCase {
    const char* before;
    MoveKind kind;
    const char* after;
};

std::ostream& operator<<(std::ostream& out, const MoveCase& c)
{
    return out << c.before << " -" << int(c.kind) << "-> " << c.after;
}

class WordMoves : public testing::TestWithParam<MoveCase> {};

TEST_P(WordMoves, StopWhereTheRulesSay)
{
    const MoveCase& c = GetParam();
    TypingDocument d(c.before);
    d.input.Move(c.kind, false);
    EXPECT_EQ(d.marked(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Right, WordMoves,
    testing::Values(MoveCase{"^one two", MoveKind::WordRight, "one^ two"},
                    MoveCase{"on^e two", MoveKind::WordRight, "one^ two"},
                    MoveCase{"one^ two", MoveKind::WordRight, "one two^"}, // after the word, not at its start
                    MoveCase{"^ ,;ab cd", MoveKind::WordRight, " ,;ab^ cd"},
                    MoveCase{"^ab-cd", MoveKind::WordRight, "ab^-cd"},
                    MoveCase{"^d\u00e9j\u00e0 42x vu", MoveKind::WordRight, "d\u00e9j\u00e0^ 42x vu"},
                    MoveCase{"^\u0416\u0443\u043a, \u0435\u0441\u0442", MoveKind::WordRight,
                             "\u0416\u0443\u043a^, \u0435\u0441\u0442"},
                    MoveCase{"\u0416\u0443\u043a^, \u0435\u0441\u0442", MoveKind::WordRight,
                             "\u0416\u0443\u043a, \u0435\u0441\u0442^"},
                    MoveCase{"^\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1 \u03ba\u03cc\u03c3\u03bc\u03b5",
                             MoveKind::WordRight,
                             "\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1^ \u03ba\u03cc\u03c3\u03bc\u03b5"},
                    MoveCase{"x 42^x1 vu", MoveKind::WordRight, "x 42x1^ vu"},
                    MoveCase{"one^|two", MoveKind::WordRight, "one|^two"},
                    MoveCase{"end^", MoveKind::WordRight, "end^"}));

INSTANTIATE_TEST_SUITE_P(
    Left, WordMoves,
    testing::Values(MoveCase{"one two^", MoveKind::WordLeft, "one ^two"},
                    MoveCase{"one tw^o", MoveKind::WordLeft, "one ^two"},
                    MoveCase{"one ^two", MoveKind::WordLeft, "^one two"},
                    MoveCase{"ab, ;^", MoveKind::WordLeft, "^ab, ;"},
                    MoveCase{" ,^", MoveKind::WordLeft, "^ ,"},
                    MoveCase{"\u0416\u0443\u043a \u0435\u0441^\u0442", MoveKind::WordLeft,
                             "\u0416\u0443\u043a ^\u0435\u0441\u0442"},
                    MoveCase{"\u0416\u0443\u043a, ^\u0435\u0441\u0442", MoveKind::WordLeft,
                             "^\u0416\u0443\u043a, \u0435\u0441\u0442"},
                    MoveCase{"one|^two", MoveKind::WordLeft, "one^|two"},
                    MoveCase{"^start", MoveKind::WordLeft, "^start"}));

// A paragraph of 25 characters breaks after "dddd " into two segments (lines of 20).
TEST(WordMove, AtASegmentEdgeStepsToTheNeighbouringLineOnly)
{
    TypingDocument d("aaaa bbbb cccc dddd eeeee");
    ASSERT_EQ(d.doc.firstParagraph()->lineCount(), 2);
    d.input.SetCaret({0, 0, 20});
    d.input.Move(MoveKind::WordRight, false);
    EXPECT_EQ(d.input.caret(), (TextPosition{0, 1, 0}));
    d.input.Move(MoveKind::WordLeft, false);
    EXPECT_EQ(d.input.caret(), (TextPosition{0, 0, 20}));
    d.input.Move(MoveKind::WordLeft, false);
    EXPECT_EQ(d.input.caret(), (TextPosition{0, 0, 15}));
}

TEST(CharMove, PassesOverHiddenCharactersAsIfNotThere)
{
    TypingDocument d("^aHHb");
    TTextLine* line = d.doc.firstParagraph()->firstLine();
    line->attrs()[1].flags = line->attrs()[2].flags = AttrFlag::Hidden;
    const long rights[] = {1, 4, 4};
    for (long expected : rights) {
        d.input.Move(MoveKind::CharRight, false);
        EXPECT_EQ(d.input.caretOffset(), expected);
    }
    const long lefts[] = {3, 0, 0};
    for (long expected : lefts) {
        d.input.Move(MoveKind::CharLeft, false);
        EXPECT_EQ(d.input.caretOffset(), expected);
    }
    d.paint.showHiddenText = true;
    d.input.CharRight(2, false);
    EXPECT_EQ(d.input.caretOffset(), 2);
}

TEST(CharMove, CrossesParagraphEnds)
{
    TypingDocument d("ab^|cd");
    d.input.CharRight(2, false);
    EXPECT_EQ(d.marked(), "ab|c^d");
    d.input.CharLeft(3, false);
    EXPECT_EQ(d.marked(), "a^b|cd");
}

TEST(LineMove, EndOfAWrappedLineStaysOnThatLine)
{
    TypingDocument d("aaaa bbbb cccc dddd ee^eee");
    d.input.Move(MoveKind::LineStart, false);
    EXPECT_EQ(d.input.caret(), (TextPosition{0, 1, 0}));
    d.input.Move(MoveKind::LineUp, false);
    d.input.Move(MoveKind::LineEnd, false);
    EXPECT_EQ(d.input.caret(), (TextPosition{0, 0, 20}));
    d.input.Move(MoveKind::DocumentEnd, false);
    EXPECT_EQ(d.input.caret(), (TextPosition{0, 1, 5}));
    d.input.Move(MoveKind::DocumentStart, false);
    EXPECT_EQ(d.input.caret(), (TextPosition{0, 0, 0}));
}

TEST(LineMove, UpAndDownKeepTheRememberedColumn)
{
    TypingDocument d("abcdefgh^ij|abc|abcdefghij");
    d.input.Move(MoveKind::LineDown, false);
    EXPECT_EQ(d.marked(), "abcdefghij|abc^|abcdefghij");
    d.input.Move(MoveKind::LineDown, false);
    EXPECT_EQ(d.marked(), "abcdefghij|abc|abcdefgh^ij");
    d.input.Move(MoveKind::LineDown, false); // the last line: stays
    EXPECT_EQ(d.marked(), "abcdefghij|abc|abcdefgh^ij");
    d.input.LineUp(2, false);
    EXPECT_EQ(d.marked(), "abcdefgh^ij|abc|abcdefghij");

    // After End the column is the end of every line.
    d.load("^ab|abcdef|abcd");
    d.input.Move(MoveKind::LineEnd, false);
    EXPECT_EQ(d.input.rememberedColumn(), EndOfLineColumn);
    d.input.LineDown(2, false);
    EXPECT_EQ(d.marked(), "ab|abcdef|abcd^");
}

TEST(PageMove, GoesAWindowHeightAndReportsTheScroll)
{
    TypingDocument d("a^1|a2|a3|a4|a5|a6|a7|a8");
    d.paint.clientHeight = 60; // three lines of 20 pixels
    d.input.Move(MoveKind::PageDown, false);
    EXPECT_EQ(d.marked(), "a1|a2|a3|a^4|a5|a6|a7|a8");
    EXPECT_EQ(d.input.pageScroll(), 60);
    d.input.Move(MoveKind::PageUp, true);
    EXPECT_EQ(d.marked(), "a^1|a2|a3|a4|a5|a6|a7|a8");
    EXPECT_EQ(d.input.pageScroll(), -60);
    EXPECT_TRUE(d.input.HasSelection());
}

TEST(Selection, ShiftedMovesAnchorOnceAndAnUnshiftedMoveEndsIt)
{
    TypingDocument d("ab^cdef");
    d.input.CharRight(3, true);
    EXPECT_EQ(d.input.anchorOffset(), 2);
    EXPECT_EQ(d.input.caretOffset(), 5);
    EXPECT_EQ(d.doc.selectionRange(), (TextRange{2, 3}));
    d.input.WordLeft(1, true); // back past the anchor
    EXPECT_EQ(d.doc.selectionRange(), (TextRange{0, 2}));
    EXPECT_TRUE(d.doc.selection.endBeforeStart);

    EXPECT_EQ(d.input.Move(MoveKind::CharRight, false), Redraw::Everything);
    EXPECT_FALSE(d.input.HasSelection());
    EXPECT_EQ(d.input.caretOffset(), 1);
    EXPECT_EQ(d.doc.selectionRange().length, 0);
}

TEST(Selection, CaretMovedEventFiresOnEveryMove)
{
    TypingDocument d("ab^c");
    int moves = 0;
    d.input.OnCaretMoved = [&] { ++moves; };
    d.input.CharLeft(2, false);
    d.input.Move(MoveKind::DocumentEnd, true);
    EXPECT_EQ(moves, 3);
}

} // namespace
} // namespace quillory
