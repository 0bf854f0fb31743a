// What painting and printing draw, recorded by the fixed-metrics canvas.
#include "LayoutFixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quillory {
namespace {

bool hasCall(const FixedCanvas& canvas, const std::string& call)
{
    const auto& calls = canvas.calls();
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

std::string allCalls(const FixedCanvas& canvas)
{
    std::string out;
    for (const auto& call : canvas.calls())
        out += call + "\n";
    return out;
}

TEST(Painting, DrawsRunsWithTheirColoursAndPositions)
{
    LaidDocument d;
    TParagraph& p = d.add("ab ");
    TAttr red;
    red.setTextColor(1);
    red.setBackColor(4);
    red.style = AttrStyle::Underline;
    d.doc.appendText(p, "cd", red);
    TParagraph& right = d.add("xy");
    right.alignment = Alignment::Right;
    d.layout();

    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 100}, 0, 0);
    ASSERT_EQ(screen.texts().size(), 3u);
    EXPECT_EQ(screen.texts()[0].text, "ab ");
    EXPECT_EQ(screen.texts()[0].baseline, 16);
    EXPECT_EQ(screen.texts()[1].text, "cd");
    EXPECT_EQ(screen.texts()[1].x, 30);
    EXPECT_EQ(screen.texts()[1].color, (RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(screen.texts()[2].x, 180);
    EXPECT_EQ(screen.texts()[2].baseline, 36);
    EXPECT_TRUE(hasCall(screen, "fill 30,0 20x20 ffff00")) << allCalls(screen);
    EXPECT_TRUE(hasCall(screen, "line 30,17 50,17 w1 ff0000")) << allCalls(screen);
}

TEST(Painting, OnlyLinesInTheUpdateRegionAreDrawn)
{
    LaidDocument d;
    for (const char* text : {"one", "two", "three", "four"})
        d.add(text);
    d.layout();
    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 15}, 0, 30); // document rows 30..45
    EXPECT_EQ(screen.drawnText(), "two|three");
    EXPECT_EQ(screen.texts()[0].baseline, 20 + 16 - 30);
}

TEST(Painting, JustifiedBlanksAreWidenedInTheDrawnRun)
{
    LaidDocument d;
    TParagraph& p = d.add("aa bb cc dddddddddddddddd");
    p.alignment = Alignment::Justified;
    d.layout();
    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 100}, 0, 0);
    const auto& first = screen.texts()[0];
    EXPECT_EQ(first.text, "aa bb cc ");
    EXPECT_EQ(first.advances, (std::vector<int>{10, 10, 62, 10, 10, 62, 10, 10, 10}));
}

TEST(Painting, DisplayAttributesOverrideStyleAndColour)
{
    LaidDocument d;
    TParagraph& p = d.add("a");
    TAttr link;
    link.style = AttrStyle::Hyperlink;
    d.doc.appendText(p, "link", link);
    d.doc.hyperlinkTextAttr.underline = TThreeState::tsTRUE;
    d.doc.hyperlinkTextAttr.bold = TThreeState::tsTRUE;
    d.doc.hyperlinkTextAttr.underlineColor = 0xFF0000; // blue
    d.doc.hyperlinkTextAttr.useUnderlineColor = true;
    d.doc.hyperlinkTextAttr.textColor = 0x00FF00;
    d.doc.hyperlinkTextAttr.useTextColor = true;
    d.layout();
    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 100}, 0, 0);
    ASSERT_EQ(screen.texts().size(), 2u);
    EXPECT_TRUE(screen.texts()[1].font.bold);
    EXPECT_EQ(screen.texts()[1].color, (RGBColor{0, 255, 0, 0}));
    EXPECT_TRUE(hasCall(screen, "line 10,17 50,17 w1 0000ff")) << allCalls(screen);
}

TEST(Painting, SelectionIsInvertedAcrossLines)
{
    LaidDocument d;
    d.add("abcd");
    d.add("efgh");
    d.layout();
    d.doc.selection.blockStart = {1, 0, 2};
    d.doc.selection.blockEnd = {0, 0, 1}; // made backwards
    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 100}, 0, 0);
    EXPECT_TRUE(hasCall(screen, "invert 10,0 34x20")) << allCalls(screen); // to the end, and the paragraph end
    EXPECT_TRUE(hasCall(screen, "invert 0,20 20x20")) << allCalls(screen);
}

