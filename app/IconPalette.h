// The rules behind the icon palette: its standard libraries, the bonus sets found beside the
// program, the menu caption a library file stands for, and how the library's path is kept in
// the settings so that moving the program folder does not lose it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

struct StandardIconLibrary {
    std::string_view caption;  // of its menu item
    std::string_view file;     // relative to the program folder
};

// The five libraries of the palette's "File" menu, in menu order.
inline constexpr StandardIconLibrary kStandardIconLibraries[] = {
    {"Activities", "icons/activity.icl"},
    {"Events", "icons/events.icl"},
    {"Holidays", "icons/holiday.icl"},
    {"Miscellaneous #1", "icons/misc1.icl"},
    {"Miscellaneous #2", "icons/misc2.icl"},
};

// Shown when a library has no icons at all.
inline constexpr std::string_view kFallbackIconLibrary = "icons/Misc1.icl";
inline constexpr std::string_view kBonusIconFolder = "BonusIcons";

// The menu caption, in capitals, that a library file stands for: its name without folder and
// without the part from its first '.', in capitals, where the standard libraries' short names
// become their captions (ACTIVITY -> ACTIVITIES, MISC1 -> MISCELLANEOUS #1).
std::string IconMenuKey(std::string_view fileName);

struct BonusIconSet {
    std::string name;  // the menu caption
    std::string file;  // the file's name in the folder

    bool operator==(const BonusIconSet&) const = default;
};

// The bonus sets: every "*.icl" in `folder`, named by its file name cut at the first '.',
// sorted without regard to case, a name differing only in case listed once. Each keeps the file
// it came from, so that "Sea.old.icl", listed as "Sea", opens; where two files give one name,
// the one called exactly that (Sea.icl) wins. Empty when the folder is missing.
std::vector<BonusIconSet> BonusIconSets(const std::string& folder);

// The text to store for a library path: relative to the program folder when it lies inside it.
std::string StoredIconLibrary(std::string_view path, std::string_view programFolder);
// The library a stored text names. A relative text is taken from the program folder; an
// absolute one that no longer exists but ends in "icons/<name>" or "BonusIcons/<name>" (the
// program folder moved, or the text came from another system, with '\' separators) is looked
// for in this program folder.
std::string IconLibraryFromStored(std::string_view stored, std::string_view programFolder);

} // namespace quillory
