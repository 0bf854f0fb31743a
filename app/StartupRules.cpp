// The rules of the program's start.
#include "app/StartupRules.h"

#include "app/Settings.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

namespace quillory {

bool PrintersCountAsNone(const std::vector<std::string>& printerNames)
{
    return printerNames.size() == 1 && printerNames.front().find("Rendering") != std::string::npos;
}

std::string LeftoverPlainCopyName()
{
    return DiaryFolder() + "Eraseme.rtf";
}

bool RemoveLeftoverPlainCopy()
{
    return RemoveFileNoCase(LeftoverPlainCopyName());
}

std::string ReadStoredPassword()
{
    return StoredPassword(IniFile(SettingsFileName()));
}

} // namespace quillory
