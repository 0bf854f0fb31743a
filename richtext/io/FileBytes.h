// A whole file read into memory with one read where the system allows: entries and documents
// are read whole before a reader sees them.
#pragma once

#include <optional>
#include <string>

namespace quillory {

// The file's bytes, or nothing when it cannot be opened or read (a folder, no permission, a
// read error). A file that grows while it is read is read to its new end.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Everything that can still be read from the open descriptor `fd` (a file, a pipe, standard
// input), or nothing on a read error or when it is a folder. `fd` stays open.
std::optional<std::string> ReadDescriptorBytes(int fd);

} // namespace quillory
