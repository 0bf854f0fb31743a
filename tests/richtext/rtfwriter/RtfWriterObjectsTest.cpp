// Tables, pictures, application objects and footnotes in the writer's output.
#include "richtext/rtf/RtfWriter.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

const std::string Plain = "\\plain\\f0\\fs20\\cf0 ";

std::string bodyOf(const TWPRTFText& doc, const WriterOptions& options = {})
{
    int result = -1;
    const std::string rtf = WriteRtf(doc, options, &result);
    EXPECT_EQ(result, WriteResult::Ok);
    const std::size_t start = rtf.find("\\margb1440") + 10;
    return rtf.substr(start, rtf.size() - start - 4);
}

// A row of cells with the given width fractions, after a normal paragraph.
void addRow(TWPRTFText& doc, std::initializer_list<int> widths, std::string_view text = "c")
{
    TParagraph* p = doc.lastParagraph();
    int i = 0;
    for (int width : widths) {
        p = doc.appendParagraph(p);
        p->flags = ParFlag::TableCell;
        if (i > 0)
            p->flags |= ParFlag::CellNotFirst;
        if (i + 1 < int(widths.size()))
            p->flags |= ParFlag::MoreCellsFollow;
        p->cellWidth = std::uint8_t(width);
        p->spaceBefore = 0;
        doc.appendText(*p, text, {});
        ++i;
    }
}

TEST(RtfWriterTables, RowsGetTheirDefinitionAndEndWithRow)
{
    TWPRTFText doc;
    doc.appendText(*doc.firstParagraph(), "before", {});
    addRow(doc, {85, 170});
    addRow(doc, {85, 170});
    TParagraph* after = doc.appendParagraphAtEnd();
    after->flags = 0; // a new paragraph takes the cell flags of the one before
    doc.appendText(*after, "after", {});
    // Usable width 12240 - 2 * 1880 = 8480; edges at 1/3 and the whole width.
    const std::string row = "{\\pard\\trowd\\trgaph0\\trleft0\\cellx2826\\cellx8480\\intbl\\sb0\\sl\\sa0 ";
    EXPECT_EQ(bodyOf(doc), "{" + Plain + "before\\par\n\r"
                           + row + Plain + "c\\cell\n\r"
                           "\\intbl\\sb0\\sl\\sa0 " + Plain + "c\\cell\\row\n\r"
                           "}" + row + Plain + "c\\cell\n\r"
                           "\\intbl\\sb0\\sl\\sa0 " + Plain + "c\\cell\\row\n\r"
                           "}" + Plain + "after");
}

TEST(RtfWriterTables, RowOfOneCellEndsWithRow)
{
    TWPRTFText doc;
    addRow(doc, {255});
    addRow(doc, {255});
    const std::string b = bodyOf(doc);
    EXPECT_EQ(b.find("\\cell\n\r"), std::string::npos) << b;
    EXPECT_NE(b.find("\\cell\\row\n\r}{\\pard\\trowd"), std::string::npos) << b;
}

TEST(RtfWriterTables, CellBordersShadingPaddingAndIndents)
{
    TWPRTFText doc;
    addRow(doc, {128, 127});
    TParagraph* first = doc.firstParagraph()->next();
    TParagraph* second = first->next();
    first->leftIndent = 100;
    first->rightIndent = 480;
    first->border = {.flags = BorderFlag::Present | BorderFlag::Box | BorderFlag::Double, .extra = BorderExtra::Dotted,
                     .width = 1, .spacingColor = 0x24};
    first->alignment = Alignment::Center;
    first->tabMask = 1;
    doc.header().addTab(1440, TTabKind::tkRight);
    second->border = {.flags = BorderFlag::Present | BorderFlag::Left, .width = 3};
    second->shadingColors = 0x52;
    second->shadingPercent = 30;
    second->spaceBefore = 113;
    const std::string b = bodyOf(doc);
    EXPECT_NE(b.find("{\\pard\\trowd\\trgaph113\\trleft100"
                     "\\clbrdrt\\brdrdb\\clbrdrb\\brdrdb\\clbrdrl\\brdrdb\\clbrdrr\\brdrdb\\brdrw20\\brdrcf4\\brdrdot"
                     "\\cellx4115"
                     "\\clbrdrl\\brdrs\\brdrw60\\clshdng3000\\clcfpat2\\clcbpat5\\cellx8100"
                     "\\intbl\\tqr\\tx1440\\qc\\sb0\\sl\\sa0 "),
              std::string::npos)
        << b;
    // The second cell has no tab stops: only \pard clears the first cell's, and resets the alignment.
    EXPECT_NE(b.find("\\pard\\intbl\\sb113\\sl\\sa113 "), std::string::npos) << b;
    EXPECT_EQ(b.find("\\li"), std::string::npos) << "indents are not written in cells";
}

