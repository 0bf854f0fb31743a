// The commands of quillory-cli: each takes its own arguments (after the command word) and
// returns the process exit status. Errors go to standard error.
#pragma once

#include <string>
#include <vector>

namespace quillory::cli {

using Arguments = std::vector<std::string>;

int RunDays(const Arguments& args);     // days [YYYY-MM]
int RunCat(const Arguments& args);      // cat DAY [--version FILE]
int RunCrypt(const Arguments& args);    // crypt --encrypt|--decrypt --password P IN OUT
int RunConvert(const Arguments& args);  // convert [--to rtf|text|html|pdf] IN OUT
int RunConvertLegacy(const Arguments& args);  // convert-legacy
int RunExport(const Arguments& args);   // export [--from DAY] [--until DAY] [--format F] OUTDIR
int RunPrint(const Arguments& args);    // print --pdf OUT.pdf [--from DAY] [--until DAY] [--merged]
int RunSearch(const Arguments& args);   // search [--from DAY] [--until DAY] QUERY
int RunOnThisDay(const Arguments& args);  // onthisday [DAY]
int RunTags(const Arguments& args);     // tags [--from DAY] [--until DAY]
int RunStats(const Arguments& args);    // stats [--from DAY] [--until DAY] [--json]
int RunPassword(const Arguments& args);  // password set [--legacy] [--password-file F] [--old-password-file F] | clear
int RunSpell(const Arguments& args);    // spell [--suggest] FILE
int RunBackup(const Arguments& args);   // backup OUT.zip | backup --auto
int RunBackups(const Arguments& args);  // backups
int RunRestore(const Arguments& args);  // restore IN.zip
int RunVersions(const Arguments& args);  // versions [DAY]
int RunResolve(const Arguments& args);   // resolve DAY --append [FILE] | --use FILE | --dismiss FILE
int RunImport(const Arguments& args);   // import FORMAT SOURCE [--on-conflict R] [--pattern P] [--dry-run]

// Exit statuses, as grep has them: 1 when there is nothing to show (no match, no entry, some
// files not written), 2 for an error.
constexpr int kNothingStatus = 1;
constexpr int kErrorStatus = 2;

// Prints "quillory-cli: <message>" on standard error and returns kErrorStatus.
int Fail(const std::string& message);

} // namespace quillory::cli
