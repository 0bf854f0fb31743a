// Tests of reading text of every script into the document's UTF-8: \uN with its fallback and
// surrogate pairs, \'hh and raw bytes in the code page of the document or of the font, double-byte
// pages, symbol fonts, \upr, and the strings beside the text (font names, header, footnotes).
#include "RtfReaderTestSupport.h"

#include "platform/Utf8.h"

#include <gtest/gtest.h>

using namespace quillory;
using quillory::testing::ReadRtf;

namespace {

// The paragraphs' text joined by '|'.
std::string Paragraphs(const TWPRTFText& document)
{
    std::string text;
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next())
        text += (p == document.firstParagraph() ? "" : "|") + p->text();
    return text;
}

struct TextCase {
    const char* name;
    std::string_view rtf;
    std::string_view text; // UTF-8, paragraphs joined by '|'
};

void ExpectTexts(std::span<const TextCase> cases)
{
    for (const auto& c : cases) {
        const auto read = ReadRtf(c.rtf);
        EXPECT_EQ(read.result, 0) << c.name;
        EXPECT_EQ(Paragraphs(*read.document), c.text) << c.name << "\n" << c.rtf;
    }
}

TEST(RtfReaderScripts, ReadsUnicodeWordsOfEveryScript)
{
    const TextCase cases[] = {
        {"Polish", "{\\rtf1 Za\\u380?\\u243?\\u322?\\u263?}", "Zażółć"},
        {"Russian", "{\\rtf1 \\u1046?\\u1091?\\u1082?}", "Жук"},
        {"Greek", "{\\rtf1 \\u931?\\u963?\\u962?}", "Σσς"},
        {"Hebrew", "{\\rtf1 \\u1513?\\u1500?\\u1493?\\u1501?}", "שלום"},
        {"Arabic", "{\\rtf1 \\u1605?\\u1585?\\u1581?\\u1576?\\u1575?}", "مرحبا"},
        {"Chinese", "{\\rtf1 \\u20013?\\u25991?}", "中文"},
        {"Japanese, negative N", "{\\rtf1 \\u12354?\\u-156?}", "あ､"},
        {"Korean", "{\\rtf1 \\u54620?\\u44544?}", "한글"},
        {"cp1252 characters skip their fallback as before", "{\\rtf1 \\u233\\'e9 \\u8364?\\u8212\\'97}", "é €—"},
        {"emoji as a surrogate pair", "{\\rtf1 a\\u-10179?\\u-8704?b}", "a😀b"},
        {"mathematical letter as a pair without fallbacks", "{\\rtf1\\uc0 \\u-10187\\u-9115 x}", "𝑥x"},
        {"a pair with \\uc between its halves", "{\\rtf1 \\uc0 \\u55357\\uc1 \\u56832\\'3f!}", "😀!"},
        {"a character beyond 16 bits given whole", "{\\rtf1 \\u128512?}", "😀"},
        {"a high half without its low one", "{\\rtf1 \\u-10179?x\\u-10179?\\u-10179?\\u-8704?}", "\uFFFDx\uFFFD😀"},
        {"a low half alone", "{\\rtf1 \\u-8704?y}", "\uFFFDy"},
        {"a high half at a group's end", "{\\rtf1 {\\u-10179?}z}", "\uFFFDz"},
        {"out of range", "{\\rtf1 \\u-40000?\\u1114112?}", "\uFFFD\uFFFD"},
    };
    ExpectTexts(cases);
}

TEST(RtfReaderScripts, SkipsTheFallbackThatUcCounts)
{
    const TextCase cases[] = {
        {"\\uc0: nothing is skipped", "{\\rtf1\\uc0 \\u1046\\u1091 ?}", "Жу?"},
        {"\\uc2 skips two characters of text", "{\\rtf1\\uc2 \\u1046 Zh\\u1091 u?!}", "Жу!"},
        {"\\uc is kept per group", "{\\rtf1 {\\uc2 \\u1046 Zh}\\u1091 ?}", "Жу"},
        {"\\'hh and words count one each", "{\\rtf1\\uc2 \\u12354\\'82\\'a0\\u1046\\emdash\\'3f!}", "あЖ!"},
        {"a brace ends the fallback early", "{\\rtf1\\uc3 {\\u1046 a}b}", "Жb"},
    };
    ExpectTexts(cases);
}

