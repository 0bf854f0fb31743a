// quillory-cli search [--from DAY] [--until DAY] QUERY...: every day whose entry answers the
// query, one yyyy-mm-dd per line, ascending. The query is the window's search panel's: words
// (each must occur, anywhere in a word, in any order), "a phrase", -word, #tag, from:DAY and
// until:DAY; case is ignored (Ж = ж, Σ = σ = ς, É = é) and a word without accents finds its
// accented forms. Only the entry's text counts, never its RTF markup. Several arguments are one
// query. Exit 0 with matches, 1 without, 2 on an error (an unreadable entry included), as grep does.
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliDays.h"
#include "tools/cli/DiaryPassword.h"

#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/SearchableText.h"
#include "platform/Utf8.h"
#include "platform/ProgramFolder.h"

#include <algorithm>
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
        } else {
            text = text ? *text + " " + word : word;
        }
    }
    if (!text || text->empty())
        return Fail("usage: search [--from DAY] [--until DAY] [--password-file F] QUERY");
    std::error_code error;
    if (!std::filesystem::is_directory(DiaryFolder(), error))
        return Fail("no such folder: " + DiaryFolder());
    if (!IsWellFormedUtf8(*text))
        return Fail("the text to look for is not UTF-8");

    SearchQuery query = ParseQuery(*text);
    if (!query.problems.empty())
        return Fail("not a day in the form YYYY-MM-DD: " + query.problems.front());
    if (!query.AsksAnything())
        return Fail("nothing to look for in: " + *text);
    query.from = std::max(query.from, from);
    query.until = std::min(query.until, until);
    const auto password = DiaryPassword(passwordFile, problem);
    if (!password)
        return Fail(problem);
    bool found = false, failed = false;
    for (const Day day : EntryDaysBetween(query.from, query.until)) {
        std::string content;
        try {
            content = ReadEntry(day, *password);
        } catch (const std::exception& error) {
            // A file gone since the listing matches nothing; one that cannot be read is an error.
            if (EntryFileExists(day)) {
                std::fprintf(stderr, "quillory-cli: %s: %s\n", IsoText(day).c_str(), error.what());
                failed = true;
            }
            continue;
        }
        if (Matches(query, MakeSearchableText(content))) {
            std::printf("%s\n", IsoText(day).c_str());
            found = true;
        }
    }
    if (std::fflush(stdout) != 0)
        return Fail("cannot write to standard output");
    return failed ? kErrorStatus : found ? 0 : kNothingStatus;
}

} // namespace quillory::cli
