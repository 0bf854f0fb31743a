// Tests of the RTF reader over small inline documents: text, attributes, destinations,
// paragraphs, tables, RTF-code runs, footnotes, objects and the header tables.
#include "RtfReaderTestSupport.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

using namespace quillory;
using quillory::testing::ReadRtf;

namespace {

struct DumpCase {
    const char* name;
    std::string_view rtf;
    std::string_view dump; // DumpDocument of the result
};

void ExpectDumps(std::span<const DumpCase> cases)
{
    for (const auto& c : cases) {
        const auto read = ReadRtf(c.rtf);
        EXPECT_EQ(read.result, 0) << c.name;
        EXPECT_EQ(DumpDocument(*read.document), c.dump) << c.name << "\n" << c.rtf;
    }
}

TEST(RtfReader, ReadsTextAndCharacterAttributes)
{
    const DumpCase cases[] = {
        {"plain text in font 0 at 10 points", "{\\rtf1 abc}", "- | \"abc\" | 3 f0 s10\n"},
        {"nothing after the outermost group", "{\\rtf1 a\\par b}{\\rtf1 c}def",
         "- | \"a\" | 1 f0 s10\n- | \"b\" | 1 f0 s10\n"},
        {"raw line ends are no breaks", "{\\rtf1 a\r\nb\n\rc\\par\r\nd}",
         "- | \"abc\" | 3 f0 s10\n- | \"d\" | 1 f0 s10\n"},
        {"on, off, plain", "{\\rtf1 a\\b b\\b0 c\\b1 d\\plain e}",
         "- | \"abcde\" | 1 f0 s10, 1 f0 s10 b, 1 f0 s10, 1 f0 s10 b, 1 f0\n"},
        {"sizes: 0 is 10, odd half-points round down, bare \\fs is 50",
         "{\\rtf1 a\\fs0 b\\fs23 c\\fs d}", "- | \"abcd\" | 2 f0 s10, 1 f0 s11, 1 f0 s50\n"},
        {"styles and flags", "{\\rtf1 \\i\\ul\\strike\\uldb\\shad\\v\\sub a\\nosupersub\\i0\\ul0 b}",
         "- | \"ab\" | 1 f0 s10 i u strike link sub hidden prot, 1 f0 s10 strike link hidden prot\n"},
        {"superscript, insert points, automatic text",
         "{\\rtf1 \\super a\\super0 b\\inspnt7 c\\inaut d\\inaut0 e}",
         "- | \"abcde\" | 1 f0 s10 super, 1 f0 s10, 1 f0 s10 ins #7, 1 f0 s10 auto, 1 f0 s10\n"},
        {"colours beyond 15 are ignored", "{\\rtf1 \\cf3\\cb12 a\\cf16 b\\cb0 c}",
         "- | \"abc\" | 2 f0 s10 c3 bg12, 1 f0 s10 c3\n"},
        {"\\ulnone ends underlining", "{\\rtf1 {\\ul a\\ulnone b}{\\ul\\b c\\ulnone\\ul0 d}e}",
         "- | \"abcde\" | 1 f0 s10 u, 1 f0 s10, 1 f0 s10 b u, 1 f0 s10 b, 1 f0 s10\n"},
        {"\\highlight is the background colour", "{\\rtf1 a{\\highlight7 b\\highlight0 c\\cb3\\highlight16 d}e}",
         "- | \"abcde\" | 1 f0 s10, 1 f0 s10 bg7, 1 f0 s10, 1 f0 s10 bg3, 1 f0 s10\n"},
        {"a group restores attributes", "{\\rtf1 a{\\b\\i b}c}",
         "- | \"abc\" | 1 f0 s10, 1 f0 s10 b i, 1 f0 s10\n"},
        {"hex characters; a bad digit is text", "{\\rtf1 \\'e9\\'E9\\'4a\\'zz}",
         "- | \"\\xc3\\xa9\\xc3\\xa9Jzz\" | 7 f0 s10\n"},
        {"escaped braces and backslash", "{\\rtf1 \\{\\}\\\\}", "- | \"{}\\\\\" | 3 f0 s10\n"},
        {"tab and soft line break", "{\\rtf1 a\\tab b\\line c}", "- | \"a\\tb\\nc\" | 5 f0 s10\n"},
        // Byte 2 is a placeholder code too, which the writer writes as nothing without its object.
        {"NUL and byte 2 are dropped, byte 1 is an object", std::string_view("{\\rtf1 a\0b\x01\x02z}", 13),
         "- | \"ab\\x01z\" | 2 f0 s10, 1 f0 s10 obj #1, 1 f0 s10\n"},
        {"binary data is skipped", "{\\rtf1 a\\binx b\\bin2 {}c}", "- | \"abc\" | 3 f0 s10\n"},
    };
    ExpectDumps(cases);
}

TEST(RtfReader, KeepsTheTextOfWordsOutsideItsTable)
{
    const DumpCase cases[] = {
        // every character goes in as UTF-8 and its fallback is skipped (RtfReaderScriptsTest.cpp
        // has the scripts); before, one that cp1252 lacks became its fallback or '?'
        {"unicode", "{\\rtf1 \\u233\\'e9 \\u8364? \\u8212\\'97 \\u20013? \\uc0\\u20013 \\uc2\\u233 ab c}",
         "- | \"\\xc3\\xa9 \\xe2\\x82\\xac \\xe2\\x80\\x94 \\xe4\\xb8\\xad \\xe4\\xb8\\xad\\xc3\\xa9 c\" | 22 f0 s10\n"},
        {"\\uc is kept per group; negative code points, an unpaired surrogate",
         "{\\rtf1 {\\uc2 \\u233 xy}z\\u-3 ?\\u-10179 ?}", "- | \"\\xc3\\xa9z\\xef\\xbf\\xbd\\xef\\xbf\\xbd\" | 9 f0 s10\n"},
        {"a brace ends a fallback", "{\\rtf1 {\\u233}x}", "- | \"\\xc3\\xa9x\" | 3 f0 s10\n"},
        {"symbol words", "{\\rtf1 \\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\endash\\emdash\\~\\_\\-}",
         "- | \"\\xe2\\x80\\x98\\xe2\\x80\\x99\\xe2\\x80\\x9c\\xe2\\x80\\x9d\\xe2\\x80\\xa2\\xe2\\x80\\x93\\xe2\\x80\\x94\\xc2\\xa0-\\xc2\\xad\" | 26 f0 s10\n"},
        {"unknown words keep their group's text", "{\\rtf1 {\\*\\unknownword skip}{\\unknownword keep}}",
         "- | \"keep\" | 4 f0 s10\n"},
        {"a field shows its result, a link's as a link", "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} after}",
         "- | \"link after\" | 4 f0 s10 link, 6 f0 s10\n"},
        // Converters write the result with \\*; it was skipped and the link text vanished.
        {"a starred field result is text too", "{\\rtf1 see {\\field{\\*\\fldinst{ hyperlink \"http://example.com\"}}{\\*\\fldrslt{\\ul example.com}}}.}",
         "- | \"see example.com.\" | 4 f0 s10, 11 f0 s10 u link, 1 f0 s10\n"},
        {"other fields' results are plain text", "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt a}}{\\field{\\*\\fldrslt 3}}}",
         "- | \"a3\" | 1 f0 s10 link, 1 f0 s10\n"},
        {"skipped destinations", "{\\rtf1 {\\info{\\author me}}{\\stylesheet{\\s1 x;}}{\\header h}{\\*\\pn\\par}t}",
         "- | \"t\" | 1 f0 s10\n"},
    };
    ExpectDumps(cases);
}

TEST(RtfReader, ReadsParagraphProperties)
{
    const DumpCase cases[] = {
        {"alignment, always-default parameter", "{\\rtf1 \\qc5 a\\par\\qr b\\par\\qj\\ql c}",
         "qc | \"a\" | 1 f0 s10\nqr | \"b\" | 1 f0 s10\n- | \"c\" | 1 f0 s10\n"},
        {"page break and keep are per paragraph", "{\\rtf1 \\page a\\par \\keep b\\par c}",
         "page | \"a\" | 1 f0 s10\nkeep | \"b\" | 1 f0 s10\n- | \"c\" | 1 f0 s10\n"},
        {"indents: negative left is 0, first becomes absolute, \\pard resets",
         "{\\rtf1 \\li-5\\ri20\\fi30 a\\par\\li100\\fi-50 b\\par\\pard c}",
         "fi30 ri20 | \"a\" | 1 f0 s10\nli100 fi50 ri20 | \"b\" | 1 f0 s10\n- | \"c\" | 1 f0 s10\n"},
        {"\\pard keeps spacing", "{\\rtf1 \\sb10\\sa20\\sl30 a\\par\\pard b}",
         "sb10 sa20 sl30 | \"a\" | 1 f0 s10\nsb10 sa20 sl30 | \"b\" | 1 f0 s10\n"},
        {"tab stops: the first \\tx of a paragraph starts a new set",
         "{\\rtf1 \\tqr\\tx1000\\tx2000 a\\par b\\par\\tx500 c\\par\\pard d}",
         "tabs3 | \"a\" | 1 f0 s10\ntabs3 | \"b\" | 1 f0 s10\ntabs4 | \"c\" | 1 f0 s10\n- | \"d\" | 1 f0 s10\n"},
        {"borders", "{\\rtf1 {\\box\\brdrdb\\brdrw40\\brsp120\\brdrcf3 a\\par}{\\brdrt\\brdrdot\\brdrhair\\brdrbar\\brdrtablin b}}",
         "brdc1:00:2:23 | \"a\" | 1 f0 s10\nbrd05:47:0:00 | \"b\" | 1 f0 s10\n"},
        {"shading", "{\\rtf1 {\\shading2500\\cfpat2\\cbpat5 a\\par}{\\shading10000\\cfpat1 b}}",
         "shd52:25 | \"a\" | 1 f0 s10\nshd01:100 | \"b\" | 1 f0 s10\n"},
        {"a closed border group before a paragraph of the same border ends the run",
         "{\\rtf1 {\\box a\\par}{\\box b\\par}c}",
         "brd43:00:0:00 | \"a\" | 1 f0 s10\nbrd41:00:0:00 | \"b\" | 1 f0 s10\n- | \"c\" | 1 f0 s10\n"},
    };
    ExpectDumps(cases);
}

TEST(RtfReader, ReadsTables)
{
    const DumpCase cases[] = {
        {"cells take edges, borders, shading and padding from the row definition",
         "{\\rtf1 \\trowd\\trgaph100\\trleft200\\clbrdrt\\brdrs\\brdrw20\\clcfpat2\\cellx1200\\cellx2200"
         "\\pard\\intbl a\\cell b\\cell\\row\\pard c}",
         "li200 fi200 ri6480 cell more brd05:00:1:10 shd02:0 cell0+128 | \"a\" | 1 f0 s10\n"
         "li200 fi200 ri6480 cell notfirst brd00:00:0:10 cell128+127 | \"b\" | 1 f0 s10\n"
         "- | \"c\" | 1 f0 s10\n"},
        {"a paragraph inside a cell is a line break", "{\\rtf1 \\trowd\\cellx1000\\cellx3000\\intbl a\\par b\\cell c\\cell\\row}",
         "ri5480 cell more cell0+85 | \"a\\nb\" | 3 f0 s10\nri5480 cell notfirst cell85+170 | \"c\" | 1 f0 s10\n"},
        {"merged cells", "{\\rtf1 \\trowd\\cellx1000\\clmrg\\cellx2000\\cellx3000\\intbl a\\cell b\\cell\\row}",
         "ri5480 cell more cell0+170 | \"a\" | 1 f0 s10\nri5480 cell notfirst cell170+85 | \"b\" | 1 f0 s10\n"},
        // The writer ends a row of one cell without \row; the next cell starts a new row.
        {"rows of one cell", "{\\rtf1 {\\pard\\trowd\\cellx2000\\intbl a\\cell\n\r\\intbl b\\cell\n\r}c}",
         "ri6480 cell cell0+255 | \"a\" | 1 f0 s10\nri6480 cell cell0+255 | \"b\" | 1 f0 s10\n- | \"c\" | 1 f0 s10\n"},
        {"a table at the end leaves no empty paragraph", "{\\rtf1 {\\pard\\trowd\\cellx2000\\intbl a\\cell}}",
         "ri6480 cell cell0+255 | \"a\" | 1 f0 s10\n"},
        {"a cell without a definition", "{\\rtf1 \\intbl a\\cell\\row}", "ri8480 cell cell0+10 | \"a\" | 1 f0 s10\n"},
    };
    ExpectDumps(cases);
}

// The writer keeps RTF code typed by the user between \wprtf1 and \wprtf0 but still escapes
// TAB, the soft break and bytes above 126 inside it; those come back as characters.
TEST(RtfReader, ReadsRtfCodeRunsAsText)
{
    const DumpCase cases[] = {
        {"braces and backslashes are text", "{\\rtf1 x\\wprtf1 {\\b y}\\tab \\line \\'e9\\wprtf0\\plain z}",
         "- | \"x{\\\\b y}\\t\\n\\xc3\\xa9z\" | 1 f0 s10, 10 f0 s10 code, 1 f0\n"},
        // Without this the rest of the document would be taken as code.
        {"a paragraph end inside a run", "{\\rtf1 x\\wprtf1 {\\b y}\\par\n\r\\wprtf0\\plain z}",
         "- | \"x{\\\\b y}\" | 1 f0 s10, 6 f0 s10 code\n- | \"z\" | 1 f0\n"},
        {"a run at the end of the document", "{\\rtf1{x\\wprtf1 {\\b y}}\r\n}",
         "- | \"x{\\\\b y}\" | 1 f0 s10, 6 f0 s10 code\n"},
    };
    ExpectDumps(cases);
}

TEST(RtfReader, ReadsFootnotesAndObjects)
{
    // The writer's footnote: anchor, then the footnote with its own superscript copy of the mark.
    auto read = ReadRtf("{\\rtf1 ab{\\cs16\\super c{\\*\\footnote \\pard\\plain \\s15\\widctlpar \\f4\\fs20\\lang1031 "
                        "{\\cs16\\super c} note}}d{\\cs16\\super *{\\*\\footnote \\wpfnnr5 \\pard\\plain "
                        "{\\cs16\\super\t*} x}}}");
    EXPECT_EQ(DumpDocument(*read.document),
              "- | \"abcd*\" | 2 f0 s10, 1 f0 s10 super fn #1, 1 f0 s10, 1 f0 s10 super fn #2\n");
    EXPECT_EQ(DumpSideLists(*read.document), "fn 1 mark=c \"note\"\nfn 2 mark=* nr=5 \"x\"\n");
    EXPECT_EQ(read.document->paragraphCount(), 1);

    // Other writers' automatic marks (\chftn) number their footnotes; the \chftn at the start
    // of the footnote is its copy of the mark. Before, \footnote took the last letter typed
    // as its mark, and "note" lost its "e".
    read = ReadRtf("{\\rtf1 A note{\\super\\chftn}{\\*\\footnote\\pard\\plain{\\super\\chftn} First.} "
                   "and more{\\super\\chftn}{\\*\\footnote\\chftn\\~\\plain\\pard Second.}}");
    EXPECT_EQ(DumpDocument(*read.document),
              "- | \"A note1 and more2\" | 6 f0 s10, 1 f0 s10 super fn #1, 9 f0 s10, 1 f0 s10 super fn #2\n");
    EXPECT_EQ(DumpSideLists(*read.document), "fn 1 mark=1 \"First.\"\nfn 2 mark=2 \"Second.\"\n");

    read = ReadRtf("{\\rtf1 \\wpobjtag7\\wpobjw100\\wpobjh200 \\'01\\'01}");
    EXPECT_EQ(DumpDocument(*read.document), "- | \"\\x01\\x01\" | 1 f0 s10 obj #7, 1 f0 s10 obj #8\n");
    EXPECT_EQ(DumpSideLists(*read.document), "obj 7 none show100x200 app\nobj 8 none show0x0 app\n");
}

TEST(RtfReader, AsksTheProvideObjectHandlerForObjectsWithoutGraphic)
{
    TWPRtfReader reader;
    TWPRTFText document;
    std::vector<int> asked;
    document.onProvideObject = [&](int tag, TTextObject& object) {
        asked.push_back(tag);
        object.graphic = std::make_unique<TGraphic>();
    };
    TParagraph* current = document.firstParagraph();
    reader.ReadStream("{\\rtf1 \\wpobjtag3 \\'01{\\*\\picfile\\picwgoal300\\pichgoal400 \"photo.bmp\"}}",
                      &document, &current);
    EXPECT_EQ(asked, (std::vector<int>{3, 4}));
    ASSERT_EQ(document.objects().size(), 2u);
    EXPECT_EQ(document.objects()[1]->fileName, "photo.bmp");
    EXPECT_EQ(document.objects()[1]->width, 300);
    EXPECT_EQ(document.objects()[1]->height, 400);
}

TEST(RtfReader, FillsTheHeaderUnlessToldToKeepIt)
{
    const std::string_view rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fswiss Arial;}"
        "{\\f2{\\*\\panose 0}Courier New;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red1\\green2\\blue3;}"
        "\\paperw11906\\paperh16838\\margl1000\\margr1100\\margt1200\\margb1300"
        "{\\title My title}{\\subject\tSub}{\\comment\tNote}"
        "a\\f1 b\\f2 c\\f99 d\\plain e}";
    auto read = ReadRtf(rtf);
    const TTextHeader& header = read.document->header();
    ASSERT_EQ(header.fontCount(), 3);
    EXPECT_EQ(header.font(1)->name, "Times New Roman");
    EXPECT_EQ(header.font(1)->pitchFamily, 0x10);
    EXPECT_EQ(header.font(2)->name, "Courier New");
    // The RTF's font 0 becomes the text's font until another is chosen; \plain returns to it.
    EXPECT_EQ(DumpDocument(*read.document), "- | \"abcde\" | 1 f1 s10, 1 f0 s10, 2 f2 s10, 1 f1\n");
    EXPECT_EQ(header.colors[0], TTextHeader::defaultColors()[0]);
    EXPECT_EQ(header.colors[1], (RGBColor{255, 0, 0}));
    EXPECT_EQ(header.colors[2], (RGBColor{1, 2, 3}));
    EXPECT_EQ(header.paperWidth, 11906);
    EXPECT_EQ(header.paperHeight, 16838);
    EXPECT_EQ(header.marginLeft, 1000);
    EXPECT_EQ(header.marginRight, 1100);
    EXPECT_EQ(header.marginTop, 1200);
    EXPECT_EQ(header.marginBottom, 1300);
    EXPECT_EQ(header.title, "My title");
    EXPECT_EQ(header.subject, "Sub");
    EXPECT_EQ(header.comment, "Note");

