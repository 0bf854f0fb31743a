// Reading a command's input: a whole file or standard input, with one read where the size is known.
#include "tools/cli/CliInput.h"

#include "richtext/io/FileBytes.h"

#include <unistd.h>

namespace quillory::cli {

std::optional<std::string> ReadInput(const std::string& name)
{
    return name == "-" ? ReadDescriptorBytes(STDIN_FILENO) : ReadFileBytes(name);
}

} // namespace quillory::cli
