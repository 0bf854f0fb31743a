// What the diary tells about its days: the entries written on this calendar day in earlier years
// (On This Day), and the statistics of the writing habit (entries, words, streaks, months).
#pragma once

#include "platform/Day.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillory {

// Whether `earlier` falls on the calendar day of `day` in an earlier year. 29 February counts
// as the 28th in a year without one, both ways: on 29 February the 28th of other years is
// listed, and on 28 February of a common year the 29th of leap years too.
bool IsSameCalendarDay(Day earlier, Day day) noexcept;
// Those of `days` (ascending) that are, oldest first.
std::vector<Day> OnThisDay(Day day, const std::vector<Day>& days);
// The first line of an entry (RTF, text or HTML): its first paragraph with text, up to about
// 80 characters.
std::string FirstLine(std::string_view content);

struct DiaryStatistics {
    std::size_t entries = 0;
    std::uint64_t words = 0;
    Day first, last;               // valid when entries > 0
    double averageWords = 0;
    int currentStreak = 0;         // consecutive days with an entry up to today (or yesterday)
    int longestStreak = 0;
    Day longestStreakEnd;
    // Entries and words per month that has any, ascending: (year * 12 + month - 1, value).
    std::vector<std::pair<int, int>> entriesPerMonth;
    std::vector<std::pair<int, std::uint64_t>> wordsPerMonth;
};

// From the days with their words (ascending), with `today` for the current streak: a streak
// that reaches today, or yesterday while today has no entry yet, is current.
DiaryStatistics ComputeStatistics(const std::vector<std::pair<Day, std::uint32_t>>& days, Day today);

} // namespace quillory
