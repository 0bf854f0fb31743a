// quillory-cli cat: not yet available in this build.
#include "tools/cli/CliCommands.h"

namespace quillory::cli {

int RunCat(const Arguments&)
{
    return Fail("the cat command is not available yet");
}

} // namespace quillory::cli