TEST(RtfReaderScripts, DecodesBytesInTheCodePageInForce)
{
    const TextCase cases[] = {
        {"1252 by default", "{\\rtf1\\ansi \\'e9\\'80\\'9c}", "é€œ"},
        {"1250", "{\\rtf1\\ansi\\ansicpg1250 Za\\'bf\\'f3\\'b3\\'e6}", "Zażółć"},
        {"1251", "{\\rtf1\\ansi\\ansicpg1251 \\'c6\\'f3\\'ea}", "Жук"},
        {"1253", "{\\rtf1\\ansi\\ansicpg1253 \\'d3\\'f3\\'f2}", "Σσς"},
        {"1255", "{\\rtf1\\ansi\\ansicpg1255 \\'f9\\'ec\\'e5\\'ed}", "שלום"},
        {"874", "{\\rtf1\\ansi\\ansicpg874 \\'a1}", "ก"},
        {"raw bytes too", "{\\rtf1\\ansi\\ansicpg1251 \xc6\xf3\xea \\b \xc6}", "Жук Ж"},
        {"an unknown code page reads as 1252", "{\\rtf1\\ansi\\ansicpg437 \\'e9}", "é"},
        {"932: lead and trail as \\'hh", "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'93\\'fa\\'96\\'7b}", "あ日本"},
        {"932: an ASCII trail byte written raw", "{\\rtf1\\ansi\\ansicpg932 \\'83A\\'83\\'8a}", "アリ"},
        {"932: the lead's pair across a line end", "{\\rtf1\\ansi\\ansicpg932 \\'82\r\n\\'a0}", "あ"},
        {"932: single-byte katakana", "{\\rtf1\\ansi\\ansicpg932 \\'b1}", "ｱ"},
        {"932: raw lead and trail", "{\\rtf1\\ansi\\ansicpg932 a\x82\xa0" "b}", "aあb"},
        {"932: a lead with no trail", "{\\rtf1\\ansi\\ansicpg932 \\'82\\par \\'82}", "\uFFFD|\uFFFD"},
        {"932: a lead before a control byte or a word", "{\\rtf1\\ansi\\ansicpg932 \\'82\\'09x\\'82\\b y}",
         "\uFFFD\tx\uFFFDy"},
        {"936", "{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4}", "中文"},
        {"949", "{\\rtf1\\ansi\\ansicpg949 \\'c7\\'d1}", "한"},
        {"950", "{\\rtf1\\ansi\\ansicpg950 \\'a4\\'a4}", "中"},
    };
    ExpectTexts(cases);
}

TEST(RtfReaderScripts, AFontsCharsetOverridesTheDocumentsCodePage)
{
    constexpr std::string_view fonts = "{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fcharset204 Arial Cyr;}"
                                       "{\\f2\\fcharset161 Arial Greek;}{\\f3\\fcharset2 Symbol;}"
                                       "{\\f4\\fcharset0 Arial;}{\\f200\\fcharset238 Arial CE;}}";
    const auto rtf = [&](const char* body) { return "{\\rtf1\\ansi\\ansicpg1252" + std::string(fonts) + body + "}"; };
    const std::string rows[][2] = {
        {rtf("\\f1 \\'c6\\f2 \\'d3\\f0 \\'c6"), "ЖΣÆ"},
        {rtf("{\\f1 \\'c6}\\'c6"), "ЖÆ"}, // the group restores the font and its code page
        {rtf("\\f1 \\'c6\\plain \\'c6"), "ЖÆ"},
        {rtf("\\f4 \\'c6"), "Æ"}, // charset 0 leaves the document's code page
        {rtf("\\f200 \\'bf"), "ż"}, // a font beyond the numbers the document's fonts take
        // A symbol font's bytes are the cp1252 characters of those bytes, whatever the code page;
        // U+F0xx is how other writers give such a byte as \u.
        {rtf("\\f3 \\'4a\\'e8\\u-4022?"), "JèJ"},
        {"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0 \\'e8}", "è"},
        // No \ansicpg, the default font Cyrillic.
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset204 Times;}}\\pard\\plain \\'ce\\'c1}", "ОБ"},
    };
    for (const auto& [input, expected] : rows) {
        const auto read = ReadRtf(input);
        EXPECT_EQ(Paragraphs(*read.document), expected) << input;
    }
}

