// What Unicode says about text the engine holds as UTF-8: grapheme clusters (what the caret steps
// over), words, case folding, and the few character classes that layout asks about. Backed by ICU.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// The next / previous boundary of a grapheme cluster (a user-perceived character: a letter with
// its marks, a flag, an emoji with its skin tone or ZWJ sequence), clamped to the text.
std::size_t NextGraphemeBoundary(std::string_view utf8, std::size_t at);
std::size_t PrevGraphemeBoundary(std::string_view utf8, std::size_t at);
// `at` moved back to the start of the cluster it falls in.
std::size_t GraphemeBoundaryAtOrBefore(std::string_view utf8, std::size_t at);

// Word boundaries after Unicode's rules (letters of any script, digits, apostrophes inside words).
std::size_t NextWordBoundary(std::string_view utf8, std::size_t at);
std::size_t PrevWordBoundary(std::string_view utf8, std::size_t at);
// True for characters that make up words: letters, marks and digits of any script.
bool IsWordCharacter(char32_t character) noexcept;
bool IsLetter(char32_t character) noexcept;

// Case folded for matching without regard to case (Ж = ж, Σ = σ = ς). One character folds to one,
// so offsets map back character by character.
char32_t FoldCase(char32_t character) noexcept;
std::string FoldCase(std::string_view utf8);
// Folded text and, for each of its bytes, the offset in the original of the character it came from
// (one more entry at the end: the original's length).
struct FoldedText {
    std::string text;
    std::vector<int> origin;
};
FoldedText FoldCaseKeepingOffsets(std::string_view utf8);

// For searching without regard to accents in the alphabets that write them as marks on a letter
// (Latin, Greek, Cyrillic): the letter without its marks (é -> e, Ё -> Е, ά -> α), or the
// character itself. Other scripts keep every character as it is (a Hangul syllable, a kana with
// its voicing mark).
char32_t WithoutAccents(char32_t character) noexcept;
// A combining accent of those alphabets (U+0300..U+036F): what WithoutAccents drops from text
// written in decomposed form.
bool IsCombiningAccent(char32_t character) noexcept;

// Layout's questions. A character that needs shaping with its neighbours (joining scripts,
// Indic clusters, combining marks, emoji sequences) or that runs right to left.
bool IsRightToLeft(char32_t character) noexcept;
bool NeedsShaping(char32_t character) noexcept;
// Ideographic text (Chinese, Japanese, Korean) may break between any two of its characters.
bool BreaksAroundIdeograph(char32_t character) noexcept;
// The paragraph direction after the first strong character: true for right to left.
bool StartsRightToLeft(std::string_view utf8) noexcept;

} // namespace quillory
