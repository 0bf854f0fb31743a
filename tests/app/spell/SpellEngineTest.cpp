// TSpellEngine on small dictionaries written by the dictionary writer: lookups, sections,
// user dictionaries, suggestions, and damaged files.
#include "app/spell/DictionaryBuilder.h"
#include "app/spell/SpellEngine.h"

#include "TempFolder.h"
#include "platform/Cp1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace quillory::spell;

const std::vector<std::string> kWords = {
    "a", "I", "house", "houses", "hose", "the", "thee", "tea", "receive", "received", "don't",
    "Anne", "well-known", "\xC9t\xE9", "some", "thing", "something", "cat", "dog", "at",
};

std::string WriteMain(const TempFolder& folder, const std::vector<std::string>& words, std::uint32_t maxNodes = 64000,
                      const char* name = "quillor.dct")
{
    return folder.write(name, BuildMainDictionary(PrepareWords(words).capitals, maxNodes).bytes).string();
}

TEST(SpellEngine, ChecksWordsWithoutRegardToCaseAndKnowsPossessives)
{
    TempFolder folder;
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(WriteMain(folder, kWords)));
    struct Row {
        const char* word;
        bool correct;
    } rows[] = {
        {"house", true}, {"HOUSE", true}, {"hOuSeS", true}, {"don't", true}, {"DON'T", true},
        {"été", true},                         // stored as ÉTÉ in cp1252
        {"well-known", true},
        {"Anne's", true}, {"houses's", true},  // possessives of known words
        {"hous", false},                       // a prefix of words is no word
        {"housess", false}, {"tha", false}, {"Bob's", false}, {"dont", false},
        {"", true}, {"x", true},               // no word has fewer than two letters to check
        {"'s", true},                          // a possessive of the empty word
    };
    for (const Row& row : rows)
        EXPECT_EQ(engine.IsWordCorrect(row.word), row.correct) << row.word;
}

// Words come as UTF-8. One whose characters the dictionary's alphabet cannot spell (Cyrillic,
// Greek, CJK, letters outside cp1252, digits) is passed by: correct, with nothing to suggest and
// nothing to add. Words it can spell are checked as ever.
TEST(SpellEngine, WordsTheAlphabetCannotSpellArePassedBy)
{
    TempFolder folder;
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(WriteMain(folder, kWords)));
    struct Row {
        const char* word;
        bool correct;
    } rows[] = {
        {"Жук", true}, {"σοφός", true}, {"東京", true}, {"ภาษา", true},
        {"Łódź", true}, {"žena", true}, {"x1y", true},
        {"speling", false}, {"Étte", false}, {"Zürich", false}, {"houze", false},
        {"ÉTÉ", true}, {"don’t", true}, {"Bob’s", false},  // ’ is the dictionary's apostrophe
        {"donʼt", true},                 // a modifier letter apostrophe is no letter it holds
    };
    for (const Row& row : rows)
        EXPECT_EQ(engine.IsWordCorrect(row.word), row.correct) << row.word;

    EXPECT_TRUE(engine.GetSuggestions("Жуук").empty());
    const auto& accented = engine.GetSuggestions("Étte");
    EXPECT_NE(std::find(accented.begin(), accented.end(), "Été"), accented.end());
    const int user = engine.CreateUserDictionary(folder.withSlash() + "quilloru.dct", {});
    EXPECT_FALSE(engine.AddWord("Жук", user));
    EXPECT_TRUE(engine.AddWord("Zürich", user));
    EXPECT_TRUE(engine.IsWordCorrect("ZÜRICH"));
}

