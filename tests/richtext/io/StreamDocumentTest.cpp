// Reading while writing text: each paragraph is handed over once the reader has finished it and
// is let go, and the text is byte for byte the text of the whole document read first.
#include "richtext/io/DocumentFormat.h"
#include "richtext/text/TextWriter.h"

#include "PeerFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillory {
namespace {

std::string TextOfWholeDocument(std::string_view input)
{
    TWPRTFText document;
    LoadDocument(document, input);
    return WritePlainText(document);
}

// The streamed text, and the most paragraphs the document held while it was read.
struct Streamed {
    std::string text;
    int mostHeld = 0;
};

Streamed StreamText(std::string_view input)
{
    TWPRTFText document;
    TWPStringStream stream;
    // Counts what the document holds each time a paragraph is handed over.
    struct Counting : TWPTextStreamWriter {
        Counting(const TWPRTFText& document, TWPOutputStream& stream)
            : TWPTextStreamWriter(document, stream), document(document) {}
        void Take(const TParagraph& paragraph, bool last) override
        {
            mostHeld = std::max(mostHeld, document.paragraphCount());
            TWPTextStreamWriter::Take(paragraph, last);
        }
        const TWPRTFText& document;
        int mostHeld = 0;
    } writer(document, stream);
    EXPECT_EQ(StreamDocument(document, input, writer).result, 0);
    EXPECT_EQ(writer.Finish(), 0);
    return {stream.take(), writer.mostHeld};
}

TEST(StreamDocument, WritesTheTextOfTheWholeDocument)
{
    const char* const cases[] = {
        "{\\rtf1\\ansi one\\par two\\par\\par three}",
        "{\\rtf1\\ansi last paragraph ends with its mark\\par}",
        // A footnote after empty paragraphs anchors the last character read, paragraphs back.
        "{\\rtf1\\ansi a\\par\\par\\par{\\footnote note}\\par b}",
        // Rows: the last cell of a row learns so only when the row ends.
        "{\\rtf1\\ansi\\trowd\\cellx1000\\cellx2000 one\\cell two\\cell\\row\\par after\\par\\intbl x\\cell}",
        // Border runs: a paragraph learns it ends one when the next begins.
        "{\\rtf1\\ansi{\\brdrt\\brdrs a\\par}{\\brdrt\\brdrs b\\par}c\\par}",
        // The text writer keeps no formatting, so the reader drops it while streaming: a mark
        // between runs of other fonts and sizes is still left out, a picture still written.
        "{\\rtf1\\ansi{\\fonttbl{\\f1 Arial;}}{\\b bold}{\\f1\\fs40 x}{\\footnote n}{\\i y}\\chftn{\\footnote m} end\\par}",
        "{\\rtf1\\ansi a{\\b b{\\pict\\pngblip 89504e470d0a1a0a}c}\\inspnt1 d\\inspnt0{\\inaut e}\\par}",
        // A font's code page still decodes its text where its look is dropped.
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}{\\f1 \\'c6}\\'c6\\f1 \\'c6\\par}",
        "plain\r\ntext\r\n\r\nlines",
        "<html><body><p>one</p><p>two</p></body></html>",
        "",
    };
    for (const char* input : cases) {
        SCOPED_TRACE(input);
        EXPECT_EQ(StreamText(input).text, TextOfWholeDocument(input));
    }
}

TEST(StreamDocument, HoldsAFewParagraphsWhateverTheLength)
{
    std::string rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 20000; ++i)
        rtf += i % 3 == 0 ? "\\par\n" : (i % 3 == 1 ? "text {\\b bold} \\par\n" : "\\trowd\\cellx900 c\\cell\\row\n");
    rtf += "}";
    const Streamed streamed = StreamText(rtf);
    EXPECT_EQ(streamed.text, TextOfWholeDocument(rtf));
    EXPECT_LE(streamed.mostHeld, 3);
}

// Real RTF from other programs: bug reproducers and odd dialects.
TEST(StreamDocument, EveryPeerFileStreamsTheTextOfTheWholeDocument)
{
    int files = 0;
    for (const auto& [path, bytes] : PeerRtfFiles()) {
        SCOPED_TRACE(path.string());
        std::string whole;
        try {
            whole = TextOfWholeDocument(bytes);
        } catch (...) {
            continue; // a reader that gives up gives up streaming too; the fuzz target checks it
        }
        EXPECT_EQ(StreamText(bytes).text, whole);
        ++files;
    }
    EXPECT_GT(files, 100);
}

} // namespace
} // namespace quillory
