// The text pass over entries: the paragraphs it gives are the ones the RTF reader builds, so
// that a search across entries finds what the editor would find, and nothing inside markup.
#include "app/EntryText.h"

#include "richtext/model/Document.h"
#include "richtext/rtf/RtfReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quillory {
namespace {

// The paragraphs joined by '|', with control characters shown as ^A, ^I, ^J.
std::string Show(const std::vector<std::string>& paragraphs)
{
    std::string shown;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            shown += '|';
        for (const char c : paragraphs[i]) {
            if (static_cast<unsigned char>(c) < 32) {
                shown += '^';
                shown += char(c + '@');
            } else {
                shown += c;
            }
        }
    }
    return shown;
}

std::vector<std::string> Passed(std::string_view content)
{
    std::vector<std::string> paragraphs;
    ForEachEntryParagraph(content, [&](std::string_view text) {
        paragraphs.emplace_back(text);
        return false;
    });
    return paragraphs;
}

std::vector<std::string> NonEmpty(std::vector<std::string> paragraphs)
{
    std::erase_if(paragraphs, [](const std::string& p) { return p.empty(); });
    return paragraphs;
}

std::vector<std::string> ReadByEngine(std::string_view rtf)
{
    TWPRTFText document;
    TParagraph* current = document.firstParagraph();
    TWPRtfReader reader;
    try {
        reader.ReadStream(rtf, &document, &current);
    } catch (const std::exception&) {
    }
    std::vector<std::string> paragraphs;
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next())
        paragraphs.push_back(p->text());
    return paragraphs;
}

struct Case {
    const char* name;
    const char* rtf;
    const char* paragraphs;
};

// Each row would go wrong in a pass that only strips backslash words and braces.
const Case kCases[] = {
    {"text split by formatting joins", R"({\rtf1\ansi Sun{\b fl}ower\par next})", "Sunflower|next"},
    {"escaped and unicode accents", R"({\rtf1 caf\'e9 \u233?t\'e9 {\uc0\u201 X}})", "café été ÉX"},
    {"every script through \\u, surrogate pairs joined", R"({\rtf1 \u1046?\u1091?\u1082? \u20013? \u-10179?\u-8704?})",
     "Жук 中 😀"},
    {"bytes in the document's code page, a font's, a symbol font's",
     R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0 Arial;}{\f1\fcharset161 Greek;}{\f2\fcharset2 Symbol;}}\'c6{\f1 \'d3}\f2 \'e8\plain \'c6})",
     "ЖΣèЖ"},
    {"a font's charset that comes after the font is chosen", R"({\rtf1\charset204{{\fonttbl;}}\'c6})", "Ж"},
    {"double-byte characters, a trail byte raw", R"({\rtf1\ansi\ansicpg932 \'82\'a0\'83A\'82\par x})", "あア\uFFFD|x"},
    {"a lead byte at the end of the input", R"({\rtf1\ansicpg932 a\'82)", "a\uFFFD"},
    {"the Unicode half of \\upr", R"({\rtf1 a{\upr{x}{\*\ud{\u1046?}}}b})", "aЖb"},
    {"tables and destinations skipped",
     R"({\rtf1{\fonttbl{\f0\fswiss Arial;}}{\colortbl;\red255\green0\blue0;}{\stylesheet{Normal;}}{\info{\title T}{\author A}}body})",
     "body"},
    {"unknown starred group skipped, field result kept",
     R"({\rtf1 see {\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt the link}} {\*\wpunknown hidden} end})",
     "see the link  end"},
    {"footnote text is not in the paragraph", R"({\rtf1 word*{\footnote note text} after})", "word* after"},
    {"pictures leave a placeholder", R"({\rtf1 a{\pict\wmetafile8 0102}b{\pict\pngblip 0102}c})", "a^Ab^Ac"},
    {"a shape picture that cannot be built gives way to its stand-in",
     R"({\rtf1 a{\*\shppict{\pict\pngblip 0102}}{\nonshppict{\pict\wmetafile8 0102}}b})", "a^Ab"},
    {"an automatic footnote mark is the footnote's number",
     R"({\rtf1 one{\super\chftn}{\footnote\chftn  note} two{\super\chftn}{\footnote\chftn  more}})", "one1 two2"},
    {"line, tab and control symbols", R"({\rtf1 one\line two\tab three\~four\{\}})", "one^Jtwo^Ithree\u00a0four{}"},
    {"raw line ends are layout of the file", "{\\rtf1 sp\r\nlit\\par\r\n\\par last}", "split||last"},
    {"table cells are paragraphs, a par inside one a line break",
     R"({\rtf1\trowd\cellx1000\cellx2000\intbl A\par B\cell C\cell\row after})", "A^JB|C|after"},
    {"the last cell's empty tail is dropped", R"({\rtf1\trowd\cellx1000\intbl A\cell\row})", "A"},
    {"nothing after the outermost group", R"({\rtf1 in} out)", "in"},
    {"hex escapes of markup characters are text", R"({\rtf1 \'5cpar \'7b})", "\\par {"},
};

TEST(EntryText, ParagraphsOfRtf)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Show(Passed(c.rtf)), c.paragraphs) << c.rtf;
        // The reader agrees, which is the point of the pass.
        EXPECT_EQ(Show(NonEmpty(Passed(c.rtf))), Show(NonEmpty(ReadByEngine(c.rtf)))) << c.rtf;
    }
}

TEST(EntryText, PlainTextEntriesAreReadByTheEngine)
{
    EXPECT_EQ(Show(Passed("first line\r\nsecond {\\b not rtf}")), "first line|second {\\b not rtf}");
}

TEST(EntryText, StopsWhenTheVisitorSaysSo)
{
    int seen = 0;
    const bool stopped = ForEachEntryParagraph(std::string_view(R"({\rtf1 a\par b\par c})"), [&](std::string_view) {
        return ++seen == 2;
    });
    EXPECT_TRUE(stopped);
    EXPECT_EQ(seen, 2);
}

// Real RTF of other programs, odd dialects and bug reproducers: the pass and the reader give the
// same text, paragraph for paragraph.
TEST(EntryText, AgreesWithTheReaderOnThePeerCorpora)
{
    const std::filesystem::path folders[] = {std::filesystem::path(QUILLORY_CORPORA) / "rtf-peer",
                                             std::filesystem::path(QUILLORY_TEST_DATA) / "peer-rtf"};
    int files = 0;
    for (const auto& folder : folders) {
        if (!std::filesystem::is_directory(folder))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file() || entry.path().extension() != ".rtf")
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            std::vector<std::string> passed;
            ForEachRtfParagraph(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                                [&](std::string_view text) {
                                    passed.emplace_back(text);
                                    return false;
                                });
            EXPECT_EQ(Show(NonEmpty(passed)), Show(NonEmpty(ReadByEngine(bytes)))) << entry.path();
            ++files;
        }
    }
    EXPECT_GT(files, 100);
}

} // namespace
} // namespace quillory
