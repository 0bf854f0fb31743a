// Almanah's database: XML text with its formatting, tags and importance, first-version plain
// text, and databases that are refused.
#include "ImportFixture.h"

#include "app/import/DiaryImport.h"
#include "app/import/ImportSources.h"
#include "platform/Error.h"

#include <sqlite3.h>

namespace quillory {
namespace {

class AlmanahImportTest : public ImportTest {
protected:
    // A database made by running `sql`.
    std::filesystem::path Database(const std::string& sql)
    {
        const auto file = source.path() / "diary.db";
        std::filesystem::remove(file);
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
        return file;
    }
};

constexpr const char* kSchema =
    "CREATE TABLE entries (year INTEGER, month INTEGER, day INTEGER, content TEXT, is_important INTEGER,"
    " edited_year INTEGER, edited_month INTEGER, edited_day INTEGER, version INTEGER DEFAULT 1,"
    " PRIMARY KEY (year, month, day));"
    "CREATE TABLE entry_tag (year INTEGER, month INTEGER, day INTEGER, tag TEXT);";

TEST_F(AlmanahImportTest, EntriesWithFormattingTagsAndImportance)
{
    const auto file = Database(std::string(kSchema)
        + "INSERT INTO entries VALUES (2021, 3, 4, CAST('<?xml version=\"1.0\" encoding=\"UTF-8\"?><entry "
          "xmlns=\"http://www.gnome.org/almanah-diary/entry/2.0/\">Plain <bold>bold <italic>both\nstill</italic></bold> "
          "<link uri=\"https://x.example\">site</link> 東京</entry>' AS BLOB), 1, 2021, 3, 4, 2);"
          "INSERT INTO entries VALUES (2021, 3, 5, 'version one text', 0, NULL, NULL, NULL, 1);"
          "INSERT INTO entries VALUES (2021, 2, 30, 'no such day', 0, NULL, NULL, NULL, 1);"
          "INSERT INTO entry_tag VALUES (2021, 3, 4, 'travel');");
    const ImportSource read = ReadAlmanahDatabase(file);
    ASSERT_EQ(read.entries.size(), 2u);
    ASSERT_EQ(read.problems.size(), 1u);
    ImportIntoDiary(read, {});
    EXPECT_EQ(EntryText(D(2021, 3, 4)), "Plain bold both|still https://x.examplesite 東京|#travel #important");
    EXPECT_EQ(EntryText(D(2021, 3, 5)), "version one text");
    const std::string rtf = ReadEntry(D(2021, 3, 4), DiaryKey{});
    EXPECT_NE(rtf.find("\\b"), std::string::npos);
    EXPECT_NE(rtf.find("\\i"), std::string::npos);
    // The database was only read: SQLite made no journal or lock file beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(source.path()), {}), 1);
}

TEST_F(AlmanahImportTest, RefusesHostileDatabases)
{
    // A view named like the table, whose query would never end.
    EXPECT_THROW(ReadAlmanahDatabase(Database(
                     "CREATE VIEW entries AS WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
                     "SELECT x AS year, 1 AS month, 1 AS day, '' AS content FROM n;")),
                 Error);
    EXPECT_THROW(ReadAlmanahBytes("SQLite format 3\0 and then nothing useful"), Error);
    EXPECT_THROW(ReadAlmanahBytes(""), Error);
    EXPECT_THROW(ReadAlmanahDatabase(source.path() / "missing.db"), Error);
}

} // namespace
} // namespace quillory
