// The dictionaries' file names: the main one ships with the program, the user's belongs to the diary.
#include "app/spell/DictionaryPaths.h"

#include "platform/Files.h"
#include "platform/ProgramFolder.h"

namespace quillory::spell {

namespace {

std::string InFolder(const std::string& folder, const char* name)
{
    const std::string path = folder + name;
    if (const auto found = FindNoCase(path))
        return found->string();
    return path;
}

} // namespace

std::string MainDictionaryPath() { return InFolder(DataFolder(), "quillor.dct"); }
std::string UserDictionaryPath() { return InFolder(DiaryFolder(), "quilloru.dct"); }

} // namespace quillory::spell
