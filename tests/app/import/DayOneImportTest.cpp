// Day One's zip export: local days in each entry's zone, photos in place, other media named,
// and archives that are refused.
#include "ImportFixture.h"
#include "ZipFixture.h"

#include "app/import/DiaryImport.h"
#include "app/import/ImportSources.h"
#include "platform/Error.h"

#include <QBuffer>
#include <QImage>

namespace quillory {
namespace {

std::string TinyPng()
{
    QImage image(2, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

constexpr const char* kJournal = R"({"metadata": {"version": "1.0"}, "entries": [
 {"uuid": "A1", "creationDate": "2020-07-01T20:30:00Z", "timeZone": "Asia/Tokyo",
  "text": "Late **walk** in ~~rain~~\n\n![](dayone-moment://P1)\n\n月がきれい",
  "tags": ["night walk"], "starred": false,
  "photos": [{"identifier": "P1", "md5": "abc", "type": "png"}, {"identifier": "P2", "md5": "def", "type": "jpeg"}]},
 {"uuid": "A2", "creationDate": "2020-07-02T01:00:00Z", "timeZone": "Asia/Tokyo", "text": "Breakfast",
  "videos": [{"identifier": "V1", "md5": "vvv"}]},
 {"uuid": "A3", "creationDate": "2020-07-02T02:00:00Z", "timeZone": "America/New_York", "text": "Still Wednesday"},
 {"uuid": "A4", "creationDate": "yesterday", "text": "no time"}
]})";

using DayOneImportTest = ImportTest;

TEST_F(DayOneImportTest, EntriesFallOnTheirLocalDayWithTheirPhotos)
{
    const std::string png = TinyPng();
    const std::string zip = zipfixture::MakeZip(source.path() / "scratch.zip",
                                                {{"Journal.json", kJournal}, {"photos/abc.png", png}});
    source.write("export.zip", zip);
    const ImportSource read = ReadDayOneZip(source.path() / "export.zip");
    ASSERT_EQ(read.entries.size(), 3u);
    ImportIntoDiary(read, {});

    // 20:30 UTC is 05:30 the next morning in Tokyo; 02:00 UTC is still the evening before in
    // New York.
    EXPECT_EQ(EntryText(D(2020, 7, 2)), std::string("05:30|Late walk in rain|\x01|月がきれい|#night_walk|10:00|Breakfast"));
    EXPECT_EQ(EntryText(D(2020, 7, 1)), "Still Wednesday");
    const std::string rtf = ReadEntry(D(2020, 7, 2), DiaryKey{});
    EXPECT_NE(rtf.find("\\pngblip"), std::string::npos);  // kept as the PNG it is
    EXPECT_EQ(rtf.find("picfile"), std::string::npos);    // inside the entry, not named as a file

    const auto has = [&](std::string_view words) {
        for (const std::string& problem : read.problems) {
            if (problem.find(words) != std::string::npos)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(has("photo P2 is not in the archive")) << read.problems.size();
    EXPECT_TRUE(has("1 of videos not taken"));
    EXPECT_TRUE(has("entry 4: its creationDate is no time"));
}

TEST_F(DayOneImportTest, RefusesHostileArchives)
{
    const std::string journal = zipfixture::MakeZip(source.path() / "a.zip", {{"Journal.json", kJournal}});
    // A member that unpacks to far more than it states: its journal is named, not read.
    const ImportSource bomb = ReadDayOneBytes(zipfixture::StateUnpackedSize(journal, 10));
    EXPECT_TRUE(bomb.entries.empty());
    ASSERT_EQ(bomb.problems.size(), 1u);
    EXPECT_NE(bomb.problems[0].find("more than its stated size"), std::string::npos) << bomb.problems[0];

    ImportLimits small;
    small.maxArchiveTotal = 100;
    EXPECT_THROW(ReadDayOneBytes(journal, small), Error);  // states more than an import takes
    EXPECT_THROW(ReadDayOneBytes("PK\x03\x04 not really"), Error);
    EXPECT_THROW(ReadDayOneBytes(zipfixture::MakeZip(source.path() / "b.zip", {{"photos/x.png", "x"}})), Error);
}

} // namespace
} // namespace quillory
