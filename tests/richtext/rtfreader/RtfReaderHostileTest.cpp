// The RTF reader on hostile and real-world input: it ends with a result or a partial document,
// never a crash, a hang or an escaping exception.
#include "PeerFiles.h"
#include "RtfReaderTestSupport.h"

#include "platform/Utf8.h"
#include "richtext/rtf/RtfReaderBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace quillory;
using quillory::testing::ReadRtf;

namespace {

// What breaks the document's UTF-8: a segment that is not well-formed (a character cut in two or
// a byte left undecoded), a character whose bytes carry different records, or a string beside
// the text that is not UTF-8. Empty when none.
std::string Utf8Problem(const TWPRTFText& document)
{
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next())
        for (const TTextLine* line = p->firstLine(); line; line = line->next()) {
            const std::string_view text = line->view();
            if (!IsWellFormedUtf8(text))
                return "segment \"" + std::string(text) + "\"";
            for (size_t at = 0; at < text.size(); at = NextCharBoundary(text, at))
                for (size_t i = at + 1; i < NextCharBoundary(text, at); ++i)
                    if (line->hasAttributes() && !sameRecord(line->attrAt(int(i)), line->attrAt(int(at))))
                        return "records inside a character of \"" + std::string(text) + "\"";
        }
    const TTextHeader& header = document.header();
    for (int i = 0; i < header.fontCount(); ++i)
        if (!IsWellFormedUtf8(header.font(i)->name))
            return "font name " + header.font(i)->name;
    for (const std::string* text : {&header.title, &header.subject, &header.comment})
        if (!IsWellFormedUtf8(*text))
            return "header " + *text;
    for (const auto& footnote : document.footnotes())
        if (!IsWellFormedUtf8(footnote->text))
            return "footnote " + footnote->text;
    return {};
}

TEST(RtfReaderHostile, EndsOnMalformedInput)
{
    const std::string longWord = "\\" + std::string(100, 'x') + std::string(50, '9') + " ";
    struct Case {
        const char* name;
        std::string rtf;
        std::string text; // DumpText of what was read
    } const cases[] = {
        {"truncated in a word", "{\\rtf1 abc\\pa", "abc\n"},
        {"truncated in hex", "{\\rtf1 abc\\'e", "abc\\x0e\n"},
        {"truncated in a picture", "{\\rtf1 a{\\pict\\wmetafile8 0100", "a\n"},
        {"unbalanced closing brace", "{\\rtf1 a}}}b", "a\n"},
        {"closing brace first", "}{\\rtf1 a}", "\n"},
        {"unclosed groups", "{\\rtf1{{{{ a\\par b", " a\nb\n"},
        {"huge \\bin", "{\\rtf1 a\\bin2147483647 xyz}", "a\n"},
        {"negative \\bin", "{\\rtf1 a\\bin-99 b}", "ab\n"},
        {"bad hex", "{\\rtf1 \\'g1\\'1", "g1\\x01\n"},
        {"truncated after a lead byte", "{\\rtf1\\ansicpg932 a\\'82", "a\\xef\\xbf\\xbd\n"},
        {"truncated after a high surrogate", "{\\rtf1 a\\u-10179?", "a\\xef\\xbf\\xbd\n"},
        {"a lead byte before NUL", std::string("{\\rtf1\\ansicpg936 \\'d6\\'00\0x}", 29), "\\xef\\xbf\\xbdx\n"},
        {"long words and numbers", "{\\rtf1 a" + longWord + "b\\fs" + std::string(50, '9') + " c}", "abc\n"},
        {"NUL bytes", std::string("{\\rtf1 a\0\0b}", 12), "ab\n"},
        {"code run never closed", "{\\rtf1 a\\wprtf1 {}{}\\par", "a{}{}\\\\par\n"},
        {"text only", "just text", "just text\n"},
        {"empty", "", "\n"},
        // its default mark anchors it: a footnote without an anchor is lost at the next save
        {"footnote without text before it", "{\\rtf1{\\*\\footnote x}y}", "?y\n"},
        {"cells beyond 50", "{\\rtf1\\trowd" + [] {
             std::string edges;
             for (int i = 1; i <= 60; ++i)
                 edges += "\\cellx" + std::to_string(i * 100);
             return edges;
         }() + "\\intbl a\\cell\\row}", "a\n"},
    };
    for (const auto& c : cases) {
        const auto read = ReadRtf(c.rtf);
        EXPECT_EQ(read.result, 0) << c.name;
        EXPECT_EQ(DumpText(*read.document), c.text) << c.name;
        EXPECT_LE(read.consumed, c.rtf.size()) << c.name;
        EXPECT_EQ(Utf8Problem(*read.document), "") << c.name;
    }
}

TEST(RtfReaderHostile, SurvivesDeepNesting)
{
    // Group states are kept on the heap, not the call stack.
    const size_t depth = 100000;
    std::string rtf = "{\\rtf1 a";
    rtf.append(depth, '{');
    rtf += "\\b deep";
    rtf.append(depth, '}');
    rtf += " b}";
    const auto read = ReadRtf(rtf);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(DumpText(*read.document), "adeep b\n");
    EXPECT_EQ(read.consumed, rtf.size());
}

// Found by fuzzing: the first-line indent is stored as the sum of \fi and \li, which overflowed
// (undefined behaviour, in practice a wrapped negative indent) for values near the int limits.
TEST(RtfReaderHostile, IndentsAtTheIntLimitsDoNotOverflow)
{
    const auto high = ReadRtf("{\\rtf1\\li2147483647\\fi2147483647 x}");
    EXPECT_EQ(high.document->firstParagraph()->firstIndent, 2147483647);
}

TEST(RtfReaderHostile, BoundsObjectsFromHostileInput)
{
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 12000; ++i)
        rtf += "\\'01";
    rtf += "}";
    const auto read = ReadRtf(rtf);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.document->objects().size(), size_t(rtf::RtfBuilder::kMaxObjects));
}

// Real RTF from other programs: bug reproducers and odd dialects. Whatever their code pages,
// the document holds UTF-8.
TEST(RtfReaderHostile, LoadsEveryPeerFile)
{
    ASSERT_TRUE(std::filesystem::is_directory(std::filesystem::path(QUILLORY_CORPORA) / "rtf-peer"));
    int files = 0;
    for (const auto& [path, bytes] : PeerRtfFiles()) {
        SCOPED_TRACE(path.string());
        TWPRTFText document;
        TParagraph* current = document.firstParagraph();
        TWPRtfReader reader;
        EXPECT_NO_THROW(reader.ReadStream(bytes, &document, &current));
        EXPECT_LE(reader.consumed(), bytes.size());
        EXPECT_EQ(Utf8Problem(document), "");
        ++files;
    }
    EXPECT_GT(files, 0);
}

} // namespace
