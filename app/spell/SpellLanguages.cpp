// The table of spelling languages and the way from a locale to one of them.
#include "app/spell/SpellLanguages.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace quillory::spell {

namespace {

// The word list each is built from is named beside the build rule (tools/dictionary).
constexpr std::array<SpellLanguage, 11> kLanguages{{
    {"en-US", "English (United States)", "quillor.dct"},
    {"en-GB", "English (United Kingdom)", "quillor-en-GB.dct"},
    {"de", "German", "quillor-de.dct"},
    {"fr", "French", "quillor-fr.dct"},
    {"es", "Spanish", "quillor-es.dct"},
    {"it", "Italian", "quillor-it.dct"},
    {"pt", "Portuguese", "quillor-pt.dct"},
    {"nl", "Dutch", "quillor-nl.dct"},
    {"sv", "Swedish", "quillor-sv.dct"},
    {"da", "Danish", "quillor-da.dct"},
    {"no", "Norwegian", "quillor-no.dct"},
}};

char Folded(char c) noexcept
{
    if (c == '_')
        return '-';
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

bool SameCode(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Folded(x) == Folded(y); });
}

} // namespace

std::span<const SpellLanguage> SpellLanguages() noexcept { return kLanguages; }

const SpellLanguage* FindSpellLanguage(std::string_view code) noexcept
{
    for (const SpellLanguage& language : kLanguages) {
        if (SameCode(language.code, code))
            return &language;
    }
    return nullptr;
}

const SpellLanguage* LanguageOfLocale(std::string_view locale) noexcept
{
    // "ll_CC.charset@modifier": the encoding and modifier say nothing of the language.
    locale = locale.substr(0, locale.find_first_of(".@"));
    const std::string_view language = locale.substr(0, locale.find_first_of("_-"));
    if (SameCode(language, "en")) {
        // Countries whose English is spelt the British way; the rest, and plain "en", American.
        constexpr std::string_view kBritish[] = {"en_GB", "en_IE", "en_AU", "en_NZ", "en_ZA", "en_IN"};
        const bool british = std::any_of(std::begin(kBritish), std::end(kBritish),
                                         [&](std::string_view name) { return SameCode(locale, name); });
        return FindSpellLanguage(british ? "en-GB" : "en-US");
    }
    if (SameCode(language, "nb") || SameCode(language, "nn"))
        return FindSpellLanguage("no");
    if (const SpellLanguage* whole = FindSpellLanguage(locale))
        return whole;
    return FindSpellLanguage(language);
}

} // namespace quillory::spell
