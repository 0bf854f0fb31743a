// Where the program's files live. Two folders, decided once per run in this one place:
//  - the data folder holds the read-only files the program ships: icon libraries, the main
//    dictionary, the help pages;
//  - the diary folder holds the diary: Entries/, QL.INI, the user dictionary, and every other
//    file the program writes (staging folders, the legacy table it converts, leftovers).
// A portable copy - the executable's folder holds the program's data files or a diary, as dist/
// does - keeps both in the executable's folder. An installed copy (<prefix>/bin beside
// <prefix>/share/quillory) reads its data from <prefix>/share/quillory and keeps the diary in
// the folder the "Diary folder" setting names, else in $XDG_DATA_HOME/quillory (by default
// ~/.local/share/quillory). `--folder DIR` names the diary folder for one run in either mode.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillory {

// The read-only data folder, with a trailing '/'.
const std::string& DataFolder();
// The diary folder, with a trailing '/'. Nothing is created by asking.
const std::string& DiaryFolder();
// DiaryFolder() + "QL.INI".
std::string SettingsFileName();
// True for a portable copy: the "Diary folder" setting does not apply to it.
bool PortableCopy();

// Makes sure the diary folder exists. The default folder of an installed copy is created on
// first use (private to the user); a folder named by --folder or the setting must exist, so
// that a synced folder not mounted yet never gets a second, empty diary. False with a message.
bool PrepareDiaryFolder(std::string* error = nullptr);

// Portable mode at `folder`: data and diary both there (tests; a missing trailing '/' is added).
// References returned earlier by DataFolder() and DiaryFolder() see the new values.
void SetProgramFolder(std::string folder);
// Points only the diary folder elsewhere: --folder DIR. A relative name is taken from the
// current folder.
void SetDiaryFolder(std::string folder);

// --- The decision, apart from the process, for tests -----------------------------------------

// Reads an environment variable; nullopt when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

struct FolderChoice {
    std::string data;   // with a trailing '/'
    std::string diary;  // with a trailing '/'
    bool portable = false;
    bool diaryIsDefault = false;  // the installed copy's default folder, created on first use
};

// Decides the folders for an executable in `executableFolder`:
//  1. portable when that folder holds the program's data files (quillor.dct, help/, icons/)
//     or a diary (Entries/, QL.INI);
//  2. installed when <executableFolder>/../share/quillory exists: the diary in the setting's
//     folder when one is set, else in $XDG_DATA_HOME/quillory ($HOME/.local/share/quillory
//     when XDG_DATA_HOME is unset, empty or relative);
//  3. otherwise (a build tree, a lone copy) portable, as a copy without data has always run.
FolderChoice ChooseFolders(const std::filesystem::path& executableFolder, const EnvironmentLookup& environment);

// The file that holds the "Diary folder" setting: $XDG_CONFIG_HOME/quillory/quillory.ini
// ($HOME/.config/... by default). It cannot live in QL.INI, which lives in the diary folder.
std::filesystem::path DiaryFolderSettingFile(const EnvironmentLookup& environment);
// The setting's folder, "~/" expanded; empty when unset or not an absolute path.
std::string ReadDiaryFolderSetting(const EnvironmentLookup& environment);
// Stores the setting (empty removes it), written whole. Throws quillory::Error on failure.
void WriteDiaryFolderSetting(const EnvironmentLookup& environment, const std::string& folder);
// The installed copy's default diary folder, with a trailing '/'.
std::string DefaultDiaryFolder(const EnvironmentLookup& environment);

// The process's environment, with HOME taken from the password database when it is unset.
EnvironmentLookup ProcessEnvironment();

} // namespace quillory