// French and Italian write an elided word before the next one: "l'homme" is known when the
// dictionary holds "l'" (as the French list does) and "homme". English lists hold no word that
// ends in an apostrophe, so no English word is let through by it.
TEST(SpellEngine, AnElidedWordBeforeAKnownWordIsKnown)
{
    TempFolder folder;
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(WriteMain(folder, {"l'", "qu'", "homme", "il", "aujourd'hui", "don't"})));
    struct Row {
        const char* word;
        bool correct;
    } rows[] = {
        {"l'homme", true}, {"L’HOMME", true}, {"qu'il", true}, {"aujourd'hui", true},
        {"l'hommes", false}, {"d'homme", false},  // the rest unknown; "d'" not listed
        {"homme'il", false},                      // "homme'" is no elided word
        {"l'", true}, {"don'", false}, {"don't", true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(engine.IsWordCorrect(row.word), row.correct) << row.word;
}

// Another language: the main dictionary is swapped, the user's words stay known.
TEST(SpellEngine, ReplacingTheMainDictionaryKeepsTheUserDictionary)
{
    TempFolder folder;
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(WriteMain(folder, {"house", "the"})));
    const int user = engine.CreateUserDictionary(folder.withSlash() + "quilloru.dct", {"Quillory"});
    ASSERT_NE(user, -1);
    ASSERT_TRUE(engine.ReplaceMainDictionary(WriteMain(folder, {"haus", "der"}, 64000, "quillor-de.dct")));
    EXPECT_TRUE(engine.IsWordCorrect("Haus"));
    EXPECT_FALSE(engine.IsWordCorrect("house"));
    EXPECT_TRUE(engine.IsWordCorrect("Quillory"));
    EXPECT_TRUE(engine.AddWord("Hauss", user));

    // A file that is no main dictionary leaves none open, not the old one.
    EXPECT_FALSE(engine.ReplaceMainDictionary(folder.withSlash() + "quilloru.dct"));
    EXPECT_FALSE(engine.HasMainDictionary());
    EXPECT_FALSE(engine.IsWordCorrect("Haus"));
    EXPECT_TRUE(engine.IsWordCorrect("Hauss"));
}

TEST(SpellEngine, EverySectionOfAMainDictionaryIsSearched)
{
    TempFolder folder;
    // Few nodes a section: the words spread over many sections.
    const std::string path = WriteMain(folder, kWords, 12);
    const std::vector<std::uint32_t> nodes =
        BuildMainDictionary(PrepareWords(kWords).capitals, 12).sectionNodes;
    ASSERT_GT(nodes.size(), 3u);
    EXPECT_TRUE(std::all_of(nodes.begin(), nodes.end(), [](std::uint32_t n) { return n <= 12; }));
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(path));
    for (const std::string& word : kWords)
        EXPECT_TRUE(engine.IsWordCorrect(quillory::Cp1252ToUtf8(word))) << word;
    for (const char* word : {"houser", "tee", "somethings", "ca"})
        EXPECT_FALSE(engine.IsWordCorrect(word)) << word;
}

TEST(SpellEngine, OpeningTellsMainAndUserDictionariesApart)
{
    TempFolder folder;
    const std::string main = WriteMain(folder, kWords);
    const std::string user = folder.write("quilloru.dct", UserSection::NewFileBytes()).string();
    const std::string text = folder.write("notes.txt", "no end-of-text byte here").string();

    TSpellEngine engine;
    EXPECT_FALSE(engine.OpenDictionary(user));
    EXPECT_FALSE(engine.OpenDictionary(text));
    EXPECT_FALSE(engine.OpenDictionary(folder.withSlash() + "missing.dct"));
    EXPECT_EQ(engine.DictionaryName, "quillor.dct");
    EXPECT_TRUE(engine.OpenDictionary(main));
    EXPECT_EQ(engine.DictionaryName, main);

    // A main dictionary is no user dictionary: that is a failure, not number 0.
    EXPECT_EQ(engine.OpenUserDictionary(main), -1);
    EXPECT_EQ(engine.OpenUserDictionary(folder.withSlash() + "missing.dct"), -1);
    EXPECT_EQ(engine.OpenUserDictionary(user), 0);
    EXPECT_EQ(engine.OpenUserDictionary(user), 1);
}

