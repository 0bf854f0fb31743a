// Converting the old diary into entry files: what is written, what is left out, and that a
// failure at any record leaves no Entries folder and the table files as they were.
#include "app/legacy/LegacyConversion.h"

#include "LegacyFixture.h"
#include "app/Crypt.h"
#include "app/legacy/LegacyTable.h"
#include "bench/PathologicalInputs.h"

#include <gmock/gmock.h>
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
    // observer stands for a disk that fails in the middle, its free space for a full one.
    const struct {
        const char* fixture;
        const char* message;  // what the error says, or ends with
        int failAt;           // an entry to fail at through the observer; 0 for none
        std::optional<std::uintmax_t> freeSpace;
    } cases[] = {
        {"broken-pointer-past-end", "QUILLOR.FPT: the memo of record 2 starts past the end of the file", 0, {}},
        {"broken-length-past-end", "QUILLOR.FPT: the memo of record 2 reaches past the end of the file", 0, {}},
        {"broken-count-too-high", "QUILLOR.DBF: the header counts 1000000 records, the file holds 2", 0, {}},
        {"broken-block-size-zero", "QUILLOR.FPT: the memo block size is 0", 0, {}},
        {"diary", "disk full", 3, {}},
        // Six entries of a block each do not fit in 20 KB.
        {"diary", " for the converted entries: they need 24 KB, and 20 KB are free.", 0, 20 * 1024},
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
        ConversionObserver observer{.processing = failing};
        if (c.freeSpace)
            observer.freeSpace = [&] { return *c.freeSpace; };
        try {
            ConvertLegacyTable(observer);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_THAT(error.what(), testing::EndsWith(c.message));
        }
        EXPECT_EQ(FilesUnder(diary.Path()), before);
        EXPECT_FALSE(fs::exists(diary.Path() / "Entries"));
        EXPECT_FALSE(fs::exists(ConversionStagingFolder()));
        EXPECT_TRUE(LegacyDiaryWaiting());
    }
}

// Records whose memo pointers name bytes an earlier record used: copied out each time, one memo
// of a small table filled the disk. Each such record is converted without its memo and counted.
TEST(LegacyConversionTest, AMemoThatAnEarlierRecordUsedIsDamage)
{
    // Six records for 1 to 6 January 2000, all naming the memo at block 8 (bytes 512 to 620).
    auto [table, memo] = bench::LegacyTableSharingOneBlock(6, 100);
    // Records of 19 bytes (flag, DATE, ENTRY) follow a header of 97.
    const auto record = [](int number) { return std::size_t(97 + number * 19); };
    const auto pointTo = [&](int number, int block) {
        const std::string digits = std::to_string(block);
        table.replace(record(number) + 19 - digits.size(), digits.size(), digits);
    };
    // Record 4 has a memo of its own at block 10, after the shared one.
    memo.resize(640, '\0');
    memo += std::string("\0\0\0\1\0\0\0\5", 8) + "other";
    pointTo(3, 10);
    // Record 5 names block 9, inside the first memo's text, where bytes that read as a memo
    // header stand (and end that text, at its first zero byte).
    memo.replace(576, 8, std::string("\0\0\0\1\0\0\0\4", 8));
    pointTo(4, 9);
    const std::string first = memo.substr(520, 56);
    // Record 6 is of 1 January again: without its memo it does not replace the first record.
    table.replace(record(5) + 1, 8, "20000101");
    LegacyDiaryFolder diary("sound-two");
    diary.Folder().write("QUILLOR.DBF", table);
    diary.Folder().write("QUILLOR.FPT", memo);

    const ConversionResult result = ConvertLegacyTable();

    EXPECT_EQ(result, (ConversionResult{5, 0, 4}));
    EXPECT_EQ(EntriesOnly(FilesUnder(diary.Path())), (std::map<std::string, std::string>{
                                                          {"Entries/20000101.QLE", first},
                                                          {"Entries/20000102.QLE", ""},
                                                          {"Entries/20000103.QLE", ""},
                                                          {"Entries/20000104.QLE", "other"},
                                                          {"Entries/20000105.QLE", ""},
                                                      }));
    EXPECT_THAT(ConversionDoneNotice(result),
                testing::HasSubstr("5 entries written.\r4 records were converted without their text because their "
                                   "memos are damaged"));
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
