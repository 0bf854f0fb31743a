// Plain text of every script: UTF-8 in and out, cp1252 files of older copies, segments that
// never split a character.
#include "richtext/model/DocumentDump.h"
#include "richtext/text/TextReader.h"
#include "richtext/text/TextWriter.h"

#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

using namespace std::string_literals;

std::string Paragraphs(const TWPRTFText& document)
{
    std::string out;
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next())
        out += p->text() + "|";
    return out;
}

std::string ReadText(std::string_view bytes, std::size_t* consumed = nullptr)
{
    TWPRTFText document;
    TParagraph* current = document.firstParagraph();
    TWPTextReader reader;
    EXPECT_EQ(reader.ReadStream(bytes, &document, &current), ReadResult::Ok);
    if (consumed)
        *consumed = reader.consumed();
    return Paragraphs(document);
}

// Every segment starts on a character: no continuation byte opens one.
void ExpectSegmentsOnCharacters(const TParagraph& paragraph)
{
    for (const TTextLine* line = paragraph.firstLine(); line; line = line->next()) {
        ASSERT_GT(line->length(), 0);
        EXPECT_FALSE(IsUtf8Continuation(static_cast<unsigned char>(line->text()[0])));
        EXPECT_TRUE(IsWellFormedUtf8(std::string_view(line->text(), std::size_t(line->length()))));
    }
}

TEST(PlainTextUnicode, ReaderTakesUtf8AndOlderCp1252Files)
{
    struct Row { const char* name; std::string bytes; std::string paragraphs; } rows[] = {
        {"UTF-8 of many scripts", "Za\u017c\u00f3\u0142\u0107 \u0416\u0443\u043a\r\n\u05e9\u05dc\u05d5\u05dd \u65e5\u672c \U0001F600",
         "Za\u017c\u00f3\u0142\u0107 \u0416\u0443\u043a|\u05e9\u05dc\u05d5\u05dd \u65e5\u672c \U0001F600|"},
        {"byte-order mark dropped", "\xEF\xBB\xBF" "caf\u00e9\r\nx", "caf\u00e9|x|"},
        {"cp1252 of an older copy", "caf\xe9 \x80 \x93q\x94", "caf\u00e9 \u20ac \u201cq\u201d|"},
        // One byte that is not UTF-8 makes the whole file cp1252: no byte is lost.
        {"mixed", "\xc3\xa9 \xe9", "\u00c3\u00a9 \u00e9|"},
        {"a cut sequence at the end", "ab\xe2\x82", "ab\u00e2\u201a|"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ReadText(row.bytes), row.paragraphs) << row.name;
    std::size_t consumed = 0;
    EXPECT_EQ(ReadText("caf\xe9\0rest"s, &consumed), "caf\u00e9|");
    EXPECT_EQ(consumed, 5u) << "the count is of the file's bytes, not of the converted text";
}

TEST(PlainTextUnicode, LongParagraphsAreCutBetweenCharacters)
{
    // Three- and four-byte characters against segments of 196 bytes, from every offset.
    for (const char* prefix : {"", "a", "ab", "abc"}) {
        std::string text = prefix;
        for (int i = 0; i < 700; ++i)
            text += i % 3 ? "\u65e5" : "\U0001F600";
        TWPRTFText document;
        TParagraph* current = document.firstParagraph();
        TWPTextReader reader;
        reader.ReadStream(text, &document, &current);
        ASSERT_EQ(document.paragraphCount(), 1);
        EXPECT_EQ(document.firstParagraph()->text(), text);
        EXPECT_GT(document.firstParagraph()->lineCount(), 1);
        ExpectSegmentsOnCharacters(*document.firstParagraph());
    }
}

TEST(PlainTextUnicode, WriterWritesTheModelsUtf8AsItIs)
{
    const std::string lines[] = {"Za\u017c\u00f3\u0142\u0107 \u0416\u0443\u043a \u03a3\u03c3\u03c2",
                                 "\u05e9\u05dc\u05d5\u05dd \u0633\u0644\u0627\u0645 \u0928\u092e\u0938\u094d\u0924\u0947",
                                 "\u65e5\u672c \ud55c\uad6d\uc5b4 \U0001F44D\U0001F3FD \U0001F1F5\U0001F1F1 caf\u00e9 \u20ac"};
    TWPRTFText document;
    document.appendText(*document.firstParagraph(), lines[0], {});
    document.appendText(*document.appendParagraphAtEnd(), lines[1], {.style = AttrStyle::Bold});
    document.appendText(*document.appendParagraphAtEnd(), lines[2], {});
    const std::string written = WritePlainText(document);
    EXPECT_EQ(written, lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\0"s);
    // And read back, every character is there.
    EXPECT_EQ(ReadText(written), lines[0] + "|" + lines[1] + "|" + lines[2] + "|");
}

} // namespace
} // namespace quillory
