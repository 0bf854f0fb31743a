// quillory-cli import FORMAT SOURCE: entries of another diary program into this diary, through
// the same units as the window's import. The report goes to standard output; exit 0 when
// something was (or in a dry run would be) imported, 1 when there was nothing to import, 2 on
// an error.
#include "tools/cli/CliCommands.h"
#include "tools/cli/DiaryPassword.h"
#include "tools/cli/OutputArguments.h"

#include "app/DiaryRestore.h"
#include "app/PasswordChange.h"
#include "app/import/DiaryImport.h"
#include "app/import/ImportFormats.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace quillory::cli {

namespace {

constexpr const char* kUsage =
    "import takes jrnl|dayone|rednotebook|almanah|markdown|text SOURCE [--on-conflict append|skip|replace] "
    "[--pattern PATTERN] [--dry-run] [--password-file F]";

} // namespace

int RunImport(const Arguments& given)
{
    Arguments args = given;
    std::string error;
    const auto conflict = TakeOption(args, "--on-conflict", error);
    const auto pattern = error.empty() ? TakeOption(args, "--pattern", error) : std::nullopt;
    if (!error.empty())
        return Fail(error);
    ImportOptions options;
    if (conflict && !ConflictRuleNamed(*conflict, options.onConflict))
        return Fail("unknown --on-conflict " + *conflict + " (append, skip or replace)");
    if (const auto dry = std::find(args.begin(), args.end(), "--dry-run"); dry != args.end()) {
        options.dryRun = true;
        args.erase(dry);
    }
    Arguments rest;
    Arguments keyArgs;  // what OpenDiaryKey takes from
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--password-file" && i + 1 < args.size()) {
            keyArgs.push_back(args[i]);
            keyArgs.push_back(args[++i]);
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.size() != 2)
        return Fail(kUsage);
    const auto format = ImportFormatNamed(rest[0]);
    if (!format)
        return Fail("unknown format " + rest[0] + " (jrnl, dayone, rednotebook, almanah, markdown or text)");
    if (pattern && *format != ImportFormat::Markdown)
        return Fail("--pattern names Markdown notes only");
    if (!DiaryFolderExists())
        return Fail("no such folder: " + DiaryFolder());
    try {
        // A password change or restore that a crash interrupted is settled first: entries
        // imported under a key the diary is leaving would not open afterwards.
        RecoverPasswordChange();
        RecoverRestore();
    } catch (const Error& failure) {
        return Fail(failure.what());
    }
    const auto key = OpenDiaryKey(keyArgs, error);
    if (!key)
        return Fail(error);
    options.key = *key;
    try {
        const ImportSource source = ReadImportSource(*format, rest[1], pattern.value_or(""));
        const ImportReport report = ImportIntoDiary(source, options);
        std::fputs(ImportReportText(report).c_str(), stdout);
        std::fflush(stdout);
        return report.days() == 0 ? kNothingStatus : 0;
    } catch (const Error& failure) {
        return Fail(failure.what());
    }
}

} // namespace quillory::cli
