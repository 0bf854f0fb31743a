// On This Day and the statistics of the diary's days.
#include "app/DiaryDays.h"

#include "app/EntryText.h"
#include "app/SearchableText.h"

#include <algorithm>

namespace quillory {

bool IsSameCalendarDay(Day earlier, Day day) noexcept
{
    if (earlier.Year() >= day.Year() || earlier.Month() != day.Month())
        return false;
    const int wanted = std::min(day.DayOfMonth(), DaysInMonth(earlier.Year(), earlier.Month()));
    if (earlier.DayOfMonth() == wanted)
        return true;
    // 28 February of a common year stands for the 29th of the leap years as well.
    return day.Month() == 2 && day.DayOfMonth() == 28 && !IsLeapYear(day.Year()) && earlier.DayOfMonth() == 29;
}

std::vector<Day> OnThisDay(Day day, const std::vector<Day>& days)
{
    std::vector<Day> found;
    for (const Day earlier : days)
        if (IsSameCalendarDay(earlier, day))
            found.push_back(earlier);
    return found;
}

std::string FirstLine(std::string_view content)
{
    std::string line;
    ForEachEntryParagraph(content, [&](std::string_view text) {
        if (text.find_first_not_of(" \t\v\f\r\n") == std::string_view::npos)
            return false;
        line = MarkLine(text, {}).text;
        return true;
    });
    const auto first = line.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : line.substr(first);
}

DiaryStatistics ComputeStatistics(const std::vector<std::pair<Day, std::uint32_t>>& days, Day today)
{
    DiaryStatistics stats;
    stats.entries = days.size();
    if (days.empty())
        return stats;
    stats.first = days.front().first;
    stats.last = days.back().first;
    int run = 0;
    Day previous;
    for (std::size_t i = 0; i < days.size(); ++i) {
        const auto [day, words] = days[i];
        stats.words += words;
        run = i > 0 && day - previous == 1 ? run + 1 : 1;
        if (run > stats.longestStreak) {
            stats.longestStreak = run;
            stats.longestStreakEnd = day;
        }
        previous = day;
        const int month = day.Year() * 12 + day.Month() - 1;
        if (stats.entriesPerMonth.empty() || stats.entriesPerMonth.back().first != month) {
            stats.entriesPerMonth.emplace_back(month, 0);
            stats.wordsPerMonth.emplace_back(month, 0);
        }
        ++stats.entriesPerMonth.back().second;
        stats.wordsPerMonth.back().second += words;
    }
    // The run that ends with the last entry is current when that entry is today's or yesterday's.
    const int gap = today - stats.last;
    stats.currentStreak = gap == 0 || gap == 1 ? run : 0;
    stats.averageWords = double(stats.words) / double(stats.entries);
    return stats;
}

} // namespace quillory
