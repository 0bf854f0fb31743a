// Looking for symbol fonts in RTF text without reading it.
#include "app/SymbolFontUse.h"

#include <algorithm>
#include <cctype>

namespace quillory {

namespace {

bool ContainsNoCase(std::string_view text, std::string_view word) noexcept
{
    const auto found = std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return found != text.end();
}

} // namespace

bool MayNameSymbolFont(std::string_view rtf) noexcept
{
    constexpr std::string_view kCharset = "\\fcharset2";
    for (std::size_t at = rtf.find(kCharset); at != std::string_view::npos; at = rtf.find(kCharset, at + 1)) {
        const std::size_t after = at + kCharset.size();
        if (after == rtf.size() || !std::isdigit(static_cast<unsigned char>(rtf[after])))
            return true;
    }
    return std::any_of(std::begin(kSymbolFamilies), std::end(kSymbolFamilies),
                       [rtf](std::string_view family) { return ContainsNoCase(rtf, family); });
}

} // namespace quillory