TEST(RtfReaderScripts, TakesTheUnicodeHalfOfUpr)
{
    const TextCase cases[] = {
        {"in the text", "{\\rtf1\\ansicpg1251 a{\\upr{\\'c6?}{\\*\\ud{\\u1046?\\u1091?}}}b}", "aЖуb"},
        {"with formatting inside", "{\\rtf1 {\\upr{\\b x}{\\*\\ud{\\b \\u1046?}}}}", "Ж"},
        {"\\ud alone is text", "{\\rtf1 {\\ud \\u1046?}}", "Ж"},
        {"no \\ud: nothing", "{\\rtf1 a{\\upr{x}}b}", "ab"},
    };
    ExpectTexts(cases);
}

// A character's bytes share one attribute record, and a segment never ends inside one.
TEST(RtfReaderScripts, KeepsEachCharacterWhole)
{
    const auto read = ReadRtf("{\\rtf1 a{\\b\\u1046?}{\\i\\u-10179?\\u-8704?}b}");
    EXPECT_EQ(DumpDocument(*read.document),
              "- | \"a\\xd0\\x96\\xf0\\x9f\\x98\\x80b\" | 1 f0 s10, 2 f0 s10 b, 4 f0 s10 i, 1 f0 s10\n");

    // Characters of two, three and four bytes, shifted by up to three bytes of ASCII, through
    // many segments: raw bytes, \'hh, \u and pairs.
    const std::string characters[] = {"\\'c6", "\xc6", "\\u20013?", "\\u-10179?\\u-8704?"};
    for (int shift = 0; shift < 4; ++shift)
        for (const std::string& character : characters) {
            std::string rtf = "{\\rtf1\\ansicpg1251 " + std::string(size_t(shift), 'a');
            for (int i = 0; i < 3000; ++i)
                rtf += character;
            rtf += "}";
            const auto document = ReadRtf(rtf).document;
            int segments = 0;
            for (const TTextLine* line = document->firstParagraph()->firstLine(); line; line = line->next()) {
                ++segments;
                EXPECT_TRUE(IsWellFormedUtf8(line->view())) << character << " shift " << shift << " segment " << segments;
            }
            EXPECT_GT(segments, 1) << character;
            EXPECT_TRUE(IsWellFormedUtf8(document->firstParagraph()->text()));
        }
}

