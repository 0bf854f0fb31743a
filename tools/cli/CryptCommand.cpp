// quillory-cli crypt: not yet available in this build.
#include "tools/cli/CliCommands.h"

namespace quillory::cli {

int RunCrypt(const Arguments&)
{
    return Fail("the crypt command is not available yet");
}

} // namespace quillory::cli
