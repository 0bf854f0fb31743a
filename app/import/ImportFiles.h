// Small helpers the importers share: bounded reading of a source file, and dates and times in
// the forms the other diaries write them.
#pragma once

#include "platform/Day.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillory {

// The file's bytes. Throws quillory::Error when it cannot be read or is larger than `maxSize`.
std::string ReadSourceFile(const std::filesystem::path& file, std::uint64_t maxSize);
// The same, or nothing when the file is missing, unreadable or too large.
std::optional<std::string> ReadPictureFile(const std::filesystem::path& file, std::uint64_t maxSize);

// "YYYY-MM-DD" naming a calendar day.
std::optional<Day> DayFromIso(std::string_view text);
// "HH:MM" (or "H:MM", seconds allowed after) as minutes after midnight; -1 for anything else.
int MinuteFromClock(std::string_view text);

} // namespace quillory
