// quillory-cli versions [DAY] and resolve DAY --append [FILE] | --use FILE | --dismiss FILE:
// the other versions of days beside their entries (sync tools' conflict copies and the program's
// own), listed and settled without a window. Settling never deletes: a version appended, used or
// dismissed is moved whole into the "Old versions" folder.
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliDays.h"
#include "tools/cli/DiaryPassword.h"

#include "app/EntryConflicts.h"
#include "app/EntryVersions.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"
#include "platform/SyncedFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace quillory::cli {

namespace {

std::string ModifiedText(std::filesystem::file_time_type modified)
{
    const LocalTime when = LocalTimeOfFile(modified);
    char text[16];
    std::snprintf(text, sizeof text, " %02d:%02d", when.hour, when.minute);
    return IsoText(when.day) + text;
}

bool DiaryFolderExists()
{
    std::error_code error;
    return std::filesystem::is_directory(DiaryFolder(), error);
}

// What settling did, on standard error as the window's messages say it.
void Report(const SettledVersion& settled, Day day)
{
    if (const std::string notice = ConflictNotice(day, settled.saved); !notice.empty())
        std::fprintf(stderr, "quillory-cli: %s\n", notice.c_str());
    if (settled.keptMine)
        std::fprintf(stderr, "quillory-cli: the entry it replaced is kept as %s\n",
                     settled.keptMine->filename().string().c_str());
    std::fprintf(stderr, "quillory-cli: the version is kept in %s\n", settled.setAside.string().c_str());
}

} // namespace

int RunVersions(const Arguments& args)
{
    if (args.size() > 1)
        return Fail("versions takes at most one argument, the day as YYYY-MM-DD");
    std::optional<Day> day;
    if (!args.empty()) {
        day = ParseDayArgument(args[0]);
        if (!day)
            return Fail("not a day in the form YYYY-MM-DD: " + args[0]);
    }
    if (!DiaryFolderExists())
        return Fail("no such folder: " + DiaryFolder());
    const auto versions = ListVersions(day);
    for (const EntryVersion& version : versions)
        std::printf("%s\t%s\t%s\n", IsoText(version.day).c_str(), version.Name().c_str(),
                    ModifiedText(version.modified).c_str());
    if (std::fflush(stdout) != 0)
        return Fail("cannot write to standard output");
    return versions.empty() ? kNothingStatus : 0;
}

int RunResolve(const Arguments& given)
{
    Arguments args = given;
    std::string problem;
    const auto passwordFile = TakeOption(args, "--password-file", problem);
    if (!problem.empty())
        return Fail(problem);
    constexpr const char* kUsage = "resolve takes a day and one of --append [FILE], --use FILE, --dismiss FILE";
    if (args.size() < 2 || args.size() > 3)
        return Fail(kUsage);
    const auto day = ParseDayArgument(args[0]);
    if (!day)
        return Fail("not a day in the form YYYY-MM-DD: " + args[0]);
    const std::string action = args[1];
    if (action != "--append" && action != "--use" && action != "--dismiss")
        return Fail(kUsage);
    if (args.size() == 2 && action != "--append")
        return Fail(action + " needs the version's file name");
    if (!DiaryFolderExists())
        return Fail("no such folder: " + DiaryFolder());

    std::vector<EntryVersion> chosen;
    if (args.size() == 3) {
        const auto version = FindVersion(*day, args[2]);
        if (!version)
            return Fail("no version " + args[2] + " of " + IsoText(*day));
        chosen.push_back(*version);
    } else {
        chosen = ListVersions(*day);  // --append alone: every version of the day, oldest first
        if (chosen.empty()) {
            Fail("no other version of " + IsoText(*day));
            return kNothingStatus;
        }
    }
    try {
        if (action == "--dismiss") {
            const auto kept = SetVersionAside(chosen.front());
            std::fprintf(stderr, "quillory-cli: the version is kept in %s\n", kept.string().c_str());
            return 0;
        }
        const auto password = DiaryPassword(passwordFile, problem);
        if (!password)
            return Fail(problem);
        for (const EntryVersion& version : chosen)
            Report(action == "--use" ? UseVersion(version, *password) : AppendVersion(version, *password), *day);
    } catch (const Error& error) {
        return Fail(error.what());
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    return 0;
}

} // namespace quillory::cli
