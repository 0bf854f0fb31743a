// The day value: calendar conversions, stepping, leap years, and the clock and folder seams.
#include "platform/Clock.h"
#include "platform/Day.h"

#include <gtest/gtest.h>

using namespace quillory;

TEST(Day, SerialZeroIsTheThirtiethOfDecember1899)
{
    EXPECT_EQ(Day::FromDate(1899, 12, 30)->Serial(), 0);
    EXPECT_EQ(Day::FromDate(1900, 1, 1)->Serial(), 2);
    EXPECT_EQ(Day::FromDate(2026, 12, 6)->Serial(), 46362);
    EXPECT_EQ(Day::FromDate(1, 1, 1)->Serial(), -693593);
}

TEST(Day, RoundTripsEveryDayOfTheDiarysYears)
{
    // Walking one day at a time from the first to the last day must agree with the calendar.
    int year = 1, month = 1, dayOfMonth = 1;
    for (Day day = Day::First(); day <= Day::Last(); day += 1) {
        ASSERT_EQ(day.Year(), year);
        ASSERT_EQ(day.Month(), month);
        ASSERT_EQ(day.DayOfMonth(), dayOfMonth);
        ASSERT_EQ(Day::FromDate(year, month, dayOfMonth), day);
        if (++dayOfMonth > DaysInMonth(year, month)) {
            dayOfMonth = 1;
            if (++month > 12)
                month = 1, ++year;
        }
    }
    EXPECT_EQ(year, 10000);
}

TEST(Day, RejectsWhatIsNoDate)
{
    const struct { int year, month, day; } invalid[] = {
        {2024, 13, 1}, {2024, 0, 1}, {2024, 4, 31}, {2023, 2, 29}, {2100, 2, 29},
        {2024, 1, 0},  {0, 1, 1},    {10000, 1, 1}, {-5, 1, 1},
    };
    for (const auto& date : invalid)
        EXPECT_FALSE(Day::FromDate(date.year, date.month, date.day)) << date.year << "-" << date.month << "-" << date.day;
    EXPECT_TRUE(Day::FromDate(2000, 2, 29));
    EXPECT_TRUE(Day::FromDate(2024, 2, 29));
}

TEST(Day, LeapYearsAndMonthLengths)
{
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2026, 4), 30);
    EXPECT_EQ(DaysInMonth(2026, 13), 0);
}

TEST(Day, StepsAcrossYearsAndKnowsItsWeekday)
{
    const Day newYearsEve = *Day::FromDate(2026, 12, 31);
    EXPECT_EQ(newYearsEve + 1, Day::FromDate(2027, 1, 1));
    EXPECT_EQ(*Day::FromDate(2024, 3, 1) - 1, Day::FromDate(2024, 2, 29));
    EXPECT_EQ(Day::FromDate(2026, 12, 6)->Weekday(), 0);  // a Sunday
    EXPECT_EQ(IsoText(*Day::FromDate(987, 6, 5)), "0987-06-05");
}

TEST(Clock, FixedTodayIsScopedAndNested)
{
    const Day real = Today();
    {
        ScopedFixedToday fixed(*Day::FromDate(2026, 12, 6));
        EXPECT_EQ(Today(), Day::FromDate(2026, 12, 6));
        {
            ScopedFixedToday inner(LocalTime{*Day::FromDate(2000, 1, 1), 23, 59, 58, 0});
            EXPECT_EQ(Now().hour, 23);
            EXPECT_EQ(Today(), Day::FromDate(2000, 1, 1));
        }
        EXPECT_EQ(Today(), Day::FromDate(2026, 12, 6));
    }
    EXPECT_LE(Today() - real, 1);  // back on the system clock (midnight may pass meanwhile)
}

