// Characters of HTML text: the encoding a page is in, and its named entities.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillory::html {

// The code page that a page's charset declaration (a meta tag's charset=, within its first
// 2000 bytes) names: 65001 for UTF-8, a Windows code page for the names of those and their
// usual aliases (ISO-8859-1 and ASCII are read as windows-1252, as browsers do), 0 when it
// names none or one unknown here.
inline constexpr int Utf8CodePage = 65001;
int DeclaredCodePage(std::string_view input) noexcept;

// A page's bytes as UTF-8: in the code page it declares; a byte-order mark or a UTF-8
// declaration makes it UTF-8 (a malformed byte in it is read as cp1252); without a
// declaration it is UTF-8 when it is well formed and cp1252 (older pages) when not.
std::string PageTextAsUtf8(std::string_view input);

// The character a named entity stands for (the name without '&' and ';', letter case as
// written: "Eacute" and "eacute" differ), or nothing for an unknown name.
std::optional<char32_t> EntityCharacter(std::string_view name) noexcept;

} // namespace quillory::html
