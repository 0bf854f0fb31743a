// The plain-text writer and the shared paragraph loop.
#include "richtext/text/TextWriter.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

using namespace std::string_literals;

TEST(TextWriter, ParagraphsEndWithCrLfAndTheTextWithOneZeroByte)
{
    TWPRTFText doc;
    EXPECT_EQ(WritePlainText(doc), "\0"s);
    doc.appendText(*doc.firstParagraph(), "a\tb\nc", {});
    doc.appendText(*doc.appendParagraphAtEnd(), "", {});
    doc.appendText(*doc.appendParagraphAtEnd(), "d\xe9", {});
    EXPECT_EQ(WritePlainText(doc), "a\tb\nc\r\n\r\nd\xe9\0"s);
}

TEST(TextWriter, SkipsFootnoteAnchorsAndOmittedSpecialText)
{
    TWPRTFText doc;
    TParagraph& p = *doc.firstParagraph();
    doc.appendText(p, "x", {});
    doc.appendText(p, "*", {.flags = AttrFlag::FootnoteAnchor, .tag = 1});
    doc.appendText(p, "\x01", {.flags = AttrFlag::Object, .tag = 1});
    doc.appendText(p, "ins", {.flags = AttrFlag::InsertPoint, .tag = 2});
    doc.appendText(p, "auto", {.flags = AttrFlag::Automatic});
    doc.appendLine(p, p.lastLine());
    doc.appendText(p, "y", {});
    EXPECT_EQ(WritePlainText(doc), "x\x01insautoy\0"s);
    EXPECT_EQ(WritePlainText(doc, {.omitInsertPoints = true, .omitAutomaticText = true}), "x\x01y\0"s);
}

TEST(TextWriter, PlainTextMemoryFormatWritesEverySegmentWhole)
{
    TWPRTFText doc;
    doc.setMemoryFormat(MemoryFormat::fmPlainText);
    doc.appendText(*doc.firstParagraph(), std::string(450, 'q'), {});
    doc.appendText(*doc.appendParagraphAtEnd(), "end", {});
    EXPECT_EQ(WritePlainText(doc), std::string(450, 'q') + "\r\nend\0"s);
}

// The loop reports progress by characters and calls the slots in their order.
TEST(TextWriter, BodyLoopCallsTheSlotsInOrder)
{
    struct Recorder : TWPTextWriter {
        using TWPTextWriter::TWPTextWriter;
        std::string calls;
        int StartParagraph() override { calls += "S"; return result_; }
        int EndParagraph() override { calls += "E"; return result_; }
        int BetweenSegments() override { calls += "|"; return result_; }
        int WriteAttributes(const TAttr&) override { calls += "a"; return result_; }
        int WriteText(const char* text, int count) override
        {
            calls += "[" + std::string(text, std::size_t(count)) + "]";
            return result_;
        }
    };
    TWPRTFText doc;
    TParagraph& p = *doc.firstParagraph();
    doc.appendText(p, "ab", {});
    doc.appendText(p, "c", {.style = AttrStyle::Bold});
    doc.appendLine(p, p.lastLine());
    doc.appendText(p, "d", {.style = AttrStyle::Bold});
    TParagraph* cell = doc.appendParagraphAtEnd();
    cell->flags = ParFlag::TableCell;
    doc.appendText(*cell, "e", {});

    Recorder writer(doc);
    long total = -1, done = -1;
    int finished = 0;
    writer.progress = {[&](long t) { total = t; }, [&](long d) { done = d; }, [&] { ++finished; }};
    TWPStringStream stream;
    EXPECT_EQ(writer.Write(stream), WriteResult::Ok);
    EXPECT_EQ(writer.calls, "Sa[ab]a[c]|a[d]ESa[e]E") << "a last table cell still ends";
    EXPECT_EQ(total, 5);
    EXPECT_EQ(done, 5);
    EXPECT_EQ(finished, 1);
}

} // namespace
} // namespace quillory
