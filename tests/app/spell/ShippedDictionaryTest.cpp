// The main dictionary that the build writes: every word of its list is correct, and words one
// edit away from listed words, but not listed themselves, are not.
#include "app/spell/SpellAlphabet.h"
#include "app/spell/SpellEngine.h"
#include "platform/Cp1252.h"

#include <gtest/gtest.h>

#include <filesystem>
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
