// Where the program keeps its spelling dictionaries: "quillor.dct" (main, read only) and
// "quilloru.dct" (the user's, in the diary folder) beside the shipped data, found whatever the case of their names.
#pragma once

#include <string>

namespace quillory::spell {

std::string MainDictionaryPath();
std::string UserDictionaryPath();

} // namespace quillory::spell
