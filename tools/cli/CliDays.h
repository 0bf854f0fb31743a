// Days as the command line takes them: YYYY-MM-DD, or YYYYMMDD as the entry files name them.
#pragma once

#include "platform/Day.h"

#include <optional>
#include <string>

namespace quillory::cli {

// The calendar day the argument names; nothing when it is not one (a wrong day is an error on the
// command line, never today as in the window).
std::optional<Day> ParseDayArgument(std::string text);

} // namespace quillory::cli
