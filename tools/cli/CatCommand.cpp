// quillory-cli cat DAY [--version FILE] [--password-file F]: the entry's RTF (or that of another
// version of the day) on standard output, deciphered in memory (with the password of QL.INI, or
// a strong diary's password given or typed), so that no plain copy is written anywhere.
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliDays.h"
#include "tools/cli/CliInput.h"
#include "tools/cli/DiaryPassword.h"

#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/EntryVersions.h"
#include "app/Settings.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace quillory::cli {

int RunCat(const Arguments& given)
{
    Arguments args = given;
    std::string problem;
    const auto passwordFile = TakeOption(args, "--password-file", problem);
    if (!problem.empty())
        return Fail(problem);
    const auto versionName = TakeOption(args, "--version", problem);
    if (!problem.empty())
        return Fail(problem);
    if (args.size() != 1)
        return Fail("cat takes one argument, the day as YYYY-MM-DD");
    const auto day = ParseDayArgument(args[0]);
    if (!day)
        return Fail("not a day in the form YYYY-MM-DD: " + args[0]);
    std::error_code error;
    if (!std::filesystem::is_directory(DiaryFolder(), error))
        return Fail("no such folder: " + DiaryFolder());

    std::optional<EntryVersion> version;
    if (versionName) {
        version = FindVersion(*day, *versionName);
        if (!version)
            return Fail("no version " + *versionName + " of " + IsoText(*day));
    }
    const auto file = version ? std::optional(version->file) : FindNoCase(GetCurrentDateFileName(*day));
    if (!file || std::filesystem::is_directory(*file, error)) {
        Fail("no entry for " + IsoText(*day));
        return kNothingStatus;
    }
    const auto stored = ReadInput(file->string());
    if (!stored)
        return Fail("cannot read " + file->string());

    Arguments keyArgs;
    if (passwordFile)
        keyArgs = {"--password-file", *passwordFile};
    const auto key = OpenDiaryKey(keyArgs, problem);
    if (!key)
        return Fail(problem);
    const auto plain = version ? OpenVersionBytes(*key, *version, *stored) : DecodeEntry(*key, DayKey(*day), *stored);
    if (!plain)
        return Fail(FormatMessage(version ? kVersionDoesNotOpen : kDamagedEntry, file->string()));
    const std::string& rtf = *plain;
    if (std::fwrite(rtf.data(), 1, rtf.size(), stdout) != rtf.size() || std::fflush(stdout) != 0)
        return Fail("cannot write to standard output");
    return 0;
}

} // namespace quillory::cli
