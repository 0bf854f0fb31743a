// Files that another computer may change behind the program's back (a diary in a synced
// folder): what the program last saw of a file, whether the file on disk is still that one, and
// keeping the other computer's version beside it under a name that says so.
#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillory {

// What the program last read or wrote at a file's name. A missing file has a stamp too: a file
// that appears later is a change.
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    std::uint64_t hash = 0;  // ContentHash of the bytes

    bool operator==(const FileStamp&) const = default;
};

// A 64-bit hash of the bytes (FNV-1a): equal bytes give equal hashes on every machine.
std::uint64_t ContentHash(std::string_view bytes) noexcept;

// The stamp of `bytes` just read from or written to `file` (its modification time is read).
FileStamp StampOf(const std::filesystem::path& file, std::string_view bytes);

// The stamp of the file on disk now, whatever the case of its name, with its bytes in `bytes`
// when given. A missing file gives a stamp with exists false. Throws quillory::Error "Cannot
// open file %s" when the file is there but cannot be read: whether it changed cannot be told.
FileStamp ReadFileStamp(const std::filesystem::path& file, std::string* bytes = nullptr);

// Whether the file now is still the one of `loaded`: both missing, or both there with the same
// size and the same bytes. A new modification time over the same bytes (a sync service that
// touches or rewrites a file unchanged) is no change: overwriting it loses nothing.
bool StillTheSame(const FileStamp& loaded, const FileStamp& now) noexcept;

// The local time of a file's modification time, to the minute.
LocalTime LocalTimeOfFile(std::filesystem::file_time_type modified);

// The name that keeps another computer's version of `fileName` beside it:
// "20240105 (changed elsewhere 2024-01-06 0815).QLE" for "20240105.QLE" changed at 8:15 on
// 6 January 2024. `attempt` 2, 3, ... adds a number for when the first name is taken:
// "20240105 (changed elsewhere 2024-01-06 0815, 2).QLE".
std::string ChangedElsewhereName(std::string_view fileName, const LocalTime& modified, int attempt = 1);

// Whether a file name is one that ChangedElsewhereName made: such a file is never an entry, a
// settings file, or anything else the program reads by its name.
bool IsChangedElsewhereName(std::string_view fileName) noexcept;

// Writes `bytes`, another computer's version of `file` last modified at `modified`, beside it
// under the first free ChangedElsewhereName (atomically; a name taken in any letter case counts
// as taken). Returns the path written. Throws quillory::Error "Cannot create file %s".
std::filesystem::path KeepOtherVersion(const std::filesystem::path& file, std::string_view bytes,
                                       std::filesystem::file_time_type modified);

} // namespace quillory
