// The text seam: UTF-8 steps, grapheme clusters, words, case folding and code pages.
#include "platform/CodePages.h"
#include "platform/UnicodeText.h"
#include "platform/Utf8.h"
#include "platform/qt/QtText.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quillory;

namespace {

// Every grapheme boundary of a text, walking forward.
std::vector<std::size_t> ForwardBoundaries(std::string_view text)
{
    std::vector<std::size_t> found;
    for (std::size_t at = 0; at < text.size();)
        found.push_back(at = NextGraphemeBoundary(text, at));
    return found;
}

std::vector<std::size_t> BackwardBoundaries(std::string_view text)
{
    std::vector<std::size_t> found;
    for (std::size_t at = text.size(); at > 0;)
        found.insert(found.begin(), at = PrevGraphemeBoundary(text, at));
    found.erase(found.begin());
    found.push_back(text.size());
    return found;
}

} // namespace

TEST(Utf8, StepsOverWholeCharactersAndTakesMalformedBytesOneByOne)
{
    const std::string text = "aЖ\xE2\x82\xAC\xF0\x9F\x98\x80\xFF" "b"; // a Ж € 😀 <bad> b
    std::vector<std::size_t> steps;
    for (std::size_t at = 0; at < text.size();)
        steps.push_back(at = NextCharBoundary(text, at));
    EXPECT_EQ(steps, (std::vector<std::size_t>{1, 3, 6, 10, 11, 12}));
    EXPECT_EQ(PrevCharBoundary(text, 10), 6u);
    EXPECT_EQ(CharBoundaryAtOrBefore(text, 8), 6u);
    EXPECT_EQ(DecodeUtf8At(text, 6), U'\U0001F600');
    EXPECT_EQ(DecodeUtf8At(text, 10), ReplacementCharacter);
    EXPECT_FALSE(IsWellFormedUtf8(text));
    EXPECT_EQ(RepairUtf8(text), "aЖ€😀\xEF\xBF\xBD" "b");
    // A file that is not UTF-8 is an older cp1252 export.
    EXPECT_EQ(Utf8OrCp1252("caf\xE9 \x80"), "café €");
    EXPECT_EQ(Utf8OrCp1252("café"), "café");
}

TEST(Utf8, QtSeamKeepsEveryCharacter)
{
    const std::string text = "Zażółć Жук Ελλάδα שלום 你好 😀 👍🏽 🇵🇱";
    EXPECT_EQ(QStringToText(TextToQString(text)), text);
    EXPECT_EQ(QStringToText(QString(QChar(0xD800))), "\xEF\xBF\xBD"); // a lone surrogate
}

TEST(Graphemes, ClustersAreSteppedWholeBothWays)
{
    const struct {
        const char* name;
        std::string text;
        std::vector<std::size_t> boundaries;
    } rows[] = {
        {"ascii", "ab", {1, 2}},
        {"CR LF", "a\r\nb", {1, 3, 4}},
        {"combining acute", "e\xCC\x81x", {3, 4}},
        {"flag", "\xF0\x9F\x87\xB5\xF0\x9F\x87\xB1" "a", {8, 9}},
        {"skin tone", "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD" "a", {8, 9}},
        {"ZWJ family", "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7", {18}},
        {"Cyrillic", "Жук", {2, 4, 6}},
        {"Devanagari conjunct", "नमस्ते", {3, 6, 18}},
        {"Hangul", "한국", {3, 6}},
        // A prepended sign (U+0604) joins the ASCII character after it, which is then no
        // cluster of its own, even beside ASCII on both sides.
        {"prepend after a control", std::string("\x00\xD8\x84:", 4), {1, 4}},
        {"prepend before ASCII", "\xD8\x84" "ab", {3, 4}},
        {"prepend inside ASCII", "a\xD8\x84" "bc", {1, 4, 5}},
        {"prepend before a control", "\xD8\x84\tb", {2, 3, 4}},
        // ICU takes a cut sequence as one character, where the seam steps byte by byte.
        {"a cut four-byte sequence", "\xF0\x9F\x87", {3}},
        {"a cut sequence inside ASCII", "a\xF0\x9F\x87" "b", {1, 4, 5}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ForwardBoundaries(row.text), row.boundaries) << row.name;
        EXPECT_EQ(BackwardBoundaries(row.text), row.boundaries) << row.name;
        // Any place snaps back to the cluster's start.
        for (std::size_t at = 0; at <= row.text.size(); ++at) {
            std::size_t expected = 0;
            for (const std::size_t boundary : row.boundaries)
                if (boundary <= at)
                    expected = boundary;
            EXPECT_EQ(GraphemeBoundaryAtOrBefore(row.text, at), expected) << row.name << " at " << at;
        }
    }
    EXPECT_EQ(GraphemeBoundaryAtOrBefore("e\xCC\x81x", 1), 0u);
    EXPECT_EQ(GraphemeBoundaryAtOrBefore("e\xCC\x81x", 3), 3u);
}