TEST(Painting, BordersEncloseARunOfParagraphsAndShadingFillsIt)
{
    LaidDocument d;
    d.add("before");
    BorderWord box;
    box.flags = BorderFlag::Present | BorderFlag::Box;
    box.width = 1;
    TParagraph& a = d.add("a");
    a.border = box;
    a.leftIndent = a.firstIndent = 300; // 20 px
    a.shadingPercent = 20;
    TParagraph& b = d.add("b");
    b.border = box;
    b.border.flags |= BorderFlag::RunEnds;
    b.leftIndent = b.firstIndent = 150; // 10 px: the run's box starts here
    b.shadingPercent = 20;
    TParagraph& c = d.add("c");
    c.border = box;
    d.layout();
    ASSERT_EQ(d.engine.boxes().size(), 2u);
    // Two pixels off the text on either side.
    EXPECT_EQ(d.engine.boxes()[0].rect, (Rect{8, 20, 194, 40}));
    EXPECT_EQ(d.engine.boxes()[1].rect, (Rect{-2, 60, 204, 20}));

    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 100}, 0, 0);
    EXPECT_TRUE(hasCall(screen, "shade 8,20 194x40 000000 ffffff 20%")) << allCalls(screen);
    EXPECT_TRUE(hasCall(screen, "line 8,20 201,20 w1 000000")) << allCalls(screen);
    EXPECT_TRUE(hasCall(screen, "line 8,59 201,59 w1 000000")) << allCalls(screen);
}

TEST(Painting, PicturesAreDrawnAtTheirDisplaySize)
{
    LaidDocument d;
    TParagraph& p = d.add("a");
    auto graphic = std::make_unique<TGraphic>();
    graphic->bytes = "BM-not-really";
    TTextObject& object = d.doc.addObject(std::move(graphic));
    object.width = 600; // 40 x 30 px
    object.height = 450;
    TAttr placeholder;
    placeholder.flags = AttrFlag::Object;
    placeholder.tag = object.tag;
    d.doc.appendText(p, "\x01", placeholder);
    d.layout();
    EXPECT_EQ(p.firstLine()->height, 34); // the picture and the font's descent
    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 100}, 0, 0);
    EXPECT_TRUE(hasCall(screen, "picture 10,0 40x30 13 bytes")) << allCalls(screen);
    EXPECT_EQ(screen.drawnText(), "a");
}

TEST(Painting, PageBreakLinesAreDrawnWhenAsked)
{
    LaidDocument d;
    d.add("a\nb\nc\nd\ne\nf");
    d.layout();
    FixedCanvas screen;
    d.engine.paint(screen, {0, 0, 200, 200}, 0, 0);
    EXPECT_TRUE(hasCall(screen, "line 0,100 200,100 w1 dotted 808080")) << allCalls(screen);
    d.engine.showPageBreak = false;
    FixedCanvas plain;
    d.engine.paint(plain, {0, 0, 200, 200}, 0, 0);
    EXPECT_FALSE(hasCall(plain, "line 0,100 200,100 w1 dotted 808080"));
}

TEST(Printing, RectangleTakesTheLinesThatFitAndTellsWhereToGoOn)
{
    LaidDocument d;
    for (char c = 'a'; c <= 'j'; ++c)
        d.add(std::string(1, c));
    d.layout();
    FixedCanvas printer(192); // twice the screen's pixels
    EXPECT_EQ(d.engine.printRectangle(printer, 50, 60, 400, 200, 0, false), 6);
    EXPECT_TRUE(printer.texts().empty());
    EXPECT_EQ(d.engine.printRectangle(printer, 50, 60, 400, 200, 6, true), 0);
    EXPECT_EQ(printer.drawnText(), "f|g|h|i|j");
    EXPECT_TRUE(hasCall(printer, "transform 2 2 50,60")) << allCalls(printer);
    EXPECT_EQ(printer.texts()[0].baseline, 16); // the first line at the rectangle's top
}

TEST(Printing, ALineTallerThanTheRectangleIsPrintedRatherThanNever)
{
    LaidDocument d;
    d.add("a");
    d.add("b");
    d.layout();
    FixedCanvas printer;
    EXPECT_EQ(d.engine.printRectangle(printer, 0, 0, 200, 10, 1, false), 1);
    EXPECT_EQ(d.engine.printRectangle(printer, 0, 0, 200, 10, 1, true), 2);
    EXPECT_EQ(printer.drawnText(), "a");
}

TEST(Printing, PagesComeWithHeaderFooterAndPageBreaks)
{
    LaidDocument d;
    d.doc.header().marginTop = 150; // 20 device px at 192 dpi
    d.add("a\nb\nc\nd\ne\nf\ng");
    d.doc.header().paperHeight = 1650; // keeps the 100 px text height
    d.layout();
    ASSERT_EQ(d.engine.pageCount(), 2);
    FixedCanvas printer(192);
    std::vector<std::string> events;
    PrintJob job;
    job.offsetX = 100;
    job.offsetY = 40;
    job.header = [&](Canvas&, int x, int y, int w, int h, int page, int line) {
        events.push_back("header " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(w) + "x"
                         + std::to_string(h) + " page " + std::to_string(page) + " line " + std::to_string(line));
    };
    job.newPage = [&] { events.push_back("new page"); };
    d.engine.print(printer, 0, 16777215, job);
    EXPECT_EQ(events, (std::vector<std::string>{"header 100,20 400x20 page 1 line 1", "new page",
                                                "header 100,20 400x20 page 2 line 6"}));
    EXPECT_EQ(printer.drawnText(), "a |b |c |d |e |f |g"); // soft breaks draw as blanks
    EXPECT_EQ(printer.texts()[5].baseline, 16); // the second page starts at its top
}

} // namespace
} // namespace quillory
