// The dictionary-free rules of suggestions: sound-alike keys, similarity, case pattern, and the
// alternative first letters.
#include "app/spell/SpellAlphabet.h"
#include "app/spell/SpellScoring.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace quillory::spell;

std::string KeyText(const SoundKey& key)
{
    std::string out;
    for (const char c : key)
        out += (c >= 1 && c <= 7) ? char('0' + c) : (c == 0 ? '_' : c);
    return out;
}

TEST(SoundAlikeKey, FollowsTheGroupsAndDropsRepeatsAnywhere)
{
    struct Row {
        const char* text;
        const char* key;  // group bytes shown as digits, NUL as '_'
    } rows[] = {
        {"ROBERT", "R163"},
        {"RUPERT", "R163"},
        {"A", "A___"},
        {"HOUSE", "H2__"},
        {"TATTOO", "T3__"},    // D/T repeated: later occurrences go, adjacent or not
        {"BOBBY", "B1__"},     // the first character is never compared with the rest
        {"SCHOOLS", "S24__"},  // cut to four after the repeats have gone
        {"DON'T", "D573"},
        {"X0Y17", "XOI_"},     // 0 becomes O, 1 and 7 become I; they stay (vowels went first)
        {"L\xC9ON", "L5__"},   // É is silent
    };
    for (const Row& row : rows) {
        std::string expected = row.key;
        expected.resize(4, '_');
        EXPECT_EQ(KeyText(SoundAlikeKey(row.text)), expected) << row.text;
    }
}

TEST(SoundAlikeKey, AShortKeyTakesThePaddingItIsGiven)
{
    const SoundKey target = SoundAlikeKey("HOUSE");
    EXPECT_EQ(SoundAlikeKey("HO", target), target);  // a prefix that may still lead to the word
    EXPECT_EQ(SoundAlikeKey("HOUS", target), target);
    EXPECT_NE(SoundAlikeKey("HOL", target), target);  // "L" where "S" was needed: pruned
}

TEST(Similarity, RatcliffObershelpPercent)
{
    struct Row {
        const char* candidate;
        const char* word;
        int score;
    } rows[] = {
        {"HOUSE", "HOUSE", 100},
        {"HOUSE", "HOUWSE", 90},         // 5 matched of 11: 5 * 200 / 11
        {"WIKIMEDIA", "WIKIMANIA", 77},  // WIKIM + IA
        {"THE", "TEH", 66},              // T, then H or E: 2 * 200 / 6
        {"ABC", "XYZ", 0},
        {"DON'T", "DONT", 100},          // apostrophes leave the candidate first
        {"", "", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Similarity(row.candidate, row.word), row.score) << row.candidate << " / " << row.word;
}

TEST(CasePattern, SuggestionsAreWrittenAsTheWordWasTyped)
{
    struct Row {
        const char* suggestion;
        const char* typed;
        const char* expected;
    } rows[] = {
        {"HOUSE", "HOUWSE", "HOUSE"},            // typed in capitals: stays in capitals
        {"HOUSE", "Houwse", "House"},
        {"HOUSE", "houwse", "house"},
        {"THANK YOU", "Thankyou", "Thank you"},  // the blank is skipped, not matched
        {"MCDONALD", "McDonld", "McDonald"},
        {"\xC9T\xC9", "\xC9tt\xE9", "\xC9t\xE9"},  // cp1252 letters have their small forms
        {"ABCDEF", "aB", "aBcdef"},              // past the typed word: small
    };
    for (const Row& row : rows)
        EXPECT_EQ(ApplyCasePattern(row.suggestion, row.typed), row.expected) << row.typed;
}

TEST(Alphabet, CodesAndCapitals)
{
    EXPECT_EQ(LetterCode('a'), 0);
    EXPECT_EQ(LetterCode('Z'), 25);
    EXPECT_EQ(LetterCode('\''), 26);
    EXPECT_EQ(LetterCode('-'), 27);
    EXPECT_EQ(LetterCode(0x9A), 28);  // š → Š
    EXPECT_EQ(LetterCode(0xFF), 30);  // ÿ → Ÿ
    EXPECT_EQ(LetterCode(0xE0), 31);  // à → À
    EXPECT_EQ(LetterCode(0xF8), 54);  // ø → Ø
    EXPECT_EQ(LetterCode(0xF0), 62);  // ð stays itself
    EXPECT_EQ(LetterCode('`'), 63);
    EXPECT_EQ(LetterCode('7'), 0);    // no place: the code of "A"
    EXPECT_EQ(LetterCode(0xF7), 0);   // ÷ is no letter
    EXPECT_EQ(Capitals("h\xE9llo \xF7"), "H\xC9LLO \xF7");
    for (int code = 0; code < 64; ++code)
        EXPECT_EQ(LetterCode(kAlphabet[code]), code);
}

TEST(AlternativeFirstLetters, RowsEndWithTheLetterItself)
{
    EXPECT_EQ(AlternativeFirstLetters('Q'), "WQ");
    EXPECT_EQ(AlternativeFirstLetters('K'), "CLJK");
    EXPECT_EQ(AlternativeFirstLetters(0xD1), "MBN\xD1");  // Ñ shares the row of N
    EXPECT_EQ(AlternativeFirstLetters('7'), "7");          // no row: tried alone
}

} // namespace
