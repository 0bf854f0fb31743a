// The icon palette's rules.
#include "app/IconPalette.h"

#include "platform/Files.h"

#include <algorithm>
#include <cctype>

namespace quillory {

namespace {

std::string Upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The name without folder and without the part from its first '.'.
std::string_view Stem(std::string_view fileName)
{
    const auto slash = fileName.find_last_of("/\\");
    if (slash != std::string_view::npos)
        fileName.remove_prefix(slash + 1);
    return fileName.substr(0, fileName.find('.'));
}

bool LessNoCase(const std::string& a, const std::string& b)
{
    return Upper(a) < Upper(b);
}

bool IsAbsolute(std::string_view path)
{
    const bool drive = path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
    return !path.empty() && (path[0] == '/' || path[0] == '\\' || drive);
}

} // namespace

std::string IconMenuKey(std::string_view fileName)
{
    static constexpr std::pair<std::string_view, std::string_view> kShortNames[] = {
        {"ACTIVITY", "ACTIVITIES"},
        {"HOLIDAY", "HOLIDAYS"},
        {"MISC1", "MISCELLANEOUS #1"},
        {"MISC2", "MISCELLANEOUS #2"},
    };
    const std::string key = Upper(Stem(fileName));
    for (const auto& [name, caption] : kShortNames) {
        if (key == name)
            return std::string(caption);
    }
    return key;
}

std::vector<BonusIconSet> BonusIconSets(const std::string& folder)
{
    std::vector<BonusIconSet> sets;
    std::vector<std::string> files = ScanFolder(folder, "*.icl");
    // The folder's order differs between file systems; this makes the choice among files of
    // one name the same everywhere.
    std::sort(files.begin(), files.end());
    for (std::string& file : files) {
        std::string name(Stem(file));
        const auto at = std::lower_bound(sets.begin(), sets.end(), name,
                                         [](const BonusIconSet& set, const std::string& n) { return LessNoCase(set.name, n); });
        if (at == sets.end() || !SameNameNoCase(at->name, name)) {
            sets.insert(at, BonusIconSet{std::move(name), std::move(file)});
        } else if (!SameNameNoCase(at->file, at->name + ".icl") && SameNameNoCase(file, at->name + ".icl")) {
            at->file = std::move(file);
        }
    }
    return sets;
}

std::string StoredIconLibrary(std::string_view path, std::string_view programFolder)
{
    if (!programFolder.empty() && path.size() > programFolder.size() && path.starts_with(programFolder))
        return std::string(path.substr(programFolder.size()));
    return std::string(path);
}

std::string IconLibraryFromStored(std::string_view stored, std::string_view programFolder)
{
    if (stored.empty())
        return {};
    std::string path(stored);
    if (!IsAbsolute(path))
        return std::string(programFolder) + path;
    if (FileExistsNoCase(path))
        return path;
    std::replace(path.begin(), path.end(), '\\', '/');
    const auto name = path.find_last_of('/');
    const auto folder = name == 0 ? std::string::npos : path.find_last_of('/', name - 1);
    if (name != std::string::npos && folder != std::string::npos) {
        const std::string_view folderName = std::string_view(path).substr(folder + 1, name - folder - 1);
        if (SameNameNoCase(folderName, "icons") || SameNameNoCase(folderName, kBonusIconFolder)) {
            const auto here = FindNoCase(std::string(programFolder) + path.substr(folder + 1));
            if (here && FileExistsNoCase(*here))
                return here->string();
        }
    }
    return std::string(stored);
}

} // namespace quillory