TEST(UserDictionary, ANewOneIsLaidOutAsTheFormatSaysAndKnowsA)
{
    TempFolder folder;
    TSpellEngine engine;
    engine.DictionaryName = folder.withSlash() + "missing.dct";
    const std::string path = folder.withSlash() + "quilloru.dct";
    ASSERT_EQ(engine.CreateUserDictionary(path, {}), 0);
    const std::string bytes = folder.read("quilloru.dct");
    ASSERT_TRUE(bytes.starts_with("USER DICTIONARY\r\n"));
    const std::size_t header = bytes.find('\x1A') + 1;
    EXPECT_EQ(header, 17u + 41 + 2 + 1);
    EXPECT_EQ(bytes.size(), header + 17 + 500 * 3);
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
    EXPECT_EQ(byte(header), 1);          // used nodes
    EXPECT_EQ(byte(header + 4) + 256 * byte(header + 5), 500);
    EXPECT_EQ(byte(header + 8), 1);      // words
    EXPECT_EQ(byte(header + 12), 0);     // kind: user
    EXPECT_EQ(byte(header + 13), header);
    EXPECT_EQ(bytes.substr(header + 17, 3), std::string("\0\0\xC0", 3));  // "A", last sibling, word end
    EXPECT_EQ(bytes.substr(header + 20, 3), std::string("\xE8\xFD\xC0", 3));  // free: child 65000

    EXPECT_TRUE(engine.IsWordCorrect("a"));
    EXPECT_FALSE(engine.IsWordCorrect("house"));  // no main dictionary: only the user's words
}

TEST(UserDictionary, AddedWordsAreKnownAtOnceAndInLaterRuns)
{
    TempFolder folder;
    const std::string main = WriteMain(folder, kWords);
    const std::string path = folder.withSlash() + "quilloru.dct";
    {
        TSpellEngine engine;
        ASSERT_TRUE(engine.OpenDictionary(main));
        const int number = engine.CreateUserDictionary(path, {"Quillory"});
        ASSERT_NE(number, -1);
        EXPECT_TRUE(engine.IsWordCorrect("quillory"));
        EXPECT_FALSE(engine.IsWordCorrect("Pemberley"));
        EXPECT_TRUE(engine.AddWord("Pemberley", number));
        EXPECT_TRUE(engine.IsWordCorrect("PEMBERLEY"));
        EXPECT_TRUE(engine.IsWordCorrect("Pemberley's"));
        EXPECT_TRUE(engine.AddWord("pemberley", number));  // known already: nothing changes
    }
    TSpellEngine later;
    ASSERT_TRUE(later.OpenDictionary(main));
    ASSERT_EQ(later.OpenUserDictionary(path), 0);
    EXPECT_TRUE(later.IsWordCorrect("Pemberley"));
    EXPECT_TRUE(later.IsWordCorrect("Quillory"));
    EXPECT_TRUE(later.IsWordCorrect("house"));
    EXPECT_FALSE(later.IsWordCorrect("Pemberl"));
}

TEST(UserDictionary, RefusesWhatItCannotHold)
{
    TempFolder folder;
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(WriteMain(folder, kWords)));
    const int number = engine.CreateUserDictionary(folder.withSlash() + "quilloru.dct", {});
    const std::string longest(25, 'q');
    EXPECT_TRUE(engine.AddWord(longest, number));
    EXPECT_FALSE(engine.AddWord(longest + "q", number));  // 26 characters
    EXPECT_FALSE(engine.IsWordCorrect(longest + "q"));
    EXPECT_FALSE(engine.AddWord("zebra", number + 1));     // no such dictionary
    EXPECT_FALSE(engine.AddWord("zebra", -1));             // main sections take no words
    EXPECT_FALSE(engine.IsWordCorrect("zebra"));
    EXPECT_EQ(engine.CreateUserDictionary(folder.withSlash() + "no/such/folder/u.dct", {}), -1);
}

TEST(UserDictionary, StopsShortOfTheNodeLimit)
{
    TempFolder folder;
    std::string bytes = UserSection::NewFileBytes();
    const std::size_t header = bytes.find('\x1A') + 1;
    bytes[header] = char(63990 & 0xFF);  // used nodes 63990 of a tree that can hold 65535
    bytes[header + 1] = char(63990 >> 8);
    const std::string path = folder.write("quilloru.dct", bytes).string();
    TSpellEngine engine;
    engine.DictionaryName = folder.withSlash() + "missing.dct";
    const int number = engine.OpenUserDictionary(path);
    ASSERT_NE(number, -1);
    EXPECT_TRUE(engine.AddWord("ninechars", number));  // 63990 + 9 = 63999
    EXPECT_TRUE(engine.IsWordCorrect("ninechars"));
    EXPECT_FALSE(engine.AddWord("x2", number));        // 63999 + 2 would pass the limit
}

