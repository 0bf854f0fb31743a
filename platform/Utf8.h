// The document's text is UTF-8: stepping over characters, decoding one, appending one, and making
// outside bytes well-formed. Positions are byte offsets; a character never splits between two.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillory {

inline constexpr char32_t ReplacementCharacter = 0xFFFD;

inline bool IsUtf8Continuation(unsigned char byte) noexcept { return (byte & 0xC0) == 0x80; }

// The character at `at` and its length in bytes (at least 1, so that a walk always advances);
// a malformed or cut sequence reads as U+FFFD of length 1.
char32_t DecodeUtf8At(std::string_view text, std::size_t at, int& length) noexcept;
inline char32_t DecodeUtf8At(std::string_view text, std::size_t at) noexcept
{
    int length = 0;
    return DecodeUtf8At(text, at, length);
}

// The start of the character after / before the one at `at` (clamped to the text).
std::size_t NextCharBoundary(std::string_view text, std::size_t at) noexcept;
std::size_t PrevCharBoundary(std::string_view text, std::size_t at) noexcept;
// `at` moved back to the start of the character it falls in.
std::size_t CharBoundaryAtOrBefore(std::string_view text, std::size_t at) noexcept;

void AppendUtf8(std::string& out, char32_t character);
std::size_t Utf8Length(char32_t character) noexcept;

// Well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsWellFormedUtf8(std::string_view text) noexcept;
// Bytes from outside that should be UTF-8: kept when well-formed; otherwise read as cp1252, the
// encoding of text files that older copies wrote, so that no byte is lost.
std::string Utf8OrCp1252(std::string_view bytes);
// Malformed sequences replaced by U+FFFD, for text that must be UTF-8 on its way out.
std::string RepairUtf8(std::string_view bytes);

// UTF-16 (with surrogate pairs) to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Surrogate pairs: the UTF-16 halves of a character beyond U+FFFF, and the character of two halves.
inline bool IsHighSurrogate(char32_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(char32_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }
inline char16_t HighSurrogate(char32_t character) noexcept { return char16_t(0xD800 + ((character - 0x10000) >> 10)); }
inline char16_t LowSurrogate(char32_t character) noexcept { return char16_t(0xDC00 + ((character - 0x10000) & 0x3FF)); }
inline char32_t CombineSurrogates(char32_t high, char32_t low) noexcept
{
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

} // namespace quillory
