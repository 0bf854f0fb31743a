// The program-wide short date "mm/dd/yyyy" of inserted dates and printed headings.
#pragma once

#include "platform/Day.h"

#include <string>

namespace quillory {

// Two-digit month, two-digit day, four-digit year, joined by the locale's date separator.
std::string ShortDateText(Day day, char separator = '/');

} // namespace quillory
