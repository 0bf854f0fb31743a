// A calendar day as a whole number of days since 30 December 1899, the diary's day value.
#pragma once

#include <compare>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace quillory {

bool IsLeapYear(int year) noexcept;
// Days of a month (1..12) of a year; 0 for a month outside 1..12.
int DaysInMonth(int year, int month) noexcept;

class Day {
public:
    // The first and last days the diary can name: a day key has four digits of year.
    static constexpr int kFirstYear = 1;
    static constexpr int kLastYear = 9999;

    constexpr Day() noexcept = default;
    static constexpr Day FromSerial(std::int32_t serial) noexcept { return Day(serial); }
    // The day of a calendar date, or nothing when the three numbers do not form one
    // (month 13, 31 April, 29 February of a common year, a year outside 1..9999).
    static std::optional<Day> FromDate(int year, int month, int day) noexcept;
    static Day First() noexcept;  // 1 January 0001
    static Day Last() noexcept;   // 31 December 9999

    constexpr std::int32_t Serial() const noexcept { return serial_; }
    int Year() const noexcept;
    int Month() const noexcept;       // 1..12
    int DayOfMonth() const noexcept;  // 1..31
    int Weekday() const noexcept;     // 0 = Sunday .. 6 = Saturday

    constexpr Day operator+(int days) const noexcept { return Day(serial_ + days); }
    constexpr Day operator-(int days) const noexcept { return Day(serial_ - days); }
    constexpr int operator-(Day other) const noexcept { return serial_ - other.serial_; }
    constexpr Day& operator+=(int days) noexcept { serial_ += days; return *this; }
    constexpr Day& operator-=(int days) noexcept { serial_ -= days; return *this; }
    constexpr auto operator<=>(const Day&) const noexcept = default;

private:
    constexpr explicit Day(std::int32_t serial) noexcept : serial_(serial) {}
    std::int32_t serial_ = 0;  // 0 = 30 December 1899
};

// "yyyy-mm-dd", the form the command-line tool and test failures show.
std::string IsoText(Day day);
std::ostream& operator<<(std::ostream& out, Day day);

} // namespace quillory
