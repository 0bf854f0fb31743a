// quillory-cli's side of the commands that paint. Loading Qt's GUI and printing libraries costs
// some tens of milliseconds at every start, more than a small conversion takes; so quillory-cli
// is built without them, and a command that paints turns this process into the painting part,
// quillory-cli-paint (the same commands built with painting), started with the same words.
#include "tools/cli/CliCommands.h"
#include "tools/cli/CommandLine.h"
#include "tools/cli/PaintingCommands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace quillory::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kPaintingPart = "quillory-cli-paint";

// The painting part lies beside quillory-cli (in the build, the portable program folder and an
// installed copy's bin folder alike), so that both find the same data and diary folders.
fs::path PaintingPartPath()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return (error ? fs::path() : self.parent_path()) / kPaintingPart;
}

// Replaces this process by the painting part with the command line quillory-cli was given;
// returns only on failure, with the exit status.
int HandOver()
{
    char** argv = KeptCommandLine();
    if (!argv || !argv[0])
        return Fail("the command line is not known");
    const fs::path part = PaintingPartPath();
    if (::access(part.c_str(), X_OK) != 0)
        return Fail("cannot make PDF files: the painting part " + part.string() + " is missing");
    std::fflush(nullptr);
    ::execv(part.c_str(), argv);
    return Fail("cannot start " + part.string() + ": " + std::strerror(errno));
}

} // namespace

int ConvertToPdf(const std::string&, const std::string&)
{
    return HandOver();
}

int RunExportPdf(const Arguments&)
{
    return HandOver();
}

int RunPrint(const Arguments&)
{
    return HandOver();
}

} // namespace quillory::cli
