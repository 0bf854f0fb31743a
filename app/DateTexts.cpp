// The short date text.
#include "app/DateTexts.h"

#include <cstdio>

namespace quillory {

std::string ShortDateText(Day day, char separator)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d%c%02d%c%04d", day.Month(), separator, day.DayOfMonth(), separator,
                  day.Year());
    return text;
}

} // namespace quillory
