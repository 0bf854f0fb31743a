// The RTF writer's dialect, byte for byte.
#include "richtext/rtf/RtfWriter.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

const std::string Header =
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss\\charset0 Arial;}}{\\colortbl"
    "\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue255;"
    "\\red255\\green255\\blue0;\\red255\\green0\\blue255;\\red128\\green0\\blue128;\\red128\\green0\\blue0;"
    "\\red0\\green255\\blue0;\\red0\\green255\\blue255;\\red0\\green128\\blue128;\\red0\\green0\\blue128;"
    "\\red255\\green255\\blue255;\\red192\\green192\\blue192;\\red128\\green128\\blue128;}"
    "\\paperw12240\\paperh15840\\margl1880\\margr1880\\margt1440\\margb1440";
const std::string Plain = "\\plain\\f0\\fs20\\cf0 ";
const std::string Trailer = "}\r\n}";

// The body: what follows the header, without the trailer.
std::string body(const TWPRTFText& doc, const WriterOptions& options = {})
{
    int result = -1;
    std::string rtf = WriteRtf(doc, options, &result);
    EXPECT_EQ(result, WriteResult::Ok);
    EXPECT_EQ(rtf.substr(0, Header.size()), Header);
    EXPECT_EQ(rtf.substr(rtf.size() - Trailer.size()), Trailer);
    return rtf.substr(Header.size(), rtf.size() - Header.size() - Trailer.size());
}

TParagraph& addParagraph(TWPRTFText& doc, std::string_view text, const TAttr& attr = {})
{
    TParagraph* p = doc.firstParagraph()->length() == 0 && !doc.firstParagraph()->next()
                        && doc.isEmpty() ? doc.firstParagraph() : doc.appendParagraphAtEnd();
    doc.appendText(*p, text, attr);
    return *p;
}

TEST(RtfWriter, WorkedExampleOfTwoParagraphs)
{
    TWPRTFText doc;
    addParagraph(doc, "Hello");
    addParagraph(doc, "World");
    EXPECT_EQ(WriteRtf(doc), Header + "{\\plain\\f0\\fs20\\cf0 Hello\\par\n\r\\plain\\f0\\fs20\\cf0 World}\r\n}");
}

TEST(RtfWriter, EmptyDocumentIsHeaderAndOneEmptyGroup)
{
    TWPRTFText doc;
    EXPECT_EQ(WriteRtf(doc), Header + "{}\r\n}");
}

TEST(RtfWriter, HeaderFontsColoursPageAndInformation)
{
    TWPRTFText doc;
    TTextHeader& h = doc.header();
    h.addFont("Times New Roman", 0x12, 0);
    h.addFont("Courier New", 0x31, 0);
    h.addFont("Symbol", 0x52, 2);
    h.addFont("Script", 0x42, 0);
    h.colors[15] = {1, 2, 3};
    h.colors[1] = {10, 20, 30};
    h.paperWidth = 11906;
    h.marginTop = 1000;
    h.title = "My {day}";
    h.subject = "S";
    h.comment = "caf\u00e9";
    const std::string rtf = WriteRtf(doc);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fswiss\\charset0 Arial;}{\\f1\\fnil\\charset0 Times New Roman;}"
                       "{\\f2\\fmodern\\charset0 Courier New;}{\\f3\\fdecor\\charset2 Symbol;}"
                       "{\\f4\\fscript\\charset0 Script;}}"),
              std::string::npos);
    EXPECT_NE(rtf.find("{\\colortbl\\red0\\green0\\blue0;\\red10\\green20\\blue30;"), std::string::npos);
    EXPECT_EQ(rtf.find("\\red1\\green2\\blue3"), std::string::npos) << "colour 15 is never written";
    EXPECT_NE(rtf.find("\\paperw11906\\paperh15840\\margl1880\\margr1880\\margt1000\\margb1440"
                       "{\\title My \\{day\\}}{\\subject\tS}{\\comment\tcaf\\'e9}{"),
              std::string::npos);
}

TEST(RtfWriter, PlainTextFormatWritesOnlyTheDefaultFont)
{
    TWPRTFText doc;
    doc.header().addFont("Courier New", 0x31);
    addParagraph(doc, "a{b}");
    doc.setMemoryFormat(MemoryFormat::fmPlainText);
    const std::string rtf = WriteRtf(doc);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fswiss\\charset0 Arial;}}"), std::string::npos);
    EXPECT_NE(rtf.find("{a\\{b\\}}\r\n}"), std::string::npos) << "no attribute blocks";
}

