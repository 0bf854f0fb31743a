// The days an output command covers.
#include "app/OutputDays.h"

#include "app/EntryStore.h"

namespace quillory {

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
    if (range.empty())
        return {};
    return EntryDaysBetween(range.first, range.last);
}

} // namespace quillory
