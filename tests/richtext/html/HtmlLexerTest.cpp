// Tests of the HTML tokenizer: tags, attributes, entities, white space, and hostile input.
#include "richtext/html/HtmlCharacters.h"
#include "richtext/html/HtmlLexer.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillory::html;

namespace {

// Tokens as one line each: <name a=v> </name> "text" _ (space) | (line feed).
std::string Dump(std::string_view input, bool pre = false)
{
    HtmlLexer lexer(input);
    lexer.SetPreformatted(pre);
    std::string out;
    for (int guard = 0; guard < 10000; ++guard) {
        const HtmlToken token = lexer.Next();
        switch (token.kind) {
        case HtmlTokenKind::End:
            return out;
        case HtmlTokenKind::Text:
            out += '"' + token.text + "\" ";
            break;
        case HtmlTokenKind::Space:
            out += "_ ";
            break;
        case HtmlTokenKind::LineFeed:
            out += "| ";
            break;
        case HtmlTokenKind::StartTag:
            out += '<' + token.name;
            for (const HtmlAttribute& a : token.attributes)
                out += ' ' + a.name + '=' + a.value;
            out += token.selfClosing ? "/> " : "> ";
            break;
        case HtmlTokenKind::EndTag:
            out += "</" + token.name + "> ";
            break;
        }
    }
    return out + "(no end)";
}

} // namespace

