// The data folder and the diary folder: decided once from where the executable lies, the
// environment and the "Diary folder" setting, and replaceable for tests and --folder.
#include "platform/ProgramFolder.h"

#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/IniFile.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#endif
#if !defined(_WIN32)
#include <pwd.h>
#include <unistd.h>
#endif

namespace quillory {

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgramName = "quillory";
constexpr const char* kSettingSection = "Diary";
constexpr const char* kSettingKey = "Folder";

fs::path ExecutablePath()
{
#if defined(_WIN32)
    wchar_t buffer[32768];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
    return length ? fs::path(std::wstring(buffer, length)) : fs::path();
#elif defined(__APPLE__)
    char buffer[4096];
    uint32_t size = sizeof buffer;
    return _NSGetExecutablePath(buffer, &size) == 0 ? fs::path(buffer) : fs::path();
#else
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error);
#endif
}

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string Absolute(const std::string& folder)
{
    std::error_code error;
    const auto absolute = fs::absolute(folder, error);
    return error ? folder : absolute.lexically_normal().generic_string();
}

// The value of an XDG base-directory variable: unset, empty and relative values are ignored,
// as the base-directory rules ask.
std::string XdgFolder(const EnvironmentLookup& environment, const char* variable, const char* homeRelative)
{
    if (const auto value = environment(variable); value && !value->empty() && fs::path(*value).is_absolute())
        return *value;
    const auto home = environment("HOME");
    if (!home || home->empty())
        return {};
    return (fs::path(*home) / homeRelative).generic_string();
}

bool Holds(const fs::path& folder, const char* name)
{
    return FindNoCase(folder / name).has_value();
}

// Whether the folder is a portable program folder: the shipped data or a diary lies there.
bool HoldsProgramFiles(const fs::path& folder)
{
    for (const char* name : {"quillor.dct", "help", "icons", "Entries", "QL.INI"}) {
        if (Holds(folder, name))
            return true;
    }
    return false;
}

struct FolderState {
    FolderChoice choice;
    bool decided = false;
};

FolderState& State()
{
    static FolderState state;
    if (!state.decided) {
        const auto executable = ExecutablePath();
        std::error_code error;
        // Without a known executable the current folder is the best guess there is.
        const auto folder = executable.empty() ? fs::current_path(error) : executable.parent_path();
        state.choice = ChooseFolders(folder, ProcessEnvironment());
        state.decided = true;
    }
    return state;
}

} // namespace

FolderChoice ChooseFolders(const fs::path& executableFolder, const EnvironmentLookup& environment)
{
    FolderChoice choice;
    const std::string own = WithTrailingSlash(executableFolder.generic_string());
    const fs::path shared = executableFolder.parent_path() / "share" / kProgramName;
    std::error_code error;
    if (HoldsProgramFiles(executableFolder) || !fs::is_directory(shared, error)) {
        choice.data = choice.diary = own;
        choice.portable = true;
        return choice;
    }
    choice.data = WithTrailingSlash(shared.lexically_normal().generic_string());
    if (std::string set = ReadDiaryFolderSetting(environment); !set.empty()) {
        choice.diary = WithTrailingSlash(std::move(set));
        return choice;
    }
    choice.diary = DefaultDiaryFolder(environment);
    // Without a home folder there is nowhere else: the diary stays beside the program.
    if (choice.diary.empty())
        choice.diary = own;
    else
        choice.diaryIsDefault = true;
    return choice;
}

std::string DefaultDiaryFolder(const EnvironmentLookup& environment)
{
    const std::string base = XdgFolder(environment, "XDG_DATA_HOME", ".local/share");
    return base.empty() ? std::string() : WithTrailingSlash((fs::path(base) / kProgramName).generic_string());
}

fs::path DiaryFolderSettingFile(const EnvironmentLookup& environment)
{
    const std::string base = XdgFolder(environment, "XDG_CONFIG_HOME", ".config");
    return base.empty() ? fs::path() : fs::path(base) / kProgramName / "quillory.ini";
}

std::string ReadDiaryFolderSetting(const EnvironmentLookup& environment)
{
    const fs::path file = DiaryFolderSettingFile(environment);
    if (file.empty())
        return {};
    std::string folder = IniFile(file).ReadString(kSettingSection, kSettingKey, "");
    if (folder.starts_with("~/")) {
        const auto home = environment("HOME");
        if (!home || home->empty())
            return {};
        folder = (fs::path(*home) / folder.substr(2)).generic_string();
    }
    // A relative name would mean a different folder from every working folder.
    if (!fs::path(folder).is_absolute())
        return {};
    return fs::path(folder).lexically_normal().generic_string();
}

void WriteDiaryFolderSetting(const EnvironmentLookup& environment, const std::string& folder)
{
    const fs::path file = DiaryFolderSettingFile(environment);
    if (file.empty())
        throw Error("There is no home folder to keep the diary folder setting in");
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    IniFile ini(file);
    ini.WriteString(kSettingSection, kSettingKey, folder);
    ini.UpdateFile();
}

EnvironmentLookup ProcessEnvironment()
{
    return [](std::string_view name) -> std::optional<std::string> {
        const std::string variable(name);
        if (const char* value = std::getenv(variable.c_str()))
            return std::string(value);
#if !defined(_WIN32)
        if (variable == "HOME") {
            if (const passwd* user = getpwuid(getuid()); user && user->pw_dir)
                return std::string(user->pw_dir);
        }
#endif
        return std::nullopt;
    };
}

const std::string& DataFolder()
{
    return State().choice.data;
}

const std::string& DiaryFolder()
{
    return State().choice.diary;
}

std::string SettingsFileName()
{
    return DiaryFolder() + "QL.INI";
}

bool PortableCopy()
{
    return State().choice.portable;
}

bool PrepareDiaryFolder(std::string* error)
{
    const FolderChoice& choice = State().choice;
    std::error_code ec;
    if (fs::is_directory(choice.diary, ec))
        return true;
    if (!choice.diaryIsDefault) {
        if (error)
            *error = "The diary folder " + choice.diary + " does not exist";
        return false;
    }
    // The user's own diary: folders made for it are the user's alone.
    const fs::path folder = fs::path(choice.diary).parent_path();
    fs::path made;
    for (const auto& part : folder) {
        made /= part;
        if (fs::is_directory(made, ec))
            continue;
        if (!fs::create_directory(made, ec) || ec) {
            if (error)
                *error = "Cannot create folder " + made.generic_string() + (ec ? ": " + ec.message() : "");
            return false;
        }
        fs::permissions(made, fs::perms::owner_all, fs::perm_options::replace, ec);
    }
    return true;
}

void SetProgramFolder(std::string folder)
{
    FolderState& state = State();
    state.choice.data = state.choice.diary = WithTrailingSlash(std::move(folder));
    state.choice.portable = true;
    state.choice.diaryIsDefault = false;
}

void SetDiaryFolder(std::string folder)
{
    FolderState& state = State();
    state.choice.diary = WithTrailingSlash(Absolute(folder));
    state.choice.diaryIsDefault = false;
}

} // namespace quillory
