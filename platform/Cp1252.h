// Windows-1252 text, the one-byte-per-character encoding of every document, ⇄ Unicode.
// All 256 bytes have a character: the five codes that cp1252 leaves unassigned (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the C1 controls of the same number, so no byte is ever lost.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillory {

char32_t Cp1252ToUnicode(unsigned char byte) noexcept;
// The byte that stands for `character`, or nothing when cp1252 cannot hold it.
std::optional<unsigned char> UnicodeToCp1252(char32_t character) noexcept;
inline bool HasCp1252Byte(char32_t character) noexcept { return UnicodeToCp1252(character).has_value(); }

std::u32string Cp1252ToU32(std::string_view bytes);
std::string Cp1252ToUtf8(std::string_view bytes);
// The cp1252 bytes of a text; nothing when one of its characters has no byte (a text is never
// silently changed) or, for UTF-8, when the bytes are not well-formed UTF-8.
std::optional<std::string> U32ToCp1252(std::u32string_view text);
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);
// For output that must go on whatever the text holds: characters without a byte, and
// malformed UTF-8, become `replacement`.
std::string Utf8ToCp1252Lossy(std::string_view utf8, char replacement = '?');

// Strict UTF-8 (no overlong forms, surrogates or values past U+10FFFF); nothing when malformed.
std::optional<std::u32string> DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(std::u32string_view text);

} // namespace quillory
