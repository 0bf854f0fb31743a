// The program folder, found from the executable's path once and replaceable for tests.
#include "platform/ProgramFolder.h"

#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace quillory {

namespace {

std::filesystem::path ExecutablePath()
{
#if defined(_WIN32)
    wchar_t buffer[32768];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
    return length ? std::filesystem::path(std::wstring(buffer, length)) : std::filesystem::path();
#elif defined(__APPLE__)
    char buffer[4096];
    uint32_t size = sizeof buffer;
    return _NSGetExecutablePath(buffer, &size) == 0 ? std::filesystem::path(buffer)
                                                    : std::filesystem::path();
#else
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
#endif
}

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string& Folder()
{
    static std::string folder = [] {
        auto executable = ExecutablePath();
        std::error_code error;
        // Without a known executable the current folder is the best guess there is.
        const auto folder = executable.empty() ? std::filesystem::current_path(error)
                                               : executable.parent_path();
        return WithTrailingSlash(folder.generic_string());
    }();
    return folder;
}

} // namespace

const std::string& ProgramFolder()
{
    return Folder();
}

std::string SettingsFileName()
{
    return ProgramFolder() + "QL.INI";
}

void SetProgramFolder(std::string folder)
{
    Folder() = WithTrailingSlash(std::move(folder));
}

} // namespace quillory
