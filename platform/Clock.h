// Today's date and the current time, with the test seam that fixes them.
#pragma once

#include "platform/Day.h"

#include <optional>

namespace quillory {

struct LocalTime {
    Day day;
    int hour = 0;  // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

// The local date and time of this moment, or the fixed one a test has set.
LocalTime Now();
// The local date of this moment (the day part of Now()).
Day Today();

// Test seam: from now on Now() returns `fixed`; nothing restores the system clock.
void SetFixedNow(std::optional<LocalTime> fixed);

// Fixes today's date (at noon) for the lifetime of the object, then restores what was before.
class ScopedFixedToday {
public:
    explicit ScopedFixedToday(Day today);
    explicit ScopedFixedToday(LocalTime now);
    ~ScopedFixedToday();
    ScopedFixedToday(const ScopedFixedToday&) = delete;
    ScopedFixedToday& operator=(const ScopedFixedToday&) = delete;

private:
    std::optional<LocalTime> previous_;
};

} // namespace quillory
