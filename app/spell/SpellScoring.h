// The pieces of a suggestion search that need no dictionary: the alternative first letters,
// the sound-alike key, the similarity score and the case pattern of a suggestion.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quillory::spell {

// The first letters to try for a word whose first character (a capital) is `first`, in order;
// the letter itself comes last. A character without a row is tried alone.
std::string_view AlternativeFirstLetters(unsigned char first) noexcept;

// A key of four characters; group numbers are the bytes 1 to 7, missing places are NUL.
using SoundKey = std::array<char, 4>;

// The sound-alike key of a text in capitals, cut to four characters. Places that the text does
// not fill are taken from `padding` (all NUL for a target key, the target's own characters
// for a prefix being walked).
SoundKey SoundAlikeKey(std::string_view capitals, const SoundKey& padding = SoundKey{});

// Ratcliff/Obershelp similarity of two texts in capitals, 0 to 100; apostrophes are taken out
// of the candidate first.
int Similarity(std::string_view candidate, std::string_view word);

// A suggestion (in capitals) written in the case pattern of the word as the user typed it.
std::string ApplyCasePattern(std::string_view suggestion, std::string_view typed);

} // namespace quillory::spell