TEST(Words, BoundariesFollowLettersOfAnyScript)
{
    const std::string text = "Жук ест, don't"; // Жук(6) space ест(6) comma space don't
    EXPECT_EQ(NextWordBoundary(text, 0), 6u);
    EXPECT_EQ(NextWordBoundary(text, 6), 7u);
    EXPECT_EQ(NextWordBoundary(text, 7), 13u);
    EXPECT_EQ(PrevWordBoundary(text, text.size()), 15u); // don't is one word
    EXPECT_TRUE(IsWordCharacter(U'Ж'));
    EXPECT_TRUE(IsWordCharacter(U'\u0301'));
    EXPECT_FALSE(IsWordCharacter(U','));
    EXPECT_TRUE(IsLetter(U'你'));
}

TEST(CaseFolding, MatchesCaseOfEveryAlphabet)
{
    const struct {
        const char* upper;
        const char* folded;
    } rows[] = {
        {"ЖУК", "жук"},        {"ΣΟΦΟΣ", "σοφοσ"}, {"σοφος", "σοφοσ"}, {"ZAŻÓŁĆ", "zażółć"},
        {"Straße", "straße"}, {"ÉCOLE", "école"},  {"ABC 😀", "abc 😀"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FoldCase(row.upper), row.folded) << row.upper;

    const FoldedText folded = FoldCaseKeepingOffsets("aŻb");
    EXPECT_EQ(folded.text, "ażb");
    EXPECT_EQ(folded.origin, (std::vector<int>{0, 1, 1, 3, 4}));
}

// Accents come off the letters of Latin, Greek and Cyrillic; no other script loses a character.
TEST(Accents, ComeOffLettersOfTheAlphabetsThatWriteThem)
{
    const struct {
        char32_t letter;
        char32_t base;
    } rows[] = {
        {U'é', U'e'}, {U'Å', U'A'}, {U'ż', U'z'}, {U'ǖ', U'u'}, {U'ё', U'е'}, {U'й', U'и'},
        {U'ά', U'α'}, {U'ῷ', U'ω'}, {U'ṩ', U's'},
        {U'ø', U'ø'}, {U'ł', U'ł'}, {U'ß', U'ß'}, {U'e', U'e'},  // no marks to take off
        {U'한', U'한'}, {U'が', U'が'}, {U'\u0958', U'\u0958'}, {U'\u212B', U'\u212B'},  // other scripts and signs keep theirs
    };
    for (const auto& row : rows)
        EXPECT_EQ(WithoutAccents(row.letter), row.base) << std::uint32_t(row.letter);
    EXPECT_TRUE(IsCombiningAccent(0x301));
    EXPECT_FALSE(IsCombiningAccent(0x3099));  // the kana voicing mark
}

TEST(CodePages, EveryWindowsPageDecodesItsOwnLetters)
{
    const struct {
        int codePage;
        std::string bytes;
        std::string utf8;
    } rows[] = {
        {1250, "Za\xBF\xF3\xB3\xE6", "Zażółć"},
        {1251, "\xC6\xF3\xEA", "Жук"},
        {1253, "\xC5\xEB\xEB\xDC\xE4\xE1", "Ελλάδα"},
        {1254, "\xDE\xFD", "Şı"},
        {1255, "\xF9\xEC\xE5\xED", "שלום"},
        {1256, "\xE3\xD1\xCD\xC8\xC7", "مرحبا"},
        {1257, "\xE0\xE8", "ąč"},
        {1258, "\xD0", "Đ"},
        {874, "\xCA\xC7\xD1\xCA\xB4\xD5", "สวัสดี"},
        {1252, "caf\xE9 \x80", "café €"},
        {932, "\x93\xFA\x96\x7B\x8C\xEA", "日本語"},
        {932, "\xB1\xB2", "ｱｲ"}, // single-byte katakana between the lead bytes
        {936, "\xC4\xE3\xBA\xC3", "你好"},
        {949, "\xC7\xD1\xB1\xB9", "한국"},
        {950, "\xA7\x41\xA6\x6E", "你好"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DecodeCodePage(row.bytes, row.codePage), row.utf8) << row.codePage;
}

TEST(CodePages, CharsetsNamePagesAndBrokenPairsAreReplacementCharacters)
{
    EXPECT_EQ(CodePageOfCharset(204), 1251);
    EXPECT_EQ(CodePageOfCharset(128), 932);
    EXPECT_EQ(CodePageOfCharset(0), 0);
    EXPECT_EQ(CodePageOfCharset(2), 0);
    EXPECT_FALSE(KnownCodePage(437));
    // An unknown page reads as cp1252; a lead byte without its trail becomes U+FFFD.
    EXPECT_EQ(DecodeCodePage("\xE9", 437), "é");
    EXPECT_EQ(DecodeCodePage("a\x93", 932), "a\xEF\xBF\xBD");
    EXPECT_EQ(DecodeCodePage("\x93\nb", 932), "\xEF\xBF\xBD\nb"); // an ASCII byte after a lead stays itself

    CodePageDecoder decoder(932);
    std::string out;
    decoder.Feed(0x93, out);
    EXPECT_TRUE(decoder.pending());
    EXPECT_EQ(out, "");
    decoder.Feed(0xFA, out);
    EXPECT_EQ(out, "日");
}