    TWPRtfReader pasting;
    pasting.keepHeader = true;
    read = ReadRtf(rtf, pasting);
    EXPECT_EQ(read.document->header().fontCount(), 1);
    EXPECT_EQ(read.document->header().colors, TTextHeader::defaultColors());
    EXPECT_EQ(read.document->header().paperWidth, TTextHeader().paperWidth);
    EXPECT_EQ(read.document->header().title, "");
    EXPECT_EQ(DumpText(*read.document), "abcde\n");
}

TEST(RtfReader, ContinuesInAGivenParagraphOrAppendsOne)
{
    TWPRTFText document;
    TParagraph* first = document.firstParagraph();
    first->alignment = Alignment::Center;
    document.appendText(*first, "start ", TAttr{});
    TWPRtfReader reader;
    TParagraph* current = first;
    EXPECT_EQ(reader.ReadStream("{\\rtf1 more\\par next}", &document, &current), 0);
    EXPECT_EQ(DumpText(document), "start more\nnext\n");
    EXPECT_EQ(first->alignment, Alignment::Center); // untouched properties stay
    EXPECT_EQ(current, document.lastParagraph());

    EXPECT_EQ(reader.ReadStream("{\\rtf1 appended}", &document, nullptr), 0);
    EXPECT_EQ(DumpText(document), "start more\nnext\nappended\n");
    EXPECT_EQ(reader.consumed(), 16u);
}

// A new document holds one empty paragraph; reading into it without naming a paragraph used
// to append after that one and leave an empty line in front of the text.
TEST(RtfReader, FillsANewDocumentFromItsFirstParagraph)
{
    TWPRTFText document;
    TWPRtfReader reader;
    EXPECT_EQ(reader.ReadStream("{\\rtf1 \\qc a\\par b}", &document), 0);
    EXPECT_EQ(DumpDocument(document), "qc | \"a\" | 1 f0 s10\nqc | \"b\" | 1 f0 s10\n");

    TParagraph* current = nullptr;
    TWPRTFText cleared;
    cleared.appendText(*cleared.firstParagraph(), "old", TAttr{});
    cleared.clear();
    EXPECT_EQ(reader.ReadStream("{\\rtf1 new}", &cleared, &current), 0);
    EXPECT_EQ(DumpText(cleared), "new\n");
    EXPECT_EQ(current, cleared.firstParagraph());
}

TEST(RtfReader, RefusesAMissingDocument)
{
    TWPRtfReader reader;
    try {
        reader.ReadStream("{\\rtf1 x}", nullptr);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Wrong Arguments in\tTWPRTFReader");
    }
}

} // namespace
