// The diary's entry files: one file per day in the Entries folder, named by its day key. The
// folder listing is the catalogue: a day has an entry exactly when its file exists.
#pragma once

#include "platform/Day.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// DiaryFolder() + "Entries/".
std::string EntriesFolder();
// Creates the Entries folder (parents too) unless it exists, in any letter case.
bool CreateEntriesFolder(std::string* error = nullptr);

// "yyyymmdd": 6 December 2026 is "20261206".
std::string DayKey(Day day);
// The day a key names: characters 1-4 are the year, 5-6 the month and 7-8 the day, each of
// digits only; characters past the eighth are ignored. A key that is no valid date gives
// today, without a message.
Day STOD(std::string_view key);

// EntriesFolder() + DayKey(day) + ".QLE". Touches no file.
std::string GetCurrentDateFileName(Day day);
// Whether the day has an entry file, whatever the case of its name. One stat when the file is
// named as the program names it.
bool EntryFileExists(Day day);

// The earliest day with an entry file, but never later than today.
Day FirstDiaryRecord();
// The latest day with an entry file, but never earlier than today.
Day LastDiaryRecord();

// The day an entry file's name stands for ("yyyymmdd.QLE" in any letter case, naming a calendar
// day), or nothing for any other name.
std::optional<Day> DayOfEntryName(std::string_view name);
// The days from `from` to `until` (both included) whose entry file exists, ascending. One
// listing of the Entries folder instead of one existence test per calendar day; a name counts
// as the program names entries ("yyyymmdd.QLE", any letter case) and only for a file.
std::vector<Day> EntryDaysBetween(Day from, Day until);

// The days (1..31, ascending) of a month that have entry files.
std::vector<int> EntryDaysOfMonth(int year, int month);
// The same as decimal texts "1".."31" in `days` (cleared first), for the date selector.
void ListEntryDays(std::vector<std::string>& days, int year, int month);

// The day each navigation command of the main window moves to. Previous and Next step one
// calendar day whether or not it has an entry (and stay put at the ends of the diary's years);
// First and Last go to the outermost entries, bounded by today.
enum class Navigation { First, Prior, Today, Next, Last };
Day NavigateFrom(Day current, Navigation command);

} // namespace quillory
