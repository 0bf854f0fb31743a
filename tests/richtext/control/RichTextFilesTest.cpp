// The editor control's files and streams: format detection on load, format choice on save, the
// remembered file name, and the errors of unreadable files.
#include "richtext/qt/RichText.h"
#include "richtext/model/DocumentDump.h"
#include "platform/Error.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

struct SaveRow {
    const char* name;
    TWPFormatSetting setting;
    const char* startsWith;
};

TEST(RichTextFiles, SaveChoosesTheFormatByNameThenBySetting)
{
    TempFolder folder;
    const SaveRow rows[] = {
        {"entry.rtf", TWPFormatSetting::FormatANSI, "{\\rtf"},   // ".rtf" wins over the setting
        {"ENTRY.RTF.bak", TWPFormatSetting::FormatANSI, "{\\rtf"},
        {"page.htm", TWPFormatSetting::FormatRTF, "<"},
        {"notes.txt", TWPFormatSetting::FormatRTF, "{\\rtf"},
        {"notes.txt", TWPFormatSetting::FormatANSI, "Dear"},
    };
    for (const SaveRow& row : rows) {
        SCOPED_TRACE(row.name);
        TWPRichText editor;
        editor.InsertText(QStringLiteral("Dear diary"));
        editor.SaveFormat = row.setting;
        const std::string path = (folder.path() / row.name).string();
        ASSERT_TRUE(editor.SaveToFile(path));
        EXPECT_EQ(editor.FileName(), path);
        const std::string bytes = folder.read(row.name);
        EXPECT_EQ(bytes.rfind(row.startsWith, 0), 0u) << bytes.substr(0, 40);
        EXPECT_NE(bytes.find("Dear diary"), std::string::npos);
    }
}

TEST(RichTextFiles, LoadDetectsTheFormatAndRemembersTheName)
{
    TempFolder folder;
    const auto rtf = folder.write("a.qle", " \r\n\t{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 plain \\b bold\\b0\\par}");
    const auto html = folder.write("b.txt", "text first <p>then html</p>");
    const auto text = folder.write("c.txt", "just text\r\nsecond");

    TWPRichText editor;
    ASSERT_TRUE(editor.LoadFromFile(rtf.string()));
    EXPECT_EQ(editor.RtfText().header().lastLoadFormat, TWPLoadFormat::Rtf);
    EXPECT_NE(DumpDocument(editor.RtfText()).find("b"), std::string::npos);
    EXPECT_EQ(DumpText(editor.RtfText()).substr(0, 10), "plain bold");
    EXPECT_EQ(editor.FileName(), rtf.string());
    EXPECT_EQ(editor.CaretPosition(), 0);

    ASSERT_TRUE(editor.LoadFromFile(html.string()));
    EXPECT_EQ(editor.RtfText().header().lastLoadFormat, TWPLoadFormat::Html);
    ASSERT_TRUE(editor.LoadFromFile(text.string()));
    EXPECT_EQ(editor.RtfText().header().lastLoadFormat, TWPLoadFormat::PlainText);
    EXPECT_EQ(DumpText(editor.RtfText()), "just text\nsecond\n");

    editor.Clear();
    EXPECT_TRUE(editor.FileName().empty());
    EXPECT_TRUE(editor.IsEmpty());
}

TEST(RichTextFiles, ARichFileAfterAVeryLongTextKeepsItsFormatting)
{
    // The long text switches the document to plain-text memory; without going back, the next
    // entry loaded into the same editor lost every attribute.
    TWPRichText editor;
    const std::string longText(600000, 'x');
    ASSERT_TRUE(editor.LoadFromStream(std::span(reinterpret_cast<const std::uint8_t*>(longText.data()), longText.size())));
    EXPECT_TRUE(editor.RtfText().isPlainText());
    const std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 \\b bold\\par}";
    ASSERT_TRUE(editor.LoadFromStream(std::span(reinterpret_cast<const std::uint8_t*>(rtf.data()), rtf.size())));
    ASSERT_FALSE(editor.RtfText().isPlainText());
    EXPECT_TRUE(editor.RtfText().firstParagraph()->firstLine()->attrs()[0].hasStyle(AttrStyle::Bold));
}

TEST(RichTextFiles, AMissingFileRaisesTheStreamErrorAndKeepsTheName)
{
    TempFolder folder;
    TWPRichText editor;
    const auto good = folder.write("good.rtf", "{\\rtf1 good\\par}");
    ASSERT_TRUE(editor.LoadFromFile(good.string()));
    const std::string missing = (folder.path() / "missing.rtf").string();
    try {
        editor.LoadFromFile(missing);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + missing);
    }
    EXPECT_EQ(editor.FileName(), good.string());
}

TEST(RichTextFiles, StreamRoundTripKeepsFormattingAndAnEmptyDocumentSavesAsText)
{
    TWPRichText editor;
    std::string bytes;
    ASSERT_TRUE(editor.SaveToStream(bytes));
    EXPECT_EQ(bytes.find("{\\rtf"), std::string::npos) << "an empty document is not written as RTF to a stream";

    TAttr bold = editor.GetCurrentAttr();
    bold.style = AttrStyle::Bold;
    editor.SetCurrentAttr(bold);
    editor.InsertText(QStringLiteral("strong"));
    ASSERT_TRUE(editor.SaveToStream(bytes));
    ASSERT_EQ(bytes.rfind("{\\rtf", 0), 0u);

    TWPRichText other;
    ASSERT_TRUE(other.LoadFromStream(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())));
    EXPECT_EQ(DumpText(other.RtfText()), "strong\n");
    EXPECT_TRUE(other.RtfText().firstParagraph()->firstLine()->attrs()[0].hasStyle(AttrStyle::Bold));
}

} // namespace
} // namespace quillory