// Words added in any order, sharing prefixes in every way, past the first 500 nodes: each is
// then known, no other word is, and the file read afresh says the same. Insertion moves nodes
// and must carry every child index that points past the insertion point.
TEST(UserDictionary, InsertionKeepsTheTreeWholeInAnyOrder)
{
    std::mt19937 random(12);
    std::uniform_int_distribution<int> letter(0, 3), length(2, 9);
    std::set<std::string> words;
    while (words.size() < 300) {
        std::string w;
        for (int n = length(random); n > 0; --n)
            w += char('A' + letter(random));
        words.insert(w);
    }
    std::vector<std::string> order(words.begin(), words.end());
    std::shuffle(order.begin(), order.end(), random);

    TempFolder folder;
    const std::string path = folder.withSlash() + "quilloru.dct";
    TSpellEngine engine;
    engine.DictionaryName = folder.withSlash() + "missing.dct";
    const int number = engine.CreateUserDictionary(path, {});
    for (const std::string& w : order)
        ASSERT_TRUE(engine.AddWord(w, number)) << w;

    TSpellEngine reread;
    reread.DictionaryName = engine.DictionaryName;
    ASSERT_NE(reread.OpenUserDictionary(path), -1);
    EXPECT_GT(folder.read("quilloru.dct").size(), UserSection::NewFileBytes().size());  // it grew past its first room
    std::mt19937 probes(99);
    for (int i = 0; i < 3000; ++i) {
        std::string w;
        for (int n = length(probes); n > 0; --n)
            w += char('A' + letter(probes));
        const bool known = words.count(w) || w.size() <= 1 || w == "A";
        ASSERT_EQ(engine.IsWordCorrect(w), known) << w;
        ASSERT_EQ(reread.IsWordCorrect(w), known) << w;
    }
}

TEST(Suggestions, RankedBestFirstInTheCaseOfTheTypedWord)
{
    TempFolder folder;
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(WriteMain(folder, kWords)));
    const auto& typed = engine.GetSuggestions("Houwse");
    ASSERT_FALSE(typed.empty());
    EXPECT_EQ(typed.front(), "House");
    EXPECT_EQ(engine.GetSuggestions("HOUWSE").front(), "HOUSE");
    EXPECT_EQ(engine.GetSuggestions("recieve").front(), "receive");
    // Words reached through several first letters or sections are listed once.
    const auto& the = engine.GetSuggestions("teh");
    EXPECT_EQ(std::set<std::string>(the.begin(), the.end()).size(), the.size());
    EXPECT_TRUE(std::find(the.begin(), the.end(), "the") != the.end());
}

// A known word one slip away is offered first, whatever slip it was, even where it changes the
// first letters or the sound that the tree walk follows; a swap before a doubled letter before
// other slips, and a two-letter word for a longer one last among them.
TEST(Suggestions, AWordOneSlipAwayComesFirst)
{
    TempFolder folder;
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(WriteMain(folder, {"the", "tea", "ten", "te", "house", "dough", "ugh",
                                                         "program", "rogram", "at", "cat", "oat"})));
    struct Row {
        const char* typed;
        const char* first;
    } rows[] = {
        {"teh", "the"},            // swapped, though "te", "tea" and "ten" are one slip too
        {"hte", "the"},            // the first letter swapped
        {"pprogram", "program"},   // a doubled first letter, before the dropped one "rogram"
        {"huose", "house"}, {"hose", "house"}, {"hiuse", "house"}, {"houuse", "house"},
        {"ouse", "house"},         // a first letter dropped
        {"aat", "cat"},            // before "at", and "oat" is as near but less similar
    };
    for (const Row& row : rows) {
        const auto& list = engine.GetSuggestions(row.typed);
        ASSERT_FALSE(list.empty()) << row.typed;
        EXPECT_EQ(list.front(), row.first) << row.typed;
    }
}

