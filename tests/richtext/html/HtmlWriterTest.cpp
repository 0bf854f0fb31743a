// Tests of the HTML writer: the page it writes, and that the reader gets the document back.
#include "HtmlTestSupport.h"

#include "platform/Utf8.h"
#include "richtext/html/HtmlWriter.h"

#include <gtest/gtest.h>

using namespace quillory;

namespace {

TAttr Styled(std::uint8_t font, std::uint8_t size, int color, std::uint8_t style, std::uint8_t flags = 0)
{
    TAttr attr;
    attr.font = font;
    attr.size = size;
    attr.setTextColor(color);
    attr.style = style;
    attr.flags = flags;
    return attr;
}

// A document of everything the HTML pair carries: alignment, styles, fonts, sizes, colours,
// blanks that HTML would fold, a table, a picture and links.
std::unique_ptr<TWPRTFText> RichDocument()
{
    auto document = std::make_unique<TWPRTFText>();
    TTextHeader& header = document->header();
    header.title = "A day & a night \u2014 \u0416\u0443\u043a";
    const auto courier = std::uint8_t(header.addFont("Courier New"));
    const auto times = std::uint8_t(header.addFont("Times New Roman"));

    TParagraph* p = document->firstParagraph();
    p->alignment = Alignment::Center;
    document->appendText(*p, "Plain ", TAttr{});
    document->appendText(*p, "bold", Styled(0, 0, 0, AttrStyle::Bold));
    document->appendText(*p, " and ", TAttr{});
    document->appendText(*p, "red italic", Styled(courier, 14, 1, AttrStyle::Italic | AttrStyle::Underline));
    document->appendText(*p, "<&\"> caf\u00e9 \u20ac \u0416\u0443\u043a \u65e5\u672c \U0001F600",
                         Styled(times, 11, 3, AttrStyle::Superscript));

    p = document->appendParagraph(p);
    p->alignment = Alignment::Justified;
    document->appendText(*p, "  two  blanks\tand a tab\nsoft break ", Styled(0, 9, 0, AttrStyle::StrikeOut));
    TAttr back = Styled(0, 0, 0, AttrStyle::Subscript);
    back.setBackColor(4);
    document->appendText(*p, "x", back);

    p = document->appendParagraph(p); // an empty paragraph
    p = document->appendParagraph(p);
    p->alignment = Alignment::Right;
    document->appendText(*p, "ends with a break\n", TAttr{});

    // A table of two rows, the first of two cells.
    const std::uint8_t widths[] = {85, 170, 255};
    const std::uint8_t flags[] = {ParFlag::TableCell | ParFlag::MoreCellsFollow,
                                  ParFlag::TableCell | ParFlag::CellNotFirst, ParFlag::TableCell};
    const char* texts[] = {"Day", "Miles", ""};
    std::uint8_t left = 0;
    for (int i = 0; i < 3; ++i) {
        p = document->appendParagraph(p);
        p->flags = flags[i];
        p->cellWidth = widths[i];
        p->cellLeft = i == 1 ? left : 0;
        p->alignment = i == 1 ? Alignment::Right : Alignment::Left;
        p->border.flags = BorderFlag::Present | BorderFlag::Box;
        p->border.width = 1;
        left = std::uint8_t(left + widths[i]);
        document->appendText(*p, texts[i], i == 0 ? Styled(0, 0, 0, AttrStyle::Bold) : TAttr{});
    }

    p = document->appendParagraph(p);
    p->flags = 0;
    p->border = {};
    p->alignment = Alignment::Left;
    TGraphic picture;
    picture.kind = GraphicKind::Dib;
    picture.bytes = std::string("BM", 2) + std::string(12, '\0') + std::string("\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0", 16)
                  + std::string(28, '\x7f');
    picture.width = 1;
    picture.height = 1;
    picture.planes = 1;
    picture.bitsPerPixel = 24;
    TTextObject& object = document->addObject(std::make_unique<TGraphic>(picture));
    object.width = 150;
    object.height = 300;
    TAttr objectAttr;
    objectAttr.flags = AttrFlag::Object;
    objectAttr.tag = object.tag;
    document->appendText(*p, "see ", TAttr{});
    document->appendText(*p, "\x01", objectAttr);
    document->appendText(*p, " and ", TAttr{});
    document->appendText(*p, "http://example.org/", Styled(0, 0, 0, AttrStyle::Hyperlink, AttrFlag::Hidden));
    document->appendText(*p, "the site", Styled(0, 0, 0, AttrStyle::Hyperlink));
    document->appendText(*p, " or ", TAttr{});
    document->appendText(*p, "mailto:me@here", Styled(0, 0, 0, AttrStyle::Hyperlink));
    return document;
}

} // namespace

