// The letters of the spelling dictionaries: the 64-symbol alphabet of their nodes, the
// capitalisation rules of Windows-1252 text that words are stored and compared in, and the way
// from a word of the document (UTF-8) to those characters.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillory::spell {

// Position = letter code of a node. "A"-"Z", apostrophe, hyphen, then the cp1252 letters
// Š Œ Ÿ À-Ö Ø-ß ð, and the grave accent.
extern const std::array<unsigned char, 64> kAlphabet;

unsigned char Capital(unsigned char c) noexcept;
// The small letter whose capital is `c` (`c` itself when there is none).
unsigned char Small(unsigned char c) noexcept;
// Every other character has code 0, the code of "A": the stored format has no "unknown" code.
std::uint8_t LetterCode(unsigned char c) noexcept;
// A character with a place in the alphabet, in either case.
bool InAlphabet(unsigned char c) noexcept;
// A letter of the case pattern: a character with a place in the alphabet other than the
// apostrophe, hyphen and grave accent.
bool IsLetter(unsigned char c) noexcept;
bool IsSmallLetter(unsigned char c) noexcept;

std::string Capitals(std::string_view word);

// A word of the document (UTF-8) in the dictionaries' own characters (cp1252), the typographic
// apostrophe ’ as the apostrophe they store; nothing when a character of it has no place in the
// alphabet (a Greek or Russian letter, a digit): the dictionaries cannot spell such a word.
std::optional<std::string> DictionarySpelling(std::string_view utf8);

} // namespace quillory::spell
