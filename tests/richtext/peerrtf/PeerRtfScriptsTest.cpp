// Real RTF of other programs in scripts beyond cp1252 (tests/corpora/rtf-peer): Cyrillic text in
// a font's charset or the document's code page, a symbol font under a Central European page, and
// a Chinese font name given as \u, all come through as their characters instead of '?'.
#include "richtext/io/DocumentFormat.h"
#include "richtext/io/FileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace quillory;

namespace {

const std::filesystem::path kCorpus = std::filesystem::path(QUILLORY_CORPORA) / "rtf-peer";

std::string DocumentText(const TWPRTFText& document)
{
    std::string text;
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next())
        text += p->text() + "\n";
    return text;
}

TEST(PeerRtfScripts, ReadsTheCharactersOfOtherWriters)
{
    struct Case {
        const char* file;
        const char* text; // found in the document's text
        const char* font; // a font of the header, or null
    } const cases[] = {
        // \fcharset204 with no \ansicpg, the text in font 0 through \plain
        {"rtfimport/fdo76628.rtf", "ОБРАЗЕЦ", nullptr},
        // a Cyrillic font in a document of \ansicpg1251, \endash between
        {"rtfimport/fdo68076.rtf", "Объект – у", nullptr},
        // \deff11 Western, the Cyrillic font chosen in a group
        {"rtfexport/tdf61901.rtf", "И", nullptr},
        // a word processor's Cyrillic form, \'hh in a \fcharset204 font
        {"rtfexport/fdo55504-1-min.rtf", "О СОСТОЯНИИ РАСЧЕТОВ ПО НАЛОГАМ", nullptr},
        // a symbol font's byte under \ansicpg1250 stays the byte's cp1252 character
        {"rtfexport/fdo72031.rtf", "Å", nullptr},
        // a Chinese font name written as \u
        {"rtfimport/fdo78502.rtf", nullptr, "宋体"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto bytes = ReadFileBytes((kCorpus / c.file).string());
        ASSERT_TRUE(bytes.has_value());
        TWPRTFText document;
        const LoadOutcome loaded = LoadDocument(document, *bytes);
        EXPECT_EQ(loaded.format, TWPLoadFormat::Rtf);
        EXPECT_EQ(loaded.result, 0);
        const std::string text = DocumentText(document);
        if (c.text)
            EXPECT_NE(text.find(c.text), std::string::npos) << text;
        EXPECT_EQ(text.find('?'), std::string::npos) << text;
        if (c.font) {
            bool found = false;
            for (int i = 0; i < document.header().fontCount(); ++i)
                found = found || document.header().font(i)->name == c.font;
            EXPECT_TRUE(found) << c.font;
        }
    }
}

} // namespace
