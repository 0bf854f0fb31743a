// Converting the old diary into entry files: what is written, what is left out, and that a
// failure at any record leaves no Entries folder and the table files as they were.
#include "app/legacy/LegacyConversion.h"

#include "LegacyFixture.h"
#include "app/Crypt.h"
#include "app/legacy/LegacyTable.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

namespace fs = std::filesystem;
using testing_support::FilesUnder;
using testing_support::LegacyDiaryFolder;

const std::map<std::string, std::string> kDiaryEntries = {
    {"Entries/20240101.QLE", "New Year, written again"},  // the later of two records
    {"Entries/20240210.QLE", "a\r\nb\r\nc"},
    {"Entries/20240215.QLE", "x\r\ny\r\nz\r\n"},
    {"Entries/20240220.QLE", "before"},
    {"Entries/20240225.QLE", "flag E counts as live"},
    {"Entries/20240305.QLE", "{\\rtf1\\ansi March}"},
};

std::map<std::string, std::string> EntriesOnly(std::map<std::string, std::string> files)
{
    std::erase_if(files, [](const auto& file) { return !file.first.starts_with("Entries/"); });
    return files;
}

TEST(LegacyConversionTest, EveryLiveRecordWithADayBecomesItsEntry)
{
    LegacyDiaryFolder diary("diary");
    const auto tableFiles = FilesUnder(diary.Path());
    ASSERT_TRUE(LegacyDiaryWaiting());

    const ConversionResult result = ConvertLegacyTable();

    // Left out: the empty DATE, "2024013x", 30 February, "../../ab", "2024 301", "202403".
    EXPECT_EQ(result, (ConversionResult{6, 6}));
    auto expected = kDiaryEntries;
    expected.insert(tableFiles.begin(), tableFiles.end());
    EXPECT_EQ(FilesUnder(diary.Path()), expected);
    // "../../ab" would have named a file two folders up from Entries.
    EXPECT_FALSE(fs::exists(diary.Path().parent_path() / "ab.QLE"));
    EXPECT_FALSE(LegacyDiaryWaiting());
}

TEST(LegacyConversionTest, WithAPasswordEntriesAreEnciphered)
{
    LegacyDiaryFolder diary("diary");
    diary.Folder().write("QL.INI", "[Security]\nPassword=" + EncryptString("Secret 1") + "\n");

    ConvertLegacyTable();

    const auto entries = EntriesOnly(FilesUnder(diary.Path()));
    ASSERT_EQ(entries.size(), kDiaryEntries.size());
    for (const auto& [name, plain] : kDiaryEntries) {
        SCOPED_TRACE(name);
        EXPECT_NE(entries.at(name), plain);
        EXPECT_EQ(DecipherBuffer(entries.at(name), "Secret 1"), plain);
    }
}

TEST(LegacyConversionTest, LargeDiariesConvertWhole)
{
    {
        LegacyDiaryFolder diary("ten-years");
        std::vector<Day> seen;
        const ConversionResult result = ConvertLegacyTable({.processing = [&](Day day) { seen.push_back(day); }});
        EXPECT_EQ(result, (ConversionResult{3653, 0}));
        ASSERT_EQ(seen.size(), 3653u);
        EXPECT_EQ(seen.front(), *Day::FromDate(2015, 1, 1));
        EXPECT_EQ(seen.back(), *Day::FromDate(2024, 12, 31));
        EXPECT_EQ(diary.Folder().read("Entries/20200229.QLE"), "Entry of 2020-02-29");
    }
    {
        // A memo of a megabyte is not cut to what an edit control of old could hold.
        LegacyDiaryFolder diary("big-memo");
        const LegacyTable table = LegacyTable::Open(diary.Path());
        const std::string memo = table.ReadMemo(0, *table.Field("ENTRY"));
        ASSERT_GT(memo.size(), 1000000u);
        ConvertLegacyTable();
        EXPECT_EQ(diary.Folder().read("Entries/20220202.QLE"), memo);
    }
}

TEST(LegacyConversionTest, AFailureLeavesNoEntriesAndTheTableAsItWas)
{
    // Each broken table fails at its second record or before the first; a failure of the
    // observer stands for a disk that fails in the middle.
    const struct {
        const char* fixture;
        const char* message;
        int failAt;  // a record to fail at through the observer; 0 for none
    } cases[] = {
        {"broken-pointer-past-end", "QUILLOR.FPT: the memo of record 2 starts past the end of the file", 0},
        {"broken-length-past-end", "QUILLOR.FPT: the memo of record 2 reaches past the end of the file", 0},
        {"broken-count-too-high", "QUILLOR.DBF: the header counts 1000000 records, the file holds 2", 0},
        {"broken-block-size-zero", "QUILLOR.FPT: the memo block size is 0", 0},
        {"diary", "disk full", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        LegacyDiaryFolder diary(c.fixture);
        const auto before = FilesUnder(diary.Path());
        int records = 0;
        const auto failing = [&](Day) {
            if (++records == c.failAt)
                throw Error("disk full");
        };
        try {
            ConvertLegacyTable({.processing = failing});
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_EQ(FilesUnder(diary.Path()), before);
        EXPECT_FALSE(fs::exists(diary.Path() / "Entries"));
        EXPECT_FALSE(fs::exists(ConversionStagingFolder()));
        EXPECT_TRUE(LegacyDiaryWaiting());
    }
}

TEST(LegacyConversionTest, AnEarlierAttemptsLeftoversAndAnExistingEntriesFolder)
{
    LegacyDiaryFolder diary("sound-two");
    // A crash in an earlier attempt left a staging folder: none of it reaches Entries.
    diary.Folder().write("Entries.convert/29991231.QLE", "from a crashed attempt");
    ConvertLegacyTable();
    EXPECT_EQ(EntriesOnly(FilesUnder(diary.Path())),
              (std::map<std::string, std::string>{{"Entries/20240101.QLE", "one"}, {"Entries/20240102.QLE", "two"}}));
    EXPECT_FALSE(fs::exists(ConversionStagingFolder()));

    // Converting again would mix the old table into entries written since.
    diary.Folder().write("Entries/20240101.QLE", "written since");
    EXPECT_THROW(ConvertLegacyTable(), Error);
    EXPECT_EQ(diary.Folder().read("Entries/20240101.QLE"), "written since");
}

TEST(LegacyConversionTest, OnlyEightDigitsFormingADayNameAFile)
{
    const struct {
        const char* date;
        std::optional<Day> day;
    } cases[] = {
        {"20240229", Day::FromDate(2024, 2, 29)}, {"00010101", Day::FromDate(1, 1, 1)},
        {"20230229", std::nullopt},               {"20241301", std::nullopt},
        {"20240100", std::nullopt},               {"00000101", std::nullopt},
        {"2024011", std::nullopt},                {"202401011", std::nullopt},
        {"+2024010", std::nullopt},               {"..\\..\\ab", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DayFromLegacyDate(c.date), c.day) << c.date;
}

TEST(LegacyConversionTest, LineBreaksBecomeCrLf)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"a\rb", "a\r\nb"}, {"a\nb", "a\r\nb"},     {"a\r\nb", "a\r\nb"}, {"\n\r", "\r\n\r\n"},
        {"\r\r\n", "\r\n\r\n"}, {"end\r", "end\r\n"}, {"", ""},           {"no break", "no break"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UniformLineBreaks(c.in), c.out) << c.in;
}

} // namespace
} // namespace quillory
