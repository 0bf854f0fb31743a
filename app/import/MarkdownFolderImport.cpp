// Markdown daily notes (md4c for the text, yaml-cpp for the front matter), and plain text files
// named by their day.
#include "app/import/ImportSources.h"

#include "app/import/DatePattern.h"
#include "app/import/ImportFiles.h"
#include "app/import/ImportHtml.h"
#include "app/import/MarkdownHtml.h"
#include "app/import/NoteFolders.h"
#include "platform/Error.h"
#include "platform/Utf8.h"

#include <map>

namespace quillory {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDefaultPattern = "YYYY-MM-DD.md";

bool IsWebAddress(const std::string& source)
{
    const std::size_t colon = source.find("://");
    return colon != std::string::npos && colon > 1;
}

} // namespace

ImportedEntry MarkdownNote(Day day, std::string_view markdown, const fs::path& file, std::vector<std::string>& problems,
                           const std::function<std::optional<fs::path>(const std::string&)>& find)
{
    ImportedEntry entry;
    entry.day = day;
    entry.origin = file.filename().string();
    std::string problem;
    entry.tags = TakeFrontMatter(markdown, &problem);
    const std::string dayText = IsoText(day);
    if (!problem.empty())
        problems.push_back(dayText + ": " + entry.origin + ": " + problem);
    const auto picture = [&](const std::string& source) -> std::string {
        if (IsWebAddress(source)) {
            problems.push_back(dayText + ": picture " + source + " is on the web and was not fetched");
            return {};
        }
        const std::optional<fs::path> found = find ? find(source) : std::nullopt;
        const auto bytes = found ? ReadPictureFile(*found, ImportLimits{}.maxPictureSize) : std::nullopt;
        if (!bytes) {
            problems.push_back(dayText + ": picture " + source + " is missing");
            return {};
        }
        std::string tag = ImageTag(found->string(), *bytes);
        if (tag.empty())
            problems.push_back(dayText + ": picture " + source + " is no PNG or JPEG picture");
        return tag;
    };
    entry.html = MarkdownToHtml(markdown, picture);
    return entry;
}

ImportedEntry MarkdownNote(Day day, std::string_view markdown, const fs::path& file, std::vector<std::string>& problems)
{
    return MarkdownNote(day, markdown, file, problems, [&](const std::string& source) -> std::optional<fs::path> {
        const fs::path path = fs::path(source).is_absolute() ? fs::path(source) : file.parent_path() / source;
        std::error_code ec;
        return fs::is_regular_file(path, ec) ? std::optional(path) : std::nullopt;
    });
}

ImportSource ReadMarkdownFolder(const fs::path& folder, std::string_view pattern, const ImportLimits& limits)
{
    const DatePattern names(pattern.empty() ? kDefaultPattern : pattern);
    ImportSource source;
    source.format = "Markdown";
    std::vector<std::pair<Day, fs::path>> notes;
    std::map<std::string, fs::path> byName;  // every file of the folder by its name, for "![[name]]"
    ForEachNoteFile(folder, limits, [&](const fs::path& file, const std::string& relative) {
        if (const auto day = names.Match(relative))
            notes.emplace_back(*day, file);
        byName.emplace(file.filename().string(), file);
    });
    if (notes.empty())
        throw Error("No notes named like " + std::string(pattern.empty() ? kDefaultPattern : pattern) + " are in "
                    + folder.string());
    for (const auto& note : notes) {
        // Named apart, not bound as a pair: the lambda below takes the file by reference.
        const Day day = note.first;
        const fs::path& file = note.second;
        std::string markdown;
        try {
            markdown = ReadSourceFile(file, limits.maxFileSize);
        } catch (const Error& error) {
            source.problems.push_back(error.what());
            continue;
        }
        // A picture is looked for beside the note, from the folder's top, then by its name
        // anywhere in the folder, as note-taking programs find embeds.
        const auto find = [&](const std::string& name) -> std::optional<fs::path> {
            std::error_code ec;
            if (fs::path(name).is_absolute())
                return fs::is_regular_file(name, ec) ? std::optional<fs::path>(name) : std::nullopt;
            for (const fs::path& path : {file.parent_path() / name, folder / name}) {
                if (fs::is_regular_file(path, ec))
                    return path;
            }
            if (const auto found = byName.find(fs::path(name).filename().string()); found != byName.end())
                return found->second;
            return std::nullopt;
        };
        source.entries.push_back(MarkdownNote(day, RepairUtf8(markdown), file, source.problems, find));
    }
    source.picture = [max = limits.maxPictureSize](const std::string& file) { return ReadPictureFile(file, max); };
    return source;
}

ImportSource ReadTextFolder(const fs::path& folder, const ImportLimits& limits)
{
    const DatePattern dashed("YYYY-MM-DD.txt");
    const DatePattern compact("YYYYMMDD.txt");
    ImportSource source;
    source.format = "text files";
    ForEachNoteFile(folder, limits, [&](const fs::path& file, const std::string& relative) {
        auto day = dashed.Match(relative);
        if (!day)
            day = compact.Match(relative);
        if (!day)
            return;
        try {
            ImportedEntry entry;
            entry.day = *day;
            entry.origin = relative;
            std::string text = Utf8OrCp1252(ReadSourceFile(file, limits.maxFileSize));
            if (text.rfind("\xEF\xBB\xBF", 0) == 0)
                text.erase(0, 3);
            entry.html = PlainTextToHtml(text);
            source.entries.push_back(std::move(entry));
        } catch (const Error& error) {
            source.problems.push_back(error.what());
        }
    });
    if (source.entries.empty() && source.problems.empty())
        throw Error("No text files named by their day (YYYY-MM-DD.txt or YYYYMMDD.txt) are in " + folder.string());
    return source;
}

} // namespace quillory