TEST(RtfWriter, ParagraphEndsAreLfCrAndOnlyBetweenParagraphs)
{
    TWPRTFText doc;
    addParagraph(doc, "one");
    EXPECT_EQ(body(doc).find("\\par"), std::string::npos);
    addParagraph(doc, "two");
    addParagraph(doc, "three");
    const std::string b = body(doc);
    EXPECT_EQ(b, "{" + Plain + "one\\par\n\r" + Plain + "two\\par\n\r" + Plain + "three");
}

TEST(RtfWriter, TextEscaping)
{
    struct Row { std::string text; std::string rtf; } rows[] = {
        {"a\\b{c}d", "a\\\\b\\{c\\}d"},
        {"x\ty", "x\\tab y"},
        {"x\ny", "x\\line y"},
        {"\u00e9\x7f\u20ac\u00ff", "\\'e9\\'7f\\'80\\'ff"},
        {std::string("a\x01\x02\x03" "b", 5), "ab"},
        {"~ !", "~ !"},
    };
    for (const Row& row : rows) {
        TWPRTFText doc;
        addParagraph(doc, row.text);
        EXPECT_EQ(body(doc), "{" + Plain + row.rtf) << row.rtf;
    }
}

TEST(RtfWriter, AttributeBlocksInTheirOrder)
{
    struct Row { TAttr attr; std::string block; } rows[] = {
        {{.font = 2, .size = 12}, "\\plain\\f2\\fs24\\cf0 "},
        {{.color = 0x31}, "\\plain\\f0\\fs20\\cf1\\cb3 "},
        {{.color = 0x0F}, "\\plain\\f0\\fs20\\cf15 "},
        {{.style = 0xFF}, "\\plain\\f0\\fs20\\cf0\\b\\ul\\uldb\\super\\sub\\i\\strike "},
        {{.flags = AttrFlag::Protected | AttrFlag::Hidden}, "\\plain\\f0\\fs20\\cf0\\shad\\v "},
        {{.flags = AttrFlag::InsertPoint, .tag = 7}, "\\plain\\f0\\fs20\\cf0\\inspnt7 "},
        {{.flags = AttrFlag::Automatic}, "\\plain\\f0\\fs20\\cf0\\inaut "},
    };
    for (const Row& row : rows) {
        TWPRTFText doc;
        addParagraph(doc, "x", row.attr);
        EXPECT_EQ(body(doc), "{" + row.block + "x") << row.block;
    }
}

TEST(RtfWriter, EveryRunAndEverySegmentStartsWithAFullBlock)
{
    TWPRTFText doc;
    TParagraph& p = addParagraph(doc, "ab");
    doc.appendText(p, "cd", {.style = AttrStyle::Bold});
    doc.appendLine(p, p.lastLine());
    doc.appendText(p, "ef", {.style = AttrStyle::Bold});
    EXPECT_EQ(body(doc), "{" + Plain + "ab\\plain\\f0\\fs20\\cf0\\b cd\\plain\\f0\\fs20\\cf0\\b ef");
}

TEST(RtfWriter, DefaultSizeAndSizeTenAreOneRun)
{
    TWPRTFText doc;
    TParagraph& p = addParagraph(doc, "ab");
    doc.appendText(p, "cd", {.size = 10});
    EXPECT_EQ(body(doc), "{" + Plain + "abcd");
}

TEST(RtfWriter, InsertPointCharactersStandAloneAndCanBeOmitted)
{
    TWPRTFText doc;
    const TAttr ins{.flags = AttrFlag::InsertPoint, .tag = 3};
    const TAttr aut{.flags = AttrFlag::Automatic};
    TParagraph& p = addParagraph(doc, "ab", ins);
    doc.appendText(p, "cd", aut);
    const std::string insBlock = "\\plain\\f0\\fs20\\cf0\\inspnt3 ";
    EXPECT_EQ(body(doc), "{" + insBlock + "a" + insBlock + "b\\plain\\f0\\fs20\\cf0\\inaut cd");
    EXPECT_EQ(body(doc, {.omitInsertPoints = true, .omitAutomaticText = true}),
              "{" + Plain + Plain + Plain);
}

TEST(RtfWriter, HiddenRunAtParagraphEndWritesPlainPar)
{
    TWPRTFText doc;
    addParagraph(doc, "secret", {.flags = AttrFlag::Hidden});
    addParagraph(doc, "open");
    addParagraph(doc, "x");
    EXPECT_EQ(body(doc), "{\\plain\\f0\\fs20\\cf0\\v secret\\plain\\par\n\r" + Plain + "open\\par\n\r" + Plain + "x");
}

