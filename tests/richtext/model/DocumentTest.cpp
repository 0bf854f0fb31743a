// Paragraph chain, segment and side-list operations of the document.
#include "richtext/model/Document.h"
#include "richtext/model/DocumentDump.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

TAttr bold()
{
    TAttr attr;
    attr.style = AttrStyle::Bold;
    return attr;
}

TEST(Document, NewDocumentHasOneEmptyParagraphAndIsEmpty)
{
    TWPRTFText doc;
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_EQ(doc.paragraphCount(), 1);
    EXPECT_EQ(DumpDocument(doc), "- | \"\" |\n");
    EXPECT_EQ(doc.firstParagraph()->lineCount(), 1);

    doc.appendText(*doc.firstParagraph(), "x", {});
    EXPECT_FALSE(doc.isEmpty());
    doc.firstParagraph()->firstLine()->setLength(0);
    doc.appendParagraphAtEnd();
    EXPECT_FALSE(doc.isEmpty()) << "two empty paragraphs are not an empty document";
}

TEST(Document, AppendedParagraphInheritsPropertiesButNotCellTabsOrEndedBorders)
{
    TWPRTFText doc;
    TParagraph& first = *doc.firstParagraph();
    first.leftIndent = 720;
    first.firstIndent = 360;
    first.spaceAfter = 120;
    first.alignment = Alignment::Center;
    first.shadingColors = 0x21;
    first.tabMask = 0b101;
    first.border.flags = BorderFlag::Present | BorderFlag::Box;
    first.border.width = 2;

    TParagraph* second = doc.appendParagraph(&first);
    EXPECT_TRUE(sameProperties(first, *second));
    EXPECT_EQ(second->prev(), &first);
    EXPECT_EQ(first.next(), second);

    first.border.flags |= BorderFlag::RunEnds;
    first.flags = ParFlag::TableCell;
    TParagraph* third = doc.appendParagraph(&first);
    EXPECT_EQ(third->next(), second) << "inserted between";
    EXPECT_EQ(second->prev(), third);
    EXPECT_EQ(third->border, BorderWord{});
    EXPECT_EQ(third->tabMask, 0u);
    EXPECT_EQ(third->leftIndent, 720);
    EXPECT_TRUE(third->isTableCell());
}

TEST(Document, NewSegmentStartsWithInsertionAttributes)
{
    TWPRTFText doc;
    doc.insertionAttr = bold();
    doc.defaultLineHeight = 21;
    TTextLine* line = doc.appendLine(*doc.firstParagraph(), doc.firstParagraph()->firstLine(), 3);
    EXPECT_EQ(line->capacity(), MinLineCapacity);
    EXPECT_EQ(line->attrs()[0], bold());
    EXPECT_EQ(line->height, 21);
    EXPECT_EQ(doc.firstParagraph()->lastLine(), line);
}

TEST(Document, SegmentCapacityIsEvenAndLimited)
{
    TTextLine line(9, true);
    EXPECT_EQ(line.capacity(), 10);
    line.resize(MaxLineCapacity);
    EXPECT_EQ(line.capacity(), MaxLineCapacity);
    try {
        line.resize(MaxLineCapacity + 1);
        FAIL() << "a segment of 10001 characters was made";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Line longer then\t10000 character!");
    }
    EXPECT_THROW(TTextLine(10001, false), Error);
}

TEST(Document, ShrinkingCutsTextAndKeepsTheClosingZero)
{
    TTextLine line(20, true);
    for (char c : std::string("abcdefghijklmno"))
        ASSERT_TRUE(line.append(c, bold()));
    line.resize(8);
    EXPECT_EQ(line.view(), "abcdefg");
    EXPECT_EQ(line.text()[7], '\0');
    EXPECT_EQ(line.attrs()[6], bold());
    EXPECT_FALSE(line.append('x', {})) << "a full segment keeps room for the zero byte";
}

TEST(Document, AppendTextFillsSegmentsAndStaysBelowTheLimit)
{
    TWPRTFText doc;
    const std::string text(25000, 'a');
    doc.appendText(*doc.firstParagraph(), text, bold());
    TParagraph& p = *doc.firstParagraph();
    EXPECT_EQ(p.text(), text);
    for (auto* line = p.firstLine(); line; line = line->next()) {
        EXPECT_LE(line->length(), line->capacity() - SegmentReserve);
        EXPECT_LE(line->capacity(), MaxLineCapacity);
    }
    doc.shrinkLines(p);
    for (auto* line = p.firstLine(); line; line = line->next())
        EXPECT_LE(line->capacity(), std::max(MinLineCapacity, line->length() + 2));
    EXPECT_EQ(p.text(), text);
}

TEST(Document, SplitMovesTheTailWithItsAttributes)
{
    TWPRTFText doc;
    TParagraph& p = *doc.firstParagraph();
    p.alignment = Alignment::Right;
    doc.appendText(p, "Hello", {});
    doc.appendText(p, "World", bold());
    doc.appendLine(p, p.lastLine(), 20);
    doc.appendText(p, "!", {});

    doc.splitParagraph({0, 0, 3});
    EXPECT_EQ(DumpDocument(doc), "qr | \"Hel\" | 3 f0\n"
                                 "qr | \"loWorld\" \"!\" | 2 f0, 5 f0 b, 1 f0\n");
}

