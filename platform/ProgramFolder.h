// Where the program's own files live: the folder of the running executable.
#pragma once

#include <string>

namespace quillory {

// The program folder with a trailing '/'. Every file of the program (settings, entries,
// dictionaries, icon libraries, help pages) is addressed by appending to it.
const std::string& ProgramFolder();
// ProgramFolder() + "QL.INI".
std::string SettingsFileName();

// Points the program folder elsewhere (tests; the command-line tool's --folder). A missing
// trailing '/' is added. References returned earlier by ProgramFolder() see the new value.
void SetProgramFolder(std::string folder);

} // namespace quillory
