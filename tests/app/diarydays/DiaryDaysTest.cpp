// On This Day around leap days and the turn of the year; streaks over gaps and month ends; the
// first line of an entry.
#include "app/DiaryDays.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

Day D(int year, int month, int day) { return *Day::FromDate(year, month, day); }

std::string Text(const std::vector<Day>& days)
{
    std::string text;
    for (const Day day : days)
        text += (text.empty() ? "" : " ") + IsoText(day);
    return text;
}

TEST(OnThisDay, ListsTheSameCalendarDayOfEarlierYearsOldestFirst)
{
    const std::vector<Day> diary = {D(2020, 2, 28), D(2020, 2, 29), D(2020, 3, 1),  D(2020, 12, 31),
                                    D(2021, 1, 1),  D(2021, 2, 28), D(2022, 12, 31), D(2023, 1, 1),
                                    D(2023, 2, 28), D(2024, 2, 29), D(2025, 1, 1)};
    const struct {
        Day day;
        const char* found;
    } rows[] = {
        {D(2025, 1, 1), "2021-01-01 2023-01-01"},                        // not the day itself
        {D(2024, 12, 31), "2020-12-31 2022-12-31"},                      // the turn of the year
        {D(2024, 2, 29), "2020-02-29 2021-02-28 2023-02-28"},            // the 28th of common years
        {D(2025, 2, 28), "2020-02-28 2020-02-29 2021-02-28 2023-02-28 2024-02-29"},  // and back
        {D(2024, 2, 28), "2020-02-28 2021-02-28 2023-02-28"},            // a leap year's 28th: its own
        {D(2026, 3, 1), "2020-03-01"},
        {D(2020, 2, 29), ""},                                            // no earlier year
    };
    for (const auto& row : rows)
        EXPECT_EQ(Text(OnThisDay(row.day, diary)), row.found) << row.day;
}

TEST(FirstLine, IsTheFirstParagraphWithText)
{
    EXPECT_EQ(FirstLine("\r\n   \r\n  Dear diary,\ttoday\r\nmore\r\n"), "Dear diary, today");
    EXPECT_EQ(FirstLine("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\par{\\b Caf\\'e9} time\\par}"), "Café time");
    EXPECT_EQ(FirstLine(""), "");
    const std::string longLine = FirstLine(std::string(50, 'a') + " " + std::string(50, 'b'));
    EXPECT_LE(longLine.size(), 90u);
}

TEST(Statistics, CountsStreaksOverGapsAndMonthEnds)
{
    const std::vector<std::pair<Day, std::uint32_t>> days = {
        {D(2024, 1, 30), 10}, {D(2024, 1, 31), 20}, {D(2024, 2, 1), 30}, {D(2024, 2, 2), 40},  // 4 across a month end
        {D(2024, 2, 28), 5},  {D(2024, 2, 29), 5},  {D(2024, 3, 1), 5},                        // 3 over a leap day
        {D(2024, 12, 31), 1}, {D(2025, 1, 1), 1},                                              // 2 over the new year
    };
    const DiaryStatistics stats = ComputeStatistics(days, D(2025, 1, 2));
    EXPECT_EQ(stats.entries, 9u);
    EXPECT_EQ(stats.words, 117u);
    EXPECT_EQ(stats.first, D(2024, 1, 30));
    EXPECT_DOUBLE_EQ(stats.averageWords, 13.0);
    EXPECT_EQ(stats.longestStreak, 4);
    EXPECT_EQ(stats.longestStreakEnd, D(2024, 2, 2));
    EXPECT_EQ(stats.currentStreak, 2);  // up to yesterday while today has none yet
    EXPECT_EQ(ComputeStatistics(days, D(2025, 1, 1)).currentStreak, 2);
    EXPECT_EQ(ComputeStatistics(days, D(2025, 1, 3)).currentStreak, 0);  // a day missed
    const std::vector<std::pair<int, int>> months = {{2024 * 12, 2}, {2024 * 12 + 1, 4}, {2024 * 12 + 2, 1},
                                                     {2024 * 12 + 11, 1}, {2025 * 12, 1}};
    EXPECT_EQ(stats.entriesPerMonth, months);
    EXPECT_EQ(stats.wordsPerMonth[1].second, 80u);
    EXPECT_EQ(ComputeStatistics({}, D(2025, 1, 1)).entries, 0u);
}

} // namespace
} // namespace quillory
