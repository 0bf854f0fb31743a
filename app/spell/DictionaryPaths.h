// Where the program keeps its spelling dictionaries: the main one of each language (American
// English "quillor.dct", the others "quillor-CODE.dct"; read only) beside the shipped data, and
// "quilloru.dct" (the user's, one per diary, whatever the language) in the diary folder, found
// whatever the case of their names. The diary's language is kept in QL.INI.
#pragma once

#include "app/spell/SpellLanguages.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillory::spell {

// The main dictionary of a language (American English when `code` is unknown).
std::string MainDictionaryPath(std::string_view code = kDefaultSpellLanguage);
std::string UserDictionaryPath();

// The languages whose main dictionary is in the data folder, in the table's order.
std::vector<const SpellLanguage*> InstalledSpellLanguages();

// The language the diary checks spelling in: the one QL.INI names when it is installed, else
// that of the system's locale when installed, else American English when installed, else the
// first installed; nothing when none is. The decision, apart from files, for tests.
const SpellLanguage* ChooseSpellLanguage(std::string_view stored, std::string_view locale,
                                         const std::vector<const SpellLanguage*>& installed);

// The code kept in QL.INI ("Spelling", "Language"); empty when none is.
std::string StoredSpellLanguage();
// Keeps `code` in QL.INI; raises quillory::Error ("Unable to write to ...") when it cannot.
void StoreSpellLanguage(std::string_view code);

// The system's locale name from the environment (LC_ALL, LC_MESSAGES, LANG), for a program that
// does not start Qt; empty when none is set.
std::string EnvironmentLocale();

} // namespace quillory::spell
