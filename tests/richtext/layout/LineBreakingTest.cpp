// Line breaking, alignment, tabs, spacing and hidden text on the fixed-metrics canvas.
#include "LayoutFixture.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

using Lines = std::vector<std::string>;

struct BreakCase {
    const char* name;
    std::string text;
    Lines expected;
};

class Breaking : public testing::TestWithParam<BreakCase> {};

TEST_P(Breaking, BreaksIntoTheseLines)
{
    LaidDocument d;
    TParagraph& p = d.add(GetParam().text);
    d.layout();
    EXPECT_EQ(LaidDocument::lineTexts(p), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, Breaking,
    testing::Values(
        BreakCase{"FitsOnOneLine", "aaaa bbbb", {"aaaa bbbb"}},
        BreakCase{"BreaksAfterTheLastBlank", "aaaa bbbb cccc dddd eeee", {"aaaa bbbb cccc dddd ", "eeee"}},
        BreakCase{"BlanksMayOverhang", "aaaa bbbb cccc dddd    eeee", {"aaaa bbbb cccc dddd    ", "eeee"}},
        BreakCase{"LongWordBrokenInside", "abcdefghijklmnopqrstuvwxy", {"abcdefghijklmnopqrst", "uvwxy"}},
        BreakCase{"LongWordOnALineOfItsOwn", "ab abcdefghijklmnopqrstuvwxy", {"ab ", "abcdefghijklmnopqrst", "uvwxy"}},
        BreakCase{"SoftBreakEndsTheLine", "ab\ncd", {"ab\n", "cd"}},
        BreakCase{"ClosingSoftBreakLeavesAnEmptyLine", "ab\n", {"ab\n", ""}},
        BreakCase{"EmptyParagraphHasOneLine", "", {""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Layout, OneCharacterPerLineAtLeastWhenTheColumnIsNarrowerThanACharacter)
{
    LaidDocument d;
    TAttr big;
    big.size = 30; // 30 px wide characters in a column of 16 px
    TParagraph& p = d.add("abc", big);
    p.rightIndent = 2950; // leaves nothing: the column falls back to 16 pixels
    d.layout();
    EXPECT_EQ(LaidDocument::lineTexts(p), (Lines{"a", "b", "c"}));
}

TEST(Layout, MaximumCharactersPerLineEndsLines)
{
    LaidDocument d;
    d.engine.maxCharsPerLine = 4;
    TParagraph& p = d.add("abcdefghij");
    d.layout();
    EXPECT_EQ(LaidDocument::lineTexts(p), (Lines{"abcd", "efgh", "ij"}));
}

TEST(Layout, WordWrapOffWrapsAtThePageWidthEvenInANarrowWindow)
{
    LaidDocument d;
    TParagraph& p = d.add("aaaa bbbb cccc dddd eeee");
    d.engine.windowWidth = 100;
    d.engine.wordWrap = true;
    d.layout();
    EXPECT_EQ(d.engine.layoutWidth(), 100);
    EXPECT_EQ(LaidDocument::lineTexts(p), (Lines{"aaaa bbbb ", "cccc dddd ", "eeee"}));

    d.engine.wordWrap = false;
    d.layout();
    EXPECT_EQ(d.engine.layoutWidth(), 200);
    EXPECT_EQ(LaidDocument::lineTexts(p), (Lines{"aaaa bbbb cccc dddd ", "eeee"}));
}

TEST(Layout, HiddenTextTakesNoRoomUnlessShown)
{
    LaidDocument d;
    TParagraph& p = d.add("abc");
    TAttr hidden;
    hidden.flags = AttrFlag::Hidden;
    d.doc.appendText(p, "HIDDENHIDDENHIDDENHIDDEN", hidden);
    d.doc.appendText(p, "def", TAttr{});
    d.layout();
    ASSERT_EQ(p.lineCount(), 1);
    EXPECT_EQ(p.firstLine()->lineWidth, 60);
    EXPECT_EQ(p.firstLine()->attrs()[3].width, 0);
    EXPECT_EQ(p.firstLine()->height, 20);

    d.engine.showHiddenText = true;
    d.layout();
    EXPECT_EQ(p.lineCount(), 2);
}

TEST(Layout, DisplayAttributesHideSpecialText)
{
    LaidDocument d;
    TParagraph& p = d.add("ab");
    TAttr point;
    point.flags = AttrFlag::InsertPoint;
    d.doc.appendText(p, "POINT", point);
    TAttr link;
    link.style = AttrStyle::Hyperlink;
    d.doc.appendText(p, "link", link);
    d.doc.insertPointAttr.hidden = true;
    d.layout();
    EXPECT_EQ(p.firstLine()->lineWidth, 60); // "ab" and "link"

    d.doc.insertPointAttr.hidden = false;
    d.engine.omitInsertPoints = true;
    d.layout();
    EXPECT_EQ(p.firstLine()->lineWidth, 60);

    d.engine.omitInsertPoints = false;
    d.doc.hyperlinkTextAttr.hidden = true;
    d.layout();
    EXPECT_EQ(p.firstLine()->lineWidth, 70); // "ab" and "POINT"
}

TEST(Layout, SizeZeroMeasuresAsTenPoints)
{
    LaidDocument d;
    TAttr zero;
    zero.size = 0;
    TAttr twelve;
    twelve.size = 12;
    TParagraph& p = d.add("a", zero);
    d.doc.appendText(p, "b", twelve);
    d.layout();
    EXPECT_EQ(p.firstLine()->attrs()[0].width, 10);
    EXPECT_EQ(p.firstLine()->attrs()[1].width, 12);
    EXPECT_EQ(p.firstLine()->height, 24); // the taller character
    EXPECT_EQ(p.firstLine()->ascent, 19);
}

struct AlignCase {
    const char* name;
    Alignment alignment;
    int rightIndent;
    int textX;
};

class Aligning : public testing::TestWithParam<AlignCase> {};

TEST_P(Aligning, PlacesTheLine)
{
    LaidDocument d;
    TParagraph& p = d.add("abc ");
    p.alignment = GetParam().alignment;
    p.rightIndent = GetParam().rightIndent;
    p.firstIndent = p.leftIndent = 150; // 10 px
    d.layout();
    EXPECT_EQ(d.engine.lines()[0].textX, GetParam().textX);
}

INSTANTIATE_TEST_SUITE_P(Layout, Aligning,
                         testing::Values(AlignCase{"Left", Alignment::Left, 0, 10},
                                         AlignCase{"Right", Alignment::Right, 0, 170},     // trailing blank ignored
                                         AlignCase{"RightIndented", Alignment::Right, 300, 150},
                                         AlignCase{"Centred", Alignment::Center, 0, 90},
                                         AlignCase{"JustifiedSingleLine", Alignment::Justified, 0, 10}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Layout, JustifiedLinesSpreadTheirBlanksButNotTheLastLine)
{
    LaidDocument d;
    TParagraph& p = d.add("aa bb cc dddddddddddddddddd e f g h");
    p.alignment = Alignment::Justified;
    d.layout();
    ASSERT_EQ(LaidDocument::lineTexts(p), (Lines{"aa bb cc ", "dddddddddddddddddd e ", "f g h"}));
    const auto lines = d.linesOf(p);
    // 90 px used, 200 available, 6 kept free: 104 px over the two inner blanks.
    ASSERT_TRUE(lines[0].justified);
    const auto first = d.engine.advances(lines[0]);
    EXPECT_EQ(first[2], 10 + 52);
    EXPECT_EQ(first[5], 10 + 52);
    EXPECT_EQ(first[8], 10);
    // No room left: nothing to spread.
    EXPECT_FALSE(lines[1].justified);
    // The paragraph's last line stays as it is.
    EXPECT_FALSE(lines[2].justified);
    EXPECT_EQ(d.engine.advances(lines[2])[1], 10);
    EXPECT_EQ(lines[2].textX, 0);
}

TEST(Layout, JustificationRemainderGoesToTheFirstBlanks)
{
    LaidDocument d;
    TParagraph& p = d.add("a b c d eeeeeeeeeeeeeeeeeeee");
    p.alignment = Alignment::Justified;
    d.layout();
    const auto lines = d.linesOf(p);
    ASSERT_EQ(LaidDocument::lineTexts(p)[0], "a b c d ");
    // 80 px used: 114 px free over three blanks is 38 each.
    const auto adv = d.engine.advances(lines[0]);
    EXPECT_EQ(adv[1], 48);
    EXPECT_EQ(adv[3], 48);
    EXPECT_EQ(adv[5], 48);
    EXPECT_EQ(adv[7], 10);

    p.rightIndent = 15; // one pixel less: 113 = 3 * 37 + 2
    d.layout();
    const auto fewer = d.engine.advances(d.linesOf(p)[0]);
    EXPECT_EQ(fewer[1], 48);
    EXPECT_EQ(fewer[3], 48);
    EXPECT_EQ(fewer[5], 47);
}

TEST(Layout, TabsAdvanceToTheParagraphsStops)
{
    LaidDocument d;
    TParagraph& p = d.add("a\tb\tc");
    d.layout();
    // Without stops of its own the paragraph tabs every half inch (48 px).
    EXPECT_EQ(p.firstLine()->attrs()[1].width, 38);
    EXPECT_EQ(p.firstLine()->attrs()[3].width, 38);

    const int stop = d.doc.header().addTab(1440, TTabKind::tkLeft); // 96 px
    p.tabMask = std::uint64_t{1} << stop;
    d.layout();
    EXPECT_EQ(p.firstLine()->attrs()[1].width, 86);
    EXPECT_EQ(p.firstLine()->attrs()[3].width, 144 - 106); // past the last stop: the next half inch

    // Right-aligned and centred paragraphs count a TAB as a blank.
    p.alignment = Alignment::Right;
    d.layout();
    EXPECT_EQ(p.firstLine()->attrs()[1].width, 10);
}

TEST(Layout, TabStopKindsPlaceTheTextThatFollows)
{
    struct Row {
        TTabKind kind;
        const char* text;
        int tabWidth; // the stop is at 96 px, the TAB starts at 10
    } rows[] = {
        {TTabKind::tkLeft, "a\t12.5", 86},
        {TTabKind::tkRight, "a\t12.5", 86 - 40},
        {TTabKind::tkCenter, "a\t12.5", 86 - 20},
        {TTabKind::tkDecimal, "a\t12.5", 86 - 20},
        {TTabKind::tkDecimal, "a\t125", 86 - 30}, // no separator: like a right stop
        {TTabKind::tkRight, "a\t12\t5", 86 - 20}, // up to the next TAB
        {TTabKind::tkRight, "a\tabcdefghijk", 0},  // no room: the text starts where the TAB is
    };
    for (const auto& row : rows) {
        LaidDocument d;
        TParagraph& p = d.add(row.text);
        p.tabMask = std::uint64_t{1} << d.doc.header().addTab(1440, row.kind);
        d.layout();
        EXPECT_EQ(p.firstLine()->attrs()[1].width, row.tabWidth) << row.text << " kind " << int(row.kind);
    }
}

TEST(Layout, TabsOverflowingTheLineBreakAfterThemselves)
{
    LaidDocument d;
    TParagraph& p = d.add("abcdefghijklmnop\tqrs");
    d.layout();
    EXPECT_EQ(LaidDocument::lineTexts(p), (Lines{"abcdefghijklmnop\t", "qrs"}));
}

} // namespace
} // namespace quillory