TEST(RtfReaderScripts, DecodesTheStringsBesideTheText)
{
    // A Japanese font name under charset 128 in a Cyrillic document, the header in 1251, a
    // footnote, a picture's file name and a link whose instruction is not ASCII.
    const auto read = ReadRtf(
        "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 \\u1046?\\'e8;}"
        "{\\f1\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}"
        "{\\title \\'c6\\u1091?{\\upr{x}{\\*\\ud{\\u1082?}}}}{\\subject \\'d1}{\\comment \\u-10179?\\u-8704?}"
        "\\f0 a{\\super 1}{\\footnote \\'c6\\u-10179?\\u-8704?}"
        "{\\*\\picfile \"\\'c6.bmp\"}"
        "{\\field{\\*\\fldinst HYPERLINK \"http://\\'c6.ru\"}{\\fldrslt \\'c6}}}");
    const TTextHeader& header = read.document->header();
    ASSERT_EQ(header.fontCount(), 3); // after the document's own default font
    EXPECT_EQ(header.font(1)->name, "Жи");
    EXPECT_EQ(header.font(2)->name, "ＭＳ 明朝");
    EXPECT_EQ(header.title, "Жук");
    EXPECT_EQ(header.subject, "С");
    EXPECT_EQ(header.comment, "😀");
    ASSERT_EQ(read.document->footnotes().size(), 1u);
    EXPECT_EQ(read.document->footnotes()[0]->text, "Ж😀");
    ASSERT_EQ(read.document->objects().size(), 1u);
    EXPECT_EQ(read.document->objects()[0]->fileName, "Ж.bmp");
    EXPECT_EQ(DumpDocument(*read.document),
              "- | \"a1\\x01\\xd0\\x96\" | 1 f1 s10, 1 f1 s10 super fn #1, 1 f1 s10 obj #1, 2 f1 s10 link\n");

    // A long name is cut between characters.
    const auto longName = ReadRtf("{\\rtf1\\ansicpg1251{\\fonttbl{\\f0 a" + std::string(20, 'x') + std::string(15, '\xc6') + ";}}x}");
    EXPECT_EQ(longName.document->header().font(1)->name, "a" + std::string(20, 'x') + "ЖЖЖЖЖ");

    // A character beyond ASCII cannot be a footnote's one-byte mark: the default mark after it
    // anchors the footnote. (Marking its bytes wrote the footnote once for each at the next save.)
    const auto anchored = ReadRtf("{\\rtf1 \\u1046?{\\footnote note}}");
    EXPECT_EQ(DumpDocument(*anchored.document), "- | \"\\xd0\\x96?\" | 2 f0 s10, 1 f0 s10 fn #1\n");
}

