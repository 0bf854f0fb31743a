// The languages the program can check spelling in: one row each, with the file name of its
// main dictionary, and the choice of a language from a locale's name.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillory::spell {

struct SpellLanguage {
    std::string_view code;      // what the user and QL.INI name it by: "en-US", "de", ...
    std::string_view name;      // in English, for the dialog's list (translated there)
    std::string_view fileName;  // of its main dictionary in the data folder
};

// Every language a dictionary can be built for, American English (the dictionary the program
// has always shipped, "quillor.dct") first.
std::span<const SpellLanguage> SpellLanguages() noexcept;

inline constexpr std::string_view kDefaultSpellLanguage = "en-US";

// The row of `code`, compared without regard to case and with "_" taken as "-"; nothing for an
// unknown code.
const SpellLanguage* FindSpellLanguage(std::string_view code) noexcept;

// The language of a locale name as the system gives it ("de_DE.UTF-8", "en_GB", "nb_NO",
// "pt_BR@euro", "C"): the row of its language and country, else of its language alone; English
// of Britain, Ireland, Australia, New Zealand, South Africa and India is British, other English
// American; both Norwegian written forms are "no".
// Nothing for a locale of a language without a row.
const SpellLanguage* LanguageOfLocale(std::string_view locale) noexcept;

} // namespace quillory::spell
