// The three-way save of the preferences: this run's values, those it loaded, and the file now.
#include "app/SettingsSync.h"

#include "platform/ProgramFolder.h"
#include "platform/SyncedFile.h"

namespace quillory {

std::vector<std::string> MergePreferences(IniFile& file, const Preferences& mine, const Preferences& loaded,
                                          std::string_view programFolder)
{
    // Both sides as this program would store them, in a copy of the file: the stored form of a
    // value (a scrambled password, a relative icon library) depends on the file and the folder.
    IniFile ours = file;
    WritePreferences(ours, mine, programFolder);
    IniFile base = file;
    WritePreferences(base, loaded, programFolder);

    constexpr std::string_view kMissing = "\x01missing";
    std::vector<std::string> conflicts;
    for (const PreferenceKey& key : kPreferenceKeys) {
        const std::string value = ours.ReadString(key.section, key.key, "");
        const std::string before = base.ReadString(key.section, key.key, "");
        const std::string now = file.ReadString(key.section, key.key, kMissing);
        if (now == kMissing) {
            file.WriteString(key.section, key.key, value);
            continue;
        }
        if (value == before || value == now)
            continue;  // unchanged here (the file's value stands), or changed alike on both sides
        if (now != before) {
            conflicts.push_back(std::string(key.section) + "/" + std::string(key.key));
            if (key.id == Preference::Password)
                continue;
        }
        file.WriteString(key.section, key.key, value);
    }
    return conflicts;
}

SettingsSaved SavePreferencesMerged(const Preferences& mine, const Preferences& loaded)
{
    SettingsSaved saved;
    std::string theirs;
    const FileStamp stamp = ReadFileStamp(SettingsFileName(), &theirs);
    IniFile file(SettingsFileName());
    saved.conflicts = MergePreferences(file, mine, loaded, DataFolder());
    if (!saved.conflicts.empty() && stamp.exists)
        saved.keptAs = KeepOtherVersion(file.FileName(), theirs, stamp.modified);
    file.UpdateFile();
    return saved;
}

std::string SettingsConflictNotice(const SettingsSaved& saved)
{
    if (saved.conflicts.empty())
        return {};
    std::string notice = "Settings were changed on another computer while Quillory was open here. Yours are saved";
    for (const std::string& key : saved.conflicts) {
        if (key.ends_with("/Password")) {
            notice += " (the diary password stays as it was set there)";
            break;
        }
    }
    notice += "; the other settings file is kept as \"" + saved.keptAs.filename().string() + "\".";
    return notice;
}

} // namespace quillory
