// quillory-cli search [--from DAY] [--until DAY] TEXT: every day whose entry text contains TEXT,
// one yyyy-mm-dd per line, ascending. TEXT matches as the window's search does: without regard
// to case (Ж = ж, Σ = σ = ς, É = é), anywhere in a word, within one paragraph, with the `*`
// wildcard; it is looked for in the text of the entry, never in its RTF markup. Exit 0 with
// matches, 1 without, 2 on an error (an unreadable entry included), as grep does.
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliDays.h"
#include "tools/cli/DiaryPassword.h"

#include "app/EntrySearch.h"
#include "platform/Utf8.h"
#include "platform/ProgramFolder.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace quillory::cli {

int RunSearch(const Arguments& given)
{
    Arguments args = given;
    std::string problem;
    const auto passwordFile = TakeOption(args, "--password-file", problem);
    if (!problem.empty())
        return Fail(problem);
    Day from = Day::First(), until = Day::Last();
    std::optional<std::string> text;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--" && options) {
            options = false;  // what follows is the text, even when it begins with "--"
        } else if (options && (word == "--from" || word == "--until")) {
            if (i + 1 >= args.size())
                return Fail(word + " needs a day, YYYY-MM-DD");
            const auto day = ParseDayArgument(args[++i]);
            if (!day)
                return Fail("not a day in the form YYYY-MM-DD: " + args[i]);
            (word == "--from" ? from : until) = *day;
        } else if (options && word.rfind("--", 0) == 0 && word.size() > 2) {
            return Fail("unknown option " + word);
        } else if (!text) {
            text = word;
        } else {
            return Fail("search takes one text to look for; quote it when it holds blanks");
        }
    }
    if (!text || text->empty())
        return Fail("usage: search [--from DAY] [--until DAY] [--password-file F] TEXT");
    std::error_code error;
    if (!std::filesystem::is_directory(DiaryFolder(), error))
        return Fail("no such folder: " + DiaryFolder());
    if (!IsWellFormedUtf8(*text))
        return Fail("the text to look for is not UTF-8");

    const EntryQuery finder(*text);
    const auto password = DiaryPassword(passwordFile, problem);
    if (!password)
        return Fail(problem);
    bool found = false, failed = false;
    SearchHooks hooks;
    hooks.found = [&](Day day, const TextMatch&) {
        std::printf("%s\n", IsoText(day).c_str());
        found = true;
        return true;
    };
    hooks.unreadable = [&](Day day, const std::string& message) {
        std::fprintf(stderr, "quillory-cli: %s: %s\n", IsoText(day).c_str(), message.c_str());
        failed = true;
    };
    SearchEntries(from, until, finder, *password, hooks);
    if (std::fflush(stdout) != 0)
        return Fail("cannot write to standard output");
    return failed ? kErrorStatus : found ? 0 : kNothingStatus;
}

} // namespace quillory::cli
