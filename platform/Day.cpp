// Calendar conversions of the day value, through the proleptic Gregorian calendar of <chrono>.
#include "platform/Day.h"

#include <chrono>
#include <cstdio>
#include <ostream>

namespace quillory {

namespace {

using namespace std::chrono;

// 30 December 1899 counted from 1 January 1970.
constexpr int kSerialEpochOffset = -25569;

year_month_day ToDate(Day day) noexcept
{
    return year_month_day(sys_days(days(day.Serial() + kSerialEpochOffset)));
}

} // namespace

bool IsLeapYear(int year) noexcept
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) noexcept
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

std::optional<Day> Day::FromDate(int y, int m, int d) noexcept
{
    if (y < kFirstYear || y > kLastYear || d < 1 || d > DaysInMonth(y, m))
        return std::nullopt;
    const sys_days since1970{year_month_day(year(y), month(static_cast<unsigned>(m)),
                                            day(static_cast<unsigned>(d)))};
    return Day(static_cast<std::int32_t>(since1970.time_since_epoch().count() - kSerialEpochOffset));
}

Day Day::First() noexcept { return *FromDate(kFirstYear, 1, 1); }
Day Day::Last() noexcept { return *FromDate(kLastYear, 12, 31); }

int Day::Year() const noexcept { return static_cast<int>(ToDate(*this).year()); }
int Day::Month() const noexcept { return static_cast<int>(static_cast<unsigned>(ToDate(*this).month())); }
int Day::DayOfMonth() const noexcept { return static_cast<int>(static_cast<unsigned>(ToDate(*this).day())); }

int Day::Weekday() const noexcept
{
    return static_cast<int>(weekday(sys_days(days(serial_ + kSerialEpochOffset))).c_encoding());
}

std::string IsoText(Day day)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", day.Year(), day.Month(), day.DayOfMonth());
    return text;
}

std::ostream& operator<<(std::ostream& out, Day day)
{
    return out << IsoText(day);
}

} // namespace quillory
