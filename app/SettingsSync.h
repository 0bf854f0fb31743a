// Saving the preferences into a QL.INI that another computer may change while the program runs
// (a diary in a synced folder): only what this run changed is written, so a setting changed
// there survives, and where both changed the same setting, their file is kept beside.
#pragma once

#include "app/Settings.h"
#include "platform/IniFile.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// Sets in `file` each preference key whose value in `mine` differs from `loaded` (what this run
// read), and each key the file lacks. A key changed both in the file and here, to different
// values, is a conflict: ours is written, except the diary password, which stays as the file
// has it - the entries on disk were re-keyed to it. Returns the conflicting keys as
// "Section/Key".
std::vector<std::string> MergePreferences(IniFile& file, const Preferences& mine, const Preferences& loaded,
                                          std::string_view programFolder = {});

struct SettingsSaved {
    std::vector<std::string> conflicts;  // as MergePreferences returns them
    std::filesystem::path keptAs;        // their file beside QL.INI, when there were conflicts
};

// MergePreferences into the settings file of the program folder, written whole. On a conflict
// the file as it was is first kept beside as "QL (changed elsewhere ...).INI". Throws
// quillory::Error "Unable to write to %s" (or the copy's "Cannot create file %s").
SettingsSaved SavePreferencesMerged(const Preferences& mine, const Preferences& loaded);

// What to tell the user: empty when nothing conflicted.
std::string SettingsConflictNotice(const SettingsSaved& saved);

} // namespace quillory
