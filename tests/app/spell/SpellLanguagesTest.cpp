// The spelling languages: codes as the user types them, the language of a locale, and the
// diary's choice among the installed dictionaries.
#include "app/spell/DictionaryPaths.h"
#include "app/spell/SpellLanguages.h"

#include "TempFolder.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace quillory::spell;

std::string CodeOf(const SpellLanguage* language) { return language ? std::string(language->code) : "(none)"; }

TEST(SpellLanguages, LocalesAndCodesFindTheirLanguage)
{
    struct Row {
        const char* given;
        const char* code;
    } locales[] = {
        {"de_DE.UTF-8", "de"}, {"de_AT", "de"}, {"fr_CA.utf8@euro", "fr"}, {"pt_BR", "pt"},
        {"en_US.UTF-8", "en-US"}, {"en_GB.UTF-8", "en-GB"}, {"en_AU", "en-GB"}, {"en", "en-US"},
        {"en_CA", "en-US"}, {"nb_NO.UTF-8", "no"}, {"nn_NO", "no"}, {"no_NO", "no"},
        {"sv_FI", "sv"}, {"da_DK", "da"}, {"nl_BE", "nl"}, {"es_MX", "es"}, {"it_CH", "it"},
        {"C", "(none)"}, {"POSIX", "(none)"}, {"", "(none)"}, {"ru_RU.UTF-8", "(none)"},
    };
    for (const Row& row : locales)
        EXPECT_EQ(CodeOf(LanguageOfLocale(row.given)), row.code) << row.given;

    EXPECT_EQ(CodeOf(FindSpellLanguage("EN_gb")), "en-GB");
    EXPECT_EQ(CodeOf(FindSpellLanguage("De")), "de");
    EXPECT_EQ(CodeOf(FindSpellLanguage("en")), "(none)");  // which English is not guessed
    EXPECT_EQ(CodeOf(FindSpellLanguage("xx")), "(none)");
    for (const SpellLanguage& language : SpellLanguages())
        EXPECT_EQ(FindSpellLanguage(language.code), &language);
}

TEST(SpellLanguages, TheDiarysChoiceFallsBackToWhatIsInstalled)
{
    const auto* us = FindSpellLanguage("en-US");
    const auto* de = FindSpellLanguage("de");
    const auto* fr = FindSpellLanguage("fr");
    const std::vector<const SpellLanguage*> all = {us, de, fr}, noEnglish = {de, fr}, none = {};
    struct Row {
        const char* stored;
        const char* locale;
        const std::vector<const SpellLanguage*>* installed;
        const char* chosen;
    } rows[] = {
        {"fr", "de_DE.UTF-8", &all, "fr"},        // the diary's own choice first
        {"", "de_DE.UTF-8", &all, "de"},          // then the locale's
        {"sv", "de_DE", &all, "de"},              // a stored language no longer installed
        {"", "ru_RU", &all, "en-US"},             // then American English
        {"", "C", &noEnglish, "de"},              // then the first installed
        {"nonsense", "C", &all, "en-US"},
        {"fr", "de_DE", &none, "(none)"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CodeOf(ChooseSpellLanguage(row.stored, row.locale, *row.installed)), row.chosen)
            << row.stored << " / " << row.locale;
}

TEST(SpellLanguages, InstalledAreThoseWhoseDictionaryIsThereAndTheChoiceIsKept)
{
    TempFolder folder;
    const std::string previous = quillory::DiaryFolder();
    quillory::SetProgramFolder(folder.withSlash());
    folder.write("QUILLOR.DCT", "x");  // found whatever the case of its name
    folder.write("quillor-sv.dct", "x");
    folder.write("QL.INI", "[Icons]\nVisible=1\n");
    std::vector<std::string> codes;
    for (const SpellLanguage* language : InstalledSpellLanguages())
        codes.emplace_back(language->code);
    EXPECT_EQ(codes, (std::vector<std::string>{"en-US", "sv"}));
    EXPECT_EQ(MainDictionaryPath("sv"), folder.withSlash() + "quillor-sv.dct");
    EXPECT_EQ(MainDictionaryPath("xx"), folder.withSlash() + "QUILLOR.DCT");

    EXPECT_EQ(StoredSpellLanguage(), "");
    StoreSpellLanguage("sv");
    EXPECT_EQ(StoredSpellLanguage(), "sv");
    EXPECT_NE(folder.read("QL.INI").find("Visible=1"), std::string::npos);
    quillory::SetProgramFolder(previous);
}

} // namespace
