// The dictionaries that the build writes: every word of the main one's list is correct, and
// words one edit away from listed words, but not listed themselves, are not; each language's
// dictionary knows words of its language.
#include "app/spell/SpellAlphabet.h"
#include "app/spell/SpellEngine.h"
#include "app/spell/SpellLanguages.h"
#include "platform/Cp1252.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#if defined(QUILLORY_MAIN_DICTIONARY)

namespace {

using namespace quillory;
using namespace quillory::spell;

// The words of the list that cp1252 can hold, in cp1252 as the dictionary stores them.
std::vector<std::string> ListedWords()
{
    std::vector<std::string> words;
    std::ifstream in(QUILLORY_WORD_LIST);
    for (std::string line; std::getline(in, line);) {
        if (auto word = Utf8ToCp1252(line))
            words.push_back(*word);
    }
    return words;
}

TEST(ShippedDictionary, KnowsEveryListedWordAndNoNearMiss)
{
    const std::vector<std::string> words = ListedWords();
    ASSERT_GT(words.size(), 50000u);
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(QUILLORY_MAIN_DICTIONARY));
    std::set<std::string> listed;
    for (const std::string& word : words) {
        ASSERT_TRUE(engine.IsWordCorrect(Cp1252ToUtf8(word))) << Cp1252ToUtf8(word);
        listed.insert(Capitals(word));
    }
    // One edit of a listed word (a letter changed, dropped, doubled or two swapped).
    std::mt19937 random(2026);
    int checked = 0;
    while (checked < 5000) {
        std::string w = Capitals(words[random() % words.size()]);
        if (w.size() < 3)
            continue;
        const std::size_t at = random() % (w.size() - 1);
        switch (random() % 4) {
        case 0: w[at] = char('A' + random() % 26); break;
        case 1: w.erase(at, 1); break;
        case 2: w.insert(at, 1, w[at]); break;
        default: std::swap(w[at], w[at + 1]); break;
        }
        // Known by rule: a word of one letter, or the possessive of a known word.
        const std::string bare = w.ends_with("'S") ? w.substr(0, w.size() - 2) : std::string();
        const bool possessive = w.ends_with("'S") && (bare.size() <= 1 || listed.count(bare));
        if (w.size() <= 1 || listed.count(w) || possessive)
            continue;
        ++checked;
        ASSERT_FALSE(engine.IsWordCorrect(Cp1252ToUtf8(w))) << Cp1252ToUtf8(w);
    }
}

TEST(ShippedDictionary, SuggestsTheIntendedWordForCommonSlips)
{
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(QUILLORY_MAIN_DICTIONARY));
    struct Row {
        const char* typed;
        const char* intended;
    } rows[] = {{"recieve", "receive"}, {"definately", "definitely"}, {"Wierd", "Weird"},
                {"BEACUSE", "BECAUSE"}, {"thankyou", "thank you"}};
    for (const Row& row : rows) {
        const auto& list = engine.GetSuggestions(row.typed);
        ASSERT_FALSE(list.empty()) << row.typed;
        EXPECT_EQ(list.front(), row.intended) << row.typed;
    }
}

} // namespace

#endif

#if defined(QUILLORY_DIST_DATA)

namespace {

// Every language's dictionary that the build writes: words of the language, its own letters
// among them, pass; a slip of one of them (often the letter without its accent) is flagged. A
// dictionary left unbuilt (its word list missing) fails here rather than ship unnoticed.
TEST(ShippedDictionaries, EachLanguageKnowsItsWordsAndFlagsASlip)
{
    struct Row {
        const char* code;
        std::vector<const char*> correct;
        const char* misspelt;
    } rows[] = {
        {"en-US", {"color", "realize", "neighbor", "don't"}, "colour"},
        {"en-GB", {"colour", "realise", "grey", "harbour"}, "color"},
        {"de", {"Straße", "schön", "Mädchen", "Haus", "Grüße"}, "Strasse"},
        {"fr", {"été", "garçon", "hôpital", "aujourd'hui", "l'école", "qu'il"}, "ecole"},
        {"es", {"mañana", "corazón", "canción"}, "manana"},
        {"it", {"città", "perché", "caffè", "dell'anno", "un'amica"}, "perche"},
        {"pt", {"coração", "não", "amanhã"}, "nao"},
        {"nl", {"één", "ruïne", "huis"}, "huiss"},
        {"sv", {"kärlek", "smörgås"}, "karlek"},
        {"da", {"søster", "kærlighed"}, "soster"},
        {"no", {"søster", "kjærlighet"}, "kjaerlighet"},
    };
    ASSERT_EQ(std::size(rows), SpellLanguages().size());
    for (const Row& row : rows) {
        const SpellLanguage* language = FindSpellLanguage(row.code);
        ASSERT_NE(language, nullptr) << row.code;
        const auto file = std::filesystem::path(QUILLORY_DIST_DATA) / std::string(language->fileName);
        TSpellEngine engine;
        ASSERT_TRUE(engine.OpenDictionary(file.string())) << row.code << ": no dictionary at " << file;
        for (const char* word : row.correct)
            EXPECT_TRUE(engine.IsWordCorrect(word)) << row.code << ": " << word;
        EXPECT_FALSE(engine.IsWordCorrect(row.misspelt)) << row.code << ": " << row.misspelt;
    }
}

} // namespace

#endif
