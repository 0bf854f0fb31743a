// The rules of the month grid behind TCalendar, apart from any widget: where each day of a
// month stands, and the month and year steps that keep a day valid.
#pragma once

#include "platform/Day.h"

namespace quillory {

inline constexpr int kCalendarColumns = 7;
inline constexpr int kCalendarRows = 7;  // row 0 holds the day names

// The number shown in the cell at column 0 of row 1, less one for each column and row before:
// day = offset + column + (row - 1) * 7. The 1st of the month always lies in row 1.
// `startOfWeek` is 0 for weeks that start on Sunday, up to 6 for Saturday.
int MonthGridOffset(int year, int month, int startOfWeek) noexcept;
// The day number shown at (column 0-6, row 1-6), or 0 for a cell outside the month (and for
// the header row).
int MonthGridDay(int year, int month, int startOfWeek, int column, int row) noexcept;
// The weekday (0 = Sunday) that column `column` of the header names.
constexpr int MonthGridWeekday(int column, int startOfWeek) noexcept { return (column + startOfWeek) % 7; }

// One month forward (+1) or back (-1), as many times as |months|: the day number is kept when
// the new month has that many days, else it becomes the new month's last day. A step past the
// years the diary can name leaves the day as it is.
Day StepCalendarMonths(Day day, int months) noexcept;
// Years forward or back; 29 February becomes the 28th first. Past the named years: unchanged.
Day StepCalendarYears(Day day, int years) noexcept;

} // namespace quillory
