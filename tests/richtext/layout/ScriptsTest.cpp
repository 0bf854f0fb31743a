// Text of every script on the fixed-metrics canvas: grapheme clusters measured whole, lines broken
// between clusters and ideographs, shaped stretches, right-to-left paragraphs and mixed lines.
#include "LayoutFixture.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

using Lines = std::vector<std::string>;

// The widths layout gave the bytes of a one-line paragraph.
std::vector<int> byteWidths(const TParagraph& p)
{
    std::vector<int> widths;
    for (int i = 0; i < p.firstLine()->length(); ++i)
        widths.push_back(p.firstLine()->attrs()[i].width);
    return widths;
}

TEST(Scripts, AClusterIsMeasuredWholeWithItsWidthOnItsFirstByte)
{
    struct Row {
        const char* name;
        std::string text;
        std::vector<int> widths;
    } rows[] = {
        {"two-byte letter", "é", {10, 0}},
        {"Cyrillic word", "Жук", {10, 0, 10, 0, 10, 0}},
        {"letter and combining acute", "e\xCC\x81x", {10, 0, 0, 10}},
        {"flag of two regional indicators", "\xF0\x9F\x87\xB5\xF0\x9F\x87\xB1", {10, 0, 0, 0, 0, 0, 0, 0}},
        {"thumb with a skin tone", "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", {10, 0, 0, 0, 0, 0, 0, 0}},
        {"family joined by ZWJ", "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA7", {10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"ideographs", "日本", {10, 0, 0, 10, 0, 0}},
        {"Devanagari conjunct", "स्ते", {10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"ASCII beside Greek", "aλb", {10, 10, 0, 10}},
    };
    for (const auto& row : rows) {
        LaidDocument d;
        TParagraph& p = d.add(row.text);
        d.layout();
        EXPECT_EQ(byteWidths(p), row.widths) << row.name;
        for (int i = 0; i < p.firstLine()->length(); ++i)
            EXPECT_EQ(p.firstLine()->attrs()[i].height, 20) << row.name << " byte " << i;
    }
}

struct BreakCase {
    const char* name;
    std::string text;
    Lines expected;
    int maxChars = 0;
    friend void PrintTo(const BreakCase& c, std::ostream* os) { *os << c.name; }
};

class ScriptBreaking : public testing::TestWithParam<BreakCase> {};

std::string repeat(std::string_view piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST_P(ScriptBreaking, BreaksIntoTheseLines)
{
    LaidDocument d;
    d.engine.maxCharsPerLine = GetParam().maxChars;
    TParagraph& p = d.add(GetParam().text);
    d.layout();
    EXPECT_EQ(LaidDocument::lineTexts(p), GetParam().expected);
}

// 20 clusters fit on a line.
INSTANTIATE_TEST_SUITE_P(
    Scripts, ScriptBreaking,
    testing::Values(
        BreakCase{"CyrillicBreaksAtBlanks", "жжжж бббб вввв гггг дддд", {"жжжж бббб вввв гггг ", "дддд"}},
        BreakCase{"IdeographsBreakBetweenThemselves", "ab " + repeat("日", 19), {"ab " + repeat("日", 17), repeat("日", 2)}},
        BreakCase{"PunctuationStaysWithTheIdeographBeforeIt",
                  repeat("日", 20) + "。", {repeat("日", 19), "日。"}},
        BreakCase{"LatinWordAfterIdeographsMovesWhole", repeat("日", 17) + "word", {repeat("日", 17), "word"}},
        BreakCase{"LongWordIsCutBetweenClusters", repeat("e\xCC\x81", 25),
                  {repeat("e\xCC\x81", 20), repeat("e\xCC\x81", 5)}},
        BreakCase{"FlagsAreNeverSplit", repeat("\xF0\x9F\x87\xB5\xF0\x9F\x87\xB1", 21),
                  {repeat("\xF0\x9F\x87\xB5\xF0\x9F\x87\xB1", 20), "\xF0\x9F\x87\xB5\xF0\x9F\x87\xB1"}},
        BreakCase{"MaximumCharactersCountsClusters", "жжжжжж", {"жжжж", "жж"}, 4},
        BreakCase{"MaximumCharactersKeepsMarksWithTheirLetter", "ae\xCC\x81" "bc", {"ae\xCC\x81", "bc"}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Scripts, AColumnNarrowerThanAClusterTakesOneWholeClusterPerLine)
{
    LaidDocument d;
    TAttr big;
    big.size = 30; // 30 px wide clusters in a column of 16 px
    TParagraph& p = d.add("e\xCC\x81" "e\xCC\x81" "日", big);
    p.rightIndent = 2950;
    d.layout();
    EXPECT_EQ(LaidDocument::lineTexts(p), (Lines{"e\xCC\x81", "e\xCC\x81", "日"}));
}

TEST(Scripts, ASegmentAtTheModelsLimitEndsBetweenClusters)
{
    LaidDocument d;
    d.doc.header().paperWidth = 1'000'000 * 15; // no line break by width
    const std::string cluster = "e\xCC\x81"; // three bytes: the limit falls inside one
    TParagraph& p = d.add(repeat(cluster, MaxLineCapacity / 3 + 10));
    d.layout();
    ASSERT_GT(p.lineCount(), 1);
    for (const auto& line : LaidDocument::lineTexts(p))
        EXPECT_EQ(line.size() % cluster.size(), 0u) << line.size();
}

TEST(Scripts, ShapedStretchesAreDrawnAsOneStringAndOtherTextByCluster)
{
    LaidDocument d;
    d.add("Жук नमस्ते e\xCC\x81 日本");
    d.layout();
    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 100}, 0, 0);
    // Blanks between two stretches are not drawn.
    EXPECT_EQ(screen.drawnText(), "Жук |[नमस्ते]|[e\xCC\x81]| 日本");
    const auto& first = screen.texts().front();
    EXPECT_EQ(first.advances, (std::vector<int>{10, 0, 10, 0, 10, 0, 10}));
    EXPECT_EQ(screen.texts()[1].x, 40);
    EXPECT_EQ(screen.texts()[2].x, 40 + 30 + 10);
    EXPECT_EQ(screen.texts()[3].x, 90);
}

TEST(Scripts, PlainTextDocumentsMeasureClustersToo)
{
    LaidDocument d;
    TParagraph& p = d.add("Жe\xCC\x81z");
    d.doc.setMemoryFormat(MemoryFormat::fmPlainText);
    d.layout();
    EXPECT_EQ(d.engine.advances(d.linesOf(p)[0]), (std::vector<int>{10, 0, 10, 0, 0, 10}));
    EXPECT_EQ(d.engine.caretAt({0, 0, 5}).x, 20);
}

// Hebrew letters are two bytes; each is a cluster 10 pixels wide.
constexpr const char* kShalom = "שלום";

TEST(RightToLeft, AParagraphThatStartsRightToLeftFlowsFromTheRight)
{
    LaidDocument d;
    d.add(kShalom);
    TParagraph& centred = d.add(kShalom);
    centred.alignment = Alignment::Center;
    d.layout();
    const auto lines = d.engine.lines();
    EXPECT_TRUE(lines[0].rightToLeft);
    EXPECT_EQ(lines[0].textX, 160);
    EXPECT_EQ(lines[1].textX, 80);
    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 100}, 0, 0);
    EXPECT_EQ(screen.drawnText(), "<שלום>|<שלום>");
    EXPECT_EQ(screen.texts()[0].x, 160);

    // The first letter stands at the right; the caret before it at the right edge.
    struct Row {
        int index;
        int caretX;
    } rows[] = {{0, 200}, {2, 190}, {4, 180}, {6, 170}, {8, 160}};
    for (const auto& row : rows)
        EXPECT_EQ(d.engine.caretAt({0, 0, row.index}).x, row.caretX) << row.index;
    // Hit tests: the nearer edge of the letter under the point.
    struct Hit {
        int x;
        int index;
    } hits[] = {{199, 0}, {195, 0}, {194, 2}, {186, 2}, {161, 8}, {100, 8}, {300, 0}};
    for (const auto& hit : hits)
        EXPECT_EQ(d.engine.positionAt(hit.x, 5), (TextPosition{0, 0, hit.index})) << hit.x;
}

TEST(RightToLeft, AWrappedLineKeepsItsTextAgainstTheRightEdge)
{
    LaidDocument d;
    // Three words of seven letters: the third does not fit beside the first two.
    const std::string word = repeat("ש", 7);
    TParagraph& p = d.add(word + " " + word + " " + word);
    d.layout();
    ASSERT_EQ(LaidDocument::lineTexts(p).size(), 2u);
    const auto lines = d.linesOf(p);
    // The line ends with a blank, which stands at its left end, outside the column.
    const LinePlaces places = d.engine.places(lines[0]);
    EXPECT_EQ(places.left[0], 190); // the first letter at the right edge
    EXPECT_EQ(places.left[14], 120); // the blank between the words
    EXPECT_EQ(places.left[2 * 14 + 1], 40); // the closing blank
}

TEST(RightToLeft, MixedLinesFollowTheBidiOrderOfTheirRuns)
{
    struct Row {
        const char* name;
        std::string text;
        std::string drawn;
        std::vector<int> xs; // the drawing calls' x, in the order of the text
    } rows[] = {
        {"Hebrew inside a left-to-right line", std::string("ab ") + kShalom + " cd", "ab |<שלום>| cd", {0, 30, 70}},
        {"English inside a right-to-left line", std::string(kShalom) + " abc", "<שלום>|abc", {160, 120}},
        {"digits inside Hebrew", std::string(kShalom) + " 12", "<שלום>|12", {160, 130}},
    };
    for (const auto& row : rows) {
        LaidDocument d;
        d.add(row.text);
        d.layout();
        FixedCanvas screen;
        d.engine.paint(screen, {0, 0, 200, 100}, 0, 0);
        EXPECT_EQ(screen.drawnText(), row.drawn) << row.name;
        std::vector<int> xs;
        for (const auto& call : screen.texts())
            xs.push_back(call.x);
        EXPECT_EQ(xs, row.xs) << row.name;
    }
}

TEST(RightToLeft, CaretHitsAndSelectionAgreeWithWhatIsPainted)
{
    LaidDocument d;
    d.add(std::string("ab ") + kShalom + " cd"); // ab at 0, the Hebrew word 30..70 from its right end
    d.layout();
    // Positions: a 0, b 1, blank 2, the letters at 3 5 7 9, blank 11, c 12, d 13.
    EXPECT_EQ(d.engine.caretAt({0, 0, 3}).x, 70); // before the first Hebrew letter: its right edge
    EXPECT_EQ(d.engine.caretAt({0, 0, 9}).x, 40);
    EXPECT_EQ(d.engine.caretAt({0, 0, 12}).x, 80);
    EXPECT_EQ(d.engine.positionAt(68, 5), (TextPosition{0, 0, 3}));
    EXPECT_EQ(d.engine.positionAt(62, 5), (TextPosition{0, 0, 5}));
    EXPECT_EQ(d.engine.positionAt(33, 5), (TextPosition{0, 0, 11}));

    // "b", the blank and the first Hebrew letter: two pieces on the screen.
    d.doc.selection.blockStart = {0, 0, 1};
    d.doc.selection.blockEnd = {0, 0, 5};
    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 100}, 0, 0);
    std::vector<std::string> inverted;
    for (const auto& call : screen.calls())
        if (call.rfind("invert", 0) == 0)
            inverted.push_back(call);
    EXPECT_EQ(inverted, (std::vector<std::string>{"invert 10,0 20x20", "invert 60,0 10x20"}));
}

TEST(RightToLeft, HitTestsGivePositionsBetweenClusters)
{
    LaidDocument d;
    // Hebrew letters with a point each (a combining mark): clusters of four bytes.
    d.add("שׁלֹ");
    d.layout();
    for (int x = 150; x < 210; x += 3) {
        const int index = d.engine.positionAt(x, 5).index;
        EXPECT_TRUE(index == 0 || index == 4 || index == 8) << x << " gives " << index;
    }
}

} // namespace
} // namespace quillory
