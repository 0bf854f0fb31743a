// quillory-cli search [--from DAY] [--until DAY] TEXT: every day whose entry text contains TEXT,
// one yyyy-mm-dd per line, ascending. TEXT matches as the window's search does: without regard
// to case (accented capitals too), anywhere in a word, within one paragraph, with the `*`
// wildcard; it is looked for in the text of the entry, never in its RTF markup. Exit 0 with
// matches, 1 without, 2 on an error (an unreadable entry included), as grep does.
#include "tools/cli/CliCommands.h"

#include "app/EntrySearch.h"
#include "app/Settings.h"
#include "platform/Cp1252.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace quillory::cli {

namespace {

constexpr int kFound = 0;
constexpr int kNothingFound = 1;
constexpr int kError = 2;

int SearchError(const std::string& message)
{
    std::fprintf(stderr, "quillory-cli: %s\n", message.c_str());
    return kError;
}

// YYYY-MM-DD or YYYYMMDD forming a calendar day.
std::optional<Day> ParseDay(std::string text)
{
    if (text.size() == 10 && text[4] == '-' && text[7] == '-')
        text = text.substr(0, 4) + text.substr(5, 2) + text.substr(8, 2);
    if (text.size() != 8)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return Day::FromDate(value / 10000, value / 100 % 100, value % 100);
}

} // namespace

int RunSearch(const Arguments& args)
{
    Day from = Day::First(), until = Day::Last();
    std::optional<std::string> text;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--" && options) {
            options = false;  // what follows is the text, even when it begins with "--"
        } else if (options && (word == "--from" || word == "--until")) {
            if (i + 1 >= args.size())
                return SearchError(word + " needs a day, YYYY-MM-DD");
            const auto day = ParseDay(args[++i]);
            if (!day)
                return SearchError("not a day in the form YYYY-MM-DD: " + args[i]);
            (word == "--from" ? from : until) = *day;
        } else if (options && word.rfind("--", 0) == 0 && word.size() > 2) {
            return SearchError("unknown option " + word);
        } else if (!text) {
            text = word;
        } else {
            return SearchError("search takes one text to look for; quote it when it holds blanks");
        }
    }
    if (!text || text->empty())
        return SearchError("usage: search [--from DAY] [--until DAY] TEXT");
    std::error_code error;
    if (!std::filesystem::is_directory(ProgramFolder(), error))
        return SearchError("no such folder: " + ProgramFolder());
    if (!DecodeUtf8(*text))
        return SearchError("the text to look for is not UTF-8");
    // A character that cp1252 cannot hold is in no entry.
    const auto pattern = Utf8ToCp1252(*text);
    if (!pattern)
        return kNothingFound;

    const EntryQuery finder(*pattern);
    const std::string password = StoredPassword(IniFile(SettingsFileName()));
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
    SearchEntries(from, until, finder, password, hooks);
    if (std::fflush(stdout) != 0)
        return SearchError("cannot write to standard output");
    return failed ? kError : found ? kFound : kNothingFound;
}

} // namespace quillory::cli
