// Days as the command line takes them.
#include "tools/cli/CliDays.h"

namespace quillory::cli {

std::optional<Day> ParseDayArgument(std::string text)
{
    if (text.size() == 10 && text[4] == '-' && text[7] == '-')
        text = text.substr(0, 4) + text.substr(5, 2) + text.substr(8, 2);
    if (text.size() != 8)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return Day::FromDate(value / 10000, value / 100 % 100, value % 100);
}

} // namespace quillory::cli
