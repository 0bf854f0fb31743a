// Points the diary folder at --folder DIR, or leaves it where the platform layer decides: beside
// the executable for a portable copy, the user's data folder (created on first use) for an
// installed one. The read-only data (the main dictionary) stays where the copy keeps it.
#include "platform/ProgramFolder.h"

#include <string>

void QuilloryCliUseFolder(const char* folderOrNull, const char* argv0)
{
    // Without --folder the platform layer finds the executable's folder by itself, more
    // reliably than argv[0] (which may be a bare name found on the PATH).
    (void)argv0;
    if (folderOrNull) {
        quillory::SetDiaryFolder(folderOrNull);
        return;
    }
    // A folder that cannot be made is reported by the commands that need it ("no such folder").
    quillory::PrepareDiaryFolder();
}
