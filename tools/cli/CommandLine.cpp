#include "tools/cli/CommandLine.h"

namespace quillory::cli {

namespace {

char** g_commandLine = nullptr;

} // namespace

void KeepCommandLine(char** argv)
{
    g_commandLine = argv;
}

char** KeptCommandLine()
{
    return g_commandLine;
}

} // namespace quillory::cli
