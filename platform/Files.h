// File names matched without regard to letter case on every file system, wildcard scans of a
// folder, and the plain file copy of the program.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// Equal names ignoring the case of ASCII letters (the letters of every name the program makes).
bool SameNameNoCase(std::string_view a, std::string_view b) noexcept;
// Whether `name` matches `pattern`, where '*' stands for any run of characters and '?' for one,
// ignoring case: "*.QLE" matches "20240101.qle".
bool MatchesPattern(std::string_view name, std::string_view pattern) noexcept;

// The existing file or folder that `path` names, whatever the case of its name and of its
// folders' names. A path spelled as it exists costs one stat; only a miss looks at the folder,
// through a listing that is read again whenever the folder has changed.
std::optional<std::filesystem::path> FindNoCase(const std::filesystem::path& path);
// Whether a file (anything but a folder) of that name exists, whatever its case.
bool FileExistsNoCase(const std::filesystem::path& path);
// The path to write when the program means `path`: a file of that name in another case when
// there is one (so that saving never makes a second file of the same name), else `path` with
// its folders resolved the same way.
std::filesystem::path PathForWriting(const std::filesystem::path& path);
// Deletes every file of that name, whatever its case. True when none is left.
bool RemoveFileNoCase(const std::filesystem::path& path, std::string* error = nullptr);

// The names (no folder part) of everything in `folder` that matches `pattern`: files, folders
// and hidden entries alike, each once, in the order the file system gives them. A missing
// folder has no names.
std::vector<std::string> ScanFolder(const std::filesystem::path& folder, std::string_view pattern);

// Copies `source` to `destination`, replacing it atomically. False, with the destination
// untouched, when the two paths are the same text or the same file, when the source cannot be
// opened or read to its end, or when the destination cannot be written.
bool CopyAFile(const std::filesystem::path& source, const std::filesystem::path& destination);

namespace detail {
// Reads up to `capacity` bytes into `buffer`: the count read, 0 at the end, -1 on an error.
using BlockReader = std::function<std::ptrdiff_t(char* buffer, std::size_t capacity)>;
// The copy loop of CopyAFile: up to `size` bytes from `read` into `destination`, atomically.
// A read error leaves the destination untouched and returns false.
bool CopyBlocks(const BlockReader& read, std::uintmax_t size, const std::filesystem::path& destination);
} // namespace detail

} // namespace quillory
