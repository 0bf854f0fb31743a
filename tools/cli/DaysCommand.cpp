// quillory-cli days: not yet available in this build.
#include "tools/cli/CliCommands.h"

namespace quillory::cli {

int RunDays(const Arguments&)
{
    return Fail("the days command is not available yet");
}

} // namespace quillory::cli