TEST(HtmlWriter, PageHeaderParagraphsAndTrailer)
{
    TWPRTFText document;
    TParagraph* p = document.firstParagraph();
    document.appendText(*p, "Hello", TAttr{});
    p = document.appendParagraph(p);
    p->alignment = Alignment::Center;
    document.appendText(*p, "World", Styled(0, 0, 0, AttrStyle::Bold));
    EXPECT_EQ(WriteHtml(document),
              "<html>\r\n<meta charset=\"utf-8\">\r\n<title></title>\r\n<BASEFONT FACE=\"Arial\" COLOR=#000000>\r\n"
              "<p ALIGN=\"LEFT\">Hello</p>\r\n"
              "<p ALIGN=\"CENTER\"><b>World</b></p>\r\n"
              "\r\n</html>");
}

TEST(HtmlWriter, FootnotesByStoreMode)
{
    TWPRTFText document;
    TFootnote footnote;
    footnote.mark = '*';
    footnote.text = "a -- note";
    const int number = document.addFootnote(footnote).number;
    TAttr anchor;
    anchor.flags = AttrFlag::FootnoteAnchor;
    anchor.tag = std::uint16_t(number);
    document.appendText(*document.firstParagraph(), "word", TAttr{});
    document.appendText(*document.firstParagraph(), "*", anchor);
    const std::string shown = WriteHtml(document, {}, THTMLStoreComment::shcFootnote);
    EXPECT_NE(shown.find("word*</p>\r\n<hr>\r\n<p ALIGN=\"LEFT\">* a -- note</p>"), std::string::npos) << shown;
    const std::string hidden = WriteHtml(document, {}, THTMLStoreComment::shcHiddenFootnote);
    EXPECT_NE(hidden.find("word*<!--a - - note--></p>"), std::string::npos) << hidden;
    const std::string off = WriteHtml(document, {}, THTMLStoreComment::shcOFF);
    EXPECT_NE(off.find("word*</p>"), std::string::npos) << off;
    EXPECT_EQ(off.find("note"), std::string::npos);
}

TEST(HtmlWriter, OutputIsUtf8WithOnlyTheMarkupEscaped)
{
    auto document = RichDocument();
    const std::string html = WriteHtml(*document);
    EXPECT_TRUE(IsWellFormedUtf8(html)) << html;
    EXPECT_EQ(html.rfind("<html>\r\n<meta charset=\"utf-8\">\r\n", 0), 0u) << html;
    EXPECT_NE(html.find("<title>A day &amp; a night \u2014 \u0416\u0443\u043a</title>"), std::string::npos) << html;
    EXPECT_NE(html.find("&lt;&amp;&quot;&gt; caf\u00e9 \u20ac \u0416\u0443\u043a \u65e5\u672c \U0001F600"),
              std::string::npos) << html;
    EXPECT_NE(html.find("<A HREF=\"http://example.org/\">the site</A>"), std::string::npos) << html;
    EXPECT_NE(html.find("<A HREF=\"mailto:me@here\">mailto:me@here</A>"), std::string::npos) << html;
    EXPECT_NE(html.find("<table BORDER>"), std::string::npos) << html;
}

// What the writer writes, the reader reads back as the same document; and writing that again
// gives the same page.
TEST(HtmlWriter, ReadsBackAsTheSameDocument)
{
    auto original = RichDocument();
    const std::string html = WriteHtml(*original);
    auto copy = htmltest::ReadHtml(html);
    EXPECT_EQ(htmltest::Canonical(*copy), htmltest::Canonical(*original)) << html;
    EXPECT_EQ(copy->header().title, original->header().title);
    ASSERT_EQ(copy->objects().size(), 1u);
    ASSERT_TRUE(copy->objects()[0]->graphic);
    EXPECT_EQ(*copy->objects()[0]->graphic, *original->objects()[0]->graphic);
    EXPECT_EQ(copy->objects()[0]->width, 150);
    EXPECT_EQ(copy->objects()[0]->height, 300);
    EXPECT_EQ(WriteHtml(*copy), html);
}
