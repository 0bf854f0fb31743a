// Points the diary folder at --folder DIR, or leaves it where the platform layer decides: beside
// the executable for a portable copy, the user's data folder (created on first use) for an
// installed one. The read-only data (the main dictionary) stays where the copy keeps it.
#include "platform/ProgramFolder.h"

#include <string>

void QuilloryCliUseFolder(const char* folderOrNull, bool prepareDiary)
{
    if (folderOrNull) {
        quillory::SetDiaryFolder(folderOrNull);
        return;
    }
    // A folder that cannot be made is reported by the commands that need it ("no such folder").
    if (prepareDiary)
        quillory::PrepareDiaryFolder();
}
