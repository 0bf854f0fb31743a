// The open formats of the export read back by the import: Markdown gives the same text with
// its pictures and tags, JSON the same text in jrnl's shape.
#include "ImportFixture.h"

#include "app/ExportEntries.h"
#include "app/ExportMarkdown.h"
#include "app/import/DiaryImport.h"
#include "app/import/ImportSources.h"

#include <QBuffer>
#include <QImage>

namespace quillory {
namespace {

class ExportRoundTripTest : public ImportTest {
protected:
    // Exports the diary's entries in `format` into `folder`.
    void Export(ExportFormat format, const std::filesystem::path& folder)
    {
        std::filesystem::create_directories(folder);
        ExportSettings settings;
        settings.days = {Day::First(), Day::Last()};
        settings.folder = folder.string() + "/";
        settings.format = format;
        const ExportOutcome outcome = ExportEntries(settings);
        ASSERT_TRUE(outcome.failed.empty()) << outcome.failed.front().message;
    }

    TempFolder second;  // the diary that imports the export
};

std::string TinyPng()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

constexpr const char* kNote =
    "---\ntags: [trip]\n---\n# Trip\n\nSome **bold**, *italic* and ~~gone~~ words #trip.\n\n- one\n- two\n\n"
    "[a link](https://x.example/a_b) and <https://plain.example>\n\n![](cat.png)\n\n"
    "Literal \\*stars\\*, 1\\. not a list, \\# not a heading, a\\_b, [brackets\\] & <angle>\n\n"
    "Ελληνικά 日本語 😀\n";

TEST_F(ExportRoundTripTest, MarkdownExportImportedBackGivesTheSameText)
{
    source.write("notes/cat.png", TinyPng());
    source.write("notes/2023-05-15.md", kNote);
    source.write("notes/2023-05-16.md", "second day\n");
    ImportIntoDiary(ReadMarkdownFolder(source.path() / "notes"), {});
    const std::string first = EntryText(D(2023, 5, 15));
    ASSERT_NE(first.find("Literal *stars*, 1. not a list, # not a heading, a_b, [brackets] & <angle>"),
              std::string::npos) << first;

    Export(ExportFormat::Markdown, source.path() / "out");
    EXPECT_TRUE(std::filesystem::exists(source.path() / "out/2023-05-15-1.png"));
    const std::string markdown = source.read("out/2023-05-15.md");
    EXPECT_EQ(markdown.rfind("---\ntags:\n  - \"trip\"\n---\n", 0), 0u) << markdown;

    SetProgramFolder(second.withSlash());
    const ImportSource back = ReadMarkdownFolder(source.path() / "out");
    EXPECT_TRUE(back.problems.empty()) << back.problems.front() << "\n" << source.read("out/2023-05-15.md");
    ImportIntoDiary(back, {});
    EXPECT_EQ(EntryText(D(2023, 5, 15)), first);
    EXPECT_EQ(EntryText(D(2023, 5, 16)), "second day");
    EXPECT_NE(ReadEntry(D(2023, 5, 15), DiaryKey{}).find("\\pngblip"), std::string::npos);
}

TEST_F(ExportRoundTripTest, JsonExportHasJrnlsShapeAndReadsBack)
{
    diary.write("Entries/20230515.QLE", "{\\rtf1\\ansi First sentence. Then more #food\\par Deuxi\\'e8me \"line\"}");
    diary.write("Entries/20230516.QLE", "{\\rtf1\\ansi No sentence end #starred}");
    Export(ExportFormat::Json, source.path() / "out");
    const std::string json = source.read("out/diary.json");
    EXPECT_NE(json.find("\"tags\": {\"#food\": 1, \"#starred\": 1}"), std::string::npos) << json;
    EXPECT_NE(json.find("{\"title\": \"First sentence.\", \"body\": \"Then more #food\\nDeuxième \\\"line\\\"\", "
                        "\"date\": \"2023-05-15\", \"time\": \"09:00\", \"tags\": [\"#food\"], \"starred\": false}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"starred\": true"), std::string::npos);

    SetProgramFolder(second.withSlash());
    ImportIntoDiary(ReadJrnlFile(source.path() / "out/diary.json"), {});
    EXPECT_EQ(EntryText(D(2023, 5, 15)), "First sentence. Then more #food|Deuxième \"line\"");
    EXPECT_EQ(EntryText(D(2023, 5, 16)), "No sentence end #starred");
}

} // namespace
} // namespace quillory
