// jrnl's JSON export: text, tags, several entries of a day, and what is refused.
#include "ImportFixture.h"

#include "app/import/DiaryImport.h"
#include "app/import/ImportSources.h"
#include "platform/Error.h"

namespace quillory {
namespace {

constexpr const char* kJournal = R"({"tags": {"@work": 2},
 "entries": [
  {"title": "Evening.", "body": "Met @Work people.\nЗдравствуй, мир", "date": "2020-07-01", "time": "20:00",
   "tags": ["@work"], "starred": true},
  {"title": "Morning", "body": "coffee @work", "date": "2020-07-01", "time": "07:15", "tags": ["@work"],
   "starred": false},
  {"title": "Bad", "body": "", "date": "2020-02-30", "time": "10:00", "tags": [], "starred": false},
  {"title": "mail me at a@work.example", "body": "", "date": "2020-07-02", "time": "09:00", "tags": ["@work"],
   "starred": false}
 ]})";

using JrnlImportTest = ImportTest;

TEST_F(JrnlImportTest, TakesTextTagsAndTheEntriesOfOneDayOldestFirst)
{
    const ImportSource source = ReadJrnlJson(kJournal);
    ASSERT_EQ(source.entries.size(), 3u);
    ASSERT_EQ(source.problems.size(), 1u);
    EXPECT_NE(source.problems[0].find("2020-02-30"), std::string::npos);

    const ImportReport report = ImportIntoDiary(source, {});
    EXPECT_EQ(report.created, (std::vector<Day>{D(2020, 7, 1), D(2020, 7, 2)}));
    // Two entries of one day: each under its time, the morning first; a tag of the source's
    // list stands in the text as "#tag", a starred entry gets a tag of its own.
    EXPECT_EQ(EntryText(D(2020, 7, 1)),
              "07:15|Morning|coffee #work|20:00|Evening. Met #Work people.|Здравствуй, мир|#starred");
    // "@work" inside an address is no tag; the entry's tag is then added below its text.
    EXPECT_EQ(EntryText(D(2020, 7, 2)), "mail me at a@work.example|#work");
}

TEST_F(JrnlImportTest, RefusesWhatIsNoJrnlExport)
{
    for (const char* bytes : {"", "[1,2]", "{\"entries\": 3}", "{\"entries\": [", "\xff\xfe{}"})
        EXPECT_THROW(ReadJrnlJson(bytes), Error) << bytes;
    // Entries that are no objects are named, not taken.
    const ImportSource source = ReadJrnlJson(R"({"entries": [1, "x", {"date": "2021-01-01", "title": "ok"}]})");
    EXPECT_EQ(source.entries.size(), 1u);
    EXPECT_EQ(source.problems.size(), 2u);
}

} // namespace
} // namespace quillory
