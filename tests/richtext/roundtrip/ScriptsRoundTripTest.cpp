// Text of every script through HTML and plain text and back: every character comes back.
#include "richtext/html/HtmlReader.h"
#include "richtext/html/HtmlWriter.h"
#include "richtext/text/TextReader.h"
#include "richtext/text/TextWriter.h"

#include <gtest/gtest.h>

#include <memory>

namespace quillory {
namespace {

const char* const kScripts[] = {
    "Polish Za\u017c\u00f3\u0142\u0107, Czech \u0159\u011b\u017e, Hungarian \u0151\u0171, caf\u00e9 \u20ac",
    "Russian \u0416\u0443\u043a, Greek \u03a3\u03c3\u03c2, Hebrew \u05e9\u05dc\u05d5\u05dd, Arabic \u0633\u0644\u0627\u0645",
    "Hindi \u0928\u092e\u0938\u094d\u0924\u0947, Thai \u0e2a\u0e27\u0e31\u0e2a\u0e14\u0e35",
    "Chinese \u4e2d\u6587, Japanese \u65e5\u672c\u8a9e \u3072\u3089\u304c\u306a, Korean \ud55c\uad6d\uc5b4",
    "math \U0001D400\u2211\u221e, emoji \U0001F600 \U0001F44D\U0001F3FD \U0001F468\u200D\U0001F469\u200D\U0001F467 \U0001F1F5\U0001F1F1 \u2764\uFE0F",
    "combining e\u0301 a\u0308, markup <&\"'>, no-break\u00a0space",
};

std::string Paragraphs(const TWPRTFText& document)
{
    std::string out;
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next())
        out += p->text() + "|";
    return out;
}

void Fill(TWPRTFText& document)
{
    TParagraph* p = document.firstParagraph();
    for (const char* line : kScripts) {
        document.appendText(*p, line, {});
        if (line != kScripts[std::size(kScripts) - 1])
            p = document.appendParagraphAtEnd();
    }
    document.header().title = "\u0416\u0443\u043a \U0001F600";
}

std::unique_ptr<TWPRTFText> ReadWith(TWPTextReader& reader, const std::string& bytes)
{
    auto document = std::make_unique<TWPRTFText>();
    TParagraph* current = document->firstParagraph();
    EXPECT_EQ(reader.ReadStream(bytes, document.get(), &current), ReadResult::Ok);
    return document;
}

TEST(ScriptsRoundTrip, HtmlKeepsEveryCharacter)
{
    TWPRTFText document;
    Fill(document);
    const std::string html = WriteHtml(document);
    TWPHTMLReader reader;
    const auto back = ReadWith(reader, html);
    EXPECT_EQ(Paragraphs(*back), Paragraphs(document)) << html;
    EXPECT_EQ(back->header().title, document.header().title);
    EXPECT_EQ(WriteHtml(*back), html);
}

TEST(ScriptsRoundTrip, PlainTextKeepsEveryCharacter)
{
    TWPRTFText document;
    Fill(document);
    std::string text = WritePlainText(document);
    TWPTextReader reader;
    const auto back = ReadWith(reader, text);
    EXPECT_EQ(Paragraphs(*back), Paragraphs(document));
    EXPECT_EQ(WritePlainText(*back), text);
}

} // namespace
} // namespace quillory