TEST(RtfWriter, RtfCodeRunsAreUnescapedAndClosed)
{
    TWPRTFText doc;
    const TAttr code{.flags = AttrFlag::RtfCode};
    TParagraph& p = addParagraph(doc, "{\\b x}", code);
    doc.appendText(p, "\t\u00e9", code);
    doc.appendText(p, "{y}", {});
    TParagraph& q = addParagraph(doc, "\\par", code);
    (void)q;
    EXPECT_EQ(body(doc), "{\\plain\\f0\\fs20\\cf0\\wprtf1 {\\b x}\\tab \\'e9"
                         "\\wprtf0\\plain\\f0\\fs20\\cf0 \\{y\\}\\par\n\r"
                         "\\plain\\f0\\fs20\\cf0\\wprtf1 \\par\\wprtf0");
}

TEST(RtfWriter, ParagraphPropertiesAreWrittenWhenTheyChange)
{
    TWPRTFText doc;
    TParagraph& a = addParagraph(doc, "a");
    a.alignment = Alignment::Center;
    a.leftIndent = 720;
    a.firstIndent = 360;
    a.rightIndent = 100;
    TParagraph& b = addParagraph(doc, "b"); // inherits all of a
    (void)b;
    TParagraph& c = addParagraph(doc, "c");
    c.copyPropertiesFrom(a);
    c.alignment = Alignment::Justified;
    c.spaceBefore = 60;
    c.spaceAfter = 120;
    c.lineSpacing = 0;
    TParagraph& d = addParagraph(doc, "d");
    d.lineSpacing = 240;
    d.flags = ParFlag::PageBreakBefore | ParFlag::KeepWithNext;
    EXPECT_EQ(body(doc), "{\\qc\\li720\\fi-360\\ri100 " + Plain + "a\\par\n\r"
                         + Plain + "b\\par\n\r"
                         "\\qj\\sb60\\sl\\sa120 " + Plain + "c\\par\n\r"
                         "\\page\\keep \\sb60\\sl240\\sa120 " + Plain + "d");
}

TEST(RtfWriter, TabGroupsOpenAndCloseWithTheTabSet)
{
    TWPRTFText doc;
    TTextHeader& h = doc.header();
    const int left = h.addTab(720, TTabKind::tkLeft);
    const int right = h.addTab(5000, TTabKind::tkRight);
    const int center = h.addTab(3000, TTabKind::tkCenter);
    const int dec = h.addTab(4000, TTabKind::tkDecimal);
    TParagraph& a = addParagraph(doc, "a");
    a.tabMask = (1ull << left) | (1ull << right);
    addParagraph(doc, "b"); // same tabs
    TParagraph& c = addParagraph(doc, "c");
    c.tabMask = (1ull << center) | (1ull << dec);
    TParagraph& d = addParagraph(doc, "d");
    d.tabMask = 0;
    EXPECT_EQ(body(doc), "{{\\tx720\\tqr\\tx5000 " + Plain + "a\\par\n\r"
                         + Plain + "b\\par\n\r"
                         "}{\\tqc\\tx3000\\tqdec\\tx4000 " + Plain + "c\\par\n\r"
                         "}" + Plain + "d");
}

TEST(RtfWriter, BorderGroupsSpanTheirRun)
{
    TWPRTFText doc;
    TParagraph& a = addParagraph(doc, "a");
    a.border = {.flags = BorderFlag::Present | BorderFlag::Box | BorderFlag::Double, .extra = BorderExtra::Dotted,
                .width = 2, .spacingColor = 0x13};
    addParagraph(doc, "b");
    TParagraph& c = addParagraph(doc, "c");
    c.border = {.flags = BorderFlag::Present | BorderFlag::Top | BorderFlag::Bottom,
                .extra = BorderExtra::Bar | BorderExtra::TabLine | BorderExtra::Hairline, .width = 1};
    TParagraph& d = addParagraph(doc, "d");
    d.border = {};
    EXPECT_EQ(body(doc), "{{\\box\\brdrdb\\brdrw40\\brsp57\\brdrcf3\\brdrdot " + Plain + "a\\par\n\r"
                         + Plain + "b\\par\n\r"
                         "}{\\brdrt\\brdrs\\brdrb\\brdrs\\brdrbar\\brdrtablin\\brdrw20\\brdrhair " + Plain + "c\\par\n\r"
                         "}" + Plain + "d");
}

TEST(RtfWriter, EndedBorderRunStartsANewGroup)
{
    TWPRTFText doc;
    const BorderWord box{.flags = BorderFlag::Present | BorderFlag::Box, .width = 1};
    TParagraph& a = addParagraph(doc, "a");
    a.border = box;
    a.border.flags |= BorderFlag::RunEnds;
    TParagraph& b = addParagraph(doc, "b");
    b.border = box;
    EXPECT_EQ(body(doc), "{{\\box\\brdrs\\brdrw20 " + Plain + "a\\par\n\r}{\\box\\brdrs\\brdrw20 " + Plain + "b}");
}

