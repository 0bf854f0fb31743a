// Characters beyond cp1252 in the writer's output, and cp1252 documents written as they always were.
#include "richtext/rtf/RtfWriter.h"

#include "platform/Cp1252.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillory {
namespace {

// The model's text (UTF-8) for characters given as cp1252 bytes.
std::string Text(std::string_view cp1252)
{
    return Cp1252ToUtf8(cp1252);
}

// A document of every kind of place where the writer puts text: font names, information,
// runs in several fonts (one a symbol font), RTF code, hidden text and a footnote.
void FillRichCp1252Document(TWPRTFText& doc)
{
    TTextHeader& h = doc.header();
    h.addFont("Times New Roman", 0x12, 0);
    h.addFont("Wingdings", 0x52, 2);
    h.addFont(Text("Caf\xe9 Sans"), 0x22, 0);
    h.title = Text("Journal \xab{r\xeave}\xbb");
    h.subject = Text("\x80 and \x85");
    h.comment = Text("caf\xe9 \x93quoted\x94");
    TFootnote note;
    note.mark = '*';
    note.text = Text("Fu\xdfnote: na\xefve {\xe9t\xe9}");
    const int footnote = doc.addFootnote(note).number;

    TParagraph* p = doc.firstParagraph();
    doc.appendText(*p, Text("D\xe9j\xe0 vu \x96 na\xefve \x93quotes\x94 \x91single\x92 "),
                   {.font = 1, .style = AttrStyle::Bold | AttrStyle::Italic});
    doc.appendText(*p, Text("\x80 5 \xa3 \xa5 \xa9 \xae \x99 \x85 \x81\x8d"), {.size = 14});
    doc.appendText(*p, "*", {.flags = AttrFlag::FootnoteAnchor, .tag = std::uint16_t(footnote)});
    p = doc.appendParagraphAtEnd();
    doc.appendText(*p, Text("\x4a\xe8\xfc\x21\xff\x80"), {.font = 2});
    doc.appendText(*p, Text(" \xbd \xbc \xb0 \xb1 \xd7 \xf7 \xa0nbsp \x7f"), {.font = 3, .color = 0x21});
    p = doc.appendParagraphAtEnd();
    doc.appendText(*p, Text("a\tb{c}\\d\n\xdf\xf8\xe5"), {});
    doc.appendText(*p, Text("{\\i \xe9}"), {.flags = AttrFlag::RtfCode});
    doc.appendText(*p, Text("secr\xe8t"), {.flags = AttrFlag::Hidden});
}

std::string ReadFixture(const char* name)
{
    std::ifstream in(std::filesystem::path(QUILLORY_TEST_DATA) / "rtfwriter" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// cp1252-rich.rtf was written by the writer when the model held cp1252 bytes: older copies
// read our files, so a document that cp1252 holds must still be written byte for byte so.
TEST(RtfWriterUnicode, Cp1252DocumentIsWrittenByteForByteAsBefore)
{
    TWPRTFText doc;
    FillRichCp1252Document(doc);
    const std::string expected = ReadFixture("cp1252-rich.rtf");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(WriteRtf(doc), expected);
}

const std::string Plain = "\\plain\\f0\\fs20\\cf0 ";

// The text of a one-paragraph document as the writer writes it, and whether its header says \uc1.
std::string BodyText(std::string_view text, bool* uc1 = nullptr, const TAttr& attr = {})
{
    TWPRTFText doc;
    doc.header().addFont("Wingdings", 0x52, 2);
    doc.appendText(*doc.firstParagraph(), text, attr);
    const std::string rtf = WriteRtf(doc);
    if (uc1)
        *uc1 = rtf.rfind("{\\rtf1\\ansi\\uc1\\deff0", 0) == 0;
    const std::size_t start = rtf.find("\\cf0 ");
    const std::size_t end = rtf.rfind("}\r\n}");
    if (start == std::string::npos || end == std::string::npos || end < start)
        return "(no body) " + rtf;
    return rtf.substr(start + 5, end - start - 5);
}

TEST(RtfWriterUnicode, CharactersBeyondCp1252AreWrittenAsUnicodeWithAFallback)
{
    struct Row { const char* name; std::string text; std::string rtf; } rows[] = {
        {"Polish", "Za\u017c\u00f3\u0142\u0107", "Za\\u380?\\'f3\\u322?\\u263?"},
        {"Czech", "\u0159\u011b\u017e", "\\u345?\\u283?\\'9e"},
        {"Russian", "\u0416\u0443\u043a", "\\u1046?\\u1091?\\u1082?"},
        {"Greek", "\u03a3\u03c3\u03c2", "\\u931?\\u963?\\u962?"},
        {"Hebrew", "\u05e9\u05dc\u05d5\u05dd", "\\u1513?\\u1500?\\u1493?\\u1501?"},
        {"Arabic", "\u0633\u0644\u0627\u0645", "\\u1587?\\u1604?\\u1575?\\u1605?"},
        {"Chinese", "\u65e5\u672c", "\\u26085?\\u26412?"},
        // From U+8000 on the value is negative: RTF's numbers are signed 16-bit.
        {"Korean", "\ud55c", "\\u-10916?"},
        {"fullwidth", "\uff01", "\\u-255?"},
        {"last of the plane", "\uffff", "\\u-1?"},
        {"emoji", "\U0001F600", "\\u-10179?\\u-8704?"},
        {"skin tone", "\U0001F44D\U0001F3FD", "\\u-10179?\\u-9139?\\u-10180?\\u-8195?"},
        {"highest", "\U0010FFFF", "\\u-9217?\\u-8193?"},
        {"combining mark", "e\u0301", "e\\u769?"},
        {"mixed", "caf\u00e9 \u0416 \u20ac {x}", "caf\\'e9 \\u1046? \\'80 \\{x\\}"},
        // A byte that belongs to no character (not from our readers) is kept as the byte.
        {"stray byte", "a\xe9" "b\xc3", "a\\'e9b\\'c3"},
    };
    for (const Row& row : rows) {
        bool uc1 = false;
        EXPECT_EQ(BodyText(row.text, &uc1), row.rtf) << row.name;
        EXPECT_EQ(uc1, row.rtf.find("\\u") != std::string::npos) << row.name;
    }
}

// A symbol font's text is held as the cp1252 characters of its bytes and written as the bytes;
// its glyphs given as U+F000 + byte (as other programs write them) are written as the bytes too.
TEST(RtfWriterUnicode, SymbolFontTextIsWrittenAsItsBytes)
{
    const TAttr symbol{.font = 1};
    EXPECT_EQ(BodyText(Text("J\xe8\xfc!\x80"), nullptr, symbol), "J\\'e8\\'fc!\\'80");
    bool uc1 = true;
    EXPECT_EQ(BodyText("\uf04a\uf0e8\uf07b", &uc1, symbol), "J\\'e8\\{");
    EXPECT_FALSE(uc1) << "no \\u written, none announced";
    EXPECT_EQ(BodyText("\uf04a", &uc1), "\\u-4022?") << "in another font the character stays itself";
}

TEST(RtfWriterUnicode, HeaderFootnoteAndCodeRunsFollowTheSameRule)
{
    TWPRTFText doc;
    TTextHeader& h = doc.header();
    h.addFont("\u5b8b\u4f53", 0, 134);
    h.title = "\u0416\u0443\u043a {1}";
    h.comment = "caf\u00e9 \U0001F600";
    TFootnote note;
    note.mark = '*';
    note.text = "\u03a3 {\u00e9}";
    const int number = doc.addFootnote(note).number;
    TParagraph& p = *doc.firstParagraph();
    doc.appendText(p, "*", {.flags = AttrFlag::FootnoteAnchor, .tag = std::uint16_t(number)});
    doc.appendText(p, "{\\b \u0416}", {.flags = AttrFlag::RtfCode});
    const std::string rtf = WriteRtf(doc);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\uc1\\deff0\\deftab720{\\fonttbl", 0), 0u);
    EXPECT_NE(rtf.find("{\\f1\\fnil\\charset134 \\u23435?\\u20307?;}"), std::string::npos);
    EXPECT_NE(rtf.find("{\\title \\u1046?\\u1091?\\u1082? \\{1\\}}"), std::string::npos);
    EXPECT_NE(rtf.find("{\\comment\tcaf\\'e9 \\u-10179?\\u-8704?}"), std::string::npos);
    EXPECT_NE(rtf.find("{\\cs16\\super *} \\u931? \\{\\'e9\\}}}"), std::string::npos);
    EXPECT_NE(rtf.find("\\wprtf1 {\\b \\u1046?}\\wprtf0"), std::string::npos);
    EXPECT_EQ(rtf.find("\\uc1", 20), std::string::npos) << "\\uc1 once, in the header";
}

// Readers decode \'hh by the code page of the font's charset: text in such a font is written in
// that page where it holds the character (as programs of that page write it), else as \u.
TEST(RtfWriterUnicode, TextInAFontOfAnotherCodePageIsWrittenInThatPage)
{
    struct Row { const char* name; int charset; std::string text; std::string rtf; } rows[] = {
        {"Cyrillic", 204, "\u0416\u0443\u043a caf\u00e9 \u20ac", "\\'c6\\'f3\\'ea caf\\u233? \\'88"},
        {"Central European", 238, "Za\u017c\u00f3\u0142\u0107 \u0416", "Za\\'bf\\'f3\\'b3\\'e6 \\u1046?"},
        {"Greek", 161, "\u03a3\u03c3 \u00e9", "\\'d3\\'f3 \\u233?"},
        {"Japanese, a double-byte page", 128, "\u65e5\u672c a", "\\u26085?\\u26412? a"},
        {"ANSI", 0, "\u0416 \u00e9", "\\u1046? \\'e9"},
    };
    for (const Row& row : rows) {
        TWPRTFText doc;
        doc.header().addFont("Font", 0, std::uint8_t(row.charset));
        doc.appendText(*doc.firstParagraph(), row.text, {.font = 1});
        const std::string rtf = WriteRtf(doc);
        EXPECT_NE(rtf.find("\\cf0 " + row.rtf + "}"), std::string::npos) << row.name << "\n" << rtf;
        EXPECT_EQ(rtf.find("\\uc1") != std::string::npos, row.rtf.find("\\u") != std::string::npos) << row.name;
    }
}

// The font table's names are read in their own font's page, the information after the table in
// font 0's, and a footnote's text in the font its group names.
TEST(RtfWriterUnicode, NamesInformationAndFootnotesFollowTheirFonts)
{
    TWPRTFText doc;
    TTextHeader& h = doc.header();
    h.addFont("\u0428\u0440\u0438\u0444\u0442", 0, 204); // font 0 stays Arial
    doc.header().title = "\u0416 caf\u00e9";
    const std::string ansi = WriteRtf(doc);
    EXPECT_NE(ansi.find("{\\f1\\fnil\\charset204 \\'d8\\'f0\\'e8\\'f4\\'f2;}"), std::string::npos) << ansi;
    EXPECT_NE(ansi.find("{\\title \\u1046? caf\\'e9}"), std::string::npos) << ansi;

    TWPRTFText cyrillic;
    TTextHeader& c = cyrillic.header();
    c.clearFonts();
    for (int i = 0; i < 5; ++i)
        c.addFont("Cyr " + std::to_string(i), 0, 204);
    c.title = "\u0416 caf\u00e9";
    TFootnote note;
    note.mark = '*';
    note.text = "\u0416\u0443\u043a";
    const int number = cyrillic.addFootnote(note).number;
    cyrillic.appendText(*cyrillic.firstParagraph(), "*", {.flags = AttrFlag::FootnoteAnchor, .tag = std::uint16_t(number)});
    const std::string rtf = WriteRtf(cyrillic);
    EXPECT_NE(rtf.find("{\\title \\'c6 caf\\u233?}"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("{\\cs16\\super *} \\'c6\\'f3\\'ea}}"), std::string::npos) << rtf;
}

// Only the part being written decides: a clipboard copy of cp1252 text out of a document that
// has other characters elsewhere is written as before.
TEST(RtfWriterUnicode, UnicodeIsAnnouncedForThePartWritten)
{
    TWPRTFText doc;
    doc.appendText(*doc.firstParagraph(), "caf\u00e9", {});
    doc.appendText(*doc.appendParagraphAtEnd(), "\u0416", {});
    TWPRTFWriter writer(doc);
    writer.SetRange(doc.firstParagraph(), doc.firstParagraph());
    TWPStringStream stream;
    ASSERT_EQ(writer.Write(stream), WriteResult::Ok);
    EXPECT_EQ(stream.data().find("\\uc1"), std::string::npos);
    EXPECT_NE(stream.data().find("caf\\'e9"), std::string::npos);
    EXPECT_NE(WriteRtf(doc).find("\\uc1"), std::string::npos);
}

} // namespace
} // namespace quillory
