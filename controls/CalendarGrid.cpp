// Month grid placement and calendar steps.
#include "controls/CalendarGrid.h"

#include <algorithm>

namespace quillory {

int MonthGridOffset(int year, int month, int startOfWeek) noexcept
{
    const auto first = Day::FromDate(year, month, 1);
    if (!first)
        return 1;
    const int weekday = first->Weekday() + 1;  // 1 = Sunday .. 7 = Saturday
    const int w = (weekday - startOfWeek + 7) % 7;
    return w == 0 ? -5 : 2 - w;
}

int MonthGridDay(int year, int month, int startOfWeek, int column, int row) noexcept
{
    if (row < 1 || row >= kCalendarRows || column < 0 || column >= kCalendarColumns)
        return 0;
    const int day = MonthGridOffset(year, month, startOfWeek) + column + (row - 1) * 7;
    return day >= 1 && day <= DaysInMonth(year, month) ? day : 0;
}

Day StepCalendarMonths(Day day, int months) noexcept
{
    int year = day.Year(), month = day.Month();
    const int dayNumber = day.DayOfMonth();
    const int target = year * 12 + (month - 1) + months;
    year = target / 12;
    month = target % 12 + 1;
    if (target < 0 || year < Day::kFirstYear || year > Day::kLastYear)
        return day;
    return *Day::FromDate(year, month, std::min(dayNumber, DaysInMonth(year, month)));
}

Day StepCalendarYears(Day day, int years) noexcept
{
    int dayNumber = day.DayOfMonth();
    if (day.Month() == 2 && dayNumber == 29)
        dayNumber = 28;
    const int year = day.Year() + years;
    if (year < Day::kFirstYear || year > Day::kLastYear)
        return day;
    return *Day::FromDate(year, day.Month(), dayNumber);
}

} // namespace quillory
