// Points the program folder at --folder DIR, or leaves it at the folder of the executable.
#include "platform/ProgramFolder.h"

#include <filesystem>
#include <string>
#include <system_error>

void QuilloryCliUseFolder(const char* folderOrNull, const char* argv0)
{
    // Without --folder the platform layer finds the executable's folder by itself, more
    // reliably than argv[0] (which may be a bare name found on the PATH).
    (void)argv0;
    if (!folderOrNull)
        return;
    std::error_code error;
    const auto folder = std::filesystem::absolute(folderOrNull, error);
    quillory::SetProgramFolder(error ? std::string(folderOrNull) : folder.lexically_normal().generic_string());
}
