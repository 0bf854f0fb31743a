// The dictionaries' file names in the program folder.
#include "app/spell/DictionaryPaths.h"

#include "platform/Files.h"
#include "platform/ProgramFolder.h"

namespace quillory::spell {

namespace {

std::string InProgramFolder(const char* name)
{
    const std::string path = ProgramFolder() + name;
    if (const auto found = FindNoCase(path))
        return found->string();
    return path;
}

} // namespace

std::string MainDictionaryPath() { return InProgramFolder("quillor.dct"); }
std::string UserDictionaryPath() { return InProgramFolder("quilloru.dct"); }

} // namespace quillory::spell