TEST(RtfWriterTables, RowDefinitionKeepsFiftyCells)
{
    TWPRTFText doc;
    std::initializer_list<int> widths = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4,
                                         4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4,
                                         4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4};
    addRow(doc, widths);
    TWPRTFWriter writer(doc);
    TWPStringStream stream;
    ASSERT_EQ(writer.Write(stream), WriteResult::Ok);
    std::size_t count = 0;
    for (std::size_t at = 0; (at = stream.data().find("\\cellx", at)) != std::string::npos; ++at)
        ++count;
    EXPECT_EQ(count, 50u);
}

TGraphic graphic(GraphicKind kind, std::string bytes, int width, int height)
{
    TGraphic g;
    g.kind = kind;
    g.bytes = std::move(bytes);
    g.width = width;
    g.height = height;
    return g;
}

void addObjectCharacter(TWPRTFText& doc, TTextObject& object, char code = 1)
{
    doc.appendText(*doc.lastParagraph(), std::string_view(&code, 1),
                   {.flags = AttrFlag::Object, .tag = object.tag});
}

std::string le32(std::uint32_t v)
{
    return {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
}

TEST(RtfWriterObjects, MetafileWithoutItsPlaceableHeader)
{
    TWPRTFText doc;
    std::string wmf = le32(0x9AC6CDD7) + std::string(18, '\0') + std::string("\x01\x00\xab", 3);
    auto& object = doc.addObject(std::make_unique<TGraphic>(graphic(GraphicKind::Metafile, wmf, 100, 50)));
    object.width = 1500;
    object.height = 750;
    addObjectCharacter(doc, object);
    EXPECT_EQ(bodyOf(doc), "{" + Plain + "{\\pict\\wmetafile8\\picw100\\pich50\\picwgoal1500\\pichgoal750\r\n0100ab}");

    object.graphic->bytes = std::string("\x01\x00\xab", 3); // no placeable header: every byte stays
    EXPECT_NE(bodyOf(doc).find("\r\n0100ab}"), std::string::npos);
}

TEST(RtfWriterObjects, DibFromBmpFileImage)
{
    TWPRTFText doc;
    // BMP file header (14 bytes), then a 40-byte info header of a 2 x 1 picture at 24 bits.
    std::string info = le32(40) + le32(2) + le32(1) + std::string("\x01\x00\x18\x00", 4) + std::string(24, '\0');
    std::string bmp = "BM" + std::string(12, '\0') + info + std::string("\x11\x22\x33\x44\x55\x66\x00\x00", 8);
    auto& object = doc.addObject(std::make_unique<TGraphic>(graphic(GraphicKind::Dib, bmp, 2, 1)));
    object.width = 30;
    object.height = 15;
    addObjectCharacter(doc, object);
    const std::string b = bodyOf(doc);
    EXPECT_NE(b.find("{\\pict\\dibitmap0\\wbmbitspixel24\\wbmplanes1\\wbmwidthbytes6\\picw2\\pich1"
                     "\\picwgoal30\\pichgoal15\r\n28000000020000000100000001001800"),
              std::string::npos)
        << b;
    EXPECT_NE(b.find("1122334455660000}"), std::string::npos);
}

TEST(RtfWriterObjects, DeviceBitmapAsItIsOrAsDib)
{
    TWPRTFText doc;
    TGraphic g = graphic(GraphicKind::DeviceBitmap, std::string("\xc0\x00\x40\x00", 4), 2, 2);
    g.bitsPerPixel = 1;
    g.planes = 1;
    g.widthBytes = 2;
    auto& object = doc.addObject(std::make_unique<TGraphic>(g));
    addObjectCharacter(doc, object);
    EXPECT_NE(bodyOf(doc).find("{\\pict\\wbitmap0\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2\\picw2\\pich2"
                               "\\picwgoal0\\pichgoal0\r\nc0004000}"),
              std::string::npos);
    const std::string dib = bodyOf(doc, {.writeBitmapAsDib = true});
    // Rows turn bottom-up and are padded to four bytes, after a two-colour palette.
    EXPECT_NE(dib.find("{\\pict\\dibitmap0\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes1\\picw2\\pich2"), std::string::npos)
        << dib;
    EXPECT_NE(dib.find("00000000ffffff004000000" "0c0000000}"), std::string::npos) << dib;
}

TEST(RtfWriterObjects, FileNamePicturesAndApplicationObjects)
{
    TWPRTFText doc;
    auto& named = doc.addObject(nullptr);
    named.fileName = "pics\\sun.bmp";
    named.width = 200;
    named.height = 100;
    auto& app = doc.addObject(nullptr, 9);
    app.isApplicationObject = true;
    app.width = 40;
    app.height = 20;
    addObjectCharacter(doc, named);
    addObjectCharacter(doc, app, 2);
    const std::string objBlock = "\\plain\\f0\\fs20\\cf0 ";
    EXPECT_EQ(bodyOf(doc), "{" + objBlock + "{\\*\\picfile\\picwgoal200\\pichgoal100 \"pics\\\\sun.bmp\"}"
                           + objBlock + "\\wpobjtag9\\wpobjw40\\wpobjh20 \\'01");
    EXPECT_EQ(bodyOf(doc, {.helpReferences = true}),
              "{" + objBlock + "\\{bmc pics\\sun.bmp\\}" + objBlock + "\\wpobjtag9\\wpobjw40\\wpobjh20 \\'01");

    named.graphic = std::make_unique<TGraphic>(graphic(GraphicKind::Dib, "", 32, 16));
    EXPECT_NE(bodyOf(doc).find("{\\*\\picfile\\picw32\\pich16\\picwgoal200"), std::string::npos);
}

TEST(RtfWriterObjects, UnknownTagWritesNothing)
{
    TWPRTFText doc;
    doc.appendText(*doc.firstParagraph(), "\x01", {.flags = AttrFlag::Object, .tag = 42});
    EXPECT_EQ(bodyOf(doc), "{" + Plain);
}

TEST(RtfWriterObjects, Footnotes)
{
    TWPRTFText doc;
    TFootnote automatic;
    automatic.mark = '*';
    automatic.text = "see {here}";
    const int a = doc.addFootnote(automatic).number;
    TFootnote numbered;
    numbered.mark = '2';
    numbered.explicitNumber = 2;
    numbered.rtfText = "\\b bold";
    const int n = doc.addFootnote(numbered).number;
    TParagraph& p = *doc.firstParagraph();
    doc.appendText(p, "x", {});
    doc.appendText(p, "*", {.flags = AttrFlag::FootnoteAnchor, .tag = std::uint16_t(a)});
    doc.appendText(p, "2", {.flags = AttrFlag::FootnoteAnchor, .tag = std::uint16_t(n)});
    doc.appendText(p, "y", {});
    EXPECT_EQ(bodyOf(doc),
              "{" + Plain + "x"
              + "\\plain\\f0\\fs20\\cf0\\super {\\cs16\\super *{\\*\\footnote \\pard\\plain \\s15\\widctlpar \\f4\\fs20\\lang1031 "
                "{\\cs16\\super *} see \\{here\\}}}"
              + "\\plain\\f0\\fs20\\cf0\\super {\\cs16\\super 2{\\*\\footnote \\wpfnnr2 \\pard\\plain \\s15\\widctlpar "
                "\\f4\\fs20\\lang1031 {\\cs16\\super\t2} \\b bold}}"
              + Plain + "y");
}

// An anchor that also carries the object flag, with a placeholder code as its mark, once wrote
// an object too and a mark that read back as one more object on every save.
TEST(RtfWriterObjects, FootnoteAnchorIsOnlyItsFootnote)
{
    TWPRTFText doc;
    doc.addObject(nullptr, 1).isApplicationObject = true;
    TFootnote note;
    note.mark = '\x01';
    note.text = "n";
    doc.addFootnote(note);
    doc.appendText(*doc.firstParagraph(), "\x01", {.flags = AttrFlag::FootnoteAnchor | AttrFlag::Object, .tag = 1});
    EXPECT_EQ(bodyOf(doc), "{\\plain\\f0\\fs20\\cf0\\super {\\cs16\\super ?{\\*\\footnote \\pard\\plain \\s15\\widctlpar "
                           "\\f4\\fs20\\lang1031 {\\cs16\\super ?} n}}");
}

} // namespace
} // namespace quillory
