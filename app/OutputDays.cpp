// The days an output command covers.
#include "app/OutputDays.h"

#include "app/EntryStore.h"
#include "platform/Files.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace quillory {

namespace {

// "yyyymmdd.qle" in any letter case, naming a calendar day.
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

} // namespace

DayRange ChooseOutputDays(OutputScope scope, Day current, Day from, Day until)
{
    switch (scope) {
    case OutputScope::CurrentOnly:
        return {current, current};
    case OutputScope::All:
        return {FirstDiaryRecord(), LastDiaryRecord()};
    case OutputScope::Range:
        break;
    }
    return {from, until};
}

std::vector<Day> EntryDaysIn(const DayRange& range)
{
    std::vector<Day> days;
    if (range.empty())
        return days;
    for (const std::string& name : ScanFolder(EntriesFolder(), "*.QLE")) {
        const auto day = DayOfEntryName(name);
        if (day && *day >= range.first && *day <= range.last && FileExistsNoCase(EntriesFolder() + name))
            days.push_back(*day);
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());  // "x.QLE" beside "x.qle"
    return days;
}

} // namespace quillory
