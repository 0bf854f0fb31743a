// quillory-cli backup OUT.zip and restore IN.zip: the diary into one checked archive and back,
// through the same units as the window's File menu. One line of result on standard output.
#include "tools/cli/CliCommands.h"

#include "app/DiaryBackup.h"
#include "app/DiaryRestore.h"
#include "app/PasswordChange.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace quillory::cli {

namespace {

// The one archive argument, or an error message.
std::string ArchiveArgument(const Arguments& args, const char* command, std::string& error)
{
    if (args.size() != 1 || args[0].empty() || args[0] == "-") {
        error = std::string(command) + " takes one archive file name";
        return {};
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(DiaryFolder(), ec)) {
        error = "no such folder: " + DiaryFolder();
        return {};
    }
    return args[0];
}

void PrintLine(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
}

} // namespace

int RunBackup(const Arguments& args)
{
    std::string error;
    const std::string archive = ArchiveArgument(args, "backup", error);
    if (!error.empty())
        return Fail(error);
    try {
        // A password change that a crash interrupted is settled first: a backup of half
        // re-keyed entries would not open with either password.
        RecoverPasswordChange();
        RecoverRestore();
        PrintLine(BackupSummary(BackUpDiary(archive)));
    } catch (const Error& failure) {
        return Fail(failure.what());
    }
    return 0;
}

int RunRestore(const Arguments& args)
{
    std::string error;
    const std::string archive = ArchiveArgument(args, "restore", error);
    if (!error.empty())
        return Fail(error);
    try {
        const RestoreOutcome outcome = RestoreDiary(archive);
        PrintLine(RestoreSummary(outcome, std::filesystem::absolute(archive)));
    } catch (const Error& failure) {
        return Fail(failure.what());
    }
    return 0;
}

} // namespace quillory::cli
