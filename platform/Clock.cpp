// The system clock read in local time, or the time a test has fixed.
#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace quillory {

namespace {

std::optional<LocalTime>& FixedNow()
{
    static std::optional<LocalTime> fixed;
    return fixed;
}

LocalTime SystemNow()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    LocalTime result;
    // A clock outside the diary's years still yields a usable day.
    result.day = Day::FromDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).value_or(Day());
    result.hour = local.tm_hour;
    result.minute = local.tm_min;
    result.second = local.tm_sec;
    result.millisecond = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    return result;
}

} // namespace

LocalTime Now()
{
    if (FixedNow())
        return *FixedNow();
    return SystemNow();
}

Day Today()
{
    return Now().day;
}

void SetFixedNow(std::optional<LocalTime> fixed)
{
    FixedNow() = fixed;
}

ScopedFixedToday::ScopedFixedToday(Day today) : ScopedFixedToday(LocalTime{today, 12, 0, 0, 0}) {}

ScopedFixedToday::ScopedFixedToday(LocalTime now) : previous_(FixedNow())
{
    SetFixedNow(now);
}

ScopedFixedToday::~ScopedFixedToday()
{
    SetFixedNow(previous_);
}

} // namespace quillory
