// quillory-cli convert: not yet available in this build.
#include "tools/cli/CliCommands.h"

namespace quillory::cli {

int RunConvert(const Arguments&)
{
    return Fail("the convert command is not available yet");
}

} // namespace quillory::cli