TEST(Document, LastSegmentFollowsEveryChangeOfTheChain)
{
    TWPRTFText doc;
    TParagraph& p = *doc.firstParagraph();
    TTextLine* first = p.firstLine();
    TTextLine* second = doc.appendLine(p, first);
    TTextLine* third = doc.appendLine(p, second);
    EXPECT_EQ(p.lastLine(), third);
    doc.appendLine(p, nullptr);
    EXPECT_EQ(p.lastLine(), third);
    doc.deleteLine(p, third);
    EXPECT_EQ(p.lastLine(), second);
    first->append('a', {});
    first->append('b', {});
    TParagraph* tail = doc.splitParagraph({0, 1, 1});
    EXPECT_EQ(p.lastLine(), first);
    EXPECT_EQ(tail->lastLine(), second);
    EXPECT_EQ(tail->firstLine()->next(), second);
    EXPECT_EQ(DumpText(doc), "a\nb\n");
}

TEST(Document, DeletingParagraphsRelinksAndNeverLeavesTheDocumentEmpty)
{
    TWPRTFText doc;
    doc.appendText(*doc.firstParagraph(), "one", {});
    TParagraph* two = doc.appendParagraphAtEnd();
    doc.appendText(*two, "two", {});
    TParagraph* three = doc.appendParagraphAtEnd();
    doc.appendText(*three, "three", {});

    doc.deleteParagraph(two);
    EXPECT_EQ(DumpText(doc), "one\nthree\n");
    EXPECT_EQ(doc.firstParagraph()->next(), three);
    EXPECT_EQ(three->prev(), doc.firstParagraph());
    doc.deleteParagraph(doc.firstParagraph());
    EXPECT_EQ(three->prev(), nullptr);
    doc.deleteParagraph(three);
    EXPECT_TRUE(doc.isEmpty());
}

TEST(Document, LongChainsAreFreedWithoutDeepRecursion)
{
    auto doc = std::make_unique<TWPRTFText>();
    TParagraph* last = doc->firstParagraph();
    for (int i = 0; i < 300000; ++i)
        last = doc->appendParagraph(last);
    for (int i = 0; i < 100000; ++i)
        doc->appendLine(*last, last->firstLine());
    doc.reset();
}

TEST(Document, PlainTextFormatDropsAttributes)
{
    TWPRTFText doc;
    doc.appendText(*doc.firstParagraph(), "abc", bold());
    doc.setMemoryFormat(MemoryFormat::fmPlainText);
    EXPECT_EQ(DumpDocument(doc), "- | \"abc\" | plain\n");
    EXPECT_FALSE(doc.appendParagraphAtEnd()->firstLine()->hasAttributes());
    doc.insertionAttr = bold();
    doc.setMemoryFormat(MemoryFormat::fmRichText);
    EXPECT_EQ(DumpParagraph(*doc.firstParagraph()), "- | \"abc\" | 3 f0 b");
}

TEST(Document, IndentSnapping)
{
    TWPRTFText doc;
    EXPECT_EQ(doc.snapIndent(500), 500) << "no resolution yet: unchanged";
    doc.header().resolutionX = 96;
    struct Row { bool metric; int in, out; } rows[] = {
        {false, 0, 0}, {false, 70, 0}, {false, 71, 144}, {false, 500, 432}, {false, 720, 720},
        {true, 69, 0}, {true, 70, 141}, {true, 282, 282}, {false, -200, -144},
    };
    for (const Row& row : rows) {
        doc.header().metricRuler = row.metric;
        EXPECT_EQ(doc.snapIndent(row.in), row.out) << row.in << (row.metric ? " metric" : " inch");
    }
}

TEST(Document, ObjectsAndFootnotesGetFreeNumbers)
{
    TWPRTFText doc;
    TTextObject& a = doc.addObject(nullptr, 0);
    TTextObject& b = doc.addObject(std::make_unique<TGraphic>(), 7);
    TTextObject& c = doc.addObject(nullptr, -1);
    EXPECT_EQ(a.tag, 1);
    EXPECT_EQ(b.tag, 7);
    EXPECT_EQ(c.tag, 8);
    c.fileName = "pic.bmp";
    EXPECT_EQ(doc.findObject(7), &b);
    EXPECT_EQ(doc.findObject(2), nullptr);
    EXPECT_EQ(doc.findObjectByFileName("pic.bmp"), &c);
    EXPECT_EQ(doc.findObjectByFileName(""), nullptr);

    EXPECT_EQ(doc.addFootnote({}).number, 1);
    TFootnote five;
    five.number = 5;
    EXPECT_EQ(doc.addFootnote(five).number, 5);
    EXPECT_EQ(doc.addFootnote({}).number, 6);
    EXPECT_EQ(doc.findFootnote(5)->number, 5);
    EXPECT_EQ(doc.findFootnote(2), nullptr);
}

TEST(Document, AbsolutePositionsCountParagraphEnds)
{
    TWPRTFText doc;
    TParagraph& p = *doc.firstParagraph();
    doc.appendText(p, "abc", {});
    doc.appendLine(p, p.lastLine());
    doc.appendText(p, "de", {});
    doc.appendText(*doc.appendParagraphAtEnd(), "fgh", {});
    // Text: "abc|de" \n "fgh"
    struct Row { TextPosition at; long absolute; } rows[] = {
        {{0, 0, 0}, 0}, {{0, 0, 2}, 2}, {{0, 1, 0}, 3}, {{0, 1, 2}, 5}, {{1, 0, 0}, 6}, {{1, 0, 3}, 9},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(doc.absolutePosition(row.at), row.absolute) << row.at;
        EXPECT_EQ(doc.positionAt(row.absolute), row.at) << row.absolute;
    }
    EXPECT_EQ(doc.characterCount(), 9);
    EXPECT_EQ(doc.positionAt(100), (TextPosition{1, 0, 3}));

    doc.selection = {{1, 0, 1}, {0, 0, 1}, true};
    EXPECT_EQ(doc.selectionRange(), (TextRange{1, 6}));
}

} // namespace
} // namespace quillory
