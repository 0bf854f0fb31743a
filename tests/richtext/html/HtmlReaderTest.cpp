// Tests of the HTML reader: paragraphs and white space, styles, fonts and colours, lists,
// tables, pictures, links and hostile input.
#include "HtmlTestSupport.h"
#include "TempFolder.h"

#include "richtext/html/HtmlPictures.h"

#include <gtest/gtest.h>

using namespace quillory;
using htmltest::ReadHtml;

namespace {

// The characters of the first occurrence of `needle`, or null.
const TAttr* AttrOf(const TWPRTFText& document, std::string_view needle)
{
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next()) {
        for (const TTextLine* line = p->firstLine(); line; line = line->next()) {
            const auto at = line->view().find(needle);
            if (at != std::string_view::npos)
                return &line->attrs()[at];
        }
    }
    return nullptr;
}

const TParagraph* ParagraphOf(const TWPRTFText& document, std::string_view needle)
{
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next()) {
        if (p->text().find(needle) != std::string::npos)
            return p;
    }
    return nullptr;
}

std::string FontName(const TWPRTFText& document, const TAttr& attr)
{
    const FontEntry* font = document.header().font(attr.font);
    return font ? font->name : "?";
}

} // namespace

TEST(HtmlReader, ParagraphsAndWhiteSpace)
{
    struct Case {
        const char* html;
        const char* text; // DumpText: one line per paragraph
    } cases[] = {
        {"plain words", "plain words\n"},
        {"<p>one</p><p>two</p>", "one\ntwo\n"},
        {"<p>\n  one\n  two  </p>\n\n<p>  three</p>", "one two\nthree\n"},
        {"<p>a</p><p></p><div></div><p>b</p>", "a\nb\n"},            // empty blocks leave nothing
        {"<p>a</p><p><br></p><p>b</p>", "a\n\nb\n"},                 // ... unless they hold a <br>
        {"<p>a<br>b<br></p>", "a\\nb\n"},                            // the last <br> of a block shows nothing
        {"<p>a<br><br></p>", "a\\n\n"},
        {"a<br> b", "a\\nb\n"},
        {"<h1>Title</h1>text<div>block</div>tail", "Title\ntext\nblock\ntail\n"},
        {"<p>x&nbsp;&nbsp;y&#32;&#32;z&#9;t</p>", "x\\xc2\\xa0\\xc2\\xa0y  z\\tt\n"},
        {"<pre>\n a  b\n  c</pre>d", " a  b\\n  c\nd\n"},
        {"<head><title>T</title><style>p {}</style><script>x<y</script></head><body>b</body>", "b\n"},
        {"<p>a <b>b</b> <i> c</i></p>", "a b c\n"},
        {"<ul><li>bread<li>cheese</ul><ol start=3><li>walk</li></ol>",
         "\\xe2\\x80\\xa2\\tbread\n\\xe2\\x80\\xa2\\tcheese\n3.\\twalk\n"},
        {"<ul><li><p>bread</p></li><li></li></ul><p>after</p>", "\\xe2\\x80\\xa2\\tbread\nafter\n"},
        {"<ol type=a><li>x<li>y</ol><ol type=I><li>p<li>q<li>r<li>s</ol>", "a.\\tx\nb.\\ty\nI.\\tp\nII.\\tq\nIII.\\tr\nIV.\\ts\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DumpText(*ReadHtml(c.html)), c.text) << c.html;
}

TEST(HtmlReader, NewParagraphsGetTheHtmlDefaults)
{
    auto document = ReadHtml("<p>one</p><p align=center>two</p><ul><li>three</ul>");
    const TParagraph* one = ParagraphOf(*document, "one");
    const TParagraph* two = ParagraphOf(*document, "two");
    const TParagraph* three = ParagraphOf(*document, "three");
    EXPECT_EQ(one->spaceAfter, 50);
    EXPECT_EQ(one->leftIndent, 144);
    EXPECT_EQ(one->firstIndent, 144);
    EXPECT_TRUE(one->hasFlag(ParFlag::FromHtml));
    EXPECT_EQ(two->alignment, Alignment::Center);
    EXPECT_EQ(three->leftIndent, 360);
    EXPECT_EQ(document->paragraphCount(), 3);
}

TEST(HtmlReader, CharacterStylesFontsAndColours)
{
    auto document = ReadHtml(
        "<BASEFONT FACE=\"Times New Roman\">base "
        "<b>bold</b> <i>italic</i> <u>under</u> <s>struck</s> <sup>up</sup> <sub>down</sub> "
        "<font face=courier size=5 color=green bgcolor=#ffff00>mono</font> "
        "<font size=+1 color=\"#0000FF\">bigger</font> "
        "<span style=\"font-weight:bold; font-size:11pt; color:#800080; font-family:'Georgia', serif\">styled</span> "
        "<strong><em>both</em></strong> after");
    const TAttr* base = AttrOf(*document, "base");
    EXPECT_EQ(FontName(*document, *base), "Times New Roman");
    EXPECT_EQ(base->style, 0);
    EXPECT_EQ(base->size, 0);
    EXPECT_EQ(AttrOf(*document, "bold")->style, AttrStyle::Bold);
    EXPECT_EQ(AttrOf(*document, "italic")->style, AttrStyle::Italic);
    EXPECT_EQ(AttrOf(*document, "under")->style, AttrStyle::Underline);
    EXPECT_EQ(AttrOf(*document, "struck")->style, AttrStyle::StrikeOut);
    EXPECT_EQ(AttrOf(*document, "up")->style, AttrStyle::Superscript);
    EXPECT_EQ(AttrOf(*document, "down")->style, AttrStyle::Subscript);
    const TAttr* mono = AttrOf(*document, "mono");
    EXPECT_EQ(FontName(*document, *mono), "Courier New");
    EXPECT_EQ(mono->size, 18);
    EXPECT_EQ(mono->textColor(), 2);  // green in the default table
    EXPECT_EQ(mono->backColor(), 4);  // yellow
    const TAttr* bigger = AttrOf(*document, "bigger");
    EXPECT_EQ(bigger->size, 14);
    EXPECT_EQ(bigger->textColor(), 3);
    EXPECT_EQ(FontName(*document, *bigger), "Times New Roman");
    const TAttr* styled = AttrOf(*document, "styled");
    EXPECT_EQ(styled->style, AttrStyle::Bold);
    EXPECT_EQ(styled->size, 11);
    EXPECT_EQ(styled->textColor(), 6); // purple
    EXPECT_EQ(FontName(*document, *styled), "Georgia");
    EXPECT_EQ(AttrOf(*document, "both")->style, AttrStyle::Bold | AttrStyle::Italic);
    EXPECT_EQ(AttrOf(*document, "after")->style, 0);
}

TEST(HtmlReader, UnmatchedAndCrossedTagsKeepFormattingSane)
{
    auto document = ReadHtml("<b>a<i>b</b>c</i>d</u>e");
    EXPECT_EQ(AttrOf(*document, "a")->style, AttrStyle::Bold);
    EXPECT_EQ(AttrOf(*document, "b")->style, AttrStyle::Bold | AttrStyle::Italic);
    EXPECT_EQ(AttrOf(*document, "c")->style, 0); // </b> closes what was opened inside it
    EXPECT_EQ(AttrOf(*document, "e")->style, 0);
}

TEST(HtmlReader, TablesBecomeCellParagraphs)
{
    auto document = ReadHtml(
        "<p>before</p><table border=1><tr><th>Day</th><td align=right>Miles</td></tr>"
        "<tr><td colspan=2>wide<p>second line</td></tr>"
        "<tr><td width=\"20%\">xx</td><td>yy</td><td>zz</td></tr></table>after");
    EXPECT_EQ(DumpText(*document), "before\nDay\nMiles\nwide\\nsecond line\nxx\nyy\nzz\nafter\n");
    const TParagraph* day = ParagraphOf(*document, "Day");
    const TParagraph* miles = ParagraphOf(*document, "Miles");
    const TParagraph* wide = ParagraphOf(*document, "wide");
    const TParagraph* a = ParagraphOf(*document, "xx");
    const TParagraph* c = ParagraphOf(*document, "zz");
    EXPECT_EQ(day->flags & 0x0F, ParFlag::TableCell | ParFlag::MoreCellsFollow);
    EXPECT_EQ(miles->flags & 0x0F, ParFlag::TableCell | ParFlag::CellNotFirst);
    EXPECT_EQ(wide->flags & 0x0F, ParFlag::TableCell);
    EXPECT_EQ(AttrOf(*document, "Day")->style, AttrStyle::Bold);
    EXPECT_EQ(AttrOf(*document, "Miles")->style, 0);
    EXPECT_EQ(miles->alignment, Alignment::Right);
    EXPECT_TRUE(day->border.present());
    EXPECT_EQ(day->cellWidth, 128);
    EXPECT_EQ(miles->cellLeft, 128);
    EXPECT_EQ(wide->cellWidth, 255);
    EXPECT_EQ(a->cellWidth, 51);
    EXPECT_EQ(c->cellLeft, 51 + 102);
    EXPECT_FALSE(ParagraphOf(*document, "before")->isTableCell());
    EXPECT_FALSE(ParagraphOf(*document, "after")->isTableCell());
}

TEST(HtmlReader, NestedTablesAndStrayTextStayInTheOuterCell)
{
    auto document = ReadHtml("<table><tr><td>x<table><tr><td>1</td><td>2</td></tr><tr><td>3</td></tr></table>"
                             "</td>stray<td>y</td></table>");
    EXPECT_EQ(DumpText(*document), "x\\n1\\t2\\n3\nstray\ny\n");
    EXPECT_TRUE(ParagraphOf(*document, "stray")->isTableCell());
}

TEST(HtmlReader, LinksKeepTheirTargetAsHiddenText)
{
    auto document = ReadHtml("<a href=\"http://example.org/\">the site</a> and <a href=\"mailto:x@y\">mailto:x@y</a>"
                             " <a href=\"#top\">top</a>");
    EXPECT_EQ(DumpText(*document), "http://example.org/the site and mailto:x@y top\n");
    const TAttr* target = AttrOf(*document, "http://example.org/");
    EXPECT_EQ(target->style, AttrStyle::Hyperlink);
    EXPECT_EQ(target->flags, AttrFlag::Hidden);
    EXPECT_EQ(AttrOf(*document, "the site")->style, AttrStyle::Hyperlink);
    EXPECT_EQ(AttrOf(*document, "the site")->flags, 0);
    EXPECT_EQ(AttrOf(*document, "mailto:x@y")->flags, 0); // the text is the target: nothing hidden
    EXPECT_EQ(AttrOf(*document, "top")->style, 0);         // a link inside the page is plain text
}

TEST(HtmlReader, PicturesFromDataUrisTheRequestHandlerAndTheFolder)
{
    TempFolder folder;
    std::string bmp = "BM" + std::string(12, '\0');
    bmp += std::string("\x28\0\0\0\x02\0\0\0\x03\0\0\0\x01\0\x18\0", 16) + std::string(30, '\0');
    folder.write("dot.bmp", bmp);
    TGraphic metafile;
    metafile.kind = GraphicKind::Metafile;
    metafile.bytes = std::string("\xD7\xCD\xC6\x9A", 4) + std::string(40, 'm');
    metafile.width = 300;
    metafile.height = 200;

    TWPHTMLReader reader;
    reader.filePath = folder.withSlash();
    reader.onBitmapRequest = [](std::string_view source, TGraphic& graphic) {
        if (source != "asked.png")
            return false;
        graphic.bytes = "pixels";
        return true;
    };
    auto document = ReadHtml("<img src=\"dot.bmp\"><img src=\"" + html::DataUri(metafile)
                                 + "\" width=20 height=10><img src=\"asked.png\"><img src=\"missing.gif\" width=5>",
                             &reader);
    ASSERT_EQ(document->objects().size(), 4u);
    const TTextObject& dot = *document->objects()[0];
    ASSERT_TRUE(dot.graphic);
    EXPECT_EQ(dot.graphic->kind, GraphicKind::Dib);
    EXPECT_EQ(dot.graphic->width, 2);
    EXPECT_EQ(dot.graphic->height, 3);
    EXPECT_EQ(dot.fileName, "dot.bmp");
    EXPECT_EQ(dot.width, 30); // pixels at 15 twips
    const TTextObject& embedded = *document->objects()[1];
    ASSERT_TRUE(embedded.graphic);
    EXPECT_EQ(*embedded.graphic, metafile);
    EXPECT_EQ(embedded.fileName, "");
    EXPECT_EQ(embedded.width, 300);
    EXPECT_EQ(embedded.height, 150);
    ASSERT_TRUE(document->objects()[2]->graphic);
    EXPECT_EQ(document->objects()[2]->graphic->bytes, "pixels");
    EXPECT_FALSE(document->objects()[3]->graphic);
    EXPECT_EQ(document->objects()[3]->fileName, "missing.gif");
    // Each picture is one placeholder character that names its object.
    const TTextLine* line = document->firstParagraph()->firstLine();
    ASSERT_EQ(line->length(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(line->code(i), CharCode::Object);
        EXPECT_TRUE(line->attrs()[i].hasFlag(AttrFlag::Object));
        EXPECT_EQ(line->attrs()[i].tag, document->objects()[std::size_t(i)]->tag);
    }
}

TEST(HtmlReader, TitleAndPasteIntoAnExistingParagraph)
{
    auto document = ReadHtml("<title> My\n day </title><p>x</p>");
    EXPECT_EQ(document->header().title, "My day");

    // Reading into a paragraph that has text continues it; the header stays as it is.
    TWPRTFText target;
    TParagraph* current = target.firstParagraph();
    target.appendText(*current, "start ", TAttr{});
    current->alignment = Alignment::Right;
    TWPHTMLReader reader;
    reader.keepHeader = true;
    reader.ReadStream("<title>T</title><p>pasted</p><p>more</p>", &target, &current);
    EXPECT_EQ(DumpText(target), "start pasted\nmore\n");
    EXPECT_EQ(target.firstParagraph()->alignment, Alignment::Right);
    EXPECT_EQ(target.header().title, "");
    EXPECT_EQ(current, target.lastParagraph());
}

// Pages of every script, in the encodings they come in: the title, the font names and the text
// keep every character; nothing becomes '?'.
TEST(HtmlReader, PagesOfEveryScriptKeepEveryCharacter)
{
    struct Case {
        const char* name;
        std::string html;
        std::string title;
        std::string text;
    } cases[] = {
        {"UTF-8", "<title>\u0416\u0443\u043a</title><p>Za\u017c\u00f3\u0142\u0107 \u03a3\u03c3\u03c2 \u05e9\u05dc\u05d5\u05dd</p><p>\u65e5\u672c\u8a9e \ud55c\uad6d\uc5b4 \U0001F600\U0001F44D\U0001F3FD</p>",
         "\u0416\u0443\u043a", "Za\u017c\u00f3\u0142\u0107 \u03a3\u03c3\u03c2 \u05e9\u05dc\u05d5\u05dd|\u65e5\u672c\u8a9e \ud55c\uad6d\uc5b4 \U0001F600\U0001F44D\U0001F3FD|"},
        {"entities", "<title>&#x416;&amp;</title><p>&#1046;&#x1F600; &alpha;&ne;&beta; caf&eacute;</p>",
         "\u0416&", "\u0416\U0001F600 \u03b1\u2260\u03b2 caf\u00e9|"},
        {"windows-1251", "<meta charset=windows-1251><title>\xC6\xF3\xEA</title><p>\xCF\xF0\xE8\xE2\xE5\xF2</p>",
         "\u0416\u0443\u043a", "\u041f\u0440\u0438\u0432\u0435\u0442|"},
        {"older cp1252 page", "<title>caf\xE9</title><p>\x93quoted\x94 \x80</p>", "caf\u00e9",
         "\u201cquoted\u201d \u20ac|"},
    };
    for (const Case& c : cases) {
        auto document = ReadHtml(c.html);
        std::string text;
        for (const TParagraph* p = document->firstParagraph(); p; p = p->next())
            text += p->text() + "|";
        EXPECT_EQ(document->header().title, c.title) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
    }
    auto fonts = ReadHtml("<font face=\"\u5b8b\u4f53\">\u4e2d\u6587</font>");
    const TAttr* attr = AttrOf(*fonts, "\u4e2d\u6587");
    ASSERT_TRUE(attr);
    EXPECT_EQ(FontName(*fonts, *attr), "\u5b8b\u4f53");
}

TEST(HtmlReader, ZeroByteEndsTheInput)
{
    TWPRTFText document;
    TParagraph* current = document.firstParagraph();
    TWPHTMLReader reader;
    reader.ReadStream(std::string_view("<p>a</p>\0<p>b</p>", 17), &document, &current);
    EXPECT_EQ(DumpText(document), "a\n");
    EXPECT_EQ(reader.consumed(), 9u);
}

TEST(HtmlReader, HostileInputEndsWithAPartialDocument)
{
    const std::string inputs[] = {
        std::string(100000, '<') ,
        [] { std::string s; for (int i = 0; i < 100000; ++i) s += "<b><i><font size=7>"; return s + "x"; }(),
        [] { std::string s; for (int i = 0; i < 20000; ++i) s += "<table><tr><td>"; return s + "x"; }(),
        [] { std::string s; for (int i = 0; i < 20000; ++i) s += "<ul><li>"; return s + "x"; }(),
        [] { std::string s; for (int i = 0; i < 50000; ++i) s += "<a href=\"" + std::string(20, 'h') + "\">"; return s + std::string(100000, 'x'); }(),
        [] { std::string s = "<table>"; for (int i = 0; i < 5000; ++i) s += "<td colspan=99999 width=\"1e308%\">"; return s; }(),
        "<img src=\"data:image/bmp;base64,Qk0=\" width=-5 height=99999999999>",
        "<ol start=2147483647><li>a<li>b</ol><ol type=a start=-3><li>c</ol>",
    };
    for (const std::string& input : inputs) {
        auto document = ReadHtml(input);
        EXPECT_GE(document->paragraphCount(), 1) << input.substr(0, 40);
    }
    // Object tags are 16 bits and each new tag is sought among the objects: the pictures of one
    // page are bounded, or 100,000 <img> would take minutes.
    std::string pictures;
    for (int i = 0; i < 100000; ++i)
        pictures += "<img>";
    EXPECT_EQ(ReadHtml(pictures)->objects().size(), TWPHTMLReader::kMaxPictures);
}
