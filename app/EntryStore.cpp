// Naming entry files, finding the first and last diary day, and the navigation rules.
#include "app/EntryStore.h"

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"
#include "platform/SyncedFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace quillory {

namespace {

constexpr std::string_view kEntryExtension = ".QLE";
constexpr std::string_view kEntryPattern = "*.QLE";

// A piece of a key read as a decimal number of digits only; -1 when empty or not digits.
int DigitsValue(std::string_view key, std::size_t from, std::size_t length)
{
    if (from >= key.size())
        return -1;
    const std::string_view piece = key.substr(from, length);
    int value = 0;
    for (const char c : piece) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The date of a day key; characters past the eighth do not count.
std::optional<Day> DayOfKey(std::string_view key)
{
    const int year = DigitsValue(key, 0, 4);
    const int month = DigitsValue(key, 4, 2);
    const int day = DigitsValue(key, 6, 2);
    if (year < 0 || month < 0 || day < 0)
        return std::nullopt;
    return Day::FromDate(year, month, day);
}

// The day an entry file's name stands for: the name cut at its first ".", so that
// "20240101extra.QLE" counts as 1 January 2024. Only digits make a date, so the letter case
// of the name does not matter.
std::optional<Day> DayOfFileName(std::string_view name)
{
    return DayOfKey(name.substr(0, name.find('.')));
}

template <typename Better>
Day OutermostEntry(Better better)
{
    Day best = Today();
    for (const auto& name : ScanFolder(EntriesFolder(), kEntryPattern)) {
        // Another computer's version kept beside an entry is no entry of its own.
        if (IsChangedElsewhereName(name))
            continue;
        // A name that is not a date counts as today, which is where the search starts anyway.
        if (const auto day = DayOfFileName(name); day && better(*day, best))
            best = *day;
    }
    return best;
}

} // namespace

std::string EntriesFolder()
{
    return DiaryFolder() + "Entries/";
}

bool CreateEntriesFolder(std::string* error)
{
    const std::filesystem::path folder = DiaryFolder() + "Entries";
    if (const auto existing = FindNoCase(folder); existing && std::filesystem::is_directory(*existing))
        return true;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec && error)
        *error = "cannot create " + folder.string() + ": " + ec.message();
    return !ec;
}

std::string DayKey(Day day)
{
    char key[16];
    std::snprintf(key, sizeof key, "%04d%02d%02d", day.Year(), day.Month(), day.DayOfMonth());
    return key;
}

Day STOD(std::string_view key)
{
    return DayOfKey(key).value_or(Today());
}

std::string GetCurrentDateFileName(Day day)
{
    return EntriesFolder() + DayKey(day) + std::string(kEntryExtension);
}

bool EntryFileExists(Day day)
{
    return FileExistsNoCase(GetCurrentDateFileName(day));
}

Day FirstDiaryRecord()
{
    return OutermostEntry([](Day candidate, Day best) { return candidate < best; });
}

Day LastDiaryRecord()
{
    return OutermostEntry([](Day candidate, Day best) { return candidate > best; });
}

std::vector<int> EntryDaysOfMonth(int year, int month)
{
    std::vector<int> days;
    const int count = DaysInMonth(year, month);
    for (int day = 1; day <= count; ++day) {
        const auto date = Day::FromDate(year, month, day);
        if (date && EntryFileExists(*date))
            days.push_back(day);
    }
    return days;
}

void ListEntryDays(std::vector<std::string>& days, int year, int month)
{
    days.clear();
    for (const int day : EntryDaysOfMonth(year, month))
        days.push_back(std::to_string(day));
}

Day NavigateFrom(Day current, Navigation command)
{
    switch (command) {
    case Navigation::First: return FirstDiaryRecord();
    case Navigation::Prior: return current > Day::First() ? current - 1 : current;
    case Navigation::Today: return Today();
    case Navigation::Next: return current < Day::Last() ? current + 1 : current;
    case Navigation::Last: return LastDiaryRecord();
    }
    return current;
}

std::optional<Day> DayOfEntryName(std::string_view name)
{
    if (name.size() != 12 || !SameNameNoCase(name.substr(8), ".QLE"))
        return std::nullopt;
    int value = 0;
    for (const char c : name.substr(0, 8)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return Day::FromDate(value / 10000, value / 100 % 100, value % 100);
}

std::vector<Day> EntryDaysBetween(Day from, Day until)
{
    std::vector<Day> days;
    const auto folder = FindNoCase(DiaryFolder() + "Entries");
    if (!folder)
        return days;
    std::error_code error;
    for (std::filesystem::directory_iterator it(*folder, error), end; !error && it != end; it.increment(error)) {
        const auto day = DayOfEntryName(it->path().filename().native());
        if (!day || *day < from || *day > until)
            continue;
        std::error_code typeError;
        if (it->is_directory(typeError))
            continue;
        days.push_back(*day);
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

} // namespace quillory
