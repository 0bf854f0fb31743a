// Characters of HTML text: named and numeric entities, and the mapping between Unicode and the
// document's cp1252 bytes that both the HTML reader and writer need.
#pragma once

#include <optional>
#include <string_view>

namespace quillory::html {

// The cp1252 byte of a Unicode character, or nothing when cp1252 cannot hold it. The five
// codes cp1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to themselves.
std::optional<unsigned char> UnicodeToCp1252(char32_t code) noexcept;

// The Unicode character of a cp1252 byte.
char32_t Cp1252ToUnicode(unsigned char byte) noexcept;

// The character a named entity stands for (the name without '&' and ';', letter case as
// written: "Eacute" and "eacute" differ), or nothing for an unknown name.
std::optional<char32_t> EntityCharacter(std::string_view name) noexcept;

// The entity name the writer uses for a cp1252 byte above 127 (and for the few ASCII characters
// that must be escaped), or an empty view when it writes a numeric reference instead.
std::string_view EntityName(unsigned char byte) noexcept;

} // namespace quillory::html
