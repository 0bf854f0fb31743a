// Entry files: their names, the first and last diary day, the days of a month, navigation.
#include "app/EntryStore.h"

#include "platform/Clock.h"
#include "platform/ProgramFolder.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace quillory;

namespace {

Day D(int year, int month, int day)
{
    return *Day::FromDate(year, month, day);
}

// A program folder of its own with a fixed today, 6 December 2026.
class EntryStore : public testing::Test {
protected:
    EntryStore() : today_(D(2026, 12, 6)), previousFolder_(DiaryFolder())
    {
        SetProgramFolder(folder_.withSlash());
    }
    ~EntryStore() override { SetProgramFolder(previousFolder_); }

    void Entry(const std::string& name) { folder_.write("Entries/" + name, "{\\rtf1 x}"); }

    TempFolder folder_;
    ScopedFixedToday today_;
    std::string previousFolder_;
};

} // namespace

TEST_F(EntryStore, NamesTheEntryFileByItsDayKey)
{
    EXPECT_EQ(DayKey(D(2026, 12, 6)), "20261206");
    EXPECT_EQ(DayKey(D(987, 1, 2)), "09870102");
    EXPECT_EQ(GetCurrentDateFileName(D(2024, 2, 29)), folder_.withSlash() + "Entries/20240229.QLE");
    EXPECT_EQ(EntriesFolder(), folder_.withSlash() + "Entries/");
}

TEST_F(EntryStore, StodReadsAKeyOrGivesToday)
{
    const struct { const char* key; Day expected; } rows[] = {
        {"20240101", D(2024, 1, 1)},
        {"20240229", D(2024, 2, 29)},
        {"20240101extra", D(2024, 1, 1)},  // past the eighth character nothing counts
        {"20231301", D(2026, 12, 6)},      // month 13
        {"20240431", D(2026, 12, 6)},      // 31 April
        {"20230229", D(2026, 12, 6)},      // not a leap year
        {"2024", D(2026, 12, 6)},          // empty pieces
        {"NOTES", D(2026, 12, 6)},
        {"2024-1-1", D(2026, 12, 6)},
        {"+2024101", D(2026, 12, 6)},
        {"00000101", D(2026, 12, 6)},
        {"", D(2026, 12, 6)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(STOD(row.key), row.expected) << '"' << row.key << '"';
}

TEST_F(EntryStore, FirstAndLastAreTodayInAnEmptyOrMissingFolder)
{
    EXPECT_EQ(FirstDiaryRecord(), D(2026, 12, 6));
    EXPECT_EQ(LastDiaryRecord(), D(2026, 12, 6));
    ASSERT_TRUE(CreateEntriesFolder());
    EXPECT_EQ(FirstDiaryRecord(), D(2026, 12, 6));
    EXPECT_EQ(LastDiaryRecord(), D(2026, 12, 6));
}

TEST_F(EntryStore, FirstAndLastAreBoundedByToday)
{
    Entry("20240101.QLE");
    Entry("20250615.qle");
    EXPECT_EQ(FirstDiaryRecord(), D(2024, 1, 1));
    EXPECT_EQ(LastDiaryRecord(), D(2026, 12, 6));  // only past entries: Last is today

    TempFolder future;
    SetProgramFolder(future.withSlash());
    future.write("Entries/20270301.QLE", "");
    future.write("Entries/20301231.Qle", "");
    EXPECT_EQ(FirstDiaryRecord(), D(2026, 12, 6));  // only future entries: First is today
    EXPECT_EQ(LastDiaryRecord(), D(2030, 12, 31));
}

TEST_F(EntryStore, StrayNamesChangeNothingButAKeyWithATailCounts)
{
    for (const char* name : {"notes.QLE", "2024.QLE", "20241301.QLE", "20251301.qle", "19991231.txt"})
        Entry(name);
    EXPECT_EQ(FirstDiaryRecord(), D(2026, 12, 6));
    EXPECT_EQ(LastDiaryRecord(), D(2026, 12, 6));

    Entry("20240101extra.QLE");
    Entry("20290101.backup.QLE");
    EXPECT_EQ(FirstDiaryRecord(), D(2024, 1, 1));
    EXPECT_EQ(LastDiaryRecord(), D(2029, 1, 1));
    // ... but the day itself has no entry: only 20240101.QLE would be its file.
    EXPECT_FALSE(EntryFileExists(D(2024, 1, 1)));
}

TEST_F(EntryStore, ListsTheDaysOfAMonthWithEntries)
{
    for (const char* name : {"20240201.QLE", "20240210.qle", "20240229.QLE", "20240301.QLE", "20240115.QLE"})
        Entry(name);
    std::vector<std::string> days{"stale"};
    ListEntryDays(days, 2024, 2);
    EXPECT_EQ(days, (std::vector<std::string>{"1", "10", "29"}));
    EXPECT_EQ(EntryDaysOfMonth(2024, 3), std::vector<int>{1});
    EXPECT_TRUE(EntryDaysOfMonth(2024, 4).empty());
}

TEST_F(EntryStore, MonthLengthsFollowTheLeapYears)
{
    // An entry on every possible day 29..31 shows which days the month has.
    for (const char* year : {"2024", "2100", "2000"})
        for (const char* day : {"29", "30", "31"})
            Entry(std::string(year) + "02" + day + ".QLE");
    EXPECT_EQ(EntryDaysOfMonth(2024, 2), std::vector<int>{29});
    EXPECT_TRUE(EntryDaysOfMonth(2100, 2).empty());
    EXPECT_EQ(EntryDaysOfMonth(2000, 2), std::vector<int>{29});
    EXPECT_TRUE(EntryDaysOfMonth(2024, 13).empty());
}

TEST_F(EntryStore, TheExtensionInAnyCaseNamesTheSameEntry)
{
    Entry("20240101.qle");
    EXPECT_TRUE(EntryFileExists(D(2024, 1, 1)));
    EXPECT_FALSE(EntryFileExists(D(2024, 1, 2)));
}

TEST_F(EntryStore, NavigationStepsCalendarDaysAndJumpsToTheOuterEntries)
{
    Entry("20200505.QLE");
    Entry("20281111.QLE");
    const Day current = D(2026, 12, 31);
    EXPECT_EQ(NavigateFrom(current, Navigation::Next), D(2027, 1, 1));
    EXPECT_EQ(NavigateFrom(D(2024, 3, 1), Navigation::Prior), D(2024, 2, 29));
    EXPECT_EQ(NavigateFrom(current, Navigation::Today), D(2026, 12, 6));
    EXPECT_EQ(NavigateFrom(current, Navigation::First), D(2020, 5, 5));
    EXPECT_EQ(NavigateFrom(current, Navigation::Last), D(2028, 11, 11));
    // The ends of the years a day key can name.
    EXPECT_EQ(NavigateFrom(Day::Last(), Navigation::Next), Day::Last());
    EXPECT_EQ(NavigateFrom(Day::First(), Navigation::Prior), Day::First());
}

TEST_F(EntryStore, CreatesTheEntriesFolderOnceWhateverItsCase)
{
    folder_.write("ENTRIES/20240101.QLE", "");
    ASSERT_TRUE(CreateEntriesFolder());
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "Entries"));
    EXPECT_TRUE(EntryFileExists(D(2024, 1, 1)));
}