TEST(RtfWriter, ShadingGroupEndsWithItsParagraph)
{
    TWPRTFText doc;
    struct Row { std::uint8_t colors, percent; std::string words; } rows[] = {
        {0x21, 20, "{\\shading2000\\cfpat1\\cbpat2 "},
        {0x21, 100, "{\\shading10000\\cfpat1 "},
        {0x21, 0, "{\\shading1\\cfpat1\\cbpat2 "}, // no percent, as it reads back: no pattern shows
        {0x20, 0, "{\\shading1\\cfpat0\\cbpat2 "},
        {0x00, 30, "{\\shading3000\\cfpat0\\cbpat0 "}, // black: once left out
    };
    for (const Row& row : rows) {
        TWPRTFText doc;
        TParagraph& a = addParagraph(doc, "a");
        a.shadingColors = row.colors;
        a.shadingPercent = row.percent;
        a.alignment = Alignment::Right;
        TParagraph& b = addParagraph(doc, "b");
        b.shadingColors = 0;
        b.shadingPercent = 0;
        EXPECT_EQ(body(doc), "{\\qr " + row.words + Plain + "a\\par\n\r}" + Plain + "b") << row.words;
    }
    TParagraph& last = addParagraph(doc, "z");
    last.shadingColors = 0x01;
    EXPECT_EQ(body(doc), "{{\\shading1\\cfpat1\\cbpat0 " + Plain + "z}") << "closed by the trailer";
}

// Without the block, "a" boxed and an empty last paragraph after or inside its border were
// written alike, and both read back as a border run ending at "a" with a boxed paragraph after.
TEST(RtfWriter, EmptyLastParagraphWhereGroupsCloseHasAnAttributeBlock)
{
    const BorderWord box{.flags = BorderFlag::Present | BorderFlag::Box, .width = 1};
    const std::string boxed = "{{\\box\\brdrs\\brdrw20 " + Plain + "a\\par\n\r";
    struct Row { const char* name; bool lastBoxed; bool firstBoxed; std::string body; } rows[] = {
        {"after a border", false, true, boxed + "}" + Plain},
        {"inside a border", true, true, boxed + Plain + "}"},
        {"no groups", false, false, "{" + Plain + "a\\par\n\r"},
    };
    for (const Row& row : rows) {
        TWPRTFText doc;
        if (row.firstBoxed)
            addParagraph(doc, "a").border = box;
        else
            addParagraph(doc, "a");
        doc.appendParagraphAtEnd()->border = row.lastBoxed ? box : BorderWord{};
        EXPECT_EQ(body(doc), row.body) << row.name;
    }
}

TEST(RtfWriter, FailingStreamGivesSeven)
{
    struct Limited : TWPOutputStream {
        std::size_t room;
        explicit Limited(std::size_t n) : room(n) {}
        std::size_t Write(std::string_view bytes) override
        {
            const std::size_t n = std::min(room, bytes.size());
            room -= n;
            return n;
        }
    };
    TWPRTFText doc;
    addParagraph(doc, std::string(500, 'x'));
    const std::size_t full = WriteRtf(doc).size();
    for (std::size_t room : {std::size_t(0), std::size_t(100), Header.size() + 50, full - 1}) {
        Limited stream(room);
        TWPRTFWriter writer(doc);
        EXPECT_EQ(writer.Write(stream), WriteResult::Failed) << room;
    }
    Limited enough(full);
    TWPRTFWriter writer(doc);
    EXPECT_EQ(writer.Write(enough), WriteResult::Ok);
}

TEST(RtfWriter, NothingToWriteWithoutParagraphs)
{
    TWPRTFText doc;
    TWPRTFWriter writer(doc);
    writer.SetRange(nullptr);
    TWPStringStream stream;
    EXPECT_EQ(writer.Write(stream), WriteResult::NothingToWrite);
}

TEST(RtfWriter, PartialRangeStartsInsideASegment)
{
    TWPRTFText doc;
    addParagraph(doc, "Hello");
    TParagraph& b = addParagraph(doc, "World");
    addParagraph(doc, "Tail");
    TWPRTFWriter writer(doc);
    writer.SetRange(doc.firstParagraph(), &b, doc.firstParagraph()->firstLine(), 3);
    TWPStringStream stream;
    EXPECT_EQ(writer.Write(stream), WriteResult::Ok);
    EXPECT_EQ(stream.data(), Header + "{" + Plain + "lo\\par\n\r" + Plain + "World}\r\n}");
}

} // namespace
} // namespace quillory
