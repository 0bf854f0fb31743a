// The dictionaries' file names, the installed languages and the diary's choice among them.
#include "app/spell/DictionaryPaths.h"

#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace quillory::spell {

namespace {

constexpr std::string_view kSection = "Spelling";
constexpr std::string_view kLanguageKey = "Language";

std::string InFolder(const std::string& folder, std::string_view name)
{
    const std::string path = folder + std::string(name);
    if (const auto found = FindNoCase(path))
        return found->string();
    return path;
}

bool Holds(const std::vector<const SpellLanguage*>& installed, const SpellLanguage* language)
{
    return language && std::find(installed.begin(), installed.end(), language) != installed.end();
}

} // namespace

std::string MainDictionaryPath(std::string_view code)
{
    const SpellLanguage* language = FindSpellLanguage(code);
    if (!language)
        language = FindSpellLanguage(kDefaultSpellLanguage);
    return InFolder(DataFolder(), language->fileName);
}

std::string UserDictionaryPath() { return InFolder(DiaryFolder(), "quilloru.dct"); }

std::vector<const SpellLanguage*> InstalledSpellLanguages()
{
    std::vector<const SpellLanguage*> installed;
    for (const SpellLanguage& language : SpellLanguages()) {
        std::error_code error;
        if (std::filesystem::is_regular_file(MainDictionaryPath(language.code), error))
            installed.push_back(&language);
    }
    return installed;
}

const SpellLanguage* ChooseSpellLanguage(std::string_view stored, std::string_view locale,
                                         const std::vector<const SpellLanguage*>& installed)
{
    for (const SpellLanguage* wanted : {FindSpellLanguage(stored), LanguageOfLocale(locale),
                                        FindSpellLanguage(kDefaultSpellLanguage)}) {
        if (Holds(installed, wanted))
            return wanted;
    }
    return installed.empty() ? nullptr : installed.front();
}

std::string StoredSpellLanguage()
{
    return IniFile(SettingsFileName()).ReadString(kSection, kLanguageKey, "");
}

void StoreSpellLanguage(std::string_view code)
{
    // Read first, so that every other key of the file stays as it is.
    IniFile ini(SettingsFileName());
    ini.WriteString(kSection, kLanguageKey, code);
    ini.UpdateFile();
}

std::string EnvironmentLocale()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return {};
}

} // namespace quillory::spell
