// Whether a document needs the symbol fonts, which the program loads only when one does.
#pragma once

#include <string_view>

namespace quillory {

// The families of symbol fonts that entries name. Their fonts are loaded on demand.
inline constexpr std::string_view kSymbolFamilies[] = {"Wingdings", "Webdings", "Marlett", "Symbol"};

// Whether RTF text may name a symbol font: a font of the symbol character set (\fcharset2) or a
// family of kSymbolFamilies, in any letter case. It may say yes for a text that only mentions
// such a name; it never says no for one that uses the fonts.
bool MayNameSymbolFont(std::string_view rtf) noexcept;

} // namespace quillory
