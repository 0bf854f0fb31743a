// quillory-cli days [YYYY-MM]: the first and the last diary day, or the days of a month that
// have entries, one yyyy-mm-dd per line.
#include "tools/cli/CliCommands.h"

#include "app/EntryStore.h"
#include "platform/ProgramFolder.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace quillory::cli {

namespace {

struct YearMonth {
    int year;
    int month;
};

// "YYYY-MM" with a year the diary can name and a month 01..12.
std::optional<YearMonth> ParseYearMonth(const std::string& text)
{
    if (text.size() != 7 || text[4] != '-')
        return std::nullopt;
    int value[2] = {0, 0};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 4)
            continue;
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        int& part = value[i < 4 ? 0 : 1];
        part = part * 10 + (text[i] - '0');
    }
    if (value[0] < Day::kFirstYear || value[1] < 1 || value[1] > 12)
        return std::nullopt;
    return YearMonth{value[0], value[1]};
}

void PrintDay(Day day)
{
    std::printf("%s\n", IsoText(day).c_str());
}

} // namespace

int RunDays(const Arguments& args)
{
    if (args.size() > 1)
        return Fail("days takes at most one argument, YYYY-MM");
    std::error_code error;
    if (!std::filesystem::is_directory(DiaryFolder(), error))
        return Fail("no such folder: " + DiaryFolder());
    if (args.empty()) {
        PrintDay(FirstDiaryRecord());
        PrintDay(LastDiaryRecord());
        return 0;
    }
    const auto month = ParseYearMonth(args[0]);
    if (!month)
        return Fail("not a month in the form YYYY-MM: " + args[0]);
    for (const int day : EntryDaysOfMonth(month->year, month->month))
        PrintDay(*Day::FromDate(month->year, month->month, day));
    return 0;
}

} // namespace quillory::cli