TEST(Suggestions, TwoKnownWordsRunTogetherAreOfferedApart)
{
    TempFolder folder;
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(WriteMain(folder, kWords)));
    const auto has = [](const std::vector<std::string>& list, const std::string& w) {
        return std::find(list.begin(), list.end(), w) != list.end();
    };
    EXPECT_TRUE(has(engine.GetSuggestions("Catdog"), "Cat dog"));
    EXPECT_TRUE(has(engine.GetSuggestions("acat"), "a cat"));    // a first part of one letter: A
    EXPECT_FALSE(has(engine.GetSuggestions("xcat"), "x cat"));   // but no other single letter
}

TEST(Suggestions, AtMostMaxSuggestionsAndNeverMoreThan220)
{
    TempFolder folder;
    std::vector<std::string> many;
    for (char a = 'a'; a <= 'z'; ++a)
        for (char b = 'a'; b <= 'z'; ++b)
            many.push_back(std::string("s") + a + b + "t");
    TSpellEngine engine;
    ASSERT_TRUE(engine.OpenDictionary(WriteMain(folder, many)));
    EXPECT_EQ(engine.MaxSuggestions(), 10);
    EXPECT_EQ(engine.GetSuggestions("sxxt").size(), 10u);
    engine.SetMaxSuggestions(250);
    EXPECT_EQ(engine.MaxSuggestions(), 220);
    const auto& all = engine.GetSuggestions("sxxt");
    EXPECT_EQ(all.size(), 220u);
    // Best first; "SXXT" itself is no word here, so nothing scores 100.
    EXPECT_EQ(all.front().size(), 4u);
    engine.SetMaxSuggestions(0);
    EXPECT_TRUE(engine.GetSuggestions("sxxt").empty());
}

TEST(SpellEngine, WithoutAMainDictionaryOnlyTheUserWordsCount)
{
    TempFolder folder;
    TSpellEngine engine;
    engine.DictionaryName = folder.withSlash() + "quillor.dct";  // not there yet
    const int number = engine.CreateUserDictionary(folder.withSlash() + "quilloru.dct", {"hoose"});
    EXPECT_FALSE(engine.IsWordCorrect("house"));
    EXPECT_EQ(engine.GetSuggestions("houze").front(), "hoose");
    // Every check tries the main dictionary again; once it is there, it counts.
    WriteMain(folder, kWords);
    EXPECT_TRUE(engine.IsWordCorrect("house"));
    EXPECT_TRUE(engine.AddWord("housey", number));
    EXPECT_TRUE(engine.IsWordCorrect("housey"));
}

// Damaged dictionaries end with an answer: child indexes past the nodes, lists without an end,
// a file cut short, and a tree whose child list is its own root (a walk that never ends).
TEST(SpellEngine, DamagedDictionariesNeverLoopOrReadOutOfBounds)
{
    TempFolder folder;
    const std::string good = BuildMainDictionary(PrepareWords(kWords).capitals).bytes;
    std::vector<std::pair<std::string, std::string>> damaged = {
        {"cut", good.substr(0, good.size() / 2)},
        {"header only", good.substr(0, good.find('\x1A') + 10)},
    };
    std::string wild = good;
    for (std::size_t at = good.find('\x1A') + 18; at < wild.size(); at += 3) {
        wild[at] = char(0xFF);  // child 0x??FF: mostly past the node count
        wild[at + 2] = char(wild[at + 2] & ~0x40);
    }
    damaged.emplace_back("wild children, endless lists", wild);
    std::string loop = "LOOP\x1A";
    loop += std::string("\x02\0\0\0\x02\0\0\0\x01\0\0\0\x01\x05\0\0\0", 17);
    loop += std::string("\x01\0\x84", 3) + std::string("\x01\0\xC4", 3);  // E and E: word ends, child 1
    damaged.emplace_back("loop", loop);

    for (const auto& [name, bytes] : damaged) {
        const std::string path = folder.write("bad.dct", bytes).string();
        TSpellEngine engine;
        engine.SetMaxSuggestions(220);
        engine.DictionaryName = path;  // opened, or tried again by every call when too damaged
        for (const char* word : {"house", "eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee", "Teh"}) {
            engine.IsWordCorrect(word);
            EXPECT_LE(engine.GetSuggestions(word).size(), 220u) << name;
        }
    }
}

} // namespace
