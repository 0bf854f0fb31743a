// Which days printing and export cover: the entry on screen, every entry, or a range of days,
// and the days with entry files among them, found in one listing of the Entries folder.
#pragma once

#include "platform/Day.h"

#include <vector>

namespace quillory {

enum class OutputScope { CurrentOnly, All, Range };

// First and last day, both included. A range whose first day is after its last covers nothing.
struct DayRange {
    Day first;
    Day last;
    bool empty() const noexcept { return last < first; }
};

// Current only: the current day twice. All: FirstDiaryRecord to LastDiaryRecord. Range: the
// two days as given, unchecked.
DayRange ChooseOutputDays(OutputScope scope, Day current, Day from, Day until);

// The days of the range that have entry files, ascending. Files whose names are no day key
// ("notes.qle", "20261399.QLE") are no entries and are passed over.
std::vector<Day> EntryDaysIn(const DayRange& range);

} // namespace quillory
