// Tests of the plain-text reader: paragraphs at CR, LF ignored, reading ends at a zero byte.
#include "richtext/model/DocumentDump.h"
#include "richtext/text/TextReader.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillory;

namespace {

std::string ReadText(std::string_view text, size_t* consumed = nullptr)
{
    TWPRTFText document;
    TParagraph* current = document.firstParagraph();
    TWPTextReader reader;
    EXPECT_EQ(reader.ReadStream(text, &document, &current), 0);
    EXPECT_EQ(current, document.lastParagraph());
    if (consumed)
        *consumed = reader.consumed();
    return DumpText(document);
}

TEST(TextReader, SplitsParagraphsAtCarriageReturns)
{
    struct Case {
        std::string_view text;
        std::string_view paragraphs;
    } const cases[] = {
        {"a\r\nb", "a\nb\n"},
        {"a\nb", "ab\n"},                       // a lone LF does not break a paragraph
        {"a\rb\r", "a\nb\n\n"},
        {std::string_view("a\0b", 3), "a\n"},   // a zero byte ends reading
        {"", "\n"},
        {"x\ty\x01\xe9", "x\\ty\\x01\\xc3\\xa9\n"}, // every other byte is text (here cp1252)
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadText(c.text), c.paragraphs) << c.text;
    size_t consumed = 0;
    ReadText(std::string_view("ab\0cd", 5), &consumed);
    EXPECT_EQ(consumed, 3u);
}

TEST(TextReader, ReadsLongParagraphsIntoSegmentsAndPlainAttributes)
{
    const std::string line(5000, 'x');
    TWPRTFText document;
    TParagraph* current = document.firstParagraph();
    TWPTextReader reader;
    reader.ReadStream(line + "\r\n" + line, &document, &current);
    ASSERT_EQ(document.paragraphCount(), 2);
    const TParagraph& first = *document.firstParagraph();
    EXPECT_EQ(first.text(), line);
    EXPECT_GT(first.lineCount(), 1);
    for (const TTextLine* segment = first.firstLine(); segment; segment = segment->next()) {
        EXPECT_LE(segment->length(), segment->capacity() - 2);
        EXPECT_EQ(segment->attrs()[0], TAttr{});
    }
    EXPECT_TRUE(first.layoutFlags & LayoutFlag::NeedsReformat);
}

TEST(TextReader, ReadsIntoPlainTextMemoryFormatAndRefusesAMissingDocument)
{
    TWPRTFText document;
    document.setMemoryFormat(MemoryFormat::fmPlainText);
    TWPTextReader reader;
    reader.ReadStream("one\r\ntwo", &document, nullptr);
    EXPECT_EQ(DumpText(document), "one\ntwo\n");
    EXPECT_THROW(reader.ReadStream("x", nullptr), Error);
}

} // namespace
