// Writer output read back gives the same document, and writing that again gives the same bytes.
#include "richtext/model/DocumentDump.h"
#include "richtext/rtf/RtfReader.h"
#include "richtext/rtf/RtfWriter.h"

#include <gtest/gtest.h>

#include <functional>

namespace quillory {
namespace {

std::string everything(const TWPRTFText& doc)
{
    return DumpHeader(doc.header()) + "--\n" + DumpDocument(doc, DumpSegments::Joined) + "--\n" + DumpSideLists(doc);
}

std::unique_ptr<TWPRTFText> readBack(const std::string& rtf)
{
    auto doc = std::make_unique<TWPRTFText>();
    TParagraph* current = doc->firstParagraph();
    TWPRtfReader reader;
    EXPECT_EQ(reader.ReadStream(rtf, doc.get(), &current), ReadResult::Ok);
    return doc;
}

// Writes, reads back, compares, writes again and compares the bytes.
void expectRoundTrip(const TWPRTFText& doc)
{
    int result = -1;
    const std::string rtf = WriteRtf(doc, {}, &result);
    ASSERT_EQ(result, WriteResult::Ok);
    auto back = readBack(rtf);
    EXPECT_EQ(everything(*back), everything(doc)) << rtf;
    for (const auto& object : doc.objects()) {
        const TTextObject* other = back->findObject(object->tag);
        ASSERT_NE(other, nullptr) << "object " << object->tag;
        ASSERT_EQ(bool(other->graphic), bool(object->graphic)) << "object " << object->tag;
        if (object->graphic) {
            EXPECT_EQ(other->graphic->bytes, object->graphic->bytes) << "object " << object->tag;
        }
    }
    EXPECT_EQ(WriteRtf(*back), rtf);
}

// Size 0 stands for 10 points and is read back as 10: the fixtures say 10 outright.
void put(TWPRTFText& doc, TParagraph& p, std::string_view text, TAttr attr)
{
    if (!attr.size)
        attr.size = DefaultPointSize;
    doc.appendText(p, text, attr);
}

TParagraph& add(TWPRTFText& doc, std::string_view text, const TAttr& attr = {})
{
    TParagraph* p = doc.isEmpty() ? doc.firstParagraph() : doc.appendParagraphAtEnd();
    put(doc, *p, text, attr);
    return *p;
}

struct Case {
    const char* name;
    std::function<void(TWPRTFText&)> build;
    friend void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
};

std::string le32(std::uint32_t v)
{
    return {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
}

const Case cases[] = {
    {"two paragraphs", [](TWPRTFText& d) { add(d, "Hello"); add(d, "World"); }},
    {"empty paragraphs", [](TWPRTFText& d) { add(d, "a"); d.appendParagraphAtEnd(); add(d, "b"); d.appendParagraphAtEnd(); }},
    {"escaped and special characters",
     [](TWPRTFText& d) { add(d, "back\\slash {braces} tab\there soft\nbreak caf\u00e9 \u20ac\u00ff ~"); }},
    {"attributes",
     [](TWPRTFText& d) {
         d.header().addFont("Times New Roman", 0x00); // the dialect keeps the family only
         d.header().addFont("Courier New", 0x30);
         TParagraph& p = add(d, "plain ");
         put(d, p, "bold", {.font = 1, .style = AttrStyle::Bold, .size = 14});
         put(d, p, "italic underlined", {.font = 2, .style = AttrStyle::Italic | AttrStyle::Underline});
         put(d, p, "red on yellow", {.color = 0x41});
         put(d, p, "colour 15", {.color = 0xF0 | 0x0F});
         put(d, p, "strike", {.style = AttrStyle::StrikeOut});
         put(d, p, "up", {.style = AttrStyle::Superscript});
         put(d, p, "down", {.style = AttrStyle::Subscript});
         put(d, p, "link", {.style = AttrStyle::Hyperlink});
         put(d, p, "protected", {.flags = AttrFlag::Protected});
         put(d, p, "auto", {.flags = AttrFlag::Automatic});
         add(d, "hidden at the end", {.flags = AttrFlag::Hidden});
         add(d, "after");
     }},
    {"insert points", [](TWPRTFText& d) { TParagraph& p = add(d, "[name]", {.flags = AttrFlag::InsertPoint, .tag = 4});
                                           put(d, p, " rest", {}); }},
    {"rtf code runs",
     [](TWPRTFText& d) {
         TParagraph& p = add(d, "before ");
         put(d, p, "{\\b x}\\par \t\u00e9", {.flags = AttrFlag::RtfCode});
         put(d, p, " after {", {});
         add(d, "{\\i code} to the end", {.flags = AttrFlag::RtfCode});
         add(d, "code}", {.flags = AttrFlag::RtfCode});
         TTextObject& object = d.addObject(nullptr, 3);
         object.isApplicationObject = true;
         TParagraph& q = add(d, "\\b ", {.flags = AttrFlag::RtfCode});
         put(d, q, "\x01", {.flags = AttrFlag::Object, .tag = 3});
         put(d, q, "\\b0 ", {.flags = AttrFlag::RtfCode});
     }},
    // RTF code is written as it is, except a backslash that the reader of a code run would take
    // for one of the writer's escapes or for the run's end: before, "\wprtf0" in the code ended
    // the run at the next load and the rest was read as RTF.
    {"rtf code that reads like the writer's own words",
     [](TWPRTFText& d) {
         const TAttr code{.flags = AttrFlag::RtfCode};
         TParagraph& p = add(d, "x\\wprtf0\\b y\\'5c\\'e9\\tab\\line\\u1046?\\u5 ?\\tabs\\line2 \\par", code);
         put(d, p, "\u65e5\U0001F600 \\", code); // beyond the code page; a backslash at the run's end
         put(d, p, "tab x", {.flags = AttrFlag::RtfCode, .size = 12}); // a code run of another size
         add(d, "\\", code);
         add(d, "\\\\wprtf0\\'", code);
     }},
    {"paragraph properties",
     [](TWPRTFText& d) {
         TParagraph& a = add(d, "centred indented");
         a.alignment = Alignment::Center;
         a.leftIndent = 720;
         a.firstIndent = 1080;
         a.rightIndent = 360;
         a.spaceBefore = 120;
         a.spaceAfter = 240;
         a.lineSpacing = 360;
         TParagraph& b = add(d, "right");
         b.alignment = Alignment::Right;
         b.firstIndent = 360;
         TParagraph& c = add(d, "justified, page break, keep");
         c.alignment = Alignment::Justified;
         c.flags = ParFlag::PageBreakBefore | ParFlag::KeepWithNext;
         TParagraph& e = add(d, "plain again");
         e.copyPropertiesFrom(TParagraph{});
     }},
    {"tabs",
     [](TWPRTFText& d) {
         const int t1 = d.header().addTab(720, TTabKind::tkLeft);
         const int t2 = d.header().addTab(2880, TTabKind::tkRight);
         const int t3 = d.header().addTab(4320, TTabKind::tkCenter);
         const int t4 = d.header().addTab(5760, TTabKind::tkDecimal);
         add(d, "a\tb\tc").tabMask = 1ull << t1 | 1ull << t2;
         add(d, "same tabs");
         add(d, "x\ty").tabMask = 1ull << t3 | 1ull << t4;
         add(d, "none").tabMask = 0;
     }},
    {"borders",
     [](TWPRTFText& d) {
         const BorderWord box{.flags = BorderFlag::Present | BorderFlag::Box, .width = 1, .spacingColor = 0x12};
         add(d, "boxed 1").border = box;
         add(d, "boxed 2");
         TParagraph& top = add(d, "top and bottom, double, dotted");
         top.border = {.flags = BorderFlag::Present | BorderFlag::Top | BorderFlag::Bottom | BorderFlag::Double,
                       .extra = BorderExtra::Dotted, .width = 3};
         // read from a lone \\brdrdb; it was written without it and lost its border
         add(d, "double, no sides").border = {.flags = BorderFlag::Present | BorderFlag::Double};
         add(d, "no border").border = {};
     }},
    {"shading",
     [](TWPRTFText& d) {
         TParagraph& a = add(d, "shaded");
         a.shadingColors = 0x52;
         a.shadingPercent = 25;
         a.alignment = Alignment::Center;
         TParagraph& b = add(d, "also centred");
         b.shadingColors = 0;
         b.shadingPercent = 0;
         TParagraph& c = add(d, "full");
         c.shadingColors = 0x03;
         c.shadingPercent = 100;
     }},
    // An empty last paragraph has no text to show where its properties are in force, and
    // the groups of the paragraph before close just ahead of it.
    {"empty shaded last paragraph after a tab group",
     [](TWPRTFText& d) {
         add(d, "a\tb").tabMask = 1ull << d.header().addTab(720, TTabKind::tkLeft);
         TParagraph& last = *d.appendParagraphAtEnd();
         last.tabMask = 0;
         last.shadingColors = 0x52;
         last.shadingPercent = 25;
     }},
    {"empty shaded last paragraph in a border of its own",
     [](TWPRTFText& d) {
         const BorderWord box{.flags = BorderFlag::Present | BorderFlag::Box, .width = 1};
         TParagraph& boxed = add(d, "boxed");
         boxed.border = box;
         boxed.border.flags |= BorderFlag::RunEnds;
         TParagraph& last = *d.appendParagraphAtEnd();
         last.border = box;
         last.shadingColors = 0x52;
         last.shadingPercent = 25;
     }},
    {"empty last paragraph after a shaded one",
     [](TWPRTFText& d) {
         TParagraph& shaded = add(d, "shaded");
         shaded.shadingColors = 0x52;
         shaded.shadingPercent = 25;
         d.appendParagraphAtEnd()->copyPropertiesFrom(TParagraph{});
     }},
    {"empty last paragraph after a border",
     [](TWPRTFText& d) {
         add(d, "boxed").border = {.flags = BorderFlag::Present | BorderFlag::Box, .width = 1};
         d.appendParagraphAtEnd()->border = {};
     }},
    {"empty last paragraph inside a border",
     [](TWPRTFText& d) {
         add(d, "boxed").border = {.flags = BorderFlag::Present | BorderFlag::Box, .width = 1};
         d.appendParagraphAtEnd();
     }},
    {"table",
     [](TWPRTFText& d) {
         add(d, "before");
         auto row = [&](std::initializer_list<int> widths, std::uint8_t padding) {
             int i = 0;
             int left = 0;
             for (int width : widths) {
                 TParagraph& c = add(d, "cell " + std::to_string(i));
                 c.copyPropertiesFrom(TParagraph{});
                 c.flags = ParFlag::TableCell | (i ? ParFlag::CellNotFirst : 0)
                         | (i + 1 < int(widths.size()) ? ParFlag::MoreCellsFollow : 0);
                 c.cellWidth = std::uint8_t(width);
                 c.cellLeft = std::uint8_t(left);
                 left += width;
                 // Cells name their sides one by one.
                 c.border = {.flags = BorderFlag::Present | BorderFlag::Top | BorderFlag::Bottom
                                    | BorderFlag::Left | BorderFlag::Right, .width = 1,
                             .spacingColor = std::uint8_t(padding << 4)};
                 ++i;
             }
         };
         row({85, 85, 85}, 1);
         // tabs in the first cell only, and an alignment that \pard must not lose
         const int tab = d.header().addTab(284, TTabKind::tkRight);
         d.lastParagraph()->prev()->prev()->tabMask = 1ull << tab;
         d.lastParagraph()->alignment = Alignment::Center;
         row({100, 155}, 1);
         row({255}, 0);
         add(d, "after").copyPropertiesFrom(TParagraph{});
     }},
    // A cell's percent was not read back, and shading of a percent alone was not written.
    {"shading of cells and of a percent alone",
     [](TWPRTFText& d) {
         for (const auto& [colors, percent] : {std::pair{0x21, 30}, std::pair{0x00, 40}}) {
             TParagraph& c = add(d, "cell");
             c.copyPropertiesFrom(TParagraph{});
             c.flags = ParFlag::TableCell | (colors ? ParFlag::MoreCellsFollow : ParFlag::CellNotFirst);
             c.cellLeft = colors ? 0 : 128;
             c.cellWidth = colors ? 128 : 127;
             c.shadingColors = std::uint8_t(colors);
             c.shadingPercent = std::uint8_t(percent);
         }
         TParagraph& black = add(d, "black");
         black.copyPropertiesFrom(TParagraph{});
         black.shadingPercent = 50;
     }},
    {"pictures and objects",
     [](TWPRTFText& d) {
         TParagraph& p = add(d, "pictures: ");
         auto wmf = std::make_unique<TGraphic>();
         wmf->kind = GraphicKind::Metafile;
         wmf->width = 1000;
         wmf->height = 500;
         std::string header = le32(0x9AC6CDD7) + std::string(2, '\0') + std::string(4, '\0');
         header += std::string("\xe8\x03\xf4\x01", 4) + std::string("\xec\x09", 2) + std::string(4, '\0');
         std::uint16_t sum = 0;
         for (std::size_t i = 0; i < 20; i += 2)
             sum ^= std::uint16_t(std::uint8_t(header[i]) | std::uint8_t(header[i + 1]) << 8);
         header += std::string{char(sum & 0xFF), char(sum >> 8)};
         wmf->bytes = header + std::string("\x01\x00\x09\x00\x00\x03\x10\x00\x00\x00", 10);
         TTextObject& a = d.addObject(std::move(wmf));
         a.width = 1440;
         a.height = 720;
         put(d, p, "\x01", {.flags = AttrFlag::Object, .tag = a.tag});
         auto dib = std::make_unique<TGraphic>();
         dib->kind = GraphicKind::Dib;
         dib->width = 2;
         dib->height = 1;
         dib->bitsPerPixel = 24;
         const std::string info = le32(40) + le32(2) + le32(1) + std::string("\x01\x00\x18\x00", 4)
                                + std::string(24, '\0');
         dib->bytes = "BM" + le32(14 + 40 + 8) + le32(0) + le32(54) + info + std::string("\x11\x22\x33\x44\x55\x66\0\0", 8);
         TTextObject& b = d.addObject(std::move(dib));
         b.width = 30;
         b.height = 15;
         put(d, p, "\x01", {.flags = AttrFlag::Object, .tag = b.tag});
         TTextObject& app = d.addObject(nullptr, 20);
         app.isApplicationObject = true;
         app.width = 400;
         app.height = 200;
         put(d, p, "\x01", {.flags = AttrFlag::Object, .tag = app.tag});
         put(d, p, " end", {});
     }},
    {"footnotes",
     [](TWPRTFText& d) {
         TFootnote plain;
         plain.mark = '*';
         plain.text = "a note";
         TFootnote numbered;
         numbered.mark = '7';
         numbered.explicitNumber = 7;
         numbered.text = "another";
         const int a = d.addFootnote(plain).number;
         const int b = d.addFootnote(numbered).number;
         TParagraph& p = add(d, "text");
         put(d, p, "*", {.style = AttrStyle::Superscript, .flags = AttrFlag::FootnoteAnchor, .tag = std::uint16_t(a)});
         put(d, p, " more", {});
         put(d, p, "7", {.style = AttrStyle::Superscript, .flags = AttrFlag::FootnoteAnchor, .tag = std::uint16_t(b)});
     }},
    // A mark written as \\'0a was dropped on reading, and the footnote took the character before.
    {"footnote marks that are soft line break and tab",
     [](TWPRTFText& d) {
         TParagraph& p = add(d, "line");
         for (const char mark : {'\n', '\t'}) {
             TFootnote note;
             note.mark = mark;
             note.text = "note";
             const int number = d.addFootnote(note).number;
             put(d, p, std::string(1, mark), {.style = AttrStyle::Superscript, .flags = AttrFlag::FootnoteAnchor,
                                               .tag = std::uint16_t(number)});
             put(d, p, "x", {});
         }
     }},
    {"header information",
     [](TWPRTFText& d) {
         d.header().title = "A day {in} May";
         d.header().subject = "Subject";
         d.header().comment = "Caf\u00e9";
         d.header().paperWidth = 11906;
         d.header().paperHeight = 16838;
         d.header().marginLeft = 1134;
         d.header().colors[3] = {1, 2, 3};
         add(d, "x");
     }},
    // Every script in text, in fonts of their own charsets, a symbol font, the header, font names
    // and footnotes; \u for what the font's code page cannot hold, the page's bytes for what it can.
    {"every script",
     [](TWPRTFText& d) {
         add(d, "Polish Za\u017c\u00f3\u0142\u0107, Czech \u0159\u011b\u017e, Hungarian \u0151\u0171");
         add(d, "Russian \u0416\u0443\u043a, Greek \u03a3\u03c3\u03c2, Hebrew \u05e9\u05dc\u05d5\u05dd, Arabic \u0633\u0644\u0627\u0645");
         add(d, "Hindi \u0928\u092e\u0938\u094d\u0924\u0947, Thai \u0e2a\u0e27\u0e31\u0e2a\u0e14\u0e35");
         add(d, "Chinese \u4e2d\u6587, Japanese \u65e5\u672c\u8a9e \u3072\u3089\u304c\u306a, Korean \ud55c\uad6d\uc5b4");
         add(d, "math \U0001D400\u2211\u221e, emoji \U0001F600 \U0001F44D\U0001F3FD \U0001F468\u200D\U0001F469\u200D\U0001F467 \U0001F1F5\U0001F1F1 \u2764\uFE0F");
         add(d, "combining e\u0301 a\u0308, last of the plane \uFFFD");
     }},
    {"every script in fonts of their charsets",
     [](TWPRTFText& d) {
         const int cyrillic = d.header().addFont("\u0428\u0440\u0438\u0444\u0442", 0x00, 204);
         const int greek = d.header().addFont("Greek", 0x00, 161);
         const int japanese = d.header().addFont("\uff2d\uff33 \u660e\u671d", 0x00, 128);
         const int symbol = d.header().addFont("Wingdings", 0x50, 2);
         d.header().title = "\u0416\u0443\u043a \U0001F600";
         TFootnote note;
         note.mark = '*';
         note.text = "\u03a3 caf\u00e9 \u65e5";
         const int number = d.addFootnote(note).number;
         TParagraph& p = add(d, "\u0416\u0443\u043a caf\u00e9 \u20ac", {.font = std::uint8_t(cyrillic)});
         put(d, p, "\u03a3\u03c3 \u00e9", {.font = std::uint8_t(greek)});
         put(d, p, "\u65e5\u672c a", {.font = std::uint8_t(japanese)});
         put(d, p, "J\u00e8\u00fc!", {.font = std::uint8_t(symbol)});
         put(d, p, "*", {.style = AttrStyle::Superscript, .flags = AttrFlag::FootnoteAnchor, .tag = std::uint16_t(number)});
     }},
    {"long paragraph in many segments", [](TWPRTFText& d) { add(d, std::string(30000, 'w')); }},
};

class RoundTrip : public testing::TestWithParam<Case> {};

TEST_P(RoundTrip, ReadsBackEqualAndWritesTheSameBytes)
{
    TWPRTFText doc;
    GetParam().build(doc);
    expectRoundTrip(doc);
}

INSTANTIATE_TEST_SUITE_P(Documents, RoundTrip, testing::ValuesIn(cases), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

// Foreign RTF whose first reading the writer must write so that it reads back the same, and
// which therefore settles at the first save: each row once changed at its save.
struct Foreign {
    const char* name;
    std::string rtf;
    friend void PrintTo(const Foreign& c, std::ostream* out) { *out << c.name; }
};

std::string WithNul(std::string_view before, std::string_view after)
{
    return std::string(before) + '\0' + std::string(after);
}

const Foreign foreign[] = {
    {"a control word spelled with escapes inside a code run",
     "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\plain\\f0\\fs20\\cf0\\wprtf1 x\\'5cwprtf0\\'5cb injected\\wprtf0 \\par}"},
    {"a NUL inside the code run's end",
     WithNul("{\\rtf1\\plain\\fs20\\wprtf1 x\\wp", "rtf0\\cellx880\\cellx\\cellx8640\\cell\\cell}")},
    {"a code run ending in a control word", "{\\rtf1\\plain\\fs20 a\\wprtf1 {\\b b}\\par\\wprtf0 c\\par d}"},
    {"two code runs of other fonts side by side",
     "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier;}}\\plain\\fs20\\wprtf1 a\\wprtf0\\f1\\wprtf1 \\'5c\\wprtf0 tab}"},
    {"a linked picture's name of 255 characters",
     "{\\rtf1\\plain\\fs20 x{\\*\\picfile\\picwgoal200\\pichgoal100 \"" + std::string(251, 'a') + ".bmp\"}}"},
    {"a linked picture's name longer than that", "{\\rtf1\\plain\\fs20 x{\\*\\picfile " + std::string(300, 'b') + "}}"},
    {"a row defining more cells than it uses",
     "{\\rtf1\\ansi\\plain\\fs20\\trowd\\cellx880\\cellx900\\cellx8640\\intbl a\\cell b\\cell\\row}"},
    {"negative cell edges",
     "{\\rtf1\\plain\\fs20\\trowd\\trleft-300\\cellx-500\\cellx-100\\cellx1000\\intbl a\\cell b\\cell c\\cell\\row}"},
    {"a picture of no height", "{\\rtf1\\plain\\fs20 x{\\pict\\wmetafile8\\picw100\\pich0\\picwgoal1440 "
                               "010009000003220000000000}y{\\pict\\wmetafile8\\picw100\\pich50\\picwgoal1440"
                               "\\pichgoal0\\picscaley1 010009000003220000000000}}"},
    {"a bitmap whose words give another size than its header",
     "{\\rtf1\\plain\\fs20 x{\\pict\\dibitmap0\\wbmbitspixel16\\wbmplanes16\\picw2\\pich32 28000000020000000200000001"
     "000100000000000800000000000000000000000000000000000000000000ffffff0080000000c0000000}}"},
    {"a pattern colour without a percent", "{\\rtf1\\plain\\fs20{\\cfpat2\\cbpat3 a\\par}b}"},
    {"footnotes whose mark the text cannot hold",
     "{\\rtf1\\plain\\fs20\\super{\\*\\footnote w}\\u1046?{\\*\\footnote x}a{\\*\\footnote y}{\\*\\footnote z}"
     "\\wpobjtag3\\wpobjw100\\wpobjh100 \\'01{\\*\\footnote v}\\'1d{\\*\\footnote u}}"},
    {"a border of no side", "{\\rtf1\\plain\\fs20{\\brdrw20\\brdrcf2 a\\par}b}"},
    {"stray placeholder bytes", "{\\rtf1\\plain\\fs20 a\\'02\\'03b\\wprtf1 \\'02c\\wprtf0}"},
};

class ForeignRoundTrip : public testing::TestWithParam<Foreign> {};

TEST_P(ForeignRoundTrip, ReadsBackAsReadFirstAndSettlesAtTheFirstSave)
{
    const auto first = readBack(GetParam().rtf);
    const std::string written = WriteRtf(*first);
    const auto again = readBack(written);
    EXPECT_EQ(everything(*again), everything(*first)) << written;
    EXPECT_EQ(WriteRtf(*again), written);
}

INSTANTIATE_TEST_SUITE_P(Inputs, ForeignRoundTrip, testing::ValuesIn(foreign), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

} // namespace
} // namespace quillory
