// Folders of notes named by their day: date patterns, Markdown with front matter and pictures,
// and plain text files.
#include "ImportFixture.h"

#include "app/import/DatePattern.h"
#include "app/import/DiaryImport.h"
#include "app/import/ImportSources.h"
#include "platform/Error.h"

#include <QBuffer>
#include <QImage>

namespace quillory {
namespace {

using NoteFolderImportTest = ImportTest;

std::string TinyJpeg()
{
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes.toStdString();
}

TEST(DatePatternTest, NamesMatchTheirPattern)
{
    const struct {
        const char* pattern;
        const char* path;
        const char* day;  // nullptr: no match
    } cases[] = {
        {"YYYY-MM-DD.md", "2023-05-15.md", "2023-05-15"},
        {"YYYY-MM-DD.md", "notes/deep/2023-05-15.md", "2023-05-15"},
        {"YYYY-MM-DD.md", "2023-02-30.md", nullptr},
        {"YYYY-MM-DD.md", "2023-05-15.md.bak", nullptr},
        {"YYYY-MM-DD.md", "x2023-05-15.md", nullptr},
        {"YYYY/MM/DD.md", "journal/2023/05/15.md", "2023-05-15"},
        {"YYYY/MM/DD.md", "05/15.md", nullptr},
        {"YYYY/MMMM/YYYY-MMM-DD.md", "2023/January/2023-Jan-01.md", "2023-01-01"},
        {"YYYY/MMMM/YYYY-MMM-DD.md", "2023/january/2023-jan-01.md", "2023-01-01"},
        {"D.M.YYYY.md", "5.11.2023.md", "2023-11-05"},
        {"dddd, D MMMM YYYY.md", "Monday, 15 May 2023.md", "2023-05-15"},
        {"YYYYMMDD.txt", "20230515.txt", "2023-05-15"},
    };
    for (const auto& c : cases) {
        const auto day = DatePattern(c.pattern).Match(c.path);
        EXPECT_EQ(day ? IsoText(*day) : std::string("none"), c.day ? c.day : "none") << c.pattern << " " << c.path;
    }
    EXPECT_THROW(DatePattern("YYYY-MM.md"), Error);
}

TEST_F(NoteFolderImportTest, MarkdownNotesWithFrontMatterFormattingAndPictures)
{
    const std::string jpeg = TinyJpeg();
    source.write("vault/attachments/cat.jpg", jpeg);
    source.write("vault/daily/photo 1.jpg", jpeg);
    source.write("vault/daily/2023-05-15.md",
                 "---\ntags: [travel, \"#food\"]\naliases: []\n---\n"
                 "# Trip\n\nSome **bold**, *italic*, ~~gone~~ and `code`.\n\n- one\n- two\n\n> quoted\n\n"
                 "[a link](https://x.example) #inline\n\n![[cat.jpg]]\n\n![](photo%201.jpg)\n\n![](missing.png)\n\n"
                 "Ελληνικά\n");
    source.write("vault/daily/2023-05-16.md", "---\ntags: [unclosed\n---\nbody\n");
    source.write("vault/daily/notes.md", "not a day");
    source.write("vault/.obsidian/2023-05-17.md", "settings, not a note");
    const ImportSource read = ReadMarkdownFolder(source.path() / "vault");
    ASSERT_EQ(read.entries.size(), 2u);
    ImportIntoDiary(read, {});
    EXPECT_EQ(EntryText(D(2023, 5, 15)),
              "Trip|Some bold, italic, gone and code.|\u2022\tone|\u2022\ttwo|quoted|https://x.examplea link #inline|\x01|\x01|"
              "Ελληνικά|#travel #food");
    EXPECT_EQ(EntryText(D(2023, 5, 16)), "body");
    EXPECT_FALSE(EntryFileExists(D(2023, 5, 17)));
    std::string problems;
    for (const std::string& problem : read.problems)
        problems += problem + "\n";
    EXPECT_NE(problems.find("2023-05-15: picture missing.png is missing"), std::string::npos) << problems;
    EXPECT_NE(problems.find("2023-05-16: 2023-05-16.md: its front matter is no YAML"), std::string::npos) << problems;
    EXPECT_EQ(problems.find("2023-05-15.md: its front matter"), std::string::npos) << problems;
    const std::string rtf = ReadEntry(D(2023, 5, 15), DiaryKey{});
    EXPECT_NE(rtf.find("\\jpegblip"), std::string::npos);
}

TEST_F(NoteFolderImportTest, UserPatternWithFolders)
{
    source.write("journal/2023/05/15.md", "fifteenth");
    source.write("journal/2023/05/16.txt", "not markdown");
    const ImportSource read = ReadMarkdownFolder(source.path() / "journal", "YYYY/MM/DD.md");
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0].day, D(2023, 5, 15));
    EXPECT_THROW(ReadMarkdownFolder(source.path() / "journal"), Error);  // no YYYY-MM-DD.md in it
}

TEST_F(NoteFolderImportTest, TextFilesNamedByTheirDay)
{
    source.write("texts/2022-01-02.txt", "\xEF\xBB\xBFline one\r\nline two\r\n");
    source.write("texts/old/20220103.txt", "caf\xE9");  // an older file in cp1252
    source.write("texts/readme.txt", "not a day");
    const ImportSource read = ReadTextFolder(source.path() / "texts");
    ASSERT_EQ(read.entries.size(), 2u);
    ImportIntoDiary(read, {});
    EXPECT_EQ(EntryText(D(2022, 1, 2)), "line one|line two");
    EXPECT_EQ(EntryText(D(2022, 1, 3)), "café");
    EXPECT_THROW(ReadTextFolder(source.path() / "nothing"), Error);
}

} // namespace
} // namespace quillory