// Runs of \u and \'hh are read straight from the bytes; token by token they must give the same
// document, down to the segments, attributes, footnotes and the bytes consumed.
TEST(RtfReaderScripts, RunsOfCharactersReadAsTheirTokensDo)
{
    std::string long3000, bytes3000;
    for (int i = 0; i < 3000; ++i) {
        long3000 += i % 7 == 6 ? "\\u20013? " : "\\u1046?";
        bytes3000 += i % 7 == 6 ? "\\'c6 " : "\\'f3";
    }
    const std::string inputs[] = {
        "{\\rtf1 \\u1046?\\u1091?\\u1082? \\u1046?, a\\u20013?\\u-28743?.}",
        "{\\rtf1\\uc0 \\u1046\\u1091 ?}",
        "{\\rtf1\\uc2 \\u1046 Zh\\u1091 u?!\\u1082\\'3f\\'3fx\\u1082\\'3fy}",
        "{\\rtf1\\uc2 \\u1046\\emdash?\\u1091\\bin2 xyz\\u1082{a}b\\u1083\\'3}",
        "{\\rtf1\\uc3 {\\u1046 a}b\\u1091?\r\n?\t?z\\u1082?\r\n\\u1083?}",
        "{\\rtf1 {\\uc2 \\u1046 Zh}\\u1091 ?\\uc0 \\u1082\\u1083}",
        "{\\rtf1 a\\u-10179?\\u-8704?b\\uc0 \\u55357\\uc1 \\u56832\\'3f!\\u128512?}",
        "{\\rtf1 \\u-10179?x\\u-10179?\\u-10179?\\u-8704?\\u-8704?y\\u-10179?\\u9?\\u-10179?}",
        "{\\rtf1 {\\u-10179?}z\\u1046?\\u9?\\u0?\\u13?\\u10?\\u1?\\u31?\\u32?\\u127?\\u1091?}",
        "{\\rtf1 \\u-40000?\\u1114112?\\u99999999999?\\u-99999999999?\\u1046 ?\\u-x\\u1046?\\u}",
        "{\\rtf1 \\u65?\\u233?\\u8364?\\u2047?\\u2048?\\u65535?\\u-1?\\u-32768?}",
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f3\\fcharset2 Symbol;}}\\f3 \\u-4022?\\u61472?\\u1046?\\u-4000?\\f0 \\u-4022?}",
        "{\\rtf1\\ansicpg1251 \\u1046?\xc6\xc6\\u1091?\\'c6\\u1082?\x01\\u1083?\\u1084?\\b \\u1085?}",
        "{\\rtf1\\ansicpg932 \\'82\\u1046?\\u1091?\\'82A\\'82}",
        "{\\rtf1 \\u1046?{\\footnote \\u1091?\\u1082?}\\u1083?\\chftn{\\footnote x}}",
        "{\\rtf1\\trowd\\cellx1000\\cellx2000 \\u1046?\\u1091?\\cell \\intbl\\u1082?\\cell\\row}",
        "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"\\u1046?x\"}{\\fldrslt \\u1046?\\u1091?}}}",
        "{\\rtf1{\\title \\u1046?\\u1091?}{\\*\\picfile \"\\u1046?.bmp\"}a{\\upr{x}{\\*\\ud{\\u1046?\\u1091?}}}}",
        "{\\rtf1 \\u1046?\\u1091?}\\u1082?",
        "{\\rtf1 \\u1046?\\u1091",
        "{\\rtf1 \\u1046",
        "{\\rtf1 ab" + long3000 + "}",
        "{\\rtf1\\ansicpg1251 a" + bytes3000 + "}",
        "{\\rtf1\\ansicpg1251 \\'c6\\'f3\\'ea \\'c6, x\\'c6\\'41\\'c6\\'0d\\'c6\\'c\\'c6\\'\\'c6\\u1046?\\'c6\\b\\'c6}",
        "{\\rtf1\\ansicpg1251 \\'c6\r\n\\'f3\t\\'ea\xc6\\'c6\x01\\'c6{\\'c6}\\'c6\\par\\'c6}",
        "{\\rtf1\\ansicpg1251\\uc1 \\u1046\\'c6\\'c6\\'f3{\\footnote \\'c6\\'f3}\\'ea}",
        "{\\rtf1\\ansicpg932 \\'c6\\'82\\'a0\\'b1\\'b1\\'82A}",
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Cyr;}{\\f2\\fcharset2 Symbol;}}\\'c6\\f1\\'c6\\'c6\\f2\\'c6\\'e8\\f0\\'c6}",
        "{\\rtf1\\ansicpg1251\\trowd\\cellx1000 \\'c6\\'c6\\cell\\row}",
        "{\\rtf1\\ansicpg1251 \\'c6\\'c6",
        "{\\rtf1 \\'e9\\'80\\'81\\'9c\\'ff}",
    };
    for (const std::string& input : inputs) {
        TWPRtfReader tokens;
        tokens.unicodeRuns = false;
        const auto slow = ReadRtf(input, tokens);
        const auto fast = ReadRtf(input);
        EXPECT_EQ(fast.result, slow.result) << input;
        EXPECT_EQ(fast.consumed, slow.consumed) << input;
        EXPECT_EQ(DumpDocument(*fast.document), DumpDocument(*slow.document)) << input;
        EXPECT_EQ(DumpSideLists(*fast.document), DumpSideLists(*slow.document)) << input;
        EXPECT_EQ(DumpHeader(fast.document->header()), DumpHeader(slow.document->header())) << input;
    }
}

TEST(RtfReaderScripts, PastingKeepsTheHeaderButDecodesAlike)
{
    TWPRtfReader pasting;
    pasting.keepHeader = true;
    const auto read = ReadRtf("{\\rtf1\\ansicpg1251{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset161 Greek;}}\\'c6\\f1 \\'d3}", pasting);
    EXPECT_EQ(Paragraphs(*read.document), "ЖΣ");
    EXPECT_EQ(read.document->header().fontCount(), 1);
}

} // namespace