TEST(HtmlLexer, TagsAttributesTextAndSpace)
{
    struct Case {
        const char* input;
        const char* tokens;
    } cases[] = {
        {"<P ALIGN=\"CENTER\">Hi  there</p>", "<p align=CENTER> \"Hi\" _ \"there\" </p> "},
        {"<font face='Courier New' size=4 color=#FF0000>x", "<font face=Courier New size=4 color=#FF0000> \"x\" "},
        {"<br/><hr noshade>", "<br/> <hr noshade=> "},
        {"a<!-- <b>not a tag</b> -->b", "\"a\" \"b\" "},
        {"<!DOCTYPE html><?xml x?>z", "\"z\" "},
        {"1 < 2 <> 3</ 4", "\"1\" _ \"<\" _ \"2\" _ \"<>\" _ \"3</\" _ \"4\" "},
        {"<title>A &amp; <b>B</b></title>c", "<title> \"A & <b>B</b>\" </title> \"c\" "},
        {"<script>if (a<b) x();</script>d", "<script> \"if (a<b) x();\" </script> \"d\" "},
        // Raw text keeps entities as written but never control bytes (object placeholders).
        {"<xmp>a\x01&amp;\tb</xmp>", "<xmp> \"a&amp;\tb\" </xmp> "},
        {"<p\n class = x\tid=\"y\">", "<p class=x id=y> "},
        {"<b unclosed <i>", "<b unclosed=> <i> "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Dump(c.input), c.tokens) << c.input;
}

TEST(HtmlLexer, EntitiesBecomeTheirCharacters)
{
    struct Case {
        const char* input;
        const char* text;
    } cases[] = {
        {"&quot;&amp;&lt;&gt;&apos;", "\"&<>'"},
        {"&eacute;&Eacute;&nbsp;", "\u00e9\u00c9\u00a0"},
        {"&euro;&mdash;&hellip;&bull;", "\u20ac\u2014\u2026\u2022"},
        {"&alpha;&Omega;&sigmaf;&rarr;&hearts;&le;", "\u03b1\u03a9\u03c2\u2192\u2665\u2264"},
        {"&#233;&#xE9;&#XE9;&#8364;", "\u00e9\u00e9\u00e9\u20ac"},
        {"&#1046;&#x416;&#937;&#x65E5;&#x1F600;", "\u0416\u0416\u03a9\u65e5\U0001F600"},
        {"&#150;", "\u2013"},                             // a cp1252 code given as a number
        {"&#xD83D;&#x110000;&#99999999999;", "\uFFFD\uFFFD\uFFFD"}, // no character: as browsers show it
        {"&#9;&#10;&#1;&#0;", "\t "},                     // TAB kept, line end a blank, controls dropped
        {"&nosuch;&amp", "&nosuch;&"},
        {"&#;&#x;&", "&#;&#x;&"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Dump(c.input), std::string("\"") + c.text + "\" ") << c.input;
}

TEST(HtmlLexer, AttributeValuesNeedTheSemicolon)
{
    EXPECT_EQ(Dump("<a href=\"x?a=1&copy=2&amp;b=&lt;\">"), "<a href=x?a=1&copy=2&b=<> ");
}

TEST(HtmlLexer, CharactersOfTheText)
{
    EXPECT_EQ(Dump("caf\xC3\xA9\xE2\x82\xAC\xCE\xA9\xF0\x9F\x98\x80"), "\"caf\u00e9\u20ac\u03a9\U0001F600\" ");
    // A byte that is no part of a character is read as cp1252 rather than lost.
    EXPECT_EQ(Dump("\xC3(\xE9\xF0\x9F"), "\"\u00c3(\u00e9\u00f0\u0178\" ");
    EXPECT_EQ(Dump("\xEF\xBB\xBFx"), "\"x\" ") << "a byte-order mark is no text";
    EXPECT_EQ(Dump("\xC2\x80\xC2\x96"), "\"\u20ac\u2013\" ") << "C1 codes are cp1252's characters";
}

TEST(HtmlCharacters, DeclaredCharsets)
{
    struct Case {
        const char* input;
        int codePage;
    } cases[] = {
        {"<meta charset=\"UTF-8\">", Utf8CodePage},
        {"<meta http-equiv=content-type content=\"text/html; charset=utf-8\">", Utf8CodePage},
        {"<meta charset=windows-1252>", 1252},
        {"<META CHARSET='ISO-8859-1'>", 1252},
        {"<meta charset=windows-1251>", 1251},
        {"<meta content=\"text/html; charset=Shift_JIS\">", 932},
        {"<meta charset=big5>", 950},
        {"<meta charset=koi8-r>", 0},
        {"<p>no declaration</p>", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeclaredCodePage(c.input), c.codePage) << c.input;
}

TEST(HtmlCharacters, PagesBecomeUtf8)
{
    struct Case {
        const char* name;
        std::string input;
        std::string text;
    } cases[] = {
        {"UTF-8 without a declaration", "caf\xC3\xA9 \xD0\x96", "caf\u00e9 \u0416"},
        {"an older cp1252 page", "caf\xE9 \x80", "caf\u00e9 \u20ac"},
        {"byte-order mark", "\xEF\xBB\xBFx\xE9\xD0\x96", "x\u00e9\u0416"},
        {"declared UTF-8 with a stray byte", "<meta charset=utf-8>\xD0\x96\xE9", "<meta charset=utf-8>\u0416\u00e9"},
        {"declared cp1252", "<meta charset=windows-1252>caf\xC3\xA9", "<meta charset=windows-1252>caf\u00c3\u00a9"},
        {"declared cp1251", "<meta charset=windows-1251>\xC6\xF3\xEA", "<meta charset=windows-1251>\u0416\u0443\u043a"},
        {"declared Shift_JIS", "<meta charset=shift_jis>\x93\xFA\x96\x7B", "<meta charset=shift_jis>\u65e5\u672c"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageTextAsUtf8(c.input), c.text) << c.name;
}

TEST(HtmlLexer, ControlBytesNeverReachTheText)
{
    // Codes 1 to 3 are the document's object placeholders.
    EXPECT_EQ(Dump(std::string("a\x01\x02\x03\x7F" "b", 6)), "\"ab\" ");
    EXPECT_EQ(Dump(std::string("a\0b", 3)), "\"ab\" ");
}

TEST(HtmlLexer, PreformattedKeepsWhiteSpace)
{
    EXPECT_EQ(Dump("a  b\tc\r\nd\re", true), "\"a  b\tc\" | \"d\" | \"e\" ");
}

TEST(HtmlLexer, EndsOnTruncatedOrHostileInput)
{
    const std::string inputs[] = {
        "<", "<a", "<a href=\"", "<a href='x", "<!--", "<!-- x --", "</", "</b", "&", "&#", "&#x",
        "<title>", "<script>never closed", "<p " + std::string(100000, 'a'),
        std::string(50000, '<') + std::string(50000, 'b'),
        "<b " + std::string(100000, '=') + ">",
    };
    for (const std::string& input : inputs) {
        const std::string dump = Dump(input);
        EXPECT_EQ(dump.find("(no end)"), std::string::npos) << input.substr(0, 20);
    }
    // Names and attribute lists are bounded.
    const std::string longName = "<" + std::string(1000, 'x') + std::string(" a").append(20, 'b') + ">";
    HtmlLexer lexer(longName);
    std::string many = "<p";
    for (int i = 0; i < 200; ++i)
        many += " a" + std::to_string(i);
    many += ">";
    HtmlLexer manyLexer(many);
    EXPECT_EQ(lexer.Next().name.size(), HtmlLexer::kMaxNameLength);
    EXPECT_EQ(manyLexer.Next().attributes.size(), HtmlLexer::kMaxAttributes);
}
