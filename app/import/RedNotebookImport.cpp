// RedNotebook's data folder: month files of YAML (yaml-cpp) holding txt2tags text and categories.
#include "app/import/ImportSources.h"

#include "app/import/ImportFiles.h"
#include "app/import/ImportHtml.h"
#include "app/import/Txt2Tags.h"
#include "platform/Error.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>

namespace quillory {

namespace {

// Nodes looked at in one month file at most: aliases let a small file name one mapping many
// times over.
constexpr int kNodeBudget = 100'000;

std::string Scalar(const YAML::Node& node)
{
    return node.IsScalar() ? node.Scalar() : std::string();
}

// "YYYY-MM.txt": the year and month, or nothing for any other name (".new", ".old", backups).
std::optional<std::pair<int, int>> MonthOfName(const std::string& name)
{
    if (name.size() != 11 || name[4] != '-' || name.substr(7) != ".txt")
        return std::nullopt;
    for (std::size_t i : {0, 1, 2, 3, 5, 6}) {
        if (name[i] < '0' || name[i] > '9')
            return std::nullopt;
    }
    const int year = std::stoi(name.substr(0, 4)), month = std::stoi(name.substr(5, 2));
    if (year < 1 || month < 1 || month > 12)
        return std::nullopt;
    return std::make_pair(year, month);
}

} // namespace

void ReadRedNotebookMonth(int year, int month, std::string_view yaml, ImportSource& into, const ImportLimits& limits)
{
    char monthName[16];
    std::snprintf(monthName, sizeof monthName, "%04d-%02d.txt", year % 10000, month % 100);
    YAML::Node root;
    try {
        root = YAML::Load(std::string(yaml));
    } catch (const std::exception& error) {
        into.problems.push_back(std::string(monthName) + ": no YAML (" + error.what() + ")");
        return;
    }
    if (!root.IsMap()) {
        if (!root.IsNull())
            into.problems.push_back(std::string(monthName) + ": no mapping of days");
        return;
    }
    int budget = kNodeBudget;
    for (const auto& item : root) {
        if (--budget < 0)
            break;
        const std::string key = Scalar(item.first);
        int dayNumber = 0;
        const bool number = !key.empty() && key.size() <= 2
                         && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
        const std::optional<Day> day = number ? Day::FromDate(year, month, dayNumber = std::stoi(key)) : std::nullopt;
        if (!day) {
            into.problems.push_back(std::string(monthName) + ": \"" + key.substr(0, 40) + "\" is no day of the month");
            continue;
        }
        if (!item.second.IsMap())
            continue;
        if (into.entries.size() >= limits.maxEntries) {
            into.problems.push_back(std::string(monthName) + ": more entries than an import takes");
            return;
        }
        ImportedEntry entry;
        entry.day = *day;
        entry.origin = std::string(monthName) + ", day " + std::to_string(dayNumber);
        const std::string dayText = IsoText(*day);
        std::string categories;
        for (const auto& field : item.second) {
            if (--budget < 0)
                break;
            const std::string name = Scalar(field.first);
            if (name == "text") {
                const auto picture = [&](const std::string& file) -> std::string {
                    const auto bytes = ReadPictureFile(file, limits.maxPictureSize);
                    if (!bytes) {
                        into.problems.push_back(dayText + ": picture " + file + " is missing");
                        return {};
                    }
                    std::string tag = ImageTag(file, *bytes);
                    if (tag.empty())
                        into.problems.push_back(dayText + ": picture " + file + " is no PNG or JPEG picture");
                    return tag;
                };
                entry.html = Txt2TagsToHtml(Scalar(field.second), picture) + entry.html;
                continue;
            }
            if (name.empty())
                continue;
            // A category: a tag, with the category's own entries listed under it.
            const std::string tag = TagWord(name);
            if (!field.second.IsMap()) {
                entry.tags.push_back(tag);
                continue;
            }
            categories += "<p>#" + EscapeHtml(tag) + "</p>\n<ul>\n";
            for (const auto& line : field.second) {
                if (--budget < 0)
                    break;
                categories += "<li>" + EscapeHtml(Scalar(line.first)) + "</li>\n";
            }
            categories += "</ul>\n";
        }
        entry.html += categories;
        if (budget < 0) {
            into.problems.push_back(std::string(monthName) + ": more than an import reads of one month");
            into.entries.push_back(std::move(entry));
            return;
        }
        into.entries.push_back(std::move(entry));
    }
}

ImportSource ReadRedNotebookFolder(const std::filesystem::path& folder, const ImportLimits& limits)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        throw Error("This is no RedNotebook data folder: " + folder.string() + " is no folder");
    ImportSource source;
    source.format = "RedNotebook";
    std::vector<std::pair<std::pair<int, int>, std::filesystem::path>> months;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec)) {
        if (const auto month = MonthOfName(item.path().filename().string()))
            months.emplace_back(*month, item.path());
    }
    if (months.empty())
        throw Error("This is no RedNotebook data folder: it holds no month files (YYYY-MM.txt)");
    std::sort(months.begin(), months.end());
    for (const auto& [month, file] : months) {
        try {
            ReadRedNotebookMonth(month.first, month.second, ReadSourceFile(file, limits.maxFileSize), source, limits);
        } catch (const Error& error) {
            source.problems.push_back(error.what());
        }
    }
    source.picture = [max = limits.maxPictureSize](const std::string& file) { return ReadPictureFile(file, max); };
    return source;
}

} // namespace quillory
