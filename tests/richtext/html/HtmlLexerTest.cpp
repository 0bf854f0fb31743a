// Tests of the HTML tokenizer: tags, attributes, entities, white space, and hostile input.
#include "richtext/html/HtmlLexer.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillory::html;

namespace {

// Tokens as one line each: <name a=v> </name> "text" _ (space) | (line feed).
std::string Dump(std::string_view input, bool utf8 = false, bool pre = false)
{
    HtmlLexer lexer(input, utf8);
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

TEST(HtmlLexer, EntitiesBecomeCp1252)
{
    struct Case {
        const char* input;
        const char* text;
    } cases[] = {
        {"&quot;&amp;&lt;&gt;", "\"&<>"},
        {"&eacute;&Eacute;&nbsp;", "\xE9\xC9\xA0"},
        {"&euro;&mdash;&hellip;&bull;", "\x80\x97\x85\x95"},
        {"&#233;&#xE9;&#XE9;&#8364;", "\xE9\xE9\xE9\x80"},
        {"&#150;", "\x96"},                      // a cp1252 code given as a number
        {"&#937;&#x1F600;&#99999999999;", "???"}, // characters cp1252 cannot hold
        {"&#9;&#10;&#1;&#0;", "\t "},             // TAB kept, line end a blank, controls dropped
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

TEST(HtmlLexer, Utf8WhenDeclared)
{
    EXPECT_TRUE(DeclaresUtf8("<meta charset=\"UTF-8\">"));
    EXPECT_TRUE(DeclaresUtf8("<meta http-equiv=content-type content=\"text/html; charset=utf-8\">"));
    EXPECT_TRUE(DeclaresUtf8("\xEF\xBB\xBFplain"));
    EXPECT_FALSE(DeclaresUtf8("<meta charset=windows-1252>caf\xC3\xA9"));

    EXPECT_EQ(Dump("caf\xC3\xA9\xE2\x82\xAC\xCE\xA9", true), "\"caf\xE9\x80?\" ");
    // A malformed sequence is read as cp1252 bytes rather than lost.
    EXPECT_EQ(Dump("\xC3(\xE9", true), "\"\xC3(\xE9\" ");
    EXPECT_EQ(Dump("\xEF\xBB\xBFx", true), "\"x\" ");
    // Without the declaration the same bytes are cp1252.
    EXPECT_EQ(Dump("caf\xC3\xA9"), "\"caf\xC3\xA9\" ");
}

TEST(HtmlLexer, ControlBytesNeverReachTheText)
{
    // Codes 1 to 3 are the document's object placeholders.
    EXPECT_EQ(Dump(std::string("a\x01\x02\x03\x7F" "b", 6)), "\"ab\" ");
    EXPECT_EQ(Dump(std::string("a\0b", 3)), "\"ab\" ");
}

TEST(HtmlLexer, PreformattedKeepsWhiteSpace)
{
    EXPECT_EQ(Dump("a  b\tc\r\nd\re", false, true), "\"a  b\tc\" | \"d\" | \"e\" ");
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
    HtmlLexer lexer(longName, false);
    std::string many = "<p";
    for (int i = 0; i < 200; ++i)
        many += " a" + std::to_string(i);
    many += ">";
    HtmlLexer manyLexer(many, false);
    EXPECT_EQ(lexer.Next().name.size(), HtmlLexer::kMaxNameLength);
    EXPECT_EQ(manyLexer.Next().attributes.size(), HtmlLexer::kMaxAttributes);
}
