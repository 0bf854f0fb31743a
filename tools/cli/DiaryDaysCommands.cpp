// quillory-cli onthisday [DAY], tags and stats [--from DAY] [--until DAY] [--json]: what the diary
// tells about its days, read from the entries (deciphered in memory) as the window reads them.
//   onthisday  YYYY-MM-DD<TAB>first line for each entry on DAY's calendar day (default today) in
//              earlier years, oldest first; 29 February counts as the 28th in other years
//   tags       tag<TAB>count (days it is on), most used first
//   stats      key: value lines, or one JSON object
// Exit 0 with something to show, 1 without (no such day, no tag), 2 on an error (an unreadable
// entry included).
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliDays.h"
#include "tools/cli/DiaryPassword.h"

#include "app/DiaryDays.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/SearchableText.h"
#include "platform/Clock.h"

#include <cstdio>
#include <functional>
#include <map>
#include <optional>

namespace quillory::cli {

namespace {

// Reads each entry of `days`, reporting those that cannot be read; false when any could not.
bool ReadEach(const std::vector<Day>& days, const std::string& password,
              const std::function<void(Day, const std::string&)>& use)
{
    bool ok = true;
    for (const Day day : days) {
        try {
            use(day, ReadEntry(day, password));
        } catch (const std::exception& error) {
            if (EntryFileExists(day)) {
                std::fprintf(stderr, "quillory-cli: %s: %s\n", IsoText(day).c_str(), error.what());
                ok = false;
            }
        }
    }
    return ok;
}

// --from/--until/--json and --password-file taken from `args`; what is left stays in `rest`.
struct Common {
    Day from = Day::First(), until = Day::Last();
    bool json = false;
    std::optional<std::string> password;
    Arguments rest;
};

std::optional<Common> TakeCommon(const Arguments& given, bool ranges, std::string& problem)
{
    Arguments args = given;
    const auto passwordFile = TakeOption(args, "--password-file", problem);
    if (!problem.empty())
        return std::nullopt;
    Common common;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (ranges && (word == "--from" || word == "--until")) {
            const auto day = i + 1 < args.size() ? ParseDayArgument(args[++i]) : std::nullopt;
            if (!day) {
                problem = word + " needs a day, YYYY-MM-DD";
                return std::nullopt;
            }
            (word == "--from" ? common.from : common.until) = *day;
        } else if (ranges && word == "--json") {
            common.json = true;
        } else if (word.rfind("--", 0) == 0) {
            problem = "unknown option " + word;
            return std::nullopt;
        } else {
            common.rest.push_back(word);
        }
    }
    common.password = DiaryPassword(passwordFile, problem);
    if (!common.password)
        return std::nullopt;
    return common;
}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

int Finish(bool ok, bool anything)
{
    if (std::fflush(stdout) != 0)
        return Fail("cannot write to standard output");
    return !ok ? kErrorStatus : anything ? 0 : kNothingStatus;
}

} // namespace

int RunOnThisDay(const Arguments& args)
{
    std::string problem;
    const auto common = TakeCommon(args, false, problem);
    if (!common)
        return Fail(problem);
    if (common->rest.size() > 1)
        return Fail("usage: onthisday [DAY] [--password-file F]");
    Day day = Today();
    if (!common->rest.empty()) {
        const auto given = ParseDayArgument(common->rest[0]);
        if (!given)
            return Fail("not a day in the form YYYY-MM-DD: " + common->rest[0]);
        day = *given;
    }
    const std::vector<Day> found = OnThisDay(day, EntryDaysBetween(Day::First(), day - 1));
    const bool ok = ReadEach(found, *common->password, [](Day earlier, const std::string& content) {
        std::printf("%s\t%s\n", IsoText(earlier).c_str(), FirstLine(content).c_str());
    });
    return Finish(ok, !found.empty());
}

int RunTags(const Arguments& args)
{
    std::string problem;
    const auto common = TakeCommon(args, true, problem);
    if (!common)
        return Fail(problem);
    if (!common->rest.empty() || common->json)
        return Fail("usage: tags [--from DAY] [--until DAY] [--password-file F]");
    std::map<std::string, int> counts;
    const bool ok = ReadEach(EntryDaysBetween(common->from, common->until), *common->password,
                             [&](Day, const std::string& content) {
                                 for (const std::string& tag : MakeSearchableText(content).tags)
                                     ++counts[tag];
                             });
    std::vector<std::pair<std::string, int>> tags(counts.begin(), counts.end());
    std::stable_sort(tags.begin(), tags.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    for (const auto& [tag, count] : tags)
        std::printf("%s\t%d\n", tag.c_str(), count);
    return Finish(ok, !tags.empty());
}

int RunStats(const Arguments& args)
{
    std::string problem;
    const auto common = TakeCommon(args, true, problem);
    if (!common)
        return Fail(problem);
    if (!common->rest.empty())
        return Fail("usage: stats [--from DAY] [--until DAY] [--json] [--password-file F]");
    std::vector<std::pair<Day, std::uint32_t>> days;
    const bool ok = ReadEach(EntryDaysBetween(common->from, common->until), *common->password,
                             [&](Day day, const std::string& content) {
                                 days.emplace_back(day, MakeSearchableText(content).words);
                             });
    const DiaryStatistics stats = ComputeStatistics(days, Today());
    const auto dayText = [&](Day day) { return stats.entries ? IsoText(day) : std::string(); };
    char average[32];
    std::snprintf(average, sizeof average, "%.1f", stats.averageWords);
    const std::vector<std::pair<std::string, std::string>> figures = {
        {"entries", std::to_string(stats.entries)},
        {"words", std::to_string(stats.words)},
        {"first_entry", dayText(stats.first)},
        {"last_entry", dayText(stats.last)},
        {"average_words", average},
        {"current_streak", std::to_string(stats.currentStreak)},
        {"longest_streak", std::to_string(stats.longestStreak)},
        {"longest_streak_end", stats.longestStreak ? IsoText(stats.longestStreakEnd) : std::string()},
    };
    if (!common->json) {
        for (const auto& [key, value] : figures)
            std::printf("%s: %s\n", key.c_str(), value.c_str());
    } else {
        std::string json = "{";
        for (const auto& [key, value] : figures) {
            const bool text = key == "first_entry" || key == "last_entry" || key == "longest_streak_end";
            json += JsonString(key) + ": " + (text ? (value.empty() ? "null" : JsonString(value)) : value) + ", ";
        }
        json += "\"entries_per_month\": {";
        for (std::size_t i = 0; i < stats.entriesPerMonth.size(); ++i) {
            const auto [month, count] = stats.entriesPerMonth[i];
            char key[16];
            std::snprintf(key, sizeof key, "%04d-%02d", month / 12, month % 12 + 1);
            json += (i ? ", " : "") + JsonString(key) + ": " + std::to_string(count);
        }
        json += "}}";
        std::printf("%s\n", json.c_str());
    }
    return Finish(ok, true);
}

} // namespace quillory::cli
