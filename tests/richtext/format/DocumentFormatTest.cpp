// Tests of format detection on load, the save format choice, and loading and saving through them.
#include "richtext/io/DocumentFormat.h"
#include "richtext/model/DocumentDump.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillory;

namespace {

TWPLoadFormat Detect(std::string_view bytes)
{
    return DetectFormat(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

const char* Name(TWPLoadFormat format)
{
    switch (format) {
    case TWPLoadFormat::Rtf: return "rtf";
    case TWPLoadFormat::Html: return "html";
    case TWPLoadFormat::PlainText: return "text";
    case TWPLoadFormat::Unknown: break;
    }
    return "unknown";
}

} // namespace

TEST(DocumentFormat, DetectsTheFormatOfTheBytes)
{
    struct Case {
        std::string bytes;
        const char* format;
    } cases[] = {
        {"{\\rtf1 abc}", "rtf"},
        {" \r\n\t\b{\\rtf1 abc}", "rtf"},
        {"x{\\rtf1 abc}", "text"},
        {"{\\rt", "text"},
        {"a text file with <p> in it", "html"},
        {"<HTML><Body>x", "html"},
        {"</B>", "html"},
        {"<p align=center>x", "html"},
        {"<h1>", "html"},
        {"<h2>heading</h2> <i>x</i> <table>", "text"}, // none of the tags that decide
        {"1 < 2 and 3 > 2; <>", "text"},
        {"<paragraph>", "text"},
        {std::string(1995, 'x') + "<br>", "html"},
        {std::string(1997, 'x') + "<br>", "text"}, // the tag does not end within 2000 bytes
        {"", "text"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(Name(Detect(c.bytes)), c.format) << c.bytes.substr(0, 40);
}

TEST(DocumentFormat, LoadsWithTheDetectedReaderAndKeepsTheFormat)
{
    struct Case {
        const char* bytes;
        TWPFormatSetting setting;
        const char* text;
        TWPLoadFormat format;
    } cases[] = {
        // The blanks before "{\\rtf" are not text (the RTF reader alone would insert them).
        {"  {\\rtf1 a\\par b}", TWPFormatSetting::AutomaticFormat, "a\nb\n", TWPLoadFormat::Rtf},
        {"<p>a</p><p>b</p>", TWPFormatSetting::LastFormat, "a\nb\n", TWPLoadFormat::Html},
        {"a\r\nb", TWPFormatSetting::AutomaticFormat, "a\nb\n", TWPLoadFormat::PlainText},
        {"<p>a</p>", TWPFormatSetting::FormatANSI, "<p>a</p>\n", TWPLoadFormat::PlainText},
        {"{\\rtf1 a}", TWPFormatSetting::FormatHTML, "{\\\\rtf1 a}\n", TWPLoadFormat::Html},
        {"plain", TWPFormatSetting::FormatRTF, "plain\n", TWPLoadFormat::Rtf},
    };
    for (const Case& c : cases) {
        TWPRTFText document;
        const LoadOutcome outcome = LoadDocument(document, c.bytes, c.setting);
        EXPECT_EQ(outcome.result, 0) << c.bytes;
        EXPECT_EQ(outcome.format, c.format) << c.bytes;
        EXPECT_EQ(document.header().lastLoadFormat, c.format) << c.bytes;
        // An empty document is filled from its first paragraph, not after it.
        EXPECT_EQ(DumpText(document), c.text) << c.bytes;
        EXPECT_FALSE(document.isPlainText());
    }
}

TEST(DocumentFormat, LongPlainTextSwitchesToPlainTextMemory)
{
    TWPRTFText small;
    LoadDocument(small, std::string(PlainTextMemoryThreshold, 'a'));
    EXPECT_FALSE(small.isPlainText());
    TWPRTFText large;
    LoadDocument(large, std::string(PlainTextMemoryThreshold + 1, 'a'));
    EXPECT_TRUE(large.isPlainText());
    EXPECT_EQ(large.firstParagraph()->length(), int(PlainTextMemoryThreshold + 1));
    // Long RTF is not plain text.
    TWPRTFText rtf;
    LoadDocument(rtf, "{\\rtf1 " + std::string(PlainTextMemoryThreshold, 'a') + "}");
    EXPECT_FALSE(rtf.isPlainText());
}

TEST(DocumentFormat, SaveFormatFromNameSettingAndDocument)
{
    TWPRTFText formatted;
    formatted.appendText(*formatted.firstParagraph(), "x", TAttr{});
    formatted.header().formatted = true;
    TWPRTFText unformatted;
    unformatted.appendText(*unformatted.firstParagraph(), "x", TAttr{});
    TWPRTFText empty;
    TWPRTFText loadedAsText;
    LoadDocument(loadedAsText, "x");
    TWPRTFText loadedAsHtml;
    LoadDocument(loadedAsHtml, "<p>x</p>");
    TWPRTFText loadedAsRtf;
    LoadDocument(loadedAsRtf, "{\\rtf1 x}");

    using S = TWPFormatSetting;
    struct Case {
        const TWPRTFText* document;
        S setting;
        const char* fileName;
        const char* format;
    } cases[] = {
        {&unformatted, S::FormatANSI, "entry.RTF", "rtf"},   // the name wins
        {&formatted, S::FormatRTF, "page.html", "html"},
        {&formatted, S::FormatANSI, "x.Rtf.bak", "rtf"},      // "containing" .rtf
        {&formatted, S::FormatHTML, "entry.qle", "html"},
        {&formatted, S::FormatANSI, "", "text"},
        {&unformatted, S::FormatRTF, "", "rtf"},
        {&formatted, S::AutomaticFormat, "", "rtf"},
        {&unformatted, S::AutomaticFormat, "entry.qle", "text"},
        {&loadedAsText, S::AutomaticFormat, "entry.qle", "text"},
        {&loadedAsText, S::LastFormat, "", "text"},
        {&loadedAsRtf, S::AutomaticFormat, "entry.qle", "rtf"},
        {&loadedAsHtml, S::AutomaticFormat, "entry.qle", "rtf"}, // HTML is not kept; it carries formatting
        {&empty, S::FormatRTF, "", "text"},                      // empty RTF to a stream: text
        {&empty, S::FormatRTF, "entry.qle", "rtf"},
        {&empty, S::AutomaticFormat, "x.rtf", "rtf"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(Name(ChooseSaveFormat(*c.document, c.setting, c.fileName)), c.format)
            << c.fileName << " setting " << int(c.setting);
}

TEST(DocumentFormat, SavesInEachFormatAndLoadsBack)
{
    TWPRTFText document;
    TAttr bold;
    bold.style = AttrStyle::Bold;
    document.appendText(*document.firstParagraph(), "Hello", bold);
    document.appendText(*document.appendParagraph(document.firstParagraph()), "World", TAttr{});
    for (TWPLoadFormat format : {TWPLoadFormat::Rtf, TWPLoadFormat::Html, TWPLoadFormat::PlainText}) {
        TWPStringStream stream;
        EXPECT_EQ(SaveDocument(document, stream, format), 0);
        EXPECT_EQ(DetectFormat(std::span(reinterpret_cast<const uint8_t*>(stream.data().data()), stream.data().size())),
                  format)
            << stream.data();
        TWPRTFText copy;
        LoadDocument(copy, stream.data());
        EXPECT_EQ(DumpText(copy), "Hello\nWorld\n") << Name(format);
        const bool keepsBold = format != TWPLoadFormat::PlainText;
        EXPECT_EQ(copy.firstParagraph()->firstLine()->attrs()[0].hasStyle(AttrStyle::Bold), keepsBold) << Name(format);
    }
}

TEST(DocumentFormat, AnEmptyDocumentStillSaves)
{
    TWPRTFText document;
    TWPStringStream stream;
    EXPECT_EQ(SaveDocument(document, stream, ChooseSaveFormat(document, TWPFormatSetting::FormatRTF)), 0);
    EXPECT_EQ(stream.data(), std::string(1, '\0')); // plain text: the trailer's zero byte
}
