// Line heights with paragraph spacing, pagination, table rows, incremental relayout, caret and
// hit testing on the fixed-metrics canvas.
#include "LayoutFixture.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

struct SpacingCase {
    const char* name;
    int lineSpacing, spaceBefore, spaceAfter;
    std::vector<std::pair<int, int>> heightAscent; // per line
};

class Spacing : public testing::TestWithParam<SpacingCase> {};

TEST_P(Spacing, GivesLinesTheseHeights)
{
    LaidDocument d;
    TParagraph& p = d.add("aaaa bbbb cccc dddd eeee");
    p.lineSpacing = GetParam().lineSpacing;
    p.spaceBefore = GetParam().spaceBefore;
    p.spaceAfter = GetParam().spaceAfter;
    d.layout();
    std::vector<std::pair<int, int>> got;
    for (auto* line = p.firstLine(); line; line = line->next())
        got.emplace_back(line->height, line->ascent);
    EXPECT_EQ(got, GetParam().heightAscent);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, Spacing,
    testing::Values(SpacingCase{"Single", 0, 0, 0, {{20, 16}, {20, 16}}},
                    SpacingCase{"ExactIsExact", -240, 0, 0, {{16, 14}, {16, 14}}},   // \sl-240
                    SpacingCase{"ExactTaller", -480, 0, 0, {{32, 22}, {32, 22}}},
                    SpacingCase{"AtLeastKeepsTallerLines", 240, 0, 0, {{20, 16}, {20, 16}}}, // \sl240
                    SpacingCase{"AtLeastGrows", 480, 0, 0, {{32, 22}, {32, 22}}},
                    SpacingCase{"SpaceBeforeAndAfter", 0, 150, 300, {{30, 26}, {40, 16}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Layout, EmptyClosingLineTakesTheHeightOfTheTextBefore)
{
    LaidDocument d;
    TAttr big;
    big.size = 20;
    d.add("BIG", big);
    TParagraph& empty = d.add("");
    d.layout();
    EXPECT_EQ(empty.firstLine()->height, 40);
}

// Each character is a line of 20 px; a page holds five.
TEST(Pagination, LineThatPassesThePageStartsTheNext)
{
    LaidDocument d;
    TParagraph& p = d.add("a\nb\nc\nd\ne\nf\ng");
    d.layout();
    EXPECT_EQ(d.engine.pageCount(), 2);
    const auto lines = d.linesOf(p);
    EXPECT_EQ(lines[4].page, 0);
    EXPECT_EQ(lines[5].page, 1);
    EXPECT_TRUE(lines[5].line->flags & 0x02);
    EXPECT_EQ(d.engine.documentHeight(), 140);
}

TEST(Pagination, PageBreakBeforeAtTheTopOfAPageMakesNoEmptyPage)
{
    LaidDocument d;
    TParagraph& first = d.add("a");
    first.flags |= ParFlag::PageBreakBefore;
    d.add("b\nc\nd\ne");
    TParagraph& atTop = d.add("f");
    atTop.flags |= ParFlag::PageBreakBefore;
    d.layout();
    EXPECT_EQ(d.engine.pageCount(), 2);
    EXPECT_EQ(d.linesOf(first)[0].page, 0);
    EXPECT_EQ(d.linesOf(atTop)[0].page, 1);
    EXPECT_EQ(atTop.firstLine()->top, 100);
}

TEST(Pagination, PageBreakBeforeInsideAPageStartsANewOne)
{
    LaidDocument d;
    d.add("a");
    TParagraph& second = d.add("b");
    second.flags |= ParFlag::PageBreakBefore;
    d.layout();
    EXPECT_EQ(d.engine.pageCount(), 2);
    EXPECT_EQ(d.linesOf(second)[0].page, 1);
}

TEST(Pagination, KeepWithNextMovesABreakInsideToTheFirstLine)
{
    LaidDocument d;
    d.add("a\nb\nc\nd");
    TParagraph& kept = d.add("e\nf");
    kept.flags |= ParFlag::KeepWithNext;
    d.layout();
    const auto lines = d.linesOf(kept);
    EXPECT_EQ(lines[0].page, 1);
    EXPECT_EQ(lines[1].page, 1);
    EXPECT_EQ(d.engine.pageCount(), 2);
}

TEST(Pagination, KeepWithNextGoesWithTheNextParagraphToItsPage)
{
    LaidDocument d;
    d.add("a\nb\nc\nd");
    TParagraph& kept = d.add("e");
    kept.flags |= ParFlag::KeepWithNext;
    TParagraph& next = d.add("f");
    d.layout();
    EXPECT_EQ(d.linesOf(kept)[0].page, 1);
    EXPECT_EQ(d.linesOf(next)[0].page, 1);
    EXPECT_EQ(kept.firstLine()->top, 80);
}

TEST(Pagination, KeepWithNextOnAParagraphTallerThanAPageEnds)
{
    LaidDocument d;
    TParagraph& kept = d.add("a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl");
    kept.flags |= ParFlag::KeepWithNext;
    d.add("m");
    d.layout();
    EXPECT_EQ(d.engine.pageCount(), 3);
}

TEST(Tables, CellsOfARowStandSideBySideAndEndTogether)
{
    LaidDocument d;
    d.add("top");
    TParagraph& left = d.add("ab");
    left.flags = ParFlag::TableCell | ParFlag::MoreCellsFollow;
    left.cellLeft = 0;
    left.cellWidth = 127;
    TParagraph& right = d.add("aaaa bbbb cccc dddd");
    right.flags = ParFlag::TableCell | ParFlag::CellNotFirst;
    right.cellLeft = 128;
    right.cellWidth = 127;
    TParagraph& after = d.add("after");
    d.layout();

    EXPECT_EQ(LaidDocument::lineTexts(right), (std::vector<std::string>{"aaaa bbbb ", "cccc dddd"}));
    EXPECT_EQ(left.firstLine()->top, 20);
    EXPECT_EQ(right.firstLine()->top, 20);
    EXPECT_EQ(d.linesOf(right)[0].textX, 102); // 128/255 of 200 px, and the cell's padding
    // The short cell keeps the missing 20 px as its space after.
    EXPECT_EQ(left.firstLine()->height, 40);
    EXPECT_EQ(left.spaceAfter, 300);
    EXPECT_EQ(right.spaceAfter, 0);
    EXPECT_EQ(after.firstLine()->top, 60);
    ASSERT_EQ(d.engine.boxes().size(), 2u);
    EXPECT_EQ(d.engine.boxes()[1].rect, (Rect{100, 20, 99, 40}));
}

TEST(Tables, ARowThatPassesThePageMovesWhole)
{
    LaidDocument d;
    d.add("a\nb\nc\nd");
    TParagraph& left = d.add("x");
    left.flags = ParFlag::TableCell | ParFlag::MoreCellsFollow;
    left.cellWidth = 127;
    TParagraph& right = d.add("y\nz");
    right.flags = ParFlag::TableCell | ParFlag::CellNotFirst;
    right.cellLeft = 128;
    right.cellWidth = 127;
    d.layout();
    EXPECT_EQ(left.firstLine()->top, 80);
    EXPECT_EQ(d.linesOf(left)[0].page, 1);
    EXPECT_EQ(d.linesOf(right)[1].page, 1);
}

TEST(Incremental, EditingBreaksOnlyTheChangedParagraph)
{
    LaidDocument d;
    d.add("one");
    TParagraph& two = d.add("two");
    TParagraph& three = d.add("three");
    d.layout();
    EXPECT_EQ(d.engine.paragraphsBroken(), 3);
    d.engine.resetCounters();

    d.doc.appendText(two, "x", TAttr{});
    d.engine.reformatParagraph(two);
    EXPECT_EQ(d.engine.paragraphsBroken(), 1);
    EXPECT_EQ(three.firstLine()->top, 40);
    EXPECT_EQ(d.linesOf(two)[0].line->view(), "twox");

    // The paragraph grows a line: what follows moves down.
    d.doc.appendText(two, " and some more words", TAttr{});
    d.engine.reformatParagraph(two);
    EXPECT_EQ(d.engine.paragraphsBroken(), 2);
    EXPECT_EQ(two.lineCount(), 2);
    EXPECT_EQ(d.linesOf(three)[0].line->top, 60); // lines below an edit are moved when looked at
    EXPECT_EQ(d.engine.documentHeight(), 80);
    EXPECT_EQ(d.engine.lines().size(), 4u);

    // Flagged paragraphs are picked up by reformatPending.
    d.engine.resetCounters();
    three.layoutFlags |= LayoutFlag::Reformat;
    d.engine.reformatPending();
    EXPECT_EQ(d.engine.paragraphsBroken(), 1);
}

TEST(Incremental, CaretAndSelectionMoveWithTheTextIntoNewSegments)
{
    LaidDocument d;
    TParagraph& p = d.add("aaaa bbbb cccc dddd eeee ffff");
    TextPosition caret{0, 0, 27};
    d.engine.carriedPositions.push_back(&caret);
    d.doc.selection.blockStart = {0, 0, 5};
    d.doc.selection.blockEnd = {0, 0, 22};
    d.layout();
    ASSERT_EQ(p.lineCount(), 2);
    EXPECT_EQ(caret, (TextPosition{0, 1, 7}));
    EXPECT_EQ(d.doc.selection.blockStart, (TextPosition{0, 0, 5}));
    EXPECT_EQ(d.doc.selection.blockEnd, (TextPosition{0, 1, 2}));
}

TEST(Caret, StandsBeforeTheCharacterAtItsPosition)
{
    LaidDocument d;
    d.add("abc def");
    TAttr big;
    big.size = 20;
    TParagraph& second = d.add("ab");
    d.doc.appendText(second, "CD", big);
    d.layout();

    const CaretBox first = d.engine.caretAt({0, 0, 2});
    EXPECT_EQ(first.x, 20);
    EXPECT_EQ(first.y, 0);
    EXPECT_EQ(first.height, 20);
    // Small text on a line with big text: the caret sits on the common baseline.
    const CaretBox small = d.engine.caretAt({1, 0, 1});
    EXPECT_EQ(small.y, 20 + 32 - 16);
    EXPECT_EQ(small.height, 20);
    EXPECT_EQ(d.engine.caretAt({1, 0, 3}).height, 40);
}

TEST(Caret, PointsMapBackToPositions)
{
    LaidDocument d;
    d.add("abc def");
    d.add("gh\nij");
    d.layout();
    struct Row {
        int x, y;
        TextPosition expected;
    } rows[] = {
        {24, 5, {0, 0, 2}},  {26, 5, {0, 0, 3}},   {500, 5, {0, 0, 7}},   {-5, 5, {0, 0, 0}},
        {500, 25, {1, 0, 2}}, // before the soft break, not after it
        {12, 45, {1, 1, 1}},  {4, -30, {0, 0, 0}}, {500, 900, {1, 1, 2}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(d.engine.positionAt(row.x, row.y), row.expected) << row.x << "," << row.y;
    for (const auto& row : rows) {
        // A caret box found from a position gives that position back.
        const CaretBox box = d.engine.caretAt(row.expected);
        EXPECT_EQ(d.engine.positionAt(box.x, box.y + 1), row.expected);
    }
}

} // namespace
} // namespace quillory

namespace quillory {
namespace {

TEST(Incremental, ReformattingTellsWhatToRepaint)
{
    LaidDocument d;
    d.add("one");
    TParagraph& two = d.add("two");
    d.add("three");
    d.layout();
    d.doc.appendText(two, "x", TAttr{});
    EXPECT_EQ(d.engine.reformatParagraph(two), (Rect{0, 20, 200, 20}));
    d.doc.appendText(two, " and some more words", TAttr{});
    EXPECT_EQ(d.engine.reformatParagraph(two), (Rect{0, 20, 200, 60})); // down to the end
}

TEST(Layout, PlainTextDocumentsLayOutWithTheDefaultFont)
{
    LaidDocument d;
    d.doc.insertionAttr.size = 12;
    TParagraph& p = d.add("ab\tc defgh ijklmnop");
    d.doc.setMemoryFormat(MemoryFormat::fmPlainText);
    d.layout();
    // 12 px characters: "ab" then a TAB to 48, "c " to 72, "defgh " to 144, and "ijklmnop" overflows.
    EXPECT_EQ(LaidDocument::lineTexts(p), (std::vector<std::string>{"ab\tc defgh ", "ijklmnop"}));
    EXPECT_EQ(p.firstLine()->height, 24);
    const auto lines = d.linesOf(p);
    EXPECT_EQ(d.engine.advances(lines[0])[2], 24);
    EXPECT_EQ(d.engine.caretAt({0, 0, 3}).x, 48);
    EXPECT_EQ(d.engine.positionAt(50, 5), (TextPosition{0, 0, 3}));
    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 100}, 0, 0);
    EXPECT_EQ(screen.drawnText(), "ab c defgh |ijklmnop");
}

TEST(Incremental, AParagraphRemovedBesideTheEditedOneLeavesNoStaleLines)
{
    LaidDocument d;
    TParagraph& one = d.add("one");
    TParagraph* empty = &d.add("");
    TParagraph& three = d.add("three");
    d.layout();
    // Joining the empty paragraph onto the first one changes no height of the first.
    d.doc.deleteParagraph(empty);
    d.engine.reformatParagraph(one);
    ASSERT_EQ(d.engine.lines().size(), 2u);
    EXPECT_EQ(d.engine.lines()[1].paragraph, &three);
    EXPECT_EQ(three.firstLine()->top, 20);
}

TEST(Layout, LayingOutAllReportsProgress)
{
    LaidDocument d;
    for (int i = 0; i < 100; ++i)
        d.add("paragraph");
    std::vector<std::string> events;
    long advanced = 0;
    d.engine.progress.start = [&](long total) { events.push_back("start " + std::to_string(total)); };
    d.engine.progress.advance = [&](long count) { advanced += count; };
    d.engine.progress.finish = [&] { events.push_back("finish"); };
    d.layout();
    EXPECT_EQ(events, (std::vector<std::string>{"start 100", "finish"}));
    EXPECT_EQ(advanced, 100);
}

TEST(Layout, ZoomingScalesThePageHeight)
{
    LaidDocument d;
    d.add("a\nb\nc\nd\ne\nf\ng\nh");
    d.engine.zooming = true;
    d.engine.zoom = 50;
    d.layout();
    EXPECT_EQ(d.engine.pageHeight(), 50);
    EXPECT_EQ(d.engine.pageCount(), 4);
}

TEST(Tables, CellFillTellsHowMuchOfAPageTheCellTakes)
{
    LaidDocument d;
    TParagraph& cell = d.add("a\nb\nc\nd");
    cell.flags = ParFlag::TableCell;
    cell.cellWidth = 255;
    d.layout();
    EXPECT_EQ(cell.cellFill, 80 * 255 / 100);
}

} // namespace
} // namespace quillory
