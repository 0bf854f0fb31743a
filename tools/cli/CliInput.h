// The bytes a command is given to read: a whole file, or standard input for "-".
#pragma once

#include <optional>
#include <string>

namespace quillory::cli {

// The whole of the file `name` ("-" = standard input). A regular file is read with one read
// into a buffer of its size; a pipe or terminal in blocks until its end. Nothing when it cannot
// be opened or read.
std::optional<std::string> ReadInput(const std::string& name);

} // namespace quillory::cli
