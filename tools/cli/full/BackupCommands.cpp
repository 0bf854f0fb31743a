// quillory-cli backup OUT.zip and restore IN.zip: the diary into one checked archive and back,
// through the same units as the window's File menu. One line of result on standard output.
// backup --auto and backups: the automatic backups, as the window makes them when it closes.
#include "tools/cli/CliCommands.h"

#include "app/AutoBackup.h"
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

// What closing the diary does, for a timer of the user's own. A password change or a restore
// under way (the window's, perhaps) is left alone: the next run backs up what it made.
int RunAutoBackupCommand()
{
    std::error_code ec;
    if (!std::filesystem::is_directory(DiaryFolder(), ec))
        return Fail("no such folder: " + DiaryFolder());
    if (std::filesystem::exists(RekeyJournalFileName(), ec) || std::filesystem::exists(RestoreJournalFileName(), ec))
        return Fail("a password change or a restore is under way; no backup was made");
    try {
        PrintLine(AutoBackupResultText(RunAutoBackup(AutoBackupOccasion::Close)));
    } catch (const Error& failure) {
        return Fail(failure.what());
    }
    return 0;
}

int RunBackup(const Arguments& args)
{
    if (args.size() == 1 && args[0] == "--auto")
        return RunAutoBackupCommand();
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

// One line per automatic backup, newest first: "YYYY-MM-DD HH:MM<TAB>entries<TAB>bytes<TAB>file".
int RunBackups(const Arguments& args)
{
    if (!args.empty())
        return Fail("backups takes no arguments");
    const auto found = FindAutoBackups(BackupFolderOf(LoadAutoBackupSettings()));
    for (const FoundBackup& backup : found)
        PrintLine(BackupTimeText(backup.time) + "\t" + std::to_string(backup.entries) + "\t"
                  + std::to_string(backup.bytes) + "\t" + backup.file.string());
    return found.empty() ? kNothingStatus : 0;
}

} // namespace quillory::cli
