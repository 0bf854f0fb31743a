// quillory-cli's side of the commands that need heavy libraries: PDF output (Qt's GUI and
// printing) and archives (libzip, which brings a crypto library along). Loading them costs more
// at every start than a small conversion takes; so quillory-cli is built without them, and such
// a command turns this process into the full part, quillory-cli-full (the same commands built
// with everything), started with the same words.
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

constexpr const char* kFullPart = "quillory-cli-full";

// The full part lies beside quillory-cli (in the build, the portable program folder and an
// installed copy's bin folder alike), so that both find the same data and diary folders.
fs::path FullPartPath()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return (error ? fs::path() : self.parent_path()) / kFullPart;
}

// Replaces this process by the full part with the command line quillory-cli was given;
// returns only on failure, with the exit status.
int HandOver()
{
    char** argv = KeptCommandLine();
    if (!argv || !argv[0])
        return Fail("the command line is not known");
    const fs::path part = FullPartPath();
    if (::access(part.c_str(), X_OK) != 0)
        return Fail("this command needs " + part.string() + ", which is missing beside quillory-cli");
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

int RunBackup(const Arguments&)
{
    return HandOver();
}

int RunRestore(const Arguments&)
{
    return HandOver();
}

int RunBackups(const Arguments&)
{
    return HandOver();
}

int RunImport(const Arguments&)
{
    return HandOver();
}

} // namespace quillory::cli
