// Points the program folder at --folder DIR, or at the folder of the executable.
#include <filesystem>
#include <string>

void QuilloryCliUseFolder(const char* folderOrNull, const char* argv0)
{
    // Replaced by the platform layer's program-folder seam.
    (void)folderOrNull;
    (void)argv0;
}
